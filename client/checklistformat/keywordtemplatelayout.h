#ifndef KEYWORDTEMPLATELAYOUT_H
#define KEYWORDTEMPLATELAYOUT_H

#include <QString>

// Where the keyword checklist database lives. The product's place is fixed;
// the program's entry point chooses it with useDatabasePath(), so that
// nothing else (a test building the window, say) ever reads the product's
// real database by accident.
class KeywordTemplateLayout
{
public:
    // "/opt/tavex-control-discovery/db/tavex.kwtemplate.db"
    static QString productDatabasePath();

    // The database the client reads; empty (no database) until chosen.
    static QString databasePath();
    static void useDatabasePath(const QString &path);
};

#endif // KEYWORDTEMPLATELAYOUT_H
