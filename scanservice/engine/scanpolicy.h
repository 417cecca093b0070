#ifndef SCANPOLICY_H
#define SCANPOLICY_H

#include <QSet>
#include <QString>
#include <QStringList>

// What a task takes from its policy document: the file types to open, the
// keywords to look for, whether the data identifiers are on and whether hits
// are written to the findings store.
class ScanPolicy
{
public:
    // Decodes and checks the policy argument (Base64 of the JSON document).
    // Returns ReturnCode::Ok and fills *policy, or another code and a reason.
    static int parse(const QString &base64, int taskType, ScanPolicy *policy, QString *reason);

    QSet<QString> fileTypes() const { return m_fileTypes; }      // lower case, no dot
    QStringList keywords() const { return m_keywords; }          // distinct, non-empty, in document order
    bool dataIdentifiers() const { return m_dataIdentifiers; }
    bool writeDatabase() const { return m_writeDatabase; }

private:
    QSet<QString> m_fileTypes;
    QStringList m_keywords;
    bool m_dataIdentifiers = false;
    bool m_writeDatabase = false;
};

#endif // SCANPOLICY_H
