// The task calls on the scan service's bus proxy.

#include "busscantaskcalls.h"

#include "sensitivescaninterface.h"
#include "servicecall.h"

BusScanTaskCalls::BusScanTaskCalls(SensitiveScanInterface *proxy)
    : m_proxy(proxy)
{
}

bool BusScanTaskCalls::createTask(const QString &pathlist, int taskType, int scanMode, const QString &policy)
{
    return ServiceCall::waitForSuccess(m_proxy->SensitiveDiscoverySetScanTask(pathlist, taskType, scanMode, QString(),
                                                                              QString(), ScanBatchSize, policy),
                                       QStringLiteral("SensitiveDiscoverySetScanTask"), pathlist);
}

bool BusScanTaskCalls::pauseTask(const QString &pathlist, int taskType)
{
    return ServiceCall::waitForSuccess(m_proxy->SensitiveDiscoveryPauseScanTask(pathlist, taskType),
                                       QStringLiteral("SensitiveDiscoveryPauseScanTask"), pathlist);
}

bool BusScanTaskCalls::continueTask(const QString &pathlist, int taskType)
{
    return ServiceCall::waitForSuccess(m_proxy->SensitiveDiscoveryContinueScanTask(pathlist, taskType),
                                       QStringLiteral("SensitiveDiscoveryContinueScanTask"), pathlist);
}

bool BusScanTaskCalls::terminateTask(const QString &pathlist, int taskType)
{
    return ServiceCall::waitForSuccess(m_proxy->SensitiveDiscoveryTerminateScanTask(pathlist, taskType),
                                       QStringLiteral("SensitiveDiscoveryTerminateScanTask"), pathlist);
}
