// The client's side of the scan service's history of runs and its reports.
#include "runreports.h"

#include "servicelog.h"
#include "transcontrolprotocol.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
using TransControl::ReportsInterface;
using TransControl::ServiceName;
constexpr const char *ServicePath = TransControl::ObjectPath;
} // namespace

RunReports::RunReports(const QDBusConnection &bus)
    : m_bus(bus)
{
}

qint64 RunReports::latestRun(const QString &pathlist, const QString &taskType, QString *reason) const
{
    return latestRunIn(askRuns(), pathlist, taskType, reason);
}

QDBusPendingCall RunReports::exportRun(qint64 run, const QString &format, bool unmasked, const QFile &file) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(ServiceName), QLatin1String(ServicePath),
                                                       QLatin1String(ReportsInterface), QStringLiteral("ExportRun"));
    call << QVariant::fromValue(qlonglong(run)) << format << unmasked
         << QVariant::fromValue(QDBusUnixFileDescriptor(file.handle()));
    // The service answers once the whole report is written: a large run
    // takes longer than the bus's default time-out.
    return m_bus.asyncCall(call, -1);
}

bool RunReports::exportSucceeded(const QDBusPendingCall &pending, QString *reason)
{
    QDBusPendingReply<int> reply = pending;
    reply.waitForFinished();
    if (reply.isError()) {
        qCWarning(lcService) << "ExportRun failed:" << reply.error().name() << reply.error().message();
        if (reason)
            *reason = reply.error().message();
        return false;
    }
    if (reply.value() != ReturnCode::Ok) {
        qCWarning(lcService) << "ExportRun returned:" << reply.value();
        if (reason)
            *reason = reasonOf(reply.value());
        return false;
    }
    return true;
}

QString RunReports::reasonOf(int code)
{
    switch (code) {
    case ReturnCode::UnknownRun:
        return QCoreApplication::translate("RunReports", "扫描记录中没有这次扫描");
    case ReturnCode::RunInProgress:
        return QCoreApplication::translate("RunReports", "扫描尚未结束");
    case ReturnCode::InvalidFormat:
        return QCoreApplication::translate("RunReports", "不支持的导出格式");
    case ReturnCode::ExportFailed:
        return QCoreApplication::translate("RunReports", "无法写入所选文件");
    default:
        return QCoreApplication::translate("RunReports", "扫描服务出错（代码 %1）").arg(code);
    }
}

QDBusPendingCall RunReports::askRuns() const
{
    const QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(ServiceName), QLatin1String(ServicePath),
                                                             QLatin1String(ReportsInterface),
                                                             QStringLiteral("ListRuns"));
    return m_bus.asyncCall(call);
}

qint64 RunReports::latestRunIn(const QDBusPendingCall &pending, const QString &pathlist, const QString &taskType,
                               QString *reason)
{
    QDBusPendingReply<int, QString> reply = pending;
    reply.waitForFinished();
    if (reply.isError()) {
        qCWarning(lcService) << "ListRuns failed:" << reply.error().name() << reply.error().message();
        if (reason)
            *reason = reply.error().message();
        return -1;
    }
    if (reply.argumentAt<0>() != ReturnCode::Ok) {
        if (reason)
            *reason = reasonOf(reply.argumentAt<0>());
        return -1;
    }
    // Newest first: the first run that matches is the latest.
    const QJsonArray runs = QJsonDocument::fromJson(reply.argumentAt<1>().toUtf8()).array();
    for (const QJsonValue &value : runs) {
        const QJsonObject run = value.toObject();
        if (run.value(QLatin1String("path_list")).toString() == pathlist
            && run.value(QLatin1String("task_type")).toString() == taskType)
            return run.value(QLatin1String("run")).toVariant().toLongLong();
    }
    if (reason)
        *reason = QCoreApplication::translate("RunReports", "扫描记录中没有这次扫描");
    return -1;
}

QDBusPendingCall RunReports::askFilesNotRead(qint64 run) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(ServiceName), QLatin1String(ServicePath),
                                                       QLatin1String(ReportsInterface),
                                                       QStringLiteral("GetRunFilesNotRead"));
    call << QVariant::fromValue(qlonglong(run));
    return m_bus.asyncCall(call);
}

bool RunReports::filesNotReadIn(const QDBusPendingCall &pending, QList<FileNotRead> *files, QString *reason)
{
    QDBusPendingReply<int, QString> reply = pending;
    reply.waitForFinished();
    if (reply.isError()) {
        qCWarning(lcService) << "GetRunFilesNotRead failed:" << reply.error().name() << reply.error().message();
        if (reason)
            *reason = reply.error().message();
        return false;
    }
    if (reply.argumentAt<0>() != ReturnCode::Ok) {
        if (reason)
            *reason = reasonOf(reply.argumentAt<0>());
        return false;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(reply.argumentAt<1>().toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        qCWarning(lcService) << "GetRunFilesNotRead: not a JSON array:" << error.errorString();
        if (reason)
            *reason = QCoreApplication::translate("RunReports", "扫描服务的回复无法读取");
        return false;
    }
    const QJsonArray array = document.array();
    files->clear();
    files->reserve(array.size());
    for (const QJsonValue &value : array) {
        const QJsonObject object = value.toObject();
        files->append({object.value(QLatin1String("file")).toString(), object.value(QLatin1String("kind")).toString(),
                       object.value(QLatin1String("reason")).toString()});
    }
    return true;
}

QString RunReports::taskTypeName(int taskType)
{
    return taskType == PrivacyScanTask ? QStringLiteral("privacy") : QStringLiteral("keyword");
}
