#ifndef SERVICECALL_H
#define SERVICECALL_H

#include "transcontrolprotocol.h"

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

// How a task query ended, for callers that treat a reply of the wrong type
// differently from an error sent by the bus or the service.
enum class TaskDetailResult {
    Received,  // a (iisd) reply
    BusError,  // an error message: service missing, access denied, time-out, ...
    WrongType, // a reply whose values are not a (iisd) structure (or a complaint
               // about the signature of the call)
};

// waitForTaskDetail with the outcome told apart; logs exactly as it does and
// leaves info all zero unless the reply was received.
TaskDetailResult readTaskDetail(QDBusPendingReply<ScanTaskDetailInfo> pending, const QString &pathlist,
                                ScanTaskDetailInfo *info);

} // namespace ServiceCall

#endif // SERVICECALL_H
