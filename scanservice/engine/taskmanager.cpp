#include "taskmanager.h"

#include "findingsstore.h"
#include "loggedtext.h"
#include "pathname.h"
#include "scanlimits.h"
#include "transcontrolprotocol.h"
#include "scanpolicy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QtDebug>

#include <cmath>
#include <sys/stat.h>

namespace {
bool validTime(const QString &text)
{
    if (text.isEmpty())
        return true;
    return QDateTime::fromString(text, Qt::ISODate).isValid()
           || QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid();
}

QDateTime parseTime(const QString &text)
{
    QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    return time.isValid() ? time : QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
} // namespace

TaskManager::TaskManager(FindingsStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    m_reaper.setInterval(1000);
    connect(&m_reaper, &QTimer::timeout, this, &TaskManager::reap);
    m_reaper.start();
}

TaskManager::~TaskManager()
{
    // Terminates what still runs and waits for every thread.
    qDeleteAll(m_tasks);
    qDeleteAll(m_retired);
}

void TaskManager::reap()
{
    for (auto it = m_retired.begin(); it != m_retired.end();) {
        if ((*it)->threadsFinished()) {
            delete *it;
            it = m_retired.erase(it);
        } else {
            ++it;
        }
    }
}

int TaskManager::parsePathList(const QString &pathlist, QList<QByteArray> *roots, QString *reason)
{
    if (pathlist.isEmpty()) {
        *reason = QStringLiteral("the path list is empty");
        return ReturnCode::InvalidPathList;
    }
    const QStringList entries = pathlist.split(QLatin1Char('|'));
    if (entries.size() > Limits::MaxPathEntries) {
        *reason = QStringLiteral("the path list has more than %1 entries").arg(Limits::MaxPathEntries);
        return ReturnCode::InvalidPathList;
    }
    QList<QPair<QByteArray, QByteArray>> found; // (cleaned, canonical)
    for (const QString &entry : entries) {
        if (entry.isEmpty() || !entry.startsWith(QLatin1Char('/')) || entry.contains(QChar(0))) {
            *reason = QStringLiteral("\"%1\" is not an absolute path").arg(LoggedText::cut(entry));
            return ReturnCode::InvalidPathList;
        }
        // The bytes of the name, in the escaped form the service reports names in.
        const QByteArray cleaned = PathName::fromText(QDir::cleanPath(entry));
        struct stat st;
        if (::stat(cleaned.constData(), &st) != 0) {
            *reason = QStringLiteral("\"%1\" does not exist").arg(LoggedText::cut(entry));
            return ReturnCode::InvalidPathList;
        }
        if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) {
            *reason = QStringLiteral("\"%1\" is neither a directory nor a regular file").arg(LoggedText::cut(entry));
            return ReturnCode::InvalidPathList;
        }
        char *real = ::realpath(cleaned.constData(), nullptr);
        QByteArray canonical = real ? QByteArray(real) : cleaned;
        ::free(real);
        found.append({cleaned, canonical});
    }
    auto inside = [](const QByteArray &path, const QByteArray &dir) {
        return path == dir || (path.startsWith(dir) && (dir.endsWith('/') || path.at(dir.size()) == '/'));
    };
    roots->clear();
    for (int i = 0; i < found.size(); ++i) {
        bool covered = false;
        for (int j = 0; j < found.size() && !covered; ++j) {
            if (i == j)
                continue;
            const bool same = found[i].second == found[j].second;
            // Of two equal entries the first stays; an entry inside another goes.
            covered = same ? j < i : inside(found[i].second, found[j].second);
        }
        if (!covered)
            roots->append(found[i].first);
    }
    return ReturnCode::Ok;
}

