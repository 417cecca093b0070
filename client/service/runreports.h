// The client's side of the scan service's history of runs and its reports.
#ifndef RUNREPORTS_H
#define RUNREPORTS_H

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QString>

class QFile;

// Calls to "com.vorel.dlp.TransControlReports" on the scan service's object.
// Calls are made without introspection; replies are read by the static
// readers, so a caller may wait for them where it likes.
class RunReports
{
public:
    explicit RunReports(const QDBusConnection &bus);

    // The newest run of `pathlist` with `taskType` ("keyword" or "privacy")
    // in the service's history; -1 when there is none, or the history could
    // not be read (then `reason` says why). Waits for the reply.
    qint64 latestRun(const QString &pathlist, const QString &taskType, QString *reason) const;

    // Asks the service to write `run` in `format` ("csv", "jsonl", "html")
    // into `file`, which the caller opened for writing; the descriptor is
    // passed, the service never opens the path. Values stay masked unless
    // `unmasked`. The reply comes when the file is written.
    QDBusPendingCall exportRun(qint64 run, const QString &format, bool unmasked, const QFile &file) const;
    // True for a reply of 0; else `reason` says what went wrong.
    static bool exportSucceeded(const QDBusPendingCall &reply, QString *reason);

    // The text for a return code of the reports interface.
    static QString reasonOf(int code);

private:
    QDBusConnection m_bus;
};

#endif // RUNREPORTS_H
