// The reports interface (see runreportsadaptor.h).
#include "runreportsadaptor.h"

#include "findingsstore.h"
#include "reportwriter.h"
#include "runhistory.h"
#include "runjson.h"
#include "transcontrolprotocol.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtDebug>

#include <atomic>

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

struct RunReportsAdaptor::Export
{
    std::thread thread;
    std::atomic<bool> done{false};
};

RunReportsAdaptor::RunReportsAdaptor(QObject *serviceObject, const QDBusContext &context, FindingsStore *store,
                                     RunHistory *history)
    : QDBusAbstractAdaptor(serviceObject)
    , m_context(context)
    , m_store(store)
    , m_history(history)
{
}

RunReportsAdaptor::~RunReportsAdaptor()
{
    for (const auto &running : m_exports)
        running->thread.join();
}

void RunReportsAdaptor::reapExports()
{
    for (auto it = m_exports.begin(); it != m_exports.end();) {
        if ((*it)->done) {
            (*it)->thread.join();
            it = m_exports.erase(it);
        } else {
            ++it;
        }
    }
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
    reapExports();
    // Made and written in a thread of its own; answered from there when done.
    const bool onBus = m_context.calledFromDBus();
    QDBusMessage call;
    QDBusConnection connection(QStringLiteral("none"));
    if (onBus) {
        call = m_context.message();
        connection = m_context.connection();
        m_context.setDelayedReply(true);
    }
    RunHistory *history = m_history;
    auto job = std::make_unique<Export>();
    Export *state = job.get();
    auto work = [=]() {
        RunReport report;
        int code = codeOf(history->report(run, &report));
        if (code == ReturnCode::Ok) {
            QString error;
            if (ReportWriter::writeAll(file.fileDescriptor(), ReportWriter::render(report, chosen, !unmasked), &error)) {
                qInfo().noquote() << QStringLiteral("Run %1 exported as %2%3")
                                         .arg(run)
                                         .arg(format, unmasked ? QStringLiteral(", values in full") : QString());
            } else {
                qWarning().noquote() << QStringLiteral("Run %1 not exported: %2").arg(run).arg(error);
                code = ReturnCode::ExportFailed;
            }
        }
        if (onBus)
            connection.send(call.createReply(code));
        state->done = true;
        return code;
    };
    if (!onBus)
        return work(); // called directly (not over the bus): answered at once
    job->thread = std::thread(work);
    m_exports.push_back(std::move(job));
    return ReturnCode::Ok; // not sent: the reply is delayed
}
