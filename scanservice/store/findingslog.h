// Records of findings for the system log, so that the findings of many
// machines reach one place through the log forwarding administrators
// already run: one record per file with hits and one when a run ends, with
// the run, the paths, the categories or keywords and their counts — never a
// matched value or a passage. To the journal (structured fields) where
// journald runs, else RFC 5424 with structured data to the syslog socket.
#ifndef FINDINGSLOG_H
#define FINDINGSLOG_H

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

class FindingsLog
{
public:
    enum class Destination { Off, Journal, Syslog };
    // The structured-data ID of the syslog records: a private one under the
    // example enterprise number of RFC 5612 (the product has none of its own).
    static constexpr const char *SdId = "discovery@32473";
    // Path lists longer than this are cut in a record (a datagram has its limits).
    static constexpr int MaxPathListChars = 1024;
    // While the syslog socket is not there, it is looked for again at most
    // this often (each look-up is a path walk in the kernel).
    static constexpr qint64 ReconnectIntervalMs = 1000;

    struct RunEnd
    {
        qint64 run = 0;
        QString pathlist;
        int tasktype = 0;
        QString outcome; // completed, cancelled, failed
        qint64 walked = 0;
        qint64 read = 0;
        qint64 withHits = 0;
        qint64 notRead = 0;
    };

    // "auto" picks the journal when its socket is there, else syslog.
    static bool parseDestination(const QString &name, Destination *destination);
    FindingsLog(Destination destination, const QString &syslogSocket);
    ~FindingsLog();
    FindingsLog(const FindingsLog &) = delete;
    FindingsLog &operator=(const FindingsLog &) = delete;

    Destination destination() const { return m_destination; }
    // counts: the findings' JSON object, category or keyword -> hits.
    void fileWithHits(qint64 run, const QString &pathlist, int tasktype, const QString &path, const QByteArray &counts);
    void runEnded(const RunEnd &run);

private:
    using Fields = QVector<QPair<QByteArray, QString>>; // lower-case name (journal: DISCOVERY_ + upper case), value
    enum class Record { File, Run };
    void send(Record record, const Fields &fields, const QString &message);
    QByteArray rfc5424(Record record, const Fields &fields, const QString &message) const;
    bool connectSyslog();
    void disconnectSyslog();

    Destination m_destination;
    QByteArray m_socketPath;
    int m_socket = -1; // connected to the syslog socket, or -1
    qint64 m_nextConnectMs = 0; // monotonic clock; no attempt before then
    bool m_missingReported = false; // one log line while the socket is away
};

#endif // FINDINGSLOG_H
