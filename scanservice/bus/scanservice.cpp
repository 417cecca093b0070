#include "scanservice.h"

#include "detaildocument.h"
#include "detectionsignals.h"
#include "privacyrules.h"
#include "findingsstore.h"
#include "loggedtext.h"
#include "scanlimits.h"
#include "transcontrolprotocol.h"
#include "taskmanager.h"
#include "transcontroladaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QTimer>
#include <QtDebug>

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace {
const char *const UnknownTaskError = "com.vorel.dlp.TransControl.Error.UnknownTask";
const char *const CountPendingError = "com.vorel.dlp.TransControl.Error.CountPending";

// The reply code of a detail query from the store's answer.
int detailCode(FindingsStore::Lookup lookup, const TaskManager &tasks, const QString &pathlist, int tasktype)
{
    switch (lookup) {
    case FindingsStore::Lookup::Found:
        return ReturnCode::Ok;
    case FindingsStore::Lookup::UnknownTask:
        // A task that runs but has committed nothing yet is known, without findings.
        return tasks.find(pathlist, tasktype) ? ReturnCode::FileNotFound : ReturnCode::UnknownTask;
    case FindingsStore::Lookup::UnknownFile:
        return ReturnCode::FileNotFound;
    case FindingsStore::Lookup::Failed:
        break;
    }
    return ReturnCode::InternalError;
}
} // namespace

