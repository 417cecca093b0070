#ifndef FINDINGSSTORE_H
#define FINDINGSSTORE_H

#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

struct sqlite3;
class FindingsLog;

// The service's findings: an SQLite database (mode 0600) holding every run
// of a task (path list, task type) with its settings and counts, and per run
// the files with hits, each with its words' exact counts (JSON) and its kept
// passages in the order of the hits (compact, made JSON when read), and the
// files not read.
// Queries by (path list, task type) see the task's latest run. One writer thread takes the
// findings in the order they are handed over and commits them in batched
// transactions; a callback tells whether a file's findings were committed.
// Findings waiting for the writer are held to Limits::StoreQueueBytes: a
// scanning thread that hands over more waits until the writer catches up.
// A write or commit that fails (the disk full, the file read-only) fails its
// task for good: the task's later writes are refused, and the task ends
// "failed" with the reason. Reads use their own connection and see only
// committed findings.
class FindingsStore
{
public:
    // The hits of one privacy rule in one file.
    struct RuleHits
    {
        QString category;
        QString rulename;
        int position = 0; // the rule's place in the rule table
        int kept = 0;     // passages in hits
        int count = 0;    // hits of the rule in the file, exact
        QByteArray hits;  // JSON array of {"sensitive", "sensitive_ctx"}, in the order of the hits
    };
    struct FileFindings
    {
        QString path;
        QByteArray counts; // JSON object: word (or privacy category) -> occurrences
        QByteArray hits;   // keyword tasks: JSON array of {"sensitive", "sensitive_ctx"}, in the order of the hits,
        QByteArray passages; // or those passages in the compact form (KeywordPassages), the JSON made when asked for
        QVector<RuleHits> rules; // privacy tasks: per rule with hits
    };
    struct TaskRecord
    {
        QString status;
        qint64 totalCount = 0;
        qint64 totalKiB = 0;
        QString failure; // why a "failed" task failed
    };
    // What a run was asked to do, for its history.
    struct RunInfo
    {
        int scanmode = 0;
        int keywords = 0;  // keyword tasks: the number of keywords sought
        QString ruleTable; // privacy tasks: the version of the rule table
    };
    // How deleting a run ended.
    enum class Deletion { Deleted, UnknownRun, InProgress, Failed };
    // Told once the writer is done with an operation: committed, or not and why.
    using Committed = std::function<void(bool committed, const QString &error)>;
    enum class Lookup { Found, UnknownTask, UnknownFile, Failed };

    explicit FindingsStore(const QString &path);
    ~FindingsStore();

    FindingsStore(const FindingsStore &) = delete;
    FindingsStore &operator=(const FindingsStore &) = delete;

    // Creates the directory, the file and the tables when missing, marks
    // tasks left unfinished by an earlier run as terminated, and starts the
    // writer. Returns false with a reason when the database cannot be used.
    bool open(QString *error);
    QString path() const { return m_path; }
    // Where committed findings and ended runs are recorded for the system log; set before open().
    void setFindingsLog(FindingsLog *log) { m_log = log; }

    // Writer operations, carried out in this order. A task is known to the
    // writer by the caller's number; beginning a task starts a new run, the
    // earlier runs of the same path list and type stay in the history.
    void beginTask(quint64 task, const QString &pathlist, int tasktype);
    // The run's settings and, at its end, what its walk handed over and how many files were read in full.
    void describeRun(quint64 task, const RunInfo &info);
    void setRunCounts(quint64 task, qint64 walked, qint64 read);
    void addFile(quint64 task, FileFindings findings, Committed committed);
    // The task's file total, once counted, so that it outlives a crash of the service.
    void setTotals(quint64 task, qint64 totalCount, qint64 totalKiB);
    // A file that could not be read, or only in part, and why.
    // kind is the short reason the task counts its skips by ("unreadable",
    // "damaged or not of its type", ...), reason the detailed one.
    void addFailure(quint64 task, const QString &path, const QString &reason, const QString &kind = QString());
    // A task that failed (failure says why, or an earlier write failed) is
    // recorded "failed" whatever the status asked for.
    void endTask(quint64 task, const QString &status, qint64 totalCount, qint64 totalKiB, Committed committed,
                 const QString &failure = QString());
    // Waits until everything handed over so far is committed.
    void flush();
    // Deletes an ended run with its findings and wipes them from the file
    // (vacuum, and the write-ahead log emptied). Waits for the writer.
    Deletion deleteRun(qint64 run, QString *error);
    // Deletes the ended runs started before the cutoff (as deleteRun);
    // returns how many, or -1 when the database could not be written.
    int expireRuns(const QDateTime &startedBefore, QString *error);

    // The JSON array of the file's hits, and (when asked for) the JSON
    // object of its words' exact counts.
    Lookup keywordHits(const QString &pathlist, int tasktype, const QString &file, QByteArray *hits,
                       QByteArray *counts = nullptr);
    // The "groupsensitives" array of a privacy category: its rules in table
    // order, each with its files in scan order, at most maxHits passages in all.
    Lookup privacyGroup(const QString &pathlist, int tasktype, const QString &category, int maxHits, QByteArray *groups);
    bool taskRecord(const QString &pathlist, int tasktype, TaskRecord *record);
    // path -> reason of the files the task could not read in full.
    QVector<QPair<QString, QString>> failures(const QString &pathlist, int tasktype);

private:
    struct Operation;

    void post(Operation &&operation, bool urgent = false);
    void run();
    bool exec(sqlite3 *db, const char *sql, QString *error = nullptr);
    // Writer side of deleteRun and expireRuns: false when the database could not be written.
    bool removeRuns(const Operation &op, QHash<quint64, qint64> &rows, int *outcome);

    // The system-log records of a committed batch.
    void record(const std::vector<Operation> &batch, const std::vector<bool> &written, const QHash<quint64, qint64> &rows,
                const QHash<quint64, QPair<QString, int>> &keys);

    QString m_path;
    FindingsLog *m_log = nullptr;
    sqlite3 *m_writer = nullptr;
    sqlite3 *m_reader = nullptr;
    std::mutex m_readMutex;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::condition_variable m_space; // the queue has room again
    std::deque<Operation> *m_queue = nullptr;
    qint64 m_queuedBytes = 0;
    bool m_urgent = false; // someone waits for the queue to be written: no gathering
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

#endif // FINDINGSSTORE_H
