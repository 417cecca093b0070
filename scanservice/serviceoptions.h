#ifndef SERVICEOPTIONS_H
#define SERVICEOPTIONS_H

#include <QString>
#include <QStringList>

// The service's command line.
class ServiceOptions
{
public:
    static QString defaultFindingsDatabase();

    // Returns false with a message (usage or error) when the program should
    // end; *exitCode then tells how.
    bool parse(const QStringList &arguments, QString *message, int *exitCode);

    QString findingsDatabase() const { return m_findingsDatabase; }
    // The privacy rule table: --privacy-rules, else next to the program
    // (build tree), else in the installation's data directory.
    QString privacyRules() const;
    // For tests: how long each counting walk waits before it starts.
    int countDelayMs() const { return m_countDelayMs; }

private:
    QString m_findingsDatabase = defaultFindingsDatabase();
    int m_countDelayMs = 0;
    QString m_privacyRules;
};

#endif // SERVICEOPTIONS_H
