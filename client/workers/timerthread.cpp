// The elapsed-time worker of a scan.

#include "timerthread.h"

#include "transcontrolprotocol.h"

#include <QMutexLocker>

TimerThread::TimerThread(int taskType, QObject *parent)
    : QThread(parent),
      m_taskType(taskType),
      m_clock([this] { return m_reference.elapsed(); }),
      m_sleep([](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); })
{
    m_reference.start();
}

TimerThread::~TimerThread()
{
    if (isRunning()) {
        requestStop();
        wait();
    }
}

void TimerThread::setClock(Clock clock)
{
    QMutexLocker locker(&m_mutex);
    m_clock = std::move(clock);
}

void TimerThread::setSleepFunction(SleepFunction sleep)
{
    QMutexLocker locker(&m_mutex);
    m_sleep = std::move(sleep);
}

void TimerThread::start(QThread::Priority priority)
{
    if (isRunning()) {
        requestStop();
        wait();
    }
    resetState();
    QThread::start(priority);
}

void TimerThread::pause()
{
    QMutexLocker locker(&m_mutex);
    // A second pause must not bank the same stretch again.
    if (m_paused)
        return;
    m_paused = true;
    accumulatedSeconds += static_cast<int>(elapsedMilliseconds() / 1000);
}

void TimerThread::resume()
{
    QMutexLocker locker(&m_mutex);
    // Restarting the stopwatch while counting would lose the running stretch.
    if (!m_paused)
        return;
    m_paused = false;
    m_stretchStart = m_clock();
}

bool TimerThread::isPaused() const
{
    QMutexLocker locker(&m_mutex);
    return m_paused;
}

void TimerThread::requestStop()
{
    QMutexLocker locker(&m_mutex);
    m_stopRequested = true;
}

bool TimerThread::isStopRequested() const
{
    QMutexLocker locker(&m_mutex);
    return m_stopRequested;
}

void TimerThread::markCompleted()
{
    QMutexLocker locker(&m_mutex);
    m_completed = true;
}

bool TimerThread::isCompleted() const
{
    QMutexLocker locker(&m_mutex);
    return m_completed;
}

void TimerThread::resetState()
{
    QMutexLocker locker(&m_mutex);
    m_paused = false;
    m_stopRequested = false;
    m_completed = false;
    accumulatedSeconds = 0;
}

qint64 TimerThread::elapsedMilliseconds() const
{
    return m_clock() - m_stretchStart;
}

void TimerThread::run()
{
    SleepFunction sleep;
    {
        QMutexLocker locker(&m_mutex);
        sleep = m_sleep;
        accumulatedSeconds = 0;
        m_stretchStart = m_clock();
    }
    emitElapsed(0);

    for (;;) {
        // The stop flag is looked at before the paused one, so a cancel
        // while paused ends the run at once.
        if (isCompleted() || isStopRequested()) {
            resetState();
            return;
        }
        if (isPaused()) {
            sleep(10);
            continue;
        }
        sleep(1000);

        int seconds = 0;
        {
            QMutexLocker locker(&m_mutex);
            // Paused meanwhile: the pause has banked this stretch. Ending: the
            // scan's time has already been shown as final.
            if (m_paused || m_stopRequested || m_completed)
                continue;
            seconds = static_cast<int>(elapsedMilliseconds() / 1000) + accumulatedSeconds;
        }
        emitElapsed(seconds);
    }
}

void TimerThread::emitElapsed(int seconds)
{
    if (m_taskType == KeywordScanTask || m_taskType == PrivacyScanTask)
        emit TimeElapsed(seconds);
}
