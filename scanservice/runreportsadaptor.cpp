// The reports interface (see runreportsadaptor.h).
#include "runreportsadaptor.h"

#include "findingsstore.h"
#include "reportwriter.h"
#include "returncodes.h"
#include "runhistory.h"
#include "runjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtDebug>

namespace {
int codeOf(RunHistory::Lookup lookup)
{
    switch (lookup) {
    case RunHistory::Lookup::Found:
        return ReturnCode::Ok;
    case RunHistory::Lookup::UnknownRun:
        return ReturnCode::UnknownRun;
    case RunHistory::Lookup::Failed:
        break;
    }
    return ReturnCode::InternalError;
}

QString compact(const QJsonDocument &document)
{
    return QString::fromUtf8(document.toJson(QJsonDocument::Compact));
}
} // namespace

RunReportsAdaptor::RunReportsAdaptor(QObject *serviceObject, const QDBusContext &context, FindingsStore *store,
                                     RunHistory *history)
    : QDBusAbstractAdaptor(serviceObject)
    , m_context(context)
    , m_store(store)
    , m_history(history)
{
}

bool RunReportsAdaptor::callerAllowed(const char *method)
{
    if (!m_context.calledFromDBus())
        return true;
    QString why;
    if (m_callers.allowed(m_context.connection(), m_context.message(), method, &why))
        return true;
    m_context.sendErrorReply(QDBusError::AccessDenied, why);
    return false;
}

int RunReportsAdaptor::ListRuns(QString &runs)
{
    runs = QStringLiteral("[]");
    if (!callerAllowed("ListRuns"))
        return ReturnCode::InternalError;
    QVector<RunReport::Run> found;
    if (!m_history->runs(&found))
        return ReturnCode::InternalError;
    QJsonArray list;
    for (const RunReport::Run &run : found)
        list.append(RunJson::run(run));
    runs = compact(QJsonDocument(list));
    return ReturnCode::Ok;
}

int RunReportsAdaptor::GetRunSummary(qlonglong run, QString &summary)
{
    summary = QStringLiteral("{}");
    if (!callerAllowed("GetRunSummary"))
        return ReturnCode::InternalError;
    RunReport report;
    const int code = codeOf(m_history->report(run, &report, false));
    if (code == ReturnCode::Ok)
        summary = compact(QJsonDocument(RunJson::summary(report)));
    return code;
}

int RunReportsAdaptor::GetRunFilesNotRead(qlonglong run, QString &files)
{
    files = QStringLiteral("[]");
    if (!callerAllowed("GetRunFilesNotRead"))
        return ReturnCode::InternalError;
    QVector<RunReport::NotRead> found;
    const int code = codeOf(m_history->notRead(run, &found));
    if (code == ReturnCode::Ok)
        files = compact(QJsonDocument(RunJson::notRead(found)));
    return code;
}

int RunReportsAdaptor::DeleteRun(qlonglong run)
{
    if (!callerAllowed("DeleteRun"))
        return ReturnCode::InternalError;
    QString error;
    switch (m_store->deleteRun(run, &error)) {
    case FindingsStore::Deletion::Deleted:
        qInfo().noquote() << QStringLiteral("Run %1 deleted").arg(run);
        return ReturnCode::Ok;
    case FindingsStore::Deletion::UnknownRun:
        return ReturnCode::UnknownRun;
    case FindingsStore::Deletion::InProgress:
        return ReturnCode::RunInProgress;
    case FindingsStore::Deletion::Failed:
        break;
    }
    qWarning().noquote() << QStringLiteral("Run %1 could not be deleted: %2").arg(run).arg(error);
    return ReturnCode::InternalError;
}

int RunReportsAdaptor::ExportRun(qlonglong run, const QString &format, bool unmasked, const QDBusUnixFileDescriptor &file)
{
    if (!callerAllowed("ExportRun"))
        return ReturnCode::InternalError;
    ReportWriter::Format chosen;
    if (!ReportWriter::parseFormat(format, &chosen))
        return ReturnCode::InvalidFormat;
    if (!file.isValid())
        return ReturnCode::ExportFailed;
    RunReport report;
    const int code = codeOf(m_history->report(run, &report));
    if (code != ReturnCode::Ok)
        return code;
    QString error;
    if (!ReportWriter::writeAll(file.fileDescriptor(), ReportWriter::render(report, chosen, !unmasked), &error)) {
        qWarning().noquote() << QStringLiteral("Run %1 not exported: %2").arg(run).arg(error);
        return ReturnCode::ExportFailed;
    }
    qInfo().noquote() << QStringLiteral("Run %1 exported as %2%3").arg(run).arg(format, unmasked ? QStringLiteral(", values in full") : QString());
    return ReturnCode::Ok;
}
