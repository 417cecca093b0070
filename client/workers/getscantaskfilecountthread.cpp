// The file-total worker of a scan start.

#include "getscantaskfilecountthread.h"

#include "transcontrolprotocol.h"
#include "sensitivescaninterface.h"
#include "servicecall.h"
#include "workerslog.h"

#include <QDebug>
#include <QList>
#include <QMutexLocker>

namespace {

// Every worker that exists, so that the owner of a proxy can end the runs
// that still use it before the proxy goes away.
QMutex registryMutex;
QList<GetScanTaskFileCountThread *> registry;

} // namespace

GetScanTaskFileCountThread::GetScanTaskFileCountThread(SensitiveScanInterface *proxy, const QString &pathlist,
                                                       QObject *parent)
    : QThread(parent), m_proxy(proxy), m_pathlist(pathlist)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    QMutexLocker locker(&registryMutex);
    registry.append(this);
}

GetScanTaskFileCountThread::~GetScanTaskFileCountThread()
{
    {
        QMutexLocker locker(&registryMutex);
        registry.removeAll(this);
    }
    if (isRunning()) {
        cancel();
        wait();
    }
}

void GetScanTaskFileCountThread::setTaskType(int taskType)
{
    m_taskType = taskType;
}

void GetScanTaskFileCountThread::setSleepFunction(SleepFunction sleep)
{
    m_sleep = std::move(sleep);
}

void GetScanTaskFileCountThread::cancel()
{
    QMutexLocker locker(&m_cancelMutex);
    m_cancelRequested = true;
    m_cancelled.wakeAll();
}

bool GetScanTaskFileCountThread::isCancelled() const
{
    QMutexLocker locker(&m_cancelMutex);
    return m_cancelRequested;
}

void GetScanTaskFileCountThread::cancelAll(SensitiveScanInterface *proxy)
{
    QList<GetScanTaskFileCountThread *> workers;
    {
        QMutexLocker locker(&registryMutex);
        for (GetScanTaskFileCountThread *worker : qAsConst(registry))
            if (worker->m_proxy == proxy)
                workers << worker;
    }
    // Workers are deleted on the thread that created them, the caller's, so
    // none of these goes away while we wait here.
    for (GetScanTaskFileCountThread *worker : qAsConst(workers))
        worker->cancel();
    for (GetScanTaskFileCountThread *worker : qAsConst(workers))
        worker->wait();
}

void GetScanTaskFileCountThread::sleepBeforeQuery(int milliseconds)
{
    if (m_sleep) {
        m_sleep(milliseconds);
        return;
    }
    QMutexLocker locker(&m_cancelMutex);
    if (!m_cancelRequested)
        m_cancelled.wait(&m_cancelMutex, static_cast<unsigned long>(milliseconds));
}

int GetScanTaskFileCountThread::GetScanTaskFileCount()
{
    SensitiveScanInterface *proxy = m_proxy;
    if (!proxy)
        return 0;

    int retriesLeft = MaximumAttempts;
    for (;;) {
        sleepBeforeQuery(m_pathlist == QLatin1String("/") ? WholeDiskDelayMs : DelayMs);
        if (isCancelled())
            return 0;

        QDBusPendingReply<ScanTaskDetailInfo> pending =
            proxy->SensitiveDiscoveryGetScanTaskDetail(m_pathlist, m_taskType);
        // The reply is delivered by the bus library's own thread; wait for it
        // in short steps so that a cancel is not held up by a slow service.
        while (!pending.isFinished()) {
            QMutexLocker locker(&m_cancelMutex);
            if (m_cancelRequested)
                return 0;
            m_cancelled.wait(&m_cancelMutex, 10);
        }

        ScanTaskDetailInfo info;
        // No path list in the log lines: the worker logs the error alone.
        switch (ServiceCall::readTaskDetail(pending, QString(), &info)) {
        case ServiceCall::TaskDetailResult::Received:
            return info.TotalCount;
        case ServiceCall::TaskDetailResult::WrongType:
            // Not an error of the bus: asking again would get the same
            // answer. The values read as 0, so no range is set.
            return 0;
        case ServiceCall::TaskDetailResult::BusError:
            if (--retriesLeft == 0) {
                qCWarning(lcWorkers) << "GetScanTaskFileCount: Exceeded maximum retry count (" << MaximumAttempts
                           << "), giving up.";
                return 0;
            }
            break;
        }
    }
}

void GetScanTaskFileCountThread::run()
{
    const int total = GetScanTaskFileCount();
    if (total < 1 || isCancelled())
        return;
    qCDebug(lcWorkers) << "total file count of directory:" << total;
    if (m_taskType == KeywordScanTask || m_taskType == PrivacyScanTask)
        emit ProgressRangeGenerated(0, total);
}
