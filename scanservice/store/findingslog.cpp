// Records of findings for the system log (see findingslog.h).
#include "findingslog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

#include <cstring>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <syslog.h>
#include <systemd/sd-journal.h>
#include <unistd.h>

namespace {
const char *const AppName = "tavex-control-discovery-service";
const char *const JournalSocket = "/run/systemd/journal/socket";
// The journal's message IDs of the two records, so that they can be picked
// out (journalctl MESSAGE_ID=…), and their MSGID in syslog; their severity.
const char *messageId(bool file)
{
    return file ? "6f1d7c0e2b8a4c55a0e3f4d9b1c2a701" : "6f1d7c0e2b8a4c55a0e3f4d9b1c2a702";
}
const char *msgId(bool file)
{
    return file ? "FILE" : "RUN";
}
int severity(bool file)
{
    return file ? LOG_WARNING : LOG_NOTICE;
}

QString taskTypeName(int tasktype)
{
    return tasktype == 3 ? QStringLiteral("privacy") : QStringLiteral("keyword");
}

// A PARAM-VALUE of RFC 5424: '"', '\' and ']' escaped.
QByteArray paramValue(const QString &value)
{
    QByteArray out;
    for (const char c : value.toUtf8()) {
        if (c == '"' || c == '\\' || c == ']')
            out.append('\\');
        out.append(c);
    }
    return out;
}
} // namespace

bool FindingsLog::parseDestination(const QString &name, Destination *destination)
{
    if (name == QLatin1String("off"))
        *destination = Destination::Off;
    else if (name == QLatin1String("journal"))
        *destination = Destination::Journal;
    else if (name == QLatin1String("syslog"))
        *destination = Destination::Syslog;
    else if (name == QLatin1String("auto"))
        *destination = QFileInfo::exists(QLatin1String(JournalSocket)) ? Destination::Journal : Destination::Syslog;
    else
        return false;
    return true;
}

FindingsLog::FindingsLog(Destination destination, const QString &syslogSocket)
    : m_destination(destination)
    , m_socketPath(QFile::encodeName(syslogSocket))
{
    if (m_destination == Destination::Syslog)
        m_socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

FindingsLog::~FindingsLog()
{
    if (m_socket >= 0)
        ::close(m_socket);
}

void FindingsLog::fileWithHits(qint64 run, const QString &pathlist, int tasktype, const QString &path, const QByteArray &counts)
{
    if (m_destination == Destination::Off)
        return;
    Fields fields{{"event", QStringLiteral("file")},
                  {"run", QString::number(run)},
                  {"task_type", taskTypeName(tasktype)},
                  {"path_list", pathlist.left(MaxPathListChars)},
                  {"path", path}};
    qint64 total = 0;
    const QJsonObject hits = QJsonDocument::fromJson(counts).object();
    for (auto it = hits.constBegin(); it != hits.constEnd(); ++it) {
        const qint64 count = it.value().toVariant().toLongLong();
        total += count;
        fields.append({"hit", QStringLiteral("%1=%2").arg(it.key()).arg(count)});
    }
    fields.append({"hits", QString::number(total)});
    send(Record::File, fields,
         QStringLiteral("Discovery run %1: %2 hits in %3").arg(run).arg(total).arg(path));
}

void FindingsLog::runEnded(const RunEnd &run)
{
    if (m_destination == Destination::Off)
        return;
    const Fields fields{{"event", QStringLiteral("run")},
                        {"run", QString::number(run.run)},
                        {"task_type", taskTypeName(run.tasktype)},
                        {"path_list", run.pathlist.left(MaxPathListChars)},
                        {"outcome", run.outcome},
                        {"files_walked", QString::number(run.walked)},
                        {"files_read", QString::number(run.read)},
                        {"files_with_hits", QString::number(run.withHits)},
                        {"files_not_read", QString::number(run.notRead)}};
    send(Record::Run, fields,
         QStringLiteral("Discovery run %1 %2: %3 files with hits, %4 not read")
             .arg(run.run)
             .arg(run.outcome)
             .arg(run.withHits)
             .arg(run.notRead));
}

QByteArray FindingsLog::rfc5424(Record kind, const Fields &fields, const QString &message) const
{
    const bool file = kind == Record::File;
    // <PRI>1 TIMESTAMP HOSTNAME APP-NAME PROCID MSGID [SD-ID name="value" …] MSG
    QByteArray record = '<' + QByteArray::number(LOG_DAEMON | severity(file)) + ">1 "
                        + QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1() + ' '
                        + (QSysInfo::machineHostName().isEmpty() ? QByteArray("-") : QSysInfo::machineHostName().toUtf8()) + ' '
                        + AppName + ' ' + QByteArray::number(::getpid()) + ' ' + msgId(file) + " [" + SdId;
    for (const auto &field : fields)
        record += ' ' + field.first + "=\"" + paramValue(field.second) + '"';
    record += "] " + message.toUtf8();
    return record;
}

void FindingsLog::send(Record kind, const Fields &fields, const QString &message)
{
    const bool file = kind == Record::File;
    if (m_destination == Destination::Journal) {
        QVector<QByteArray> entries{"MESSAGE=" + message.toUtf8(), "PRIORITY=" + QByteArray::number(severity(file)),
                                    QByteArray("SYSLOG_IDENTIFIER=") + AppName, QByteArray("MESSAGE_ID=") + messageId(file)};
        for (const auto &field : fields)
            entries.append("DISCOVERY_" + field.first.toUpper() + '=' + field.second.toUtf8());
        QVector<struct iovec> vector;
        for (QByteArray &entry : entries)
            vector.append({entry.data(), static_cast<size_t>(entry.size())});
        sd_journal_sendv(vector.data(), vector.size());
        return;
    }
    if (m_socket < 0)
        return;
    const QByteArray record = rfc5424(kind, fields, message);
    struct sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (m_socketPath.size() >= int(sizeof(address.sun_path)))
        return;
    std::memcpy(address.sun_path, m_socketPath.constData(), size_t(m_socketPath.size()));
    // A log daemon that is not there (or full) costs the record, never the scan.
    ::sendto(m_socket, record.constData(), size_t(record.size()), MSG_DONTWAIT | MSG_NOSIGNAL,
             reinterpret_cast<const struct sockaddr *>(&address), sizeof(address));
}
