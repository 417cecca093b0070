#ifndef SERVICECALL_H
#define SERVICECALL_H

#include "scantaskdetailinfo.h"

#include <QDBusPendingReply>
#include <QString>

// Blocking reads of the service's replies, as every caller of a task method
// does them: wait for the reply on the calling thread (up to the bus timeout),
// read the error state first and the value only when there is none.
namespace ServiceCall {

// For the return-code methods (create, terminate, pause, continue). Logs a
// bus error as "Method '<method>' call failed:" with the path list, the error
// name and message, and a reply as "Method '<method>' returned:" with the
// code. True only for a reply of 0; a bus error, a reply of another type and
// a non-zero code are failures.
bool waitForSuccess(QDBusPendingReply<int> pending, const QString &method, const QString &pathlist);

// For the task query. On success fills info and logs the four members; on a
// bus error (a reply of another type included) logs the failure, with the
// path list when it is not empty, leaves info all zero and returns false.
bool waitForTaskDetail(QDBusPendingReply<ScanTaskDetailInfo> pending, const QString &pathlist,
                       ScanTaskDetailInfo *info);

} // namespace ServiceCall

#endif // SERVICECALL_H
