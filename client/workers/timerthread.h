#ifndef TIMERTHREAD_H
#define TIMERTHREAD_H

#include <QElapsedTimer>
#include <QMutex>
#include <QThread>

#include <functional>

class MainWindow;

// Counts a scan's elapsed seconds, once a second, and emits them on the main
// window: KeywordScanTimeElapsed for task type 1, PiiScanTimeElapsed for 3.
// The window owns one per module and starts it again for every scan.
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

    TimerThread(MainWindow *mainWindow, int taskType, QObject *parent = nullptr);
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

protected:
    void run() override;

private:
    qint64 elapsedMilliseconds() const; // of the running stretch; mutex held
    void emitElapsed(int seconds);

    mutable QMutex m_mutex;
    bool m_paused = false;
    bool m_stopRequested = false;
    bool m_completed = false;
    MainWindow *m_mainWindow;
    const int m_taskType;
    QElapsedTimer m_reference;
    Clock m_clock;
    SleepFunction m_sleep;
    qint64 m_stretchStart = 0; // clock reading when the running stretch began
    int accumulatedSeconds = 0;
};

#endif // TIMERTHREAD_H
