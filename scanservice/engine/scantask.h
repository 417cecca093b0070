#ifndef SCANTASK_H
#define SCANTASK_H

#include "keywordmatcher.h"
#include "privacymatcher.h"
#include "idlemonitor.h"
#include "workerprocess.h"
#include "transcontrolprotocol.h"

#include <QByteArray>
#include <QDate>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <thread>

class FindingsStore;

// One scan task. Its thread first compiles the keywords (off the bus thread:
// a large policy takes seconds, and the call that created the task has been
// answered), then beside the scan runs a counting walk that finds the task's
// file total. The scan walk feeds a bounded queue; the task's workers take
// files from it in walk order, number them 1, 2, 3 …, extract their text
// and match it, and hand their findings to the store. Each detection is
// sent once its findings are committed, by the store's thread itself as a
// signal the scanning thread readied (Settings::detection: the bus
// connection sends from any thread, and a signal per file with hits through
// the main thread cost it more than the scan's walk). The object lives in
// the main thread and turns
// what else the threads report into its signals there: at most one
// scanning signal per Limits::ScanningSignalIntervalMs (always the newest
// file, and always the last before the end marker) and the end marker
// (0, "") when the task completes or fails, after every detection. A paused task emits nothing; a
// terminated one emits nothing more. A task whose findings cannot be
// committed fails: it stops, and says why.
class ScanTask : public QObject
{
    Q_OBJECT

public:
    enum class State { Running, Paused, Completed, Terminated, Failed };
    // Scan mode 4 and the machine busy: the task waits.
    bool isWaitingForIdle() const;

    struct Settings
    {
        QString pathlist;
        int tasktype = KeywordScanTask;
        int scanmode = 1;
        double batchsize = 0.75;
        QList<QByteArray> roots;         // absolute, distinct, none inside another
        QSet<QByteArray> extensions;     // lower case, no dot
        QStringList keywords;            // keyword tasks: compiled in the task's own thread
        std::shared_ptr<const KeywordMatcher> matcher; // keyword tasks: the compiled keywords (else built from keywords)
        std::shared_ptr<const PrivacyMatcher> privacy;  // privacy tasks
        QString ruleTableVersion;        // privacy tasks: the rule table's version, for the run's history
        QDate today;                     // the scan's date (ages are counted to it)
        bool writeFindings = true;
        int countDelayMs = 0;            // for tests: the counting walk starts this much later
        int fileDelayMs = 0;             // for tests: each scanning thread waits this long before each file
        int compileDelayMs = 0;          // for tests: compiling the keywords takes this much longer
        QString workerProgram;           // extraction workers; empty: documents are read in the service itself
        WorkerProcess::Limits workerLimits;
        std::shared_ptr<const IdleMonitor> idle; // scan mode 4: scans only while it says idle
        // Readies the detection signal of a file with hits, on the thread
        // that has the findings; calling what it returns sends it, from any
        // thread. Without it, detections are not announced.
        std::function<std::function<void()>(const QString &filepath, const QVariantMap &counts)> detection;
    };

    ScanTask(quint64 id, const Settings &settings, FindingsStore *store, QObject *parent = nullptr);
    ~ScanTask() override;

    quint64 id() const { return m_id; }
    QString pathlist() const { return m_settings.pathlist; }
    int tasktype() const { return m_settings.tasktype; }
    State state() const { return m_state; }
    bool hasEnded() const { return m_state == State::Completed || m_state == State::Terminated || m_state == State::Failed; }
    // Why a failed task failed; empty otherwise.
    QString failure() const { return m_failure; }
    bool isCountKnown() const;
    ScanTaskDetailInfo detail() const;
    // True once every thread of the task has returned.
    bool threadsFinished() const;
    // Whether a task was destroyed while its thread was still compiling (the
    // thread then finishes on its own): the process must not wait for it.
    static bool threadsLeftRunning();
    // Worker threads for a batch size: that share of the processor cores, at least one.
    static int workerCount(double batchsize);

    void start();
    void pause();
    void resume();
    void terminate();

Q_SIGNALS:
    void scanningFile(const QString &filepath, int fileid);
    void countKnown();
    void ended();

private:
    struct Shared;

    void poll();

    const quint64 m_id;
    const Settings m_settings;
    FindingsStore *m_store;
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    State m_state = State::Running;
    QTimer m_poll;
    QElapsedTimer m_sinceScanningSignal;
    int m_lastFileId = 0;
    bool m_countAnnounced = false;
    QString m_failure;
};

#endif // SCANTASK_H
