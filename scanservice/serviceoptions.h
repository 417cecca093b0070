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
    // For tests: how long each counting walk waits before it starts.
    int countDelayMs() const { return m_countDelayMs; }

private:
    QString m_findingsDatabase = defaultFindingsDatabase();
    int m_countDelayMs = 0;
};

#endif // SERVICEOPTIONS_H
