#ifndef KEYWORDTEMPLATELAYOUT_H
#define KEYWORDTEMPLATELAYOUT_H

#include <QString>

// Where the keyword checklist database lives.
class KeywordTemplateLayout
{
public:
    // "/opt/tavex-control-discovery/db/tavex.kwtemplate.db"
    static QString databasePath();
};

#endif // KEYWORDTEMPLATELAYOUT_H
