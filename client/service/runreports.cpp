// The client's side of the scan service's history of runs and its reports.
#include "runreports.h"

#include "servicelog.h"
#include "transcontrolprotocol.h"

#include <QCoreApplication>
#include <QDBusMessage>
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

QDBusPendingCall RunReports::exportRun(qint64 run, const QString &format, bool unmasked, const QFile &file) const
{
    QDBusMessage call = reportsCall(QStringLiteral("ExportRun"));
    call << QVariant::fromValue(qlonglong(run)) << format << unmasked
         << QVariant::fromValue(QDBusUnixFileDescriptor(file.handle()));
    // The service answers once the whole report is written: a large run
    // takes longer than the bus's default time-out.
    return m_bus.asyncCall(call, -1);
}

bool RunReports::exportSucceeded(const QDBusPendingCall &pending, QString *reason)
{
    return replySucceeded(pending, "ExportRun", reason);
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

qint64 RunReports::latestRunIn(const QDBusPendingCall &pending, const QString &pathlist, const QString &taskType,
                               QString *reason)
{
    QJsonArray runs;
    if (!runsOf(pending, &runs, reason))
        return -1;
    // Newest first: the first run that matches is the latest.
    for (const QJsonValue &value : qAsConst(runs)) {
        const QJsonObject run = value.toObject();
        if (run.value(QLatin1String("path_list")).toString() == pathlist
            && run.value(QLatin1String("task_type")).toString() == taskType)
            return run.value(QLatin1String("run")).toVariant().toLongLong();
    }
    if (reason)
        *reason = reasonOf(ReturnCode::UnknownRun);
    return -1;
}

QDBusPendingCall RunReports::askFilesNotRead(qint64 run) const
{
    QDBusMessage call = reportsCall(QStringLiteral("GetRunFilesNotRead"));
    call << QVariant::fromValue(qlonglong(run));
    return m_bus.asyncCall(call);
}

bool RunReports::filesNotReadIn(const QDBusPendingCall &pending, QList<FileNotRead> *files, QString *reason)
{
    if (!replySucceeded(pending, "GetRunFilesNotRead", reason))
        return false;
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(pending.reply().arguments().value(1).toString().toUtf8(), &error);
    if (!document.isArray()) {
        qCWarning(lcService) << "GetRunFilesNotRead: not a JSON array:" << error.errorString();
        if (reason)
            *reason = QCoreApplication::translate("RunReports", "扫描服务的回复无法识别");
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
