#ifndef GETSCANTASKFILECOUNTTHREAD_H
#define GETSCANTASKFILECOUNTTHREAD_H

#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <functional>

class SensitiveScanInterface;

// Asks the scan service, once per scan start, how many files the new task
// will scan, and emits the total as the progress range:
// ProgressRangeGenerated(0, total) for task types 1 and 3, nothing when the
// total is below 1 (or for any other task type). The window that starts it
// passes the range on under the module's own signal. Only bus errors are retried, MaximumAttempts queries in all, each
// one after a short sleep (longer for a whole-disk task, whose total takes
// the service longer to count). The thread deletes itself once its run has
// finished; nobody keeps a reference to it.
class GetScanTaskFileCountThread : public QThread
{
    Q_OBJECT

public:
    static constexpr int MaximumAttempts = 30;
    static constexpr int WholeDiskDelayMs = 1000; // before each query of the path list "/"
    static constexpr int DelayMs = 100;           // before each query of any other path list

    // Blocks the worker for about the given milliseconds.
    using SleepFunction = std::function<void(int milliseconds)>;

    // `proxy` is used from the worker's thread (only its asynchronous call
    // entry point); it must outlive the run (see cancelAll()).
    GetScanTaskFileCountThread(SensitiveScanInterface *proxy, const QString &pathlist, QObject *parent = nullptr);
    ~GetScanTaskFileCountThread() override;

    void setTaskType(int taskType);
    int taskType() const { return m_taskType; }
    QString pathlist() const { return m_pathlist; }

    // Replaces the sleep before each query (tests); only before start().
    void setSleepFunction(SleepFunction sleep);

    // The polling query: the task's file total, or 0 after giving up.
    int GetScanTaskFileCount();

    // Makes the run give up at once, without emitting: its sleep and its
    // wait for a reply end early.
    void cancel();
    bool isCancelled() const;

    // Cancels every worker on this proxy that still exists and waits until
    // their runs have ended. The proxy's owner calls it before it lets go
    // of the proxy.
    static void cancelAll(SensitiveScanInterface *proxy);

Q_SIGNALS:
    // From the worker's thread, at most once.
    void ProgressRangeGenerated(int minimum, int maximum);

protected:
    void run() override;

private:
    void sleepBeforeQuery(int milliseconds);

    SensitiveScanInterface *m_proxy;
    const QString m_pathlist;
    int m_taskType = 0;
    SleepFunction m_sleep;

    mutable QMutex m_cancelMutex;
    QWaitCondition m_cancelled;
    bool m_cancelRequested = false;
};

#endif // GETSCANTASKFILECOUNTTHREAD_H
