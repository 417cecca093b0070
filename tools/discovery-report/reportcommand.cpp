// The commands of tavex-discovery-report (see reportcommand.h).
#include "reportcommand.h"

#include "transcontrolprotocol.h"

#include <QDBusError>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
using TransControl::ObjectPath;
constexpr const char *Service = TransControl::ServiceName;
constexpr const char *Interface = TransControl::ReportsInterface;
// An export of a large run takes a while to make.
constexpr int CallTimeoutMs = 10 * 60 * 1000;

// The service's return codes of the reports interface (scanservice/README.md).
QString reasonOf(int code, qint64 run)
{
    switch (code) {
    case 15:
        return QStringLiteral("the service could not read or write its findings store (see its log)");
    case 19:
        return QStringLiteral("no run %1").arg(run);
    case 20:
        return QStringLiteral("run %1 has not ended; terminate its task first").arg(run);
    case 21:
        return QStringLiteral("the service does not know this format");
    case 22:
        return QStringLiteral("the service could not write the report into the file");
    default:
        return QStringLiteral("the service refused with code %1").arg(code);
    }
}

bool parseRun(const QString &text, qint64 *run)
{
    bool ok = false;
    *run = text.toLongLong(&ok);
    return ok && *run > 0;
}
} // namespace

ReportCommand::ReportCommand(QDBusConnection bus, QTextStream &out, QTextStream &err)
    : m_bus(std::move(bus))
    , m_out(out)
    , m_err(err)
{
}

QString ReportCommand::usage()
{
    return QStringLiteral("usage: tavex-discovery-report list [--json]\n"
                          "       tavex-discovery-report show RUN [--json]\n"
                          "       tavex-discovery-report export RUN --format csv|jsonl|html [--unmasked] -o FILE\n"
                          "       tavex-discovery-report delete RUN\n");
}

int ReportCommand::run(const QStringList &arguments)
{
    QStringList positional;
    QString format;
    QString output;
    bool unmasked = false;
    bool json = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            m_out << usage();
            return Success;
        }
        if (argument == QLatin1String("--format") || argument == QLatin1String("-o")) {
            if (i + 1 >= arguments.size()) {
                m_err << "tavex-discovery-report: " << argument << " needs a value\n" << usage();
                return Usage;
            }
            (argument == QLatin1String("-o") ? output : format) = arguments.at(++i);
        } else if (argument.startsWith(QLatin1String("--format="))) {
            format = argument.mid(9);
        } else if (argument == QLatin1String("--unmasked")) {
            unmasked = true;
        } else if (argument == QLatin1String("--json")) {
            json = true;
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            m_err << "tavex-discovery-report: unknown option " << argument << '\n' << usage();
            return Usage;
        } else {
            positional.append(argument);
        }
    }
    const QString command = positional.value(0);
    qint64 run = 0;
    const bool needsRun = command == QLatin1String("show") || command == QLatin1String("export") || command == QLatin1String("delete");
    if (command.isEmpty() || (command == QLatin1String("list") ? positional.size() != 1 : !needsRun || positional.size() != 2)) {
        m_err << "tavex-discovery-report: " << (command.isEmpty() ? QStringLiteral("a command is needed") : QStringLiteral("wrong arguments for ") + command)
              << '\n' << usage();
        return Usage;
    }
    if (needsRun && !parseRun(positional.at(1), &run)) {
        m_err << "tavex-discovery-report: \"" << positional.at(1) << "\" is not a run number\n";
        return Usage;
    }
    if (command == QLatin1String("export")) {
        if (format != QLatin1String("csv") && format != QLatin1String("jsonl") && format != QLatin1String("html")) {
            m_err << "tavex-discovery-report: --format must be csv, jsonl or html\n" << usage();
            return Usage;
        }
        if (output.isEmpty()) {
            m_err << "tavex-discovery-report: -o FILE is needed (- for standard output)\n" << usage();
            return Usage;
        }
        return exportRun(run, format, unmasked, output);
    }
    if (!format.isEmpty() || !output.isEmpty() || unmasked) {
        m_err << "tavex-discovery-report: --format, --unmasked and -o belong to export\n" << usage();
        return Usage;
    }
    if (command == QLatin1String("list"))
        return list(json);
    if (command == QLatin1String("show"))
        return show(run, json);
    return deleteRun(run);
}