ScanService::ScanService(FindingsStore *store, std::shared_ptr<const PrivacyMatcher> privacy, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_tasks(new TaskManager(store, this))
{
    m_tasks->setPrivacyMatcher(std::move(privacy));
    ScanTaskDetailInfo::registerMetaType();
    new TransControlAdaptor(this);

    connect(m_tasks, &TaskManager::scanningFile, this,
            [this](const QString &pathlist, int tasktype, const QString &path, int id) {
                if (tasktype == KeywordScanTask)
                    emit SensitiveDiscoveryKeywordScanningFile(pathlist, path, id);
                else
                    emit SensitiveDiscoveryDataIdScanningFile(pathlist, path, id);
            });
    connect(m_tasks, &TaskManager::countKnown, this, &ScanService::answerHeld);
    connect(m_tasks, &TaskManager::taskEnded, this, &ScanService::answerHeld);
}

ScanService::~ScanService() = default;

bool ScanService::registerOn(QDBusConnection connection, QString *error)
{
    if (!connection.isConnected()) {
        *error = QStringLiteral("the system bus cannot be reached: %1").arg(connection.lastError().message());
        return false;
    }
    if (!connection.registerObject(QLatin1String(objectPath()), this)) {
        *error = QStringLiteral("the object %1 cannot be exported: %2")
                     .arg(QLatin1String(objectPath()), connection.lastError().message());
        return false;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = connection.interface()->registerService(
        QLatin1String(serviceName()), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        *error = QStringLiteral("the name %1 cannot be taken: %2").arg(QLatin1String(serviceName()), reply.error().message());
        return false;
    }
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        *error = QStringLiteral("the name %1 is taken by another process").arg(QLatin1String(serviceName()));
        return false;
    }
    // The same signals the adaptor declares, readied by the tasks' threads and sent by the connection's.
    const QMetaObject &adaptor = TransControlAdaptor::staticMetaObject;
    const QString interface = QLatin1String(adaptor.classInfo(adaptor.indexOfClassInfo("D-Bus Interface")).value());
    auto detections = std::make_shared<DetectionSignals>(connection, QLatin1String(objectPath()), interface);
    m_tasks->setDetectionSignals([detections](const QString &pathlist, int tasktype, const QString &filepath,
                                              const QVariantMap &counts) {
        return detections->ready(pathlist, tasktype, filepath, counts);
    });
    return true;
}

void ScanService::setCountDelay(int ms)
{
    m_tasks->setCountDelay(ms);
}

void ScanService::setFileDelay(int ms)
{
    m_tasks->setFileDelay(ms);
}

void ScanService::setCompileDelay(int ms)
{
    m_tasks->setCompileDelay(ms);
}

void ScanService::setIdleMonitor(std::shared_ptr<const IdleMonitor> idle)
{
    m_tasks->setIdleMonitor(std::move(idle));
}

void ScanService::setRuleTableVersion(const QString &version)
{
    m_tasks->setRuleTableVersion(version);
}

void ScanService::setExtraction(const QString &workerProgram, qint64 workerMemoryBytes, int secondsPerFile)
{
    WorkerProcess::Limits limits;
    limits.memoryBytes = workerMemoryBytes;
    limits.secondsPerFile = secondsPerFile;
    m_tasks->setExtraction(workerProgram, limits);
}

bool ScanService::callerAllowed(const char *method)
{
    if (!calledFromDBus())
        return true;
    QString why;
    if (m_callers.allowed(connection(), message(), method, &why))
        return true;
    sendErrorReply(QDBusError::AccessDenied, why);
    return false;
}

int ScanService::SensitiveDiscoverySetScanTask(const QString &pathlist, int tasktype, int scanmode,
                                               const QString &begintime, const QString &endtime, double batchsize,
                                               const QString &policy)
{
    if (!callerAllowed("SensitiveDiscoverySetScanTask"))
        return ReturnCode::InternalError;
    QString reason;
    const int code = m_tasks->create(pathlist, tasktype, scanmode, begintime, endtime, batchsize, policy, &reason);
    if (code != ReturnCode::Ok)
        qWarning().noquote() << QStringLiteral("Task refused (code %1) for path list \"%2\", type %3: %4")
                                    .arg(code)
                                    .arg(LoggedText::cut(pathlist))
                                    .arg(tasktype)
                                    .arg(reason);
    return code;
}

ScanTaskDetailInfo ScanService::SensitiveDiscoveryGetScanTaskDetail(const QString &pathlist, int tasktype)
{
    if (!callerAllowed("SensitiveDiscoveryGetScanTaskDetail"))
        return {};
    const ScanTask *task = m_tasks->find(pathlist, tasktype);
    if (!task) {
        // A task of an earlier run of the service is known from the store.
        FindingsStore::TaskRecord record;
        if (m_store->taskRecord(pathlist, tasktype, &record)) {
            ScanTaskDetailInfo info;
            info.TotalCount = static_cast<int>(std::min<qint64>(record.totalCount, INT_MAX));
            info.TotalSize = static_cast<int>(std::min<qint64>(record.totalKiB, INT_MAX));
            info.Status = record.status;
            info.Progress = 1.0;
            return info;
        }
        if (calledFromDBus())
            sendErrorReply(QLatin1String(UnknownTaskError), QStringLiteral("no task for this path list and type"));
        return {};
    }
    if (task->isCountKnown() || task->hasEnded() || !calledFromDBus())
        return task->detail();

    // Held back until the counting walk has finished, at most Limits::CountWaitMs.
    setDelayedReply(true);
    const quint64 serial = m_nextSerial++;
    m_held.append({serial, pathlist, tasktype, message()});
    QTimer::singleShot(Limits::CountWaitMs, this, [this, serial] {
        for (int i = 0; i < m_held.size(); ++i) {
            if (m_held.at(i).serial == serial) {
                const HeldReply held = m_held.takeAt(i);
                connection().send(held.message.createErrorReply(
                    QLatin1String(CountPendingError), QStringLiteral("the file total is not known yet; ask again")));
                return;
            }
        }
    });
    return {};
}

void ScanService::answerHeld(const QString &pathlist, int tasktype)
{
    const ScanTask *task = m_tasks->find(pathlist, tasktype);
    for (int i = 0; i < m_held.size();) {
        if (m_held.at(i).pathlist == pathlist && m_held.at(i).tasktype == tasktype) {
            const HeldReply held = m_held.takeAt(i);
            if (task)
                QDBusConnection::systemBus().send(held.message.createReply(QVariant::fromValue(task->detail())));
            else
                QDBusConnection::systemBus().send(held.message.createErrorReply(
                    QLatin1String(UnknownTaskError), QStringLiteral("no task for this path list and type")));
        } else {
            ++i;
        }
    }
}

int ScanService::SensitiveDiscoveryTerminateScanTask(const QString &pathlist, int tasktype)
{
    if (!callerAllowed("SensitiveDiscoveryTerminateScanTask"))
        return ReturnCode::InternalError;
    return m_tasks->terminate(pathlist, tasktype);
}

int ScanService::SensitiveDiscoveryPauseScanTask(const QString &pathlist, int tasktype)
{
    if (!callerAllowed("SensitiveDiscoveryPauseScanTask"))
        return ReturnCode::InternalError;
    return m_tasks->pause(pathlist, tasktype);
}

int ScanService::SensitiveDiscoveryContinueScanTask(const QString &pathlist, int tasktype)
{
    if (!callerAllowed("SensitiveDiscoveryContinueScanTask"))
        return ReturnCode::InternalError;
    return m_tasks->resume(pathlist, tasktype);
}

int ScanService::SensitiveDiscoveryGetKeywordDetectedDetail(const QString &pathlist, int tasktype,
                                                            const QString &filepath, QString &detail)
{
    detail = DetailDocument::keyword(filepath, QByteArray());
    if (!callerAllowed("SensitiveDiscoveryGetKeywordDetectedDetail"))
        return ReturnCode::InternalError;
    if (tasktype != KeywordScanTask)
        return ReturnCode::InvalidArgument;
    QByteArray hits;
    QByteArray counts;
    const int code =
        detailCode(m_store->keywordHits(pathlist, tasktype, filepath, &hits, &counts), *m_tasks, pathlist, tasktype);
    if (code == ReturnCode::Ok)
        detail = DetailDocument::keyword(filepath, hits, counts);
    return code;
}

int ScanService::SensitiveDiscoveryGetDataIdDetectedDetail(const QString &pathlist, int tasktype,
                                                           const QString &groupname, QString &detail)
{
    detail = DetailDocument::emptyPrivacy(groupname);
    if (!callerAllowed("SensitiveDiscoveryGetDataIdDetectedDetail"))
        return ReturnCode::InternalError;
    if (tasktype != PrivacyScanTask || !PrivacyRuleTable::categories().contains(groupname))
        return ReturnCode::InvalidArgument;
    QByteArray groups;
    const int code = detailCode(m_store->privacyGroup(pathlist, tasktype, groupname, Limits::MaxDetailHits, &groups),
                                *m_tasks, pathlist, tasktype);
    if (code == ReturnCode::Ok)
        detail = DetailDocument::privacy(groupname, groups);
    return code;
}

int ScanService::SensitiveDiscoveryGetScanTaskFailure(const QString &pathlist, int tasktype, QString &reason)
{
    reason.clear();
    if (!callerAllowed("SensitiveDiscoveryGetScanTaskFailure"))
        return ReturnCode::InternalError;
    if (const ScanTask *task = m_tasks->find(pathlist, tasktype)) {
        reason = task->failure();
        return ReturnCode::Ok;
    }
    // A task of an earlier run of the service is known from the store.
    FindingsStore::TaskRecord record;
    if (!m_store->taskRecord(pathlist, tasktype, &record))
        return ReturnCode::UnknownTask;
    reason = record.failure;
    return ReturnCode::Ok;
}
