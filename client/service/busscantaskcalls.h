// The task calls on the scan service's bus proxy.
#ifndef BUSSCANTASKCALLS_H
#define BUSSCANTASKCALLS_H

#include "scantaskcalls.h"

class SensitiveScanInterface;

// Issues each call on the proxy and waits for it on the calling thread,
// logging as ServiceCall::waitForSuccess does. Every task is created with
// empty begin and end times and the batch size below.
class BusScanTaskCalls : public ScanTaskCalls
{
public:
    static constexpr double ScanBatchSize = 0.75;

    explicit BusScanTaskCalls(SensitiveScanInterface *proxy);

    bool createTask(const QString &pathlist, int taskType, int scanMode, const QString &policy) override;
    bool pauseTask(const QString &pathlist, int taskType) override;
    bool continueTask(const QString &pathlist, int taskType) override;
    bool terminateTask(const QString &pathlist, int taskType) override;

private:
    SensitiveScanInterface *m_proxy;
};

#endif // BUSSCANTASKCALLS_H
