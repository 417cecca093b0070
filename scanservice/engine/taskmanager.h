#ifndef TASKMANAGER_H
#define TASKMANAGER_H

#include "scantask.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTimer>

class FindingsStore;

// The service's tasks, keyed by (path list, task type). Checks every
// argument of a new task, replaces an ended task of the same key (its run
// stays in the store's history), refuses one that is still running or paused, and
// forwards the tasks' signals with their key.
class TaskManager : public QObject
{
    Q_OBJECT

public:
    explicit TaskManager(FindingsStore *store, QObject *parent = nullptr);
    ~TaskManager() override;

    // Returns ReturnCode::Ok when the task was created and started, otherwise
    // another code and the reason.
    int create(const QString &pathlist, int tasktype, int scanmode, const QString &begintime,
               const QString &endtime, double batchsize, const QString &policy, QString *reason);
    ScanTask *find(const QString &pathlist, int tasktype) const;
    void setCountDelay(int ms) { m_countDelayMs = ms; }
    void setFileDelay(int ms) { m_fileDelayMs = ms; }
    void setCompileDelay(int ms) { m_compileDelayMs = ms; }
    // What scan mode 4 asks whether the machine is idle.
    void setIdleMonitor(std::shared_ptr<const IdleMonitor> idle) { m_idle = std::move(idle); }
    // Documents and archives are read by extraction workers running this program.
    void setExtraction(const QString &workerProgram, const WorkerProcess::Limits &limits)
    {
        m_workerProgram = workerProgram;
        m_workerLimits = limits;
    }
    // The compiled privacy rules that privacy tasks use.
    void setPrivacyMatcher(std::shared_ptr<const PrivacyMatcher> matcher) { m_privacy = std::move(matcher); }
    // Readies a detection signal on a task's thread; what it returns sends
    // it (see ScanTask::Settings::detection).
    using DetectionSignal = std::function<std::function<void()>(const QString &pathlist, int tasktype,
                                                                const QString &filepath, const QVariantMap &counts)>;
    void setDetectionSignals(DetectionSignal detection) { m_detection = std::move(detection); }
    // The privacy rule table's version, recorded with each privacy run.
    void setRuleTableVersion(const QString &version) { m_ruleTableVersion = version; }
    int pause(const QString &pathlist, int tasktype);
    int resume(const QString &pathlist, int tasktype);
    int terminate(const QString &pathlist, int tasktype);

    // The path list's entries as roots of the walk: each checked, cleaned,
    // and without repeats or entries inside another entry's tree.
    static int parsePathList(const QString &pathlist, QList<QByteArray> *roots, QString *reason);

Q_SIGNALS:
    void scanningFile(const QString &pathlist, int tasktype, const QString &filepath, int fileid);
    void countKnown(const QString &pathlist, int tasktype);
    void taskEnded(const QString &pathlist, int tasktype);

private:
    using Key = QPair<QString, int>;

    void reap();
    // Tasks that run, are paused, or whose threads have not yet returned.
    int liveTasks() const;

    FindingsStore *m_store;
    QHash<Key, ScanTask *> m_tasks;
    QList<ScanTask *> m_retired;
    QTimer m_reaper;
    quint64 m_nextId = 1;
    int m_countDelayMs = 0;
    int m_fileDelayMs = 0;
    int m_compileDelayMs = 0;
    std::shared_ptr<const IdleMonitor> m_idle;
    QString m_workerProgram;
    WorkerProcess::Limits m_workerLimits;
    std::shared_ptr<const PrivacyMatcher> m_privacy;
    QString m_ruleTableVersion;
    DetectionSignal m_detection;
};

#endif // TASKMANAGER_H
