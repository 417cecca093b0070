#ifndef CHECKLISTFIXTURE_H
#define CHECKLISTFIXTURE_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// Checklist databases for tests: made by the import tool (run as a process)
// or written by hand, with keywords sealed here by OpenSSL directly, apart
// from the product's own cipher code.
class ChecklistFixture
{
public:
    struct Run
    {
        int exitCode = -1;   // -1: the tool did not run or crashed
        QString out;
        QString err;
    };
    // Runs kwtemplate-import with `args`.
    static Run runTool(const QStringList &args);
    // kwtemplate-import --db DB NAME FILE, with FILE holding `keywords`; the exit code.
    static int import(const QString &db, const QString &name, const QByteArray &keywords);

    struct Checklist
    {
        QString name;
        QString time;
        QVariant table;          // the listtablename value (may be NULL)
        QList<QVariant> values;  // keyword_enc rows of that table; none: no table
    };
    // Writes a database by hand, in the layout the store reads.
    static bool writeDatabase(const QString &path, const QList<Checklist> &checklists);

    // AES-256-GCM of `plain` under the product's key: IV, tag, ciphertext.
    static QByteArray seal(const QByteArray &plain);
    static QByteArray flipped(QByteArray value, int at);

    static bool writeFile(const QString &path, const QByteArray &content);
    static QByteArray fileHash(const QString &path);
    // A database connection name not used before in this process.
    static QString connectionName();
};

#endif // CHECKLISTFIXTURE_H
