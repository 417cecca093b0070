// The four task calls a scan controller makes, as an interface, so that a
// controller can be driven without a bus.
#ifndef SCANTASKCALLS_H
#define SCANTASKCALLS_H

#include <QString>

// Each call is waited for; true only when the service accepted it (return
// code 0). Failures are logged by the implementation.
class ScanTaskCalls
{
public:
    virtual ~ScanTaskCalls() = default;

    virtual bool createTask(const QString &pathlist, int taskType, int scanMode, const QString &policy) = 0;
    virtual bool pauseTask(const QString &pathlist, int taskType) = 0;
    virtual bool continueTask(const QString &pathlist, int taskType) = 0;
    virtual bool terminateTask(const QString &pathlist, int taskType) = 0;
};

#endif // SCANTASKCALLS_H
