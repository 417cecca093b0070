#ifndef IDLEMONITOR_H
#define IDLEMONITOR_H

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <deque>

// Tells whether the machine is idle: at least Limits::IdleSharePercent of
// the processors' time idle over the last Limits::IdleWindowMs, the
// service's own time (its threads and its extraction workers) counted as
// idle, so that an idle-time scan does not stop itself. Sampled from
// /proc/stat and /proc/<pid>/stat on the main thread; read from any thread.
// For tests the idle share can be read from a file instead (a number of
// percent), which makes the machine's load whatever the test writes there.
class IdleMonitor : public QObject
{
    Q_OBJECT

public:
    explicit IdleMonitor(const QString &fakeIdleFile = QString(), QObject *parent = nullptr);

    bool isIdle() const { return m_idle.load(); }
    // The idle share (0 to 100) of the last window; -1 before there is one.
    int idlePercent() const { return m_percent.load(); }

private:
    struct Sample
    {
        qint64 total;
        qint64 idle;
        qint64 own;
    };

    void sample();
    static qint64 ownTicks();

    QString m_fakeFile;
    QTimer m_timer;
    std::deque<Sample> m_samples;
    std::atomic<bool> m_idle{false};
    std::atomic<int> m_percent{-1};
};

#endif // IDLEMONITOR_H
