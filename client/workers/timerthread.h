#ifndef TIMERTHREAD_H
#define TIMERTHREAD_H

#include <QElapsedTimer>
#include <QMutex>
#include <QThread>

#include <functional>

// Counts a scan's elapsed seconds, once a second, and emits them as
// TimeElapsed (for task types 1 and 3; a timer of any other type stays
// silent). The window owns one per module, passes the signal on under the
// module's own name and starts the timer again for every scan.
//
// Paused stretches are left out: pause() banks the whole seconds of the
// running stretch, resume() starts a new one. A stop or completion flag ends
// run() within about a second (at once while paused); run() then clears all
// flags, so the next start counts from zero. Every operation takes the
// thread's mutex for its whole body.
class TimerThread : public QThread
{
    Q_OBJECT

public:
    // A monotonic reading in milliseconds; only differences are used.
    using Clock = std::function<qint64()>;
    // Blocks the counting thread for about the given milliseconds.
    using SleepFunction = std::function<void(int milliseconds)>;

    explicit TimerThread(int taskType, QObject *parent = nullptr);
    // Stops a run that is still going and waits for it.
    ~TimerThread() override;

    int taskType() const { return m_taskType; }

    // Replace the stopwatch's clock and the loop's sleep (tests); only while
    // the thread is not running.
    void setClock(Clock clock);
    void setSleepFunction(SleepFunction sleep);

    // Starts a new count from zero. A previous run that is still ending (a
    // completion does not wait for it) is waited for first, and one that is
    // still counting is stopped, so a start is never silently skipped.
    void start(QThread::Priority priority = QThread::InheritPriority);

    // Both do nothing when the count is already paused, or already running.
    void pause();
    void resume();
    bool isPaused() const;
    void requestStop();
    bool isStopRequested() const;
    void markCompleted();
    bool isCompleted() const;
    void resetState();

Q_SIGNALS:
    // From the counting thread: the whole seconds counted so far, paused
    // stretches left out.
    void TimeElapsed(int seconds);

protected:
    void run() override;

private:
    qint64 elapsedMilliseconds() const; // of the running stretch; mutex held
    void emitElapsed(int seconds);

    mutable QMutex m_mutex;
    bool m_paused = false;
    bool m_stopRequested = false;
    bool m_completed = false;
    const int m_taskType;
    QElapsedTimer m_reference;
    Clock m_clock;
    SleepFunction m_sleep;
    qint64 m_stretchStart = 0; // clock reading when the running stretch began
    int accumulatedSeconds = 0;
};

#endif // TIMERTHREAD_H
