#ifndef KEYWORDTEMPLATEIMPORTER_H
#define KEYWORDTEMPLATEIMPORTER_H

#include <QDateTime>
#include <QString>
#include <QStringList>

// Writes keyword checklists into the checklist database.
//
// The database lists each checklist in `dlp_imported_keyword_checklist`
// (name, importedtime, listtablename); its keywords go to a table of their
// own ("dlp_keyword_checklist_<n>") with one sealed value per row in
// `keyword_enc`, in the order given. Importing a name that is already
// listed replaces that checklist. An import is one transaction: it either
// lands whole or leaves the database as it was.
class KeywordTemplateImporter
{
public:
    // The keywords of a UTF-8 text file, one per line: lines are trimmed,
    // blank lines skipped, a leading byte-order mark ignored. False with a
    // message when the file cannot be read, is not UTF-8 text, or holds no
    // keyword.
    static bool readKeywordFile(const QString &path, QStringList *keywords, QString *error);

    // Imports `keywords` as the checklist `name`, stamped with `importedTime`
    // ("yyyy-MM-dd hh:mm:ss"), into the database at `databasePath`, creating
    // the database (and its directory) when missing. On success the name of
    // the new keyword table goes to `tableName`; otherwise `error` says why.
    static bool importChecklist(const QString &databasePath, const QString &name, const QStringList &keywords,
                                const QDateTime &importedTime, QString *tableName, QString *error);

    // The text stored as the imported time.
    static QString timeText(const QDateTime &time);
};

#endif // KEYWORDTEMPLATEIMPORTER_H
