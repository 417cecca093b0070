// Task calls that the service always accepts, for window tests that need a
// module in a given scan state without a scan service.
#ifndef ACCEPTINGTASKCALLS_H
#define ACCEPTINGTASKCALLS_H

#include "scantaskcalls.h"

class AcceptingTaskCalls : public ScanTaskCalls
{
public:
    bool createTask(const QString &, int, int, const QString &) override { return true; }
    bool pauseTask(const QString &, int) override { return true; }
    bool continueTask(const QString &, int) override { return true; }
    bool terminateTask(const QString &, int) override { return true; }
};

#endif // ACCEPTINGTASKCALLS_H
