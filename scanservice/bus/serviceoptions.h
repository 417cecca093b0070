#ifndef SERVICEOPTIONS_H
#define SERVICEOPTIONS_H

#include "scanlimits.h"

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
    // For tests: how long a scanning thread waits before each file.
    int fileDelayMs() const { return m_fileDelayMs; }
    // For tests: how much longer compiling a task's keywords takes.
    int compileDelayMs() const { return m_compileDelayMs; }
    qint64 workerMemoryBytes() const { return m_workerMemoryMiB << 20; }
    int secondsPerFile() const { return m_secondsPerFile; }
    // For tests: a file holding the machine's idle share in percent, read instead of /proc/stat.
    QString fakeIdleFile() const { return m_fakeIdleFile; }
    // Runs started more than this many days ago are deleted; 0 keeps them all.
    int keepRunsDays() const { return m_keepRunsDays; }
    // Where the records of findings go: "auto" (the journal where it runs, else syslog), "journal", "syslog" or "off".
    QString findingsLog() const { return m_findingsLog; }
    // The syslog socket the records go to when they go to syslog.
    QString syslogSocket() const { return m_syslogSocket; }

private:
    QString m_findingsDatabase = defaultFindingsDatabase();
    int m_countDelayMs = 0;
    int m_fileDelayMs = 0;
    int m_compileDelayMs = 0;
    qint64 m_workerMemoryMiB = Limits::WorkerMemoryBytes >> 20;
    int m_secondsPerFile = Limits::MaxSecondsPerFile;
    QString m_privacyRules;
    QString m_fakeIdleFile;
    int m_keepRunsDays = Limits::KeepRunsDays;
    QString m_findingsLog = QStringLiteral("auto");
    QString m_syslogSocket = QStringLiteral("/dev/log");
};

#endif // SERVICEOPTIONS_H
