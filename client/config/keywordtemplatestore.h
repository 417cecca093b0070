#ifndef KEYWORDTEMPLATESTORE_H
#define KEYWORDTEMPLATESTORE_H

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Read-only reader of the imported keyword checklists.
//
// The database lists every checklist in `dlp_imported_keyword_checklist`
// (name, importedtime, listtablename); the table a row names holds the
// checklist's keywords, one sealed value per row in its `keyword_enc`
// column (see KeywordTemplateCipher). A checklist is identified by its name
// and imported time.
//
// The client uses the one process-wide store from instance() over
// KeywordTemplateLayout::databasePath(); the store
// opens the database once and never writes to it. A missing or unreadable
// database leaves the store closed, and a closed store lists nothing; of an
// existing database that cannot be read, errorText() tells why.
class KeywordTemplateStore
{
public:
    // The process-wide store, created and opened by the first call with
    // `path` on Qt's default database connection. Later calls return the
    // same store whatever path they pass. Lives until the process exits.
    static KeywordTemplateStore *instance(const QString &path);

    // A store of its own over `path`, on the database connection named
    // `connectionName` (which must not be in use). The client uses
    // instance(); this is for readers that need a separate database.
    KeywordTemplateStore(const QString &path, const QString &connectionName);
    ~KeywordTemplateStore();

    KeywordTemplateStore(const KeywordTemplateStore &) = delete;
    KeywordTemplateStore &operator=(const KeywordTemplateStore &) = delete;

    bool isOpen() const { return m_isOpen; }
    // Why an existing database could not be read (permissions, not a
    // database, damaged, no checklist list); empty when it was read or when
    // there is no database at all.
    QString errorText() const { return m_errorText; }

    // Adds name -> imported time for every listed checklist to `out`; of
    // rows with the same name the one read last wins.
    void templates(QMap<QString, QString> &out) const;

    // Appends the decrypted keywords of every checklist in `selected`
    // (name -> imported time) to `out`: checklists in ascending name order,
    // keywords in the order of their table. A value that does not decrypt
    // leaves an empty keyword in its place.
    void templateKeywords(const QMap<QString, QString> &selected, QStringList &out) const;

private:
    void appendKeywords(const QString &tableName, QStringList &out) const;

    QSqlDatabase m_database;
    bool m_isOpen = true;
    QString m_errorText;
    QString m_connectionName;
};

#endif // KEYWORDTEMPLATESTORE_H
