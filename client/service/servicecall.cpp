#include "servicecall.h"

#include "servicelog.h"

#include <QDBusReply>
#include <QDebug>

namespace ServiceCall {

bool waitForSuccess(QDBusPendingReply<int> pending, const QString &method, const QString &pathlist)
{
    const QDBusReply<int> reply = pending;
    if (reply.error().isValid()) {
        qCCritical(lcService) << QStringLiteral("Method '%1' call failed:").arg(method).toUtf8().constData() << pathlist << reply.error().name()
                    << reply.error().message();
        return false;
    }
    const int code = reply.value();
    qCDebug(lcService) << QStringLiteral("Method '%1' returned:").arg(method).toUtf8().constData() << code;
    return code == 0;
}

bool waitForTaskDetail(QDBusPendingReply<ScanTaskDetailInfo> pending, const QString &pathlist,
                       ScanTaskDetailInfo *info)
{
    return readTaskDetail(pending, pathlist, info) == TaskDetailResult::Received;
}

TaskDetailResult readTaskDetail(QDBusPendingReply<ScanTaskDetailInfo> pending, const QString &pathlist,
                                ScanTaskDetailInfo *info)
{
    const QDBusReply<ScanTaskDetailInfo> reply = pending;
    if (reply.error().isValid()) {
        if (pathlist.isEmpty())
            qCCritical(lcService) << "Method 'SensitiveDiscoveryGetScanTaskDetail' call failed:" << reply.error().name()
                        << reply.error().message();
        else
            qCCritical(lcService) << "Method 'SensitiveDiscoveryGetScanTaskDetail' call failed:" << pathlist
                        << reply.error().name() << reply.error().message();
        if (info)
            *info = ScanTaskDetailInfo();
        // A typed pending reply turns a reply of another signature into
        // this error; asking again would only get the same reply.
        return reply.error().type() == QDBusError::InvalidSignature ? TaskDetailResult::WrongType
                                                                    : TaskDetailResult::BusError;
    }
    const ScanTaskDetailInfo value = reply.value();
    qCDebug(lcService) << "Method 'SensitiveDiscoveryGetScanTaskDetail' call successfully.";
    qCDebug(lcService) << "TotalCount:" << value.TotalCount;
    qCDebug(lcService) << "TotalSize:" << value.TotalSize;
    qCDebug(lcService) << "Status:" << value.Status;
    qCDebug(lcService) << "Progress:" << value.Progress;
    if (info)
        *info = value;
    return TaskDetailResult::Received;
}

} // namespace ServiceCall