bool ReportCommand::call(const QString &method, const QVariantList &arguments, QDBusMessage *reply, int *exit)
{
    if (!m_bus.isConnected()) {
        m_err << "tavex-discovery-report: the system bus cannot be reached: " << m_bus.lastError().message() << '\n';
        *exit = ServiceMissing;
        return false;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(Service), QLatin1String(ObjectPath),
                                                          QLatin1String(Interface), method);
    message.setArguments(arguments);
    *reply = m_bus.call(message, QDBus::Block, CallTimeoutMs);
    if (reply->type() == QDBusMessage::ReplyMessage && !reply->arguments().isEmpty())
        return true;
    const QString error = reply->errorName();
    if (error == QLatin1String("org.freedesktop.DBus.Error.AccessDenied")) {
        m_err << "tavex-discovery-report: permission denied: only root may read the scan service's reports\n";
        *exit = Denied;
    } else if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
               || error == QLatin1String("org.freedesktop.DBus.Error.NoReply")
               || error == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")
               || error == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface")) {
        m_err << "tavex-discovery-report: the scan service is not available: " << reply->errorMessage() << '\n';
        *exit = ServiceMissing;
    } else {
        m_err << "tavex-discovery-report: " << (error.isEmpty() ? QStringLiteral("no answer") : error) << ": "
              << reply->errorMessage() << '\n';
        *exit = InternalError;
    }
    return false;
}

int ReportCommand::refused(int code, qint64 run)
{
    m_err << "tavex-discovery-report: " << reasonOf(code, run) << '\n';
    return Refused;
}

int ReportCommand::list(bool json)
{
    QDBusMessage reply;
    int exit = Success;
    if (!call(QStringLiteral("ListRuns"), {}, &reply, &exit))
        return exit;
    const int code = reply.arguments().value(0).toInt();
    if (code != 0)
        return refused(code, 0);
    const QString text = reply.arguments().value(1).toString();
    if (json) {
        m_out << text << '\n';
        return Success;
    }
    const QJsonArray runs = QJsonDocument::fromJson(text.toUtf8()).array();
    m_out << QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                 .arg(QStringLiteral("RUN"), 6)
                 .arg(QStringLiteral("STARTED"), -19)
                 .arg(QStringLiteral("TYPE"), -7)
                 .arg(QStringLiteral("OUTCOME"), -9)
                 .arg(QStringLiteral("HITS"), 6)
                 .arg(QStringLiteral("PATHS"));
    for (const QJsonValue &value : runs) {
        const QJsonObject run = value.toObject();
        m_out << QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                     .arg(run.value("run").toVariant().toLongLong(), 6)
                     .arg(run.value("started").toString(), -19)
                     .arg(run.value("task_type").toString(), -7)
                     .arg(run.value("outcome").toString(), -9)
                     .arg(run.value("files").toObject().value("with_hits").toVariant().toLongLong(), 6)
                     .arg(run.value("path_list").toString());
    }
    return Success;
}

