#include "serviceoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

QString ServiceOptions::defaultFindingsDatabase()
{
    return QStringLiteral("/opt/tavex-control-discovery/db/tavex.findings.db");
}

QString ServiceOptions::privacyRules() const
{
    if (!m_privacyRules.isEmpty())
        return m_privacyRules;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = dir + QStringLiteral("/privacy-rules.conf");
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(dir + QStringLiteral("/../share/tavex-control-discovery/privacy-rules.conf"));
}

bool ServiceOptions::parse(const QStringList &arguments, QString *message, int *exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The scan service of Tavex Control Discovery: owns com.vorel.dlp.TransControl on the system bus."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption database(QStringLiteral("findings-db"),
                                      QStringLiteral("The findings database (default %1).").arg(defaultFindingsDatabase()),
                                      QStringLiteral("PATH"));
    const QCommandLineOption countDelay(QStringLiteral("count-delay"),
                                        QStringLiteral("For tests: delay each task's counting walk by MS milliseconds."),
                                        QStringLiteral("MS"));
    const QCommandLineOption fileDelay(QStringLiteral("file-delay"),
                                       QStringLiteral("For tests: make each scanning thread wait MS milliseconds before each file."),
                                       QStringLiteral("MS"));
    const QCommandLineOption compileDelay(QStringLiteral("compile-delay"),
                                          QStringLiteral("For tests: make compiling each keyword task's keywords take MS milliseconds longer."),
                                          QStringLiteral("MS"));
    const QCommandLineOption rules(QStringLiteral("privacy-rules"),
                                   QStringLiteral("The privacy rule table (default: privacy-rules.conf next to the program, "
                                                  "else ../share/tavex-control-discovery/privacy-rules.conf)."),
                                   QStringLiteral("PATH"));
    parser.addOption(rules);
    const QCommandLineOption memory(QStringLiteral("worker-memory"),
                                    QStringLiteral("Address space of an extraction worker in MiB (default %1).").arg(Limits::WorkerMemoryBytes >> 20),
                                    QStringLiteral("MIB"));
    const QCommandLineOption seconds(QStringLiteral("file-time-limit"),
                                     QStringLiteral("Wall and CPU time for reading one file, in seconds (default %1).").arg(Limits::MaxSecondsPerFile),
                                     QStringLiteral("SECONDS"));
    const QCommandLineOption fakeIdle(QStringLiteral("fake-cpu-idle"),
                                      QStringLiteral("For tests: read the machine's idle share (percent) from FILE instead of /proc/stat."),
                                      QStringLiteral("FILE"));
    parser.addOption(fakeIdle);
    const QCommandLineOption keepRuns(QStringLiteral("keep-runs-days"),
                                      QStringLiteral("Delete runs started more than DAYS days ago, at start and daily "
                                                     "(default %1; 0 keeps every run).").arg(Limits::KeepRunsDays),
                                      QStringLiteral("DAYS"));
    parser.addOption(keepRuns);
    const QCommandLineOption findingsLog(QStringLiteral("findings-log"),
                                         QStringLiteral("Where records of findings go: auto (the journal where it runs, else "
                                                        "syslog), journal, syslog or off (default auto)."),
                                         QStringLiteral("WHERE"));
    parser.addOption(findingsLog);
    const QCommandLineOption syslogSocket(QStringLiteral("syslog-socket"),
                                          QStringLiteral("The syslog socket for records of findings (default /dev/log)."),
                                          QStringLiteral("PATH"));
    parser.addOption(syslogSocket);
    parser.addOption(memory);
    parser.addOption(seconds);
    parser.addOption(help);
    parser.addOption(countDelay);
    parser.addOption(fileDelay);
    parser.addOption(compileDelay);
    parser.addOption(database);
    if (!parser.parse(arguments)) {
        *message = parser.errorText() + QLatin1Char('\n') + parser.helpText();
        *exitCode = 64;
        return false;
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        *exitCode = 0;
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message = QStringLiteral("Unexpected argument: %1\n").arg(parser.positionalArguments().first()) + parser.helpText();
        *exitCode = 64;
        return false;
    }
    if (parser.isSet(database)) {
        const QString path = parser.value(database);
        if (path.isEmpty()) {
            *message = QStringLiteral("--findings-db needs a path\n");
            *exitCode = 64;
            return false;
        }
        m_findingsDatabase = QDir::current().absoluteFilePath(path);
    }
    if (parser.isSet(memory)) {
        bool ok = false;
        m_workerMemoryMiB = parser.value(memory).toLongLong(&ok);
        if (!ok || m_workerMemoryMiB < 64 || m_workerMemoryMiB > (1 << 20)) {
            *message = QStringLiteral("--worker-memory needs MiB between 64 and 1048576\n");
            *exitCode = 64;
            return false;
        }
    }
    if (parser.isSet(seconds)) {
        bool ok = false;
        m_secondsPerFile = parser.value(seconds).toInt(&ok);
        if (!ok || m_secondsPerFile < 1 || m_secondsPerFile > 86400) {
            *message = QStringLiteral("--file-time-limit needs seconds between 1 and 86400\n");
            *exitCode = 64;
            return false;
        }
    }
    if (parser.isSet(keepRuns)) {
        bool ok = false;
        m_keepRunsDays = parser.value(keepRuns).toInt(&ok);
        if (!ok || m_keepRunsDays < 0 || m_keepRunsDays > 36500) {
            *message = QStringLiteral("--keep-runs-days needs days between 0 and 36500\n");
            *exitCode = 64;
            return false;
        }
    }
    if (parser.isSet(findingsLog)) {
        m_findingsLog = parser.value(findingsLog);
        if (!QStringList{"auto", "journal", "syslog", "off"}.contains(m_findingsLog)) {
            *message = QStringLiteral("--findings-log needs auto, journal, syslog or off\n");
            *exitCode = 64;
            return false;
        }
    }
    if (parser.isSet(syslogSocket))
        m_syslogSocket = QDir::current().absoluteFilePath(parser.value(syslogSocket));
    if (parser.isSet(fakeIdle))
        m_fakeIdleFile = QDir::current().absoluteFilePath(parser.value(fakeIdle));
    if (parser.isSet(rules))
        m_privacyRules = QDir::current().absoluteFilePath(parser.value(rules));
    // The test delays: milliseconds up to ten minutes.
    for (const auto &delay : {std::make_pair(&countDelay, &m_countDelayMs), std::make_pair(&fileDelay, &m_fileDelayMs),
                              std::make_pair(&compileDelay, &m_compileDelayMs)}) {
        if (!parser.isSet(*delay.first))
            continue;
        bool ok = false;
        *delay.second = parser.value(*delay.first).toInt(&ok);
        if (!ok || *delay.second < 0 || *delay.second > 600000) {
            *message = QStringLiteral("--%1 needs milliseconds between 0 and 600000\n").arg(delay.first->names().constFirst());
            *exitCode = 64;
            return false;
        }
    }
    return true;
}
