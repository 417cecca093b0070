// Records of findings for the system log (see findingslog.h).
#include "findingslog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

#include <QDebug>

#include <cerrno>
#include <cstring>
#include <ctime>
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

qint64 monotonicMs()
{
    struct timespec now = {};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
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
}

FindingsLog::~FindingsLog()
{
    disconnectSyslog();
}

// The socket is connected once, so that the kernel looks its path up once and
// not for every record; a log daemon that is restarted makes a new socket at
// the same path, which the next record connects to.
bool FindingsLog::connectSyslog()
{
    if (m_socket >= 0)
        return true;
    const qint64 now = monotonicMs();
    if (now < m_nextConnectMs)
        return false;
    m_nextConnectMs = now + ReconnectIntervalMs;
    struct sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    QString error;
    if (m_socketPath.size() >= int(sizeof(address.sun_path))) {
        error = QStringLiteral("the path is too long");
    } else {
        std::memcpy(address.sun_path, m_socketPath.constData(), size_t(m_socketPath.size()));
        const int socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (socket >= 0 && ::connect(socket, reinterpret_cast<const struct sockaddr *>(&address), sizeof(address)) == 0) {
            m_socket = socket;
            m_missingReported = false;
            return true;
        }
        error = QString::fromLocal8Bit(std::strerror(errno));
        if (socket >= 0)
            ::close(socket);
    }
    if (!m_missingReported) {
        m_missingReported = true;
        qWarning().noquote() << QStringLiteral("Findings log: syslog socket %1 not reachable (%2); records are dropped until it is")
                                    .arg(QFile::decodeName(m_socketPath), error);
    }
    return false;
}

void FindingsLog::disconnectSyslog()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
}

void FindingsLog::fileWithHits(qint64 run, const QString &pathlist, int tasktype, const QString &path, const QByteArray &counts)
{
    // A record that would be dropped (no syslog socket to take it) is not made: one per file with hits.
    if (m_destination == Destination::Off || (m_destination == Destination::Syslog && !connectSyslog()))
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
    if (!connectSyslog())
        return;
    const QByteArray record = rfc5424(kind, fields, message);
    // A log daemon that is not there (or full) costs the record, never the scan.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (::send(m_socket, record.constData(), size_t(record.size()), MSG_DONTWAIT | MSG_NOSIGNAL) >= 0)
            return;
        // The daemon's socket went away (restarted or stopped): connect anew
        // at once, so that a restart costs no record.
        if (errno != ECONNREFUSED && errno != ENOTCONN && errno != ENOENT && errno != ECONNRESET)
            return;
        disconnectSyslog();
        m_nextConnectMs = 0;
        if (!connectSyslog())
            return;
    }
}
