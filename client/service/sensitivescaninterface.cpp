#include "sensitivescaninterface.h"

SensitiveScanInterface::SensitiveScanInterface(const QString &service, const QString &path, const QString &interface,
                                               const QDBusConnection &connection, QObject *parent)
    : QDBusAbstractInterface(service, path, interface.toUtf8().constData(), connection, parent)
{
    ScanTaskDetailInfo::registerMetaType();
}

SensitiveScanInterface::~SensitiveScanInterface() = default;

QDBusPendingReply<int> SensitiveScanInterface::SensitiveDiscoverySetScanTask(const QString &pathlist, int tasktype,
                                                                             int scanmode, const QString &begintime,
                                                                             const QString &endtime, double batchsize,
                                                                             const QString &policy)
{
    const QList<QVariant> args{QVariant::fromValue(pathlist), QVariant::fromValue(tasktype),
                               QVariant::fromValue(scanmode), QVariant::fromValue(begintime),
                               QVariant::fromValue(endtime),  QVariant::fromValue(batchsize),
                               QVariant::fromValue(policy)};
    return asyncCallWithArgumentList(QStringLiteral("SensitiveDiscoverySetScanTask"), args);
}

QDBusPendingReply<ScanTaskDetailInfo> SensitiveScanInterface::SensitiveDiscoveryGetScanTaskDetail(
    const QString &pathlist, int tasktype)
{
    const QList<QVariant> args{QVariant::fromValue(pathlist), QVariant::fromValue(tasktype)};
    return asyncCallWithArgumentList(QStringLiteral("SensitiveDiscoveryGetScanTaskDetail"), args);
}

QDBusPendingReply<int> SensitiveScanInterface::SensitiveDiscoveryTerminateScanTask(const QString &pathlist,
                                                                                   int tasktype)
{
    const QList<QVariant> args{QVariant::fromValue(pathlist), QVariant::fromValue(tasktype)};
    return asyncCallWithArgumentList(QStringLiteral("SensitiveDiscoveryTerminateScanTask"), args);
}

QDBusPendingReply<int> SensitiveScanInterface::SensitiveDiscoveryPauseScanTask(const QString &pathlist, int tasktype)
{
    const QList<QVariant> args{QVariant::fromValue(pathlist), QVariant::fromValue(tasktype)};
    return asyncCallWithArgumentList(QStringLiteral("SensitiveDiscoveryPauseScanTask"), args);
}

QDBusPendingReply<int> SensitiveScanInterface::SensitiveDiscoveryContinueScanTask(const QString &pathlist,
                                                                                  int tasktype)
{
    const QList<QVariant> args{QVariant::fromValue(pathlist), QVariant::fromValue(tasktype)};
    return asyncCallWithArgumentList(QStringLiteral("SensitiveDiscoveryContinueScanTask"), args);
}

QDBusPendingReply<int, QString> SensitiveScanInterface::SensitiveDiscoveryGetKeywordDetectedDetail(
    const QString &pathlist, int tasktype, const QString &filepath)
{
    const QList<QVariant> args{QVariant::fromValue(pathlist), QVariant::fromValue(tasktype),
                               QVariant::fromValue(filepath)};
    return asyncCallWithArgumentList(QStringLiteral("SensitiveDiscoveryGetKeywordDetectedDetail"), args);
}

QDBusPendingReply<int, QString> SensitiveScanInterface::SensitiveDiscoveryGetDataIdDetectedDetail(
    const QString &pathlist, int tasktype, const QString &groupname)
{
    const QList<QVariant> args{QVariant::fromValue(pathlist), QVariant::fromValue(tasktype),
                               QVariant::fromValue(groupname)};
    return asyncCallWithArgumentList(QStringLiteral("SensitiveDiscoveryGetDataIdDetectedDetail"), args);
}

QDBusPendingReply<int, QString> SensitiveScanInterface::SensitiveDiscoveryGetScanTaskFailure(const QString &pathlist,
                                                                                           int tasktype)
{
    const QList<QVariant> args{QVariant::fromValue(pathlist), QVariant::fromValue(tasktype)};
    return asyncCallWithArgumentList(QStringLiteral("SensitiveDiscoveryGetScanTaskFailure"), args);
}
