#include "serviceoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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
    const QCommandLineOption rules(QStringLiteral("privacy-rules"),
                                   QStringLiteral("The privacy rule table (default: privacy-rules.conf next to the program, "
                                                  "else ../share/tavex-control-discovery/privacy-rules.conf)."),
                                   QStringLiteral("PATH"));
    parser.addOption(rules);
    parser.addOption(help);
    parser.addOption(countDelay);
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
    if (parser.isSet(rules))
        m_privacyRules = QDir::current().absoluteFilePath(parser.value(rules));
    if (parser.isSet(countDelay)) {
        bool ok = false;
        m_countDelayMs = parser.value(countDelay).toInt(&ok);
        if (!ok || m_countDelayMs < 0 || m_countDelayMs > 600000) {
            *message = QStringLiteral("--count-delay needs milliseconds between 0 and 600000\n");
            *exitCode = 64;
            return false;
        }
    }
    return true;
}