int TaskManager::create(const QString &pathlist, int tasktype, int scanmode, const QString &begintime,
                        const QString &endtime, double batchsize, const QString &policy, QString *reason)
{
    if (tasktype != KeywordScanTask && tasktype != PrivacyScanTask) {
        *reason = QStringLiteral("task type %1 is neither 1 nor 3").arg(tasktype);
        return ReturnCode::InvalidTaskType;
    }
    if (scanmode != 1 && scanmode != 4) {
        *reason = QStringLiteral("scan mode %1 is neither 1 nor 4").arg(scanmode);
        return ReturnCode::InvalidScanMode;
    }
    if (!std::isfinite(batchsize) || batchsize <= 0 || batchsize > 1) {
        *reason = QStringLiteral("batch size %1 is outside (0, 1]").arg(batchsize);
        return ReturnCode::InvalidBatchSize;
    }
    if (!validTime(begintime) || !validTime(endtime)
        || (!begintime.isEmpty() && !endtime.isEmpty() && parseTime(begintime) > parseTime(endtime))) {
        *reason = QStringLiteral("the time window \"%1\" to \"%2\" is not valid")
                      .arg(LoggedText::cut(begintime), LoggedText::cut(endtime));
        return ReturnCode::InvalidTimeWindow;
    }
    ScanTask::Settings settings;
    int code = parsePathList(pathlist, &settings.roots, reason);
    if (code != ReturnCode::Ok)
        return code;
    ScanPolicy parsed;
    code = ScanPolicy::parse(policy, tasktype, &parsed, reason);
    if (code != ReturnCode::Ok)
        return code;

    const Key key(pathlist, tasktype);
    ScanTask *existing = m_tasks.value(key);
    if (existing && !existing->hasEnded()) {
        *reason = QStringLiteral("a task for this path list and type is %1")
                      .arg(existing->state() == ScanTask::State::Paused ? QStringLiteral("paused")
                                                                        : QStringLiteral("running"));
        return ReturnCode::TaskBusy;
    }
    if (liveTasks() >= Limits::MaxConcurrentTasks) {
        *reason = QStringLiteral("%1 tasks are running, paused or stopping").arg(Limits::MaxConcurrentTasks);
        return ReturnCode::TooManyTasks;
    }

    settings.pathlist = pathlist;
    settings.tasktype = tasktype;
    settings.scanmode = scanmode;
    settings.batchsize = batchsize;
    for (const QString &type : parsed.fileTypes())
        settings.extensions.insert(type.toUtf8());
    settings.writeFindings = parsed.writeDatabase();
    settings.countDelayMs = m_countDelayMs;
    settings.fileDelayMs = m_fileDelayMs;
    settings.workerProgram = m_workerProgram;
    settings.workerLimits = m_workerLimits;
    settings.idle = m_idle;
    settings.today = QDate::currentDate();
    if (tasktype == PrivacyScanTask) {
        if (!m_privacy) {
            *reason = QStringLiteral("the privacy rules are not loaded");
            return ReturnCode::InternalError;
        }
        if (!parsed.dataIdentifiers())
            qWarning().noquote() << "A privacy task whose policy turns the data identifiers off: the task type decides, they are sought";
        settings.privacy = m_privacy;
        settings.ruleTableVersion = m_ruleTableVersion;
    }
    // Compiled by the task itself: the caller, and every other caller, is answered at once.
    if (tasktype == KeywordScanTask)
        settings.keywords = parsed.keywords();
    settings.compileDelayMs = m_compileDelayMs;
    if (m_detection) {
        settings.detection = [detection = m_detection, pathlist, tasktype](const QString &filepath,
                                                                           const QVariantMap &counts) {
            return detection(pathlist, tasktype, filepath, counts);
        };
    }

    if (existing) {
        m_tasks.remove(key);
        existing->disconnect(this);
        m_retired.append(existing);
    }
    auto *task = new ScanTask(m_nextId++, settings, m_store);
    connect(task, &ScanTask::scanningFile, this, [this, pathlist, tasktype](const QString &path, int id) {
        emit scanningFile(pathlist, tasktype, path, id);
    });
    connect(task, &ScanTask::countKnown, this, [this, pathlist, tasktype] { emit countKnown(pathlist, tasktype); });
    connect(task, &ScanTask::ended, this, [this, pathlist, tasktype] { emit taskEnded(pathlist, tasktype); });
    m_tasks.insert(key, task);
    task->start();
    qInfo().noquote() << QStringLiteral("Task %1 started: path list \"%2\", type %3, mode %4, %5 workers, %6 keywords, %7 file types")
                             .arg(task->id())
                             .arg(LoggedText::cut(pathlist))
                             .arg(tasktype)
                             .arg(scanmode)
                             .arg(ScanTask::workerCount(batchsize))
                             .arg(settings.keywords.size())
                             .arg(settings.extensions.size());
    return ReturnCode::Ok;
}

int TaskManager::liveTasks() const
{
    // A task counts until its threads have returned, so that tasks ended and
    // started again in quick succession do not pile up threads either.
    int live = 0;
    for (const ScanTask *task : m_tasks)
        live += !task->hasEnded() || !task->threadsFinished();
    for (const ScanTask *task : m_retired)
        live += !task->threadsFinished();
    return live;
}

ScanTask *TaskManager::find(const QString &pathlist, int tasktype) const
{
    return m_tasks.value(Key(pathlist, tasktype));
}

int TaskManager::pause(const QString &pathlist, int tasktype)
{
    ScanTask *task = find(pathlist, tasktype);
    if (!task)
        return ReturnCode::UnknownTask;
    if (task->hasEnded())
        return ReturnCode::TaskEnded;
    task->pause();
    return ReturnCode::Ok;
}

int TaskManager::resume(const QString &pathlist, int tasktype)
{
    ScanTask *task = find(pathlist, tasktype);
    if (!task)
        return ReturnCode::UnknownTask;
    if (task->hasEnded())
        return ReturnCode::TaskEnded;
    task->resume();
    return ReturnCode::Ok;
}

int TaskManager::terminate(const QString &pathlist, int tasktype)
{
    ScanTask *task = find(pathlist, tasktype);
    if (!task)
        return ReturnCode::UnknownTask;
    task->terminate();
    return ReturnCode::Ok;
}
