// The life of one module's scan task.

#include "scancontroller.h"

#include "scantaskcalls.h"
#include "timerthread.h"

#include <limits>

namespace {
// A few seconds in, the pace says little yet about the time left.
constexpr int PaceSeconds = 3;
} // namespace

ScanController::ScanController(int taskType, ScanTaskCalls *calls, TimerThread *timer, QObject *parent)
    : QObject(parent), m_taskType(taskType), m_calls(calls), m_timer(timer)
{
}

ScanController::~ScanController() = default;

bool ScanController::start(const QString &policy, int scanMode)
{
    m_policy = policy;
    if (!m_calls->createTask(m_pathlist, m_taskType, scanMode, m_policy)) {
        m_pathlist.clear();
        return false;
    }
    return begin(true);
}

bool ScanController::rescan(int scanMode)
{
    return begin(m_calls->createTask(m_pathlist, m_taskType, scanMode, m_policy));
}

bool ScanController::begin(bool created)
{
    if (!created)
        return false;
    m_filesScanned = 0;
    m_fileTotal = -1;
    m_elapsedSeconds = 0;
    setState(State::Scanning);
    m_timer->start(QThread::InheritPriority);
    return true;
}

void ScanController::abandon()
{
    m_pathlist.clear();
}

bool ScanController::pauseOrContinue()
{
    if (m_state == State::Scanning) {
        if (!m_calls->pauseTask(m_pathlist, m_taskType))
            return false;
        setState(State::Paused);
        if (!m_timer->isPaused())
            m_timer->pause();
        return true;
    }
    if (m_state == State::Paused) {
        if (!m_calls->continueTask(m_pathlist, m_taskType))
            return false;
        setState(State::Scanning);
        if (m_timer->isPaused())
            m_timer->resume();
        return true;
    }
    return false;
}

bool ScanController::terminate()
{
    return m_calls->terminateTask(m_pathlist, m_taskType);
}

// The run ends at its next look at the flags; wait for it.
void ScanController::markCancelled()
{
    if (!m_timer->isStopRequested())
        m_timer->requestStop();
    if (m_timer->isRunning()) {
        m_timer->quit();
        m_timer->wait();
    }
    setState(State::Cancelled);
}

// The run ends by itself; nobody waits for it.
void ScanController::markCompleted()
{
    if (!m_timer->isCompleted())
        m_timer->markCompleted();
    if (m_timer->isRunning())
        m_timer->exit(0);
    setState(State::Completed);
}

void ScanController::reset()
{
    m_pathlist.clear();
    setState(State::Configuring);
}

int ScanController::percentDone() const
{
    if (m_fileTotal <= 0)
        return m_fileTotal == 0 ? 100 : -1;
    return int(qBound<qint64>(0, qint64(m_filesScanned) * 100 / m_fileTotal, 100));
}

int ScanController::secondsLeft() const
{
    if (m_fileTotal <= 0 || m_filesScanned <= 0 || m_elapsedSeconds < PaceSeconds)
        return -1;
    const qint64 left = qMax<qint64>(0, qint64(m_fileTotal) - m_filesScanned);
    return int(qMin<qint64>(left * m_elapsedSeconds / m_filesScanned, std::numeric_limits<int>::max()));
}

void ScanController::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit StateChanged(state);
}