int ReportCommand::show(qint64 run, bool json)
{
    QDBusMessage reply;
    int exit = Success;
    if (!call(QStringLiteral("GetRunSummary"), {QVariant::fromValue(qlonglong(run))}, &reply, &exit))
        return exit;
    int code = reply.arguments().value(0).toInt();
    if (code != 0)
        return refused(code, run);
    const QString summaryText = reply.arguments().value(1).toString();
    QDBusMessage files;
    if (!call(QStringLiteral("GetRunFilesNotRead"), {QVariant::fromValue(qlonglong(run))}, &files, &exit))
        return exit;
    code = files.arguments().value(0).toInt();
    if (code != 0)
        return refused(code, run);
    const QString notReadText = files.arguments().value(1).toString();
    if (json) {
        m_out << "{\"summary\":" << summaryText << ",\"not_read\":" << notReadText << "}\n";
        return Success;
    }
    const QJsonObject summary = QJsonDocument::fromJson(summaryText.toUtf8()).object();
    const QJsonObject counts = summary.value("files").toObject();
    auto number = [](const QJsonValue &value) { return QString::number(value.toVariant().toLongLong()); };
    m_out << "Run:          " << number(summary.value("run")) << '\n'
          << "Paths:        " << summary.value("path_list").toString().split(QLatin1Char('|')).join(QStringLiteral("\n              ")) << '\n'
          << "Task:         " << summary.value("task_type").toString()
          << (summary.value("task_type").toString() == QLatin1String("privacy")
                  ? QStringLiteral(" (rule table %1)").arg(summary.value("rule_table").toString())
                  : QStringLiteral(" (%1 keywords)").arg(number(summary.value("keywords"))))
          << '\n'
          << "Scan mode:    " << (summary.value("scan_mode").toInt() == 4 ? "idle time" : "normal") << '\n'
          << "Started:      " << summary.value("started").toString() << '\n'
          << "Ended:        " << summary.value("ended").toString() << '\n'
          << "Outcome:      " << summary.value("outcome").toString()
          << (summary.value("failure").toString().isEmpty() ? QString() : QStringLiteral(" (%1)").arg(summary.value("failure").toString()))
          << '\n'
          << "Files:        " << number(counts.value("selected")) << " selected, " << number(counts.value("walked")) << " walked, "
          << number(counts.value("read")) << " read, " << number(counts.value("with_hits")) << " with hits, "
          << number(counts.value("not_read")) << " not read\n";
    const QJsonObject hits = summary.value("hits").toObject();
    if (!hits.isEmpty()) {
        m_out << "Hits:\n";
        for (auto it = hits.constBegin(); it != hits.constEnd(); ++it)
            m_out << "  " << number(it.value()).rightJustified(8) << "  " << it.key() << '\n';
    }
    const QJsonArray notRead = QJsonDocument::fromJson(notReadText.toUtf8()).array();
    if (!notRead.isEmpty()) {
        m_out << "Not read:\n";
        for (const QJsonValue &value : notRead) {
            const QJsonObject file = value.toObject();
            m_out << "  " << file.value("file").toString() << ": " << file.value("reason").toString() << '\n';
        }
    }
    return Success;
}

int ReportCommand::exportRun(qint64 run, const QString &format, bool unmasked, const QString &output)
{
    const bool toStdout = output == QLatin1String("-");
    // The report holds personal data: a new file is readable by its owner only.
    const int fd = toStdout ? ::dup(STDOUT_FILENO)
                            : ::open(QFile::encodeName(output).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
        m_err << "tavex-discovery-report: cannot create " << output << ": " << QString::fromLocal8Bit(std::strerror(errno)) << '\n';
        return CannotCreate;
    }
    QDBusMessage reply;
    int exit = Success;
    const bool answered = call(QStringLiteral("ExportRun"),
                               {QVariant::fromValue(qlonglong(run)), format, unmasked, QVariant::fromValue(QDBusUnixFileDescriptor(fd))},
                               &reply, &exit);
    ::close(fd);
    const int code = answered ? reply.arguments().value(0).toInt() : -1;
    if (code != 0 && !toStdout)
        QFile::remove(output); // no partial or empty report is left behind
    if (!answered)
        return exit;
    return code == 0 ? Success : refused(code, run);
}

int ReportCommand::deleteRun(qint64 run)
{
    QDBusMessage reply;
    int exit = Success;
    if (!call(QStringLiteral("DeleteRun"), {QVariant::fromValue(qlonglong(run))}, &reply, &exit))
        return exit;
    const int code = reply.arguments().value(0).toInt();
    if (code != 0)
        return refused(code, run);
    m_out << "Run " << run << " deleted\n";
    return Success;
}
