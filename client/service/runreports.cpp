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
#include <QJsonParseError>

#include <limits>

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
    const QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(ServiceName), QLatin1String(ServicePath),
                                                             QLatin1String(ReportsInterface),
                                                             QStringLiteral("ListRuns"));
    QDBusPendingReply<int, QString> reply = m_bus.asyncCall(call);
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

QDBusMessage RunReports::reportsCall(const QString &method) const
{
    return QDBusMessage::createMethodCall(QLatin1String(ServiceName), QLatin1String(ServicePath),
                                          QLatin1String(ReportsInterface), method);
}

bool RunReports::replySucceeded(const QDBusPendingCall &pending, const char *method, QString *reason)
{
    QDBusPendingCall call = pending;
    call.waitForFinished();
    const QDBusMessage reply = call.reply();
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCWarning(lcService) << method << "failed:" << reply.errorName() << reply.errorMessage();
        if (reason)
            *reason = reply.errorMessage();
        return false;
    }
    const QVariantList values = reply.arguments();
    if (values.isEmpty() || values.first().userType() != QMetaType::Int) {
        qCWarning(lcService) << method << "replied" << reply.signature() << "instead of a return code";
        if (reason)
            *reason = QCoreApplication::translate("RunReports", "扫描服务的回复无法识别");
        return false;
    }
    const int code = values.first().toInt();
    if (code != ReturnCode::Ok) {
        qCWarning(lcService) << method << "returned:" << code;
        if (reason)
            *reason = reasonOf(code);
        return false;
    }
    return true;
}

QDBusPendingCall RunReports::listRuns() const
{
    return m_bus.asyncCall(reportsCall(QStringLiteral("ListRuns")));
}

bool RunReports::runsOf(const QDBusPendingCall &pending, QJsonArray *runs, QString *reason)
{
    if (!replySucceeded(pending, "ListRuns", reason))
        return false;
    const QVariantList values = pending.reply().arguments();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(values.value(1).toString().toUtf8(), &error);
    if (!document.isArray()) {
        qCWarning(lcService) << "ListRuns: not a JSON array:" << error.errorString();
        if (reason)
            *reason = QCoreApplication::translate("RunReports", "扫描服务的回复无法识别");
        return false;
    }
    if (runs)
        *runs = document.array();
    return true;
}

QDBusPendingCall RunReports::runSummary(qint64 run) const
{
    QDBusMessage call = reportsCall(QStringLiteral("GetRunSummary"));
    call << QVariant::fromValue(qlonglong(run));
    return m_bus.asyncCall(call);
}

bool RunReports::summaryOf(const QDBusPendingCall &pending, QJsonObject *summary, QString *reason)
{
    if (!replySucceeded(pending, "GetRunSummary", reason))
        return false;
    const QVariantList values = pending.reply().arguments();
    const QJsonDocument document = QJsonDocument::fromJson(values.value(1).toString().toUtf8());
    if (!document.isObject()) {
        qCWarning(lcService) << "GetRunSummary: not a JSON object";
        if (reason)
            *reason = QCoreApplication::translate("RunReports", "扫描服务的回复无法识别");
        return false;
    }
    if (summary)
        *summary = document.object();
    return true;
}

QDBusPendingCall RunReports::deleteRun(qint64 run) const
{
    QDBusMessage call = reportsCall(QStringLiteral("DeleteRun"));
    call << QVariant::fromValue(qlonglong(run));
    // The service rewrites its database file before it answers, which may
    // take longer than the bus's default time-out on a large store.
    return m_bus.asyncCall(call, std::numeric_limits<int>::max());
}

bool RunReports::deleteSucceeded(const QDBusPendingCall &pending, QString *reason)
{
    return replySucceeded(pending, "DeleteRun", reason);
}
