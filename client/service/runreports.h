// The client's side of the scan service's history of runs and its reports.
#ifndef RUNREPORTS_H
#define RUNREPORTS_H

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QList>
#include <QString>

class QFile;
class QJsonArray;
class QJsonObject;

// Calls to "com.vorel.dlp.TransControlReports" on the scan service's object.
// Calls are made without introspection; replies are read by the static
// readers, so a caller may wait for them where it likes.
class RunReports
{
public:
    explicit RunReports(const QDBusConnection &bus);

    // Asks the service to write `run` in `format` ("csv", "jsonl", "html")
    // into `file`, which the caller opened for writing; the descriptor is
    // passed, the service never opens the path. Values stay masked unless
    // `unmasked`. The reply comes when the file is written.
    QDBusPendingCall exportRun(qint64 run, const QString &format, bool unmasked, const QFile &file) const;
    // True for a reply of 0; else `reason` says what went wrong.
    static bool exportSucceeded(const QDBusPendingCall &reply, QString *reason);

    // Every run the service keeps, newest first. The reply is read by
    // runsOf: the JSON array of run objects, or false with `reason`.
    QDBusPendingCall listRuns() const;
    static bool runsOf(const QDBusPendingCall &reply, QJsonArray *runs, QString *reason);
    // One run with its hits per category or keyword; read by summaryOf.
    QDBusPendingCall runSummary(qint64 run) const;
    static bool summaryOf(const QDBusPendingCall &reply, QJsonObject *summary, QString *reason);
    // Deletes an ended run with its findings; read by deleteSucceeded.
    QDBusPendingCall deleteRun(qint64 run) const;
    static bool deleteSucceeded(const QDBusPendingCall &reply, QString *reason);

    // The text for a return code of the reports interface.
    static QString reasonOf(int code);

    // The newest run of `pathlist` with `taskType` ("keyword" or "privacy")
    // in a reply of listRuns(); -1 when there is none, or the history could
    // not be read (then `reason` says why).
    static qint64 latestRunIn(const QDBusPendingCall &reply, const QString &pathlist, const QString &taskType,
                              QString *reason);

    // A file a run did not read in full: its path (the service's escaped
    // form), the kind of reason its skips are counted by, and the detailed
    // reason.
    struct FileNotRead
    {
        QString file;
        QString kind;
        QString reason;
    };
    // The files `run` did not read in full, and their reasons.
    QDBusPendingCall askFilesNotRead(qint64 run) const;
    // The list in a reply of askFilesNotRead(); false (and `reason` says why)
    // when the reply is an error, a failure code or not a JSON array.
    static bool filesNotReadIn(const QDBusPendingCall &reply, QList<FileNotRead> *files, QString *reason);

    // How the history names a task type of the task interface ("keyword",
    // "privacy").
    static QString taskTypeName(int taskType);

private:
    QDBusMessage reportsCall(const QString &method) const;
    // The code of a reply whose first value is a return code: false with
    // `reason` for a bus error or a code other than 0.
    static bool replySucceeded(const QDBusPendingCall &reply, const char *method, QString *reason);

    QDBusConnection m_bus;
};

#endif // RUNREPORTS_H
