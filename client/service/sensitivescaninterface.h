#ifndef SENSITIVESCANINTERFACE_H
#define SENSITIVESCANINTERFACE_H

#include "transcontrolprotocol.h"

#include <QDBusAbstractInterface>
#include <QDBusPendingReply>

// Proxy of the scan service. A task is named by (pathlist, tasktype):
// tasktype 1 is a keyword scan, 3 a privacy scan. Every method issues an
// asynchronous call and returns the pending reply at once; integer replies
// are return codes where 0 means success.
class SensitiveScanInterface : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    static const char *staticInterfaceName() { return "com.vorel.dlp.TransControlInterface"; }

    SensitiveScanInterface(const QString &service, const QString &path, const QString &interface,
                           const QDBusConnection &connection, QObject *parent = nullptr);
    ~SensitiveScanInterface() override;

public Q_SLOTS:
    QDBusPendingReply<int> SensitiveDiscoverySetScanTask(const QString &pathlist, int tasktype, int scanmode,
                                                         const QString &begintime, const QString &endtime,
                                                         double batchsize, const QString &policy);
    QDBusPendingReply<ScanTaskDetailInfo> SensitiveDiscoveryGetScanTaskDetail(const QString &pathlist, int tasktype);
    QDBusPendingReply<int> SensitiveDiscoveryTerminateScanTask(const QString &pathlist, int tasktype);
    QDBusPendingReply<int> SensitiveDiscoveryPauseScanTask(const QString &pathlist, int tasktype);
    QDBusPendingReply<int> SensitiveDiscoveryContinueScanTask(const QString &pathlist, int tasktype);
    QDBusPendingReply<int, QString> SensitiveDiscoveryGetKeywordDetectedDetail(const QString &pathlist, int tasktype,
                                                                              const QString &filepath);
    QDBusPendingReply<int, QString> SensitiveDiscoveryGetDataIdDetectedDetail(const QString &pathlist, int tasktype,
                                                                             const QString &groupname);
    // A code and why the task failed (empty when it did not).
    QDBusPendingReply<int, QString> SensitiveDiscoveryGetScanTaskFailure(const QString &pathlist, int tasktype);
};

#endif // SENSITIVESCANINTERFACE_H
