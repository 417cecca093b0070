// The life of one module's scan task, from its start to the return to the
// module's configuration page.
#ifndef SCANCONTROLLER_H
#define SCANCONTROLLER_H

#include <QObject>
#include <QString>

class ScanTaskCalls;
class TimerThread;

// One per scan module. Holds the module's task (path list, policy) and its
// state, makes the task calls and drives the module's timer; the window
// shows what the state says and reports refused calls. The path list is
// also the task's identity: empty while the module has no task.
//
//   Configuring --start--> Scanning <--pause/continue--> Paused
//   Scanning, Paused --terminate, then markCancelled--> Cancelled --rescan--> Scanning
//   any --markCompleted--> Completed
//   Cancelled, Completed --reset--> Configuring
class ScanController : public QObject
{
    Q_OBJECT

public:
    enum class State { Configuring, Scanning, Paused, Cancelled, Completed };
    Q_ENUM(State)

    // `calls` and `timer` are not owned and must outlive the controller.
    ScanController(int taskType, ScanTaskCalls *calls, TimerThread *timer, QObject *parent = nullptr);
    ~ScanController() override;

    int taskType() const { return m_taskType; }
    // Replaces the task calls (tests); not owned.
    void setTaskCalls(ScanTaskCalls *calls) { m_calls = calls; }
    State state() const { return m_state; }
    // Scanning or paused: the task's progress and hit signals count only then.
    bool isRunning() const { return m_state == State::Scanning || m_state == State::Paused; }

    QString pathList() const { return m_pathlist; }
    // The scan target just chosen, before start().
    void setPathList(const QString &pathlist) { m_pathlist = pathlist; }
    // The policy of the last task created (Base64), reused by rescan().
    QString policy() const { return m_policy; }

    // Creates the task of the path list. Accepted: the policy is kept, the
    // state becomes Scanning and the timer counts from zero. Refused: the
    // path list is emptied (the module must not look as if it had a task).
    bool start(const QString &policy, int scanMode);
    // The same task again, with the kept policy; refused leaves everything.
    bool rescan(int scanMode);
    // Abandons a task that was never created: the path list is emptied.
    void abandon();
    // Pauses a scanning task, continues a paused one; false when the service
    // refused (nothing changes) or when the task is neither.
    bool pauseOrContinue();
    // Asks the service to end the task; the state changes with
    // markCancelled(), which the caller follows with once it has told
    // everyone.
    bool terminate();
    // The task was cancelled: the timer's run is ended and waited for.
    void markCancelled();
    // The task has completed: the timer ends its run by itself.
    void markCompleted();
    // Back to the configuration page: the module has no task any more.
    void reset();

    // How far the task has come, kept past its end for the ended pages:
    // the files examined so far (the service numbers them from 1), the
    // task's file total (-1 until the service has counted it) and the
    // seconds it has run. A new task starts from none.
    int filesScanned() const { return m_filesScanned; }
    void setFilesScanned(int files) { m_filesScanned = qMax(0, files); }
    int fileTotal() const { return m_fileTotal; }
    void setFileTotal(int total) { m_fileTotal = total; }
    int elapsedSeconds() const { return m_elapsedSeconds; }
    void setElapsedSeconds(int seconds) { m_elapsedSeconds = seconds; }
    // Whole percent of the total examined (0 to 100), -1 while the total is unknown.
    int percentDone() const;
    // Seconds left at the pace so far, -1 while it cannot be told yet.
    int secondsLeft() const;

Q_SIGNALS:
    void StateChanged(ScanController::State state);

private:
    bool begin(bool created);
    void setState(State state);

    const int m_taskType;
    ScanTaskCalls *m_calls;
    TimerThread *const m_timer;
    State m_state = State::Configuring;
    QString m_pathlist;
    QString m_policy;
    int m_filesScanned = 0;
    int m_fileTotal = -1;
    int m_elapsedSeconds = 0;
};

#endif // SCANCONTROLLER_H
