#include "findingsstore.h"

#include "detaildocument.h"
#include "findingslog.h"
#include "keywordpassages.h"
#include "scanlimits.h"
#include "sqlitestatement.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QtDebug>

#include <chrono>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

struct FindingsStore::Operation
{
    enum Type { Begin, File, Failure, Totals, End, Flush, Describe, Counts, Delete, Expire } type = Begin;
    quint64 task = 0;
    QString pathlist;
    int tasktype = 0;
    FileFindings findings;
    QString status;
    qint64 totalCount = 0;
    qint64 totalKiB = 0;
    Committed committed;
    QString failure; // End: why the task failed, if it did
    RunInfo info;    // Describe
    qint64 run = 0;  // Delete: the run; Counts: files walked (totalCount: read)
    QDateTime before; // Expire: runs started before this
    // Delete and Expire: told what was done (a Deletion, or the runs expired).
    std::function<void(int outcome, const QString &error)> done;

    // What the operation holds in memory while it waits, about.
    qint64 bytes() const
    {
        qint64 total = static_cast<qint64>(sizeof(Operation)) + findings.counts.size() + findings.hits.size() + findings.passages.size()
                       + 2 * findings.path.size();
        for (const RuleHits &rule : findings.rules)
            total += static_cast<qint64>(sizeof(RuleHits)) + rule.hits.size();
        return total;
    }
};

namespace {

// One row per run of a task; the latest of a (path list, task type) is the task.
#define TASKS_TABLE(name) \
    "CREATE TABLE IF NOT EXISTS " name "(\n" \
    "  id INTEGER PRIMARY KEY,\n" \
    "  pathlist TEXT NOT NULL,\n" \
    "  tasktype INTEGER NOT NULL,\n" \
    "  status TEXT NOT NULL,\n" \
    "  total_count INTEGER NOT NULL DEFAULT 0,\n" \
    "  total_kib INTEGER NOT NULL DEFAULT 0,\n" \
    "  started TEXT NOT NULL,\n" \
    "  ended TEXT,\n" \
    "  failure TEXT NOT NULL DEFAULT '',\n" \
    "  scanmode INTEGER NOT NULL DEFAULT 0,\n" \
    "  keywords INTEGER NOT NULL DEFAULT 0,\n" \
    "  rule_table TEXT NOT NULL DEFAULT '',\n" \
    "  files_walked INTEGER NOT NULL DEFAULT 0,\n" \
    "  files_read INTEGER NOT NULL DEFAULT 0);\n"

// Layout 4 kept one row per task (UNIQUE(pathlist, tasktype)): its rows
// become the first runs of their tasks.
const char *const MigrateFrom4 = "BEGIN;\n" TASKS_TABLE("tasks_runs") R"(
INSERT INTO tasks_runs(id, pathlist, tasktype, status, total_count, total_kib, started, ended, failure)
  SELECT id, pathlist, tasktype, status, total_count, total_kib, started, ended, failure FROM tasks;
DROP TABLE tasks;
ALTER TABLE tasks_runs RENAME TO tasks;
ALTER TABLE file_failures ADD COLUMN kind TEXT NOT NULL DEFAULT '';
ALTER TABLE rule_hits ADD COLUMN count INTEGER NOT NULL DEFAULT 0;
PRAGMA user_version = 5;
COMMIT;
)";

// Layout 5 kept a keyword file's passages only as JSON (hits); its rows keep
// them so, new rows hold them in the compact form (passages) instead.
const char *const MigrateFrom5 = "BEGIN;\n"
                                 "ALTER TABLE files ADD COLUMN passages BLOB;\n"
                                 "PRAGMA user_version = 6;\n"
                                 "COMMIT;\n";

const char *const Schema = TASKS_TABLE("tasks") R"(
CREATE INDEX IF NOT EXISTS tasks_key ON tasks(pathlist, tasktype, id);
CREATE INDEX IF NOT EXISTS tasks_started ON tasks(started);
CREATE TABLE IF NOT EXISTS files(
  id INTEGER PRIMARY KEY,
  task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE,
  path TEXT NOT NULL,
  counts TEXT NOT NULL,
  hits TEXT NOT NULL,
  passages BLOB,
  UNIQUE(task_id, path));
CREATE TABLE IF NOT EXISTS rule_hits(
  file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,
  category TEXT NOT NULL,
  rulename TEXT NOT NULL,
  position INTEGER NOT NULL,
  kept INTEGER NOT NULL,
  hits TEXT NOT NULL,
  count INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS rule_hits_category ON rule_hits(category, file_id);
CREATE TABLE IF NOT EXISTS file_failures(
  task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE,
  path TEXT NOT NULL,
  reason TEXT NOT NULL,
  kind TEXT NOT NULL DEFAULT '');
CREATE INDEX IF NOT EXISTS file_failures_task ON file_failures(task_id);
CREATE INDEX IF NOT EXISTS files_task ON files(task_id);
PRAGMA user_version = 6;
)";
#undef TASKS_TABLE

QString now()
{
    return QDateTime::currentDateTime().toString(Qt::ISODate);
}

} // namespace

FindingsStore::FindingsStore(const QString &path)
    : m_path(path)
    , m_queue(new std::deque<Operation>)
{
}

FindingsStore::~FindingsStore()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_space.notify_all();
        m_thread.join();
    }
    sqlite3_close_v2(m_writer);
    sqlite3_close_v2(m_reader);
    delete m_queue;
}

bool FindingsStore::exec(sqlite3 *db, const char *sql, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    if (error)
        *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

bool FindingsStore::open(QString *error)
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        *error = QStringLiteral("cannot create the directory %1").arg(info.absolutePath());
        return false;
    }
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_path, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    ::fchmod(fd, 0600);
    ::close(fd);

    if (sqlite3_open_v2(file.constData(), &m_writer, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr)
        != SQLITE_OK) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_path, QString::fromUtf8(sqlite3_errmsg(m_writer)));
        return false;
    }
    sqlite3_busy_timeout(m_writer, 5000);
    QString sqlError;
    // A file's passages are a blob of about a hundred kilobytes in a large
    // scan: in pages of 4 KiB each is a chain of overflow pages, each written
    // on its own to the write-ahead log and again to the database. Large
    // pages cut the calls and the bookkeeping per byte; no larger than
    // 16 KiB, for SQLite moves a savepoint's journal to a temporary file past
    // 64 KiB, a descriptor more that a scan out of descriptors lacks when it
    // records the files it could not open. The size only takes
    // for a new file; an existing database keeps its pages (in WAL mode its
    // page size cannot change). The write-ahead log with synchronous=NORMAL
    // stays: a crash loses at most the last commits, never the file's integrity.
    const QByteArray pragmas = "PRAGMA page_size=" + QByteArray::number(Limits::StorePageBytes)
                               + "; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;"
                               + " PRAGMA wal_autocheckpoint=" + QByteArray::number(Limits::StoreCheckpointBytes / Limits::StorePageBytes) + ";";
    if (!exec(m_writer, pragmas.constData(), &sqlError)) {
        *error = QStringLiteral("%1 is not a usable findings database: %2").arg(m_path, sqlError);
        return false;
    }
    {
        // Findings of another layout are dropped: they are results of past scans, not data of their own.
        SqliteStatement version(m_writer, "PRAGMA user_version");
        const qint64 layout = version.step() == SQLITE_ROW ? version.integer(0) : 0;
        version.reset();
        // Layout 3 lacks only the failure reason of a task.
        qint64 upgraded = layout;
        if (upgraded == 3
            && exec(m_writer, "ALTER TABLE tasks ADD COLUMN failure TEXT NOT NULL DEFAULT ''; PRAGMA user_version = 4;"))
            upgraded = 4;
        // Rebuilding the tasks table must not cascade to the findings.
        if (upgraded == 4) {
            exec(m_writer, "PRAGMA foreign_keys=OFF;");
            if (!exec(m_writer, MigrateFrom4, &sqlError)) {
                exec(m_writer, "ROLLBACK;");
                exec(m_writer, "PRAGMA foreign_keys=ON;");
                *error = QStringLiteral("%1 cannot be brought to the current layout: %2").arg(m_path, sqlError);
                return false;
            }
            exec(m_writer, "PRAGMA foreign_keys=ON;");
            upgraded = 5;
        }
        if (upgraded == 5) {
            if (!exec(m_writer, MigrateFrom5, &sqlError)) {
                exec(m_writer, "ROLLBACK;");
                *error = QStringLiteral("%1 cannot be brought to the current layout: %2").arg(m_path, sqlError);
                return false;
            }
            upgraded = 6;
        }
        if (upgraded != 0 && upgraded != 6)
            exec(m_writer, "DROP TABLE IF EXISTS passages; DROP TABLE IF EXISTS counts; DROP TABLE IF EXISTS rule_hits; "
                           "DROP TABLE IF EXISTS file_failures; DROP TABLE IF EXISTS files; DROP TABLE IF EXISTS tasks;");
    }
    if (!exec(m_writer, Schema, &sqlError)) {
        *error = QStringLiteral("%1 is not a usable findings database: %2").arg(m_path, sqlError);
        return false;
    }
    // Freed pages are zeroed: deleted passages do not linger in the file.
    exec(m_writer, "PRAGMA secure_delete=ON;");
    // Tasks that were running when the service last stopped did not complete.
    SqliteStatement stale(m_writer, "UPDATE tasks SET status='terminated', ended=? WHERE status NOT IN ('completed','terminated')");
    stale.bind(1, now()).step();

    if (sqlite3_open_v2(file.constData(), &m_reader, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX, nullptr)
        != SQLITE_OK) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_path, QString::fromUtf8(sqlite3_errmsg(m_reader)));
        return false;
    }
    sqlite3_busy_timeout(m_reader, 5000);
    m_thread = std::thread([this] { run(); });
    return true;
}

void FindingsStore::post(Operation &&operation, bool urgent)
{
    bool wake;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        // Back-pressure: findings wait in the scanning thread, not in memory,
        // while the writer is behind. Other operations are small and never wait.
        if (operation.type == Operation::File && m_thread.joinable())
            m_space.wait(lock, [this] { return m_stopping || m_queuedBytes < Limits::StoreQueueBytes; });
        const bool wasEmpty = m_queue->empty();
        m_queuedBytes += operation.bytes();
        m_queue->push_back(std::move(operation));
        if (urgent || m_queuedBytes >= Limits::StoreQueueBytes)
            m_urgent = true;
        // The writer waits for a first operation, then gathers until its
        // batch is full or someone waits for it: it is woken for those only,
        // not for every file with hits (a wake-up costs more than the row).
        wake = wasEmpty || m_urgent || m_queue->size() >= static_cast<std::size_t>(Limits::StoreBatchFiles);
    }
    if (wake)
        m_wake.notify_one();
}

void FindingsStore::beginTask(quint64 task, const QString &pathlist, int tasktype)
{
    Operation op;
    op.type = Operation::Begin;
    op.task = task;
    op.pathlist = pathlist;
    op.tasktype = tasktype;
    post(std::move(op));
}

void FindingsStore::addFile(quint64 task, FileFindings findings, Committed committed)
{
    Operation op;
    op.type = Operation::File;
    op.task = task;
    op.findings = std::move(findings);
    op.committed = std::move(committed);
    post(std::move(op));
}

void FindingsStore::setTotals(quint64 task, qint64 totalCount, qint64 totalKiB)
{
    Operation op;
    op.type = Operation::Totals;
    op.task = task;
    op.totalCount = totalCount;
    op.totalKiB = totalKiB;
    post(std::move(op));
}

void FindingsStore::addFailure(quint64 task, const QString &path, const QString &reason, const QString &kind)
{
    Operation op;
    op.type = Operation::Failure;
    op.task = task;
    op.findings.path = path;
    op.status = reason;
    op.failure = kind.isEmpty() ? reason : kind;
    post(std::move(op));
}

void FindingsStore::describeRun(quint64 task, const RunInfo &info)
{
    Operation op;
    op.type = Operation::Describe;
    op.task = task;
    op.info = info;
    post(std::move(op));
}

void FindingsStore::setRunCounts(quint64 task, qint64 walked, qint64 read)
{
    Operation op;
    op.type = Operation::Counts;
    op.task = task;
    op.run = walked;
    op.totalCount = read;
    post(std::move(op));
}

FindingsStore::Deletion FindingsStore::deleteRun(qint64 run, QString *error)
{
    if (!m_thread.joinable())
        return Deletion::Failed;
    std::promise<std::pair<int, QString>> result;
    Operation op;
    op.type = Operation::Delete;
    op.run = run;
    op.done = [&result](int outcome, const QString &why) { result.set_value({outcome, why}); };
    std::future<std::pair<int, QString>> answer = result.get_future();
    post(std::move(op));
    const std::pair<int, QString> outcome = answer.get();
    *error = outcome.second;
    return static_cast<Deletion>(outcome.first);
}

int FindingsStore::expireRuns(const QDateTime &startedBefore, QString *error)
{
    if (!m_thread.joinable())
        return -1;
    std::promise<std::pair<int, QString>> result;
    Operation op;
    op.type = Operation::Expire;
    op.before = startedBefore;
    op.done = [&result](int outcome, const QString &why) { result.set_value({outcome, why}); };
    std::future<std::pair<int, QString>> answer = result.get_future();
    post(std::move(op));
    const std::pair<int, QString> outcome = answer.get();
    *error = outcome.second;
    return outcome.first;
}

void FindingsStore::endTask(quint64 task, const QString &status, qint64 totalCount, qint64 totalKiB,
                            Committed committed, const QString &failure)
{
    Operation op;
    op.type = Operation::End;
    op.task = task;
    op.status = status;
    op.totalCount = totalCount;
    op.totalKiB = totalKiB;
    op.committed = std::move(committed);
    op.failure = failure;
    post(std::move(op), true);
}

void FindingsStore::flush()
{
    if (!m_thread.joinable())
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_urgent = true;
    m_wake.notify_one();
    m_idle.wait(lock, [this] { return m_queue->empty() && !m_busy; });
}

void FindingsStore::run()
{
    // Prepared once for the writer's life: preparing a statement costs more
    // than carrying it out for a small file.
    SqliteStatement findTask(m_writer, "SELECT id FROM tasks WHERE pathlist=? AND tasktype=? ORDER BY id DESC LIMIT 1");
    SqliteStatement insertTask(m_writer, "INSERT INTO tasks(pathlist, tasktype, status, started) VALUES(?,?,'scanning',?)");
    SqliteStatement dropFile(m_writer, "DELETE FROM files WHERE task_id=? AND path=?");
    SqliteStatement insertFile(m_writer, "INSERT INTO files(task_id, path, counts, hits, passages) VALUES(?,?,?,?,?)");
    SqliteStatement insertRule(m_writer, "INSERT INTO rule_hits(file_id, category, rulename, position, kept, hits, count) VALUES(?,?,?,?,?,?,?)");
    SqliteStatement insertFailure(m_writer, "INSERT INTO file_failures(task_id, path, reason, kind) VALUES(?,?,?,?)");
    SqliteStatement setTotals(m_writer, "UPDATE tasks SET total_count=?, total_kib=? WHERE id=?");
    SqliteStatement endTask(m_writer, "UPDATE tasks SET status=?, total_count=?, total_kib=?, ended=?, failure=? WHERE id=?");
    SqliteStatement begin(m_writer, "BEGIN IMMEDIATE");
    SqliteStatement commit(m_writer, "COMMIT");
    SqliteStatement savepoint(m_writer, "SAVEPOINT one");
    SqliteStatement release(m_writer, "RELEASE one");
    SqliteStatement rollbackTo(m_writer, "ROLLBACK TO one");
    // Carries out a prepared statement and makes it ready for the next use; the result code.
    auto step = [](SqliteStatement &statement) {
        const int result = statement.step();
        statement.reset();
        return result;
    };

    // Writer-side state: the database row of each task the writer knows, and
    // the tasks that failed, with the first reason.
    QHash<quint64, qint64> rows;
    QHash<quint64, QString> failed;
    QHash<quint64, QPair<QString, int>> keys; // task -> (path list, task type), for the log records
    auto execute = [&](Operation &op) -> bool {
        switch (op.type) {
        case Operation::Begin: {
            findTask.bind(1, op.pathlist).bind(2, qint64(op.tasktype));
            const bool exists = findTask.step() == SQLITE_ROW;
            const qint64 old = exists ? findTask.integer(0) : 0;
            findTask.reset();
            if (exists) {
                for (auto it = rows.begin(); it != rows.end();) {
                    if (it.value() == old)
                        it = rows.erase(it);
                    else
                        ++it;
                }
            }
            if (step(insertTask.bind(1, op.pathlist).bind(2, qint64(op.tasktype)).bind(3, now())) != SQLITE_DONE)
                return false;
            rows.insert(op.task, sqlite3_last_insert_rowid(m_writer));
            keys.insert(op.task, {op.pathlist, op.tasktype});
            return true;
        }
        case Operation::File: {
            const auto row = rows.constFind(op.task);
            if (row == rows.constEnd())
                return true; // the task was replaced; its late findings go nowhere
            if (step(dropFile.bind(1, *row).bind(2, op.findings.path)) != SQLITE_DONE)
                return false;
            insertFile.bind(1, *row).bind(2, op.findings.path);
            insertFile.bindUtf8(3, op.findings.counts).bindUtf8(4, op.findings.hits).bindBlob(5, op.findings.passages);
            if (step(insertFile) != SQLITE_DONE)
                return false;
            const qint64 fileId = sqlite3_last_insert_rowid(m_writer);
            for (const RuleHits &rule : op.findings.rules) {
                insertRule.bind(1, fileId).bind(2, rule.category).bind(3, rule.rulename).bind(4, qint64(rule.position)).bind(5, qint64(rule.kept));
                insertRule.bindUtf8(6, rule.hits).bind(7, qint64(rule.count));
                if (step(insertRule) != SQLITE_DONE)
                    return false;
            }
            return true;
        }
        case Operation::Failure: {
            const auto row = rows.constFind(op.task);
            if (row == rows.constEnd())
                return true;
            return step(insertFailure.bind(1, *row).bind(2, op.findings.path).bind(3, op.status).bind(4, op.failure)) == SQLITE_DONE;
        }
        case Operation::Describe: {
            const auto row = rows.constFind(op.task);
            if (row == rows.constEnd())
                return true;
            SqliteStatement describe(m_writer, "UPDATE tasks SET scanmode=?, keywords=?, rule_table=? WHERE id=?");
            return describe.bind(1, qint64(op.info.scanmode)).bind(2, qint64(op.info.keywords)).bind(3, op.info.ruleTable)
                       .bind(4, *row).step() == SQLITE_DONE;
        }
        case Operation::Counts: {
            const auto row = rows.constFind(op.task);
            if (row == rows.constEnd())
                return true;
            SqliteStatement counts(m_writer, "UPDATE tasks SET files_walked=?, files_read=? WHERE id=?");
            return counts.bind(1, op.run).bind(2, op.totalCount).bind(3, *row).step() == SQLITE_DONE;
        }
        case Operation::Delete:
        case Operation::Expire:
            return true; // carried out apart from the tasks' operations, below
        case Operation::Totals: {
            const auto row = rows.constFind(op.task);
            if (row == rows.constEnd())
                return true;
            return step(setTotals.bind(1, op.totalCount).bind(2, op.totalKiB).bind(3, *row)) == SQLITE_DONE;
        }
        case Operation::End: {
            const auto row = rows.constFind(op.task);
            if (row == rows.constEnd())
                return true;
            const QString failure = failed.contains(op.task) ? failed.value(op.task) : op.failure;
            return step(endTask.bind(1, failure.isEmpty() ? op.status : QStringLiteral("failed"))
                            .bind(2, op.totalCount)
                            .bind(3, op.totalKiB)
                            .bind(4, now())
                            .bind(5, failure)
                            .bind(6, *row))
                   == SQLITE_DONE;
        }
        case Operation::Flush:
            return true;
        }
        return true;
    };
    auto fail = [&](quint64 task, const QString &error) {
        if (!failed.contains(task)) {
            failed.insert(task, error);
            qWarning().noquote() << QStringLiteral("Findings store: task %1 failed: %2").arg(task).arg(error);
        }
    };
    auto lastError = [this] {
        const QString why = SqliteStatement::lastStepError().isEmpty() ? QString::fromUtf8(sqlite3_errmsg(m_writer)) : SqliteStatement::lastStepError();
        SqliteStatement::lastStepError().clear();
        return QStringLiteral("the findings database cannot be written (%1)").arg(why);
    };

    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue->empty(); });
        if (m_queue->empty() && m_stopping)
            return;
        // A commit costs about as much as the rows of many small files:
        // findings gather for a moment, unless someone waits for them.
        m_wake.wait_for(lock, std::chrono::milliseconds(Limits::StoreBatchMs), [this] {
            return m_stopping || m_urgent || m_queue->size() >= static_cast<std::size_t>(Limits::StoreBatchFiles)
                   || m_queuedBytes >= Limits::StoreQueueBytes;
        });
        std::vector<Operation> batch;
        while (!m_queue->empty() && batch.size() < static_cast<std::size_t>(Limits::StoreBatchFiles)) {
            m_queuedBytes -= m_queue->front().bytes();
            batch.push_back(std::move(m_queue->front()));
            m_queue->pop_front();
        }
        // A backlog is written at once.
        m_urgent = !m_queue->empty();
        m_busy = true;
        lock.unlock();
        m_space.notify_all();

        // What the writer knew before the batch, should the batch be rolled back.
        const QHash<quint64, qint64> rowsBefore = rows;
        std::vector<bool> written(batch.size(), false);
        QString error;
        // Deletions: what each did, and whether the file is to be wiped afterwards.
        std::vector<int> outcomes(batch.size(), 0);
        bool wipe = false;
        bool committed = step(begin) == SQLITE_DONE;
        if (committed) {
            for (std::size_t i = 0; i < batch.size(); ++i) {
                Operation &op = batch[i];
                if (op.type == Operation::Delete || op.type == Operation::Expire) {
                    exec(m_writer, "SAVEPOINT one");
                    written[i] = removeRuns(op, rows, &outcomes[i]);
                    if (!written[i])
                        exec(m_writer, "ROLLBACK TO one");
                    exec(m_writer, "RELEASE one");
                    wipe = wipe || (written[i] && (op.type == Operation::Delete ? outcomes[i] == int(Deletion::Deleted) : outcomes[i] > 0));
                    continue;
                }
                // A failed task writes nothing more but its end, which records the failure.
                if (failed.contains(op.task) && op.type != Operation::End)
                    continue;
                SqliteStatement::lastStepError().clear();
                step(savepoint);
                if (execute(op)) {
                    written[i] = true;
                    step(release);
                } else {
                    fail(op.task, lastError());
                    step(rollbackTo);
                    step(release);
                }
            }
            committed = step(commit) == SQLITE_DONE;
        }
        if (!committed)
            error = QString::fromUtf8(sqlite3_errmsg(m_writer));
        if (!committed) {
            error = QStringLiteral("the findings database cannot be written (%1)").arg(error);
            exec(m_writer, "ROLLBACK");
            rows = rowsBefore;
            for (std::size_t i = 0; i < batch.size(); ++i) {
                written[i] = false;
                if (batch[i].type != Operation::Delete && batch[i].type != Operation::Expire)
                    fail(batch[i].task, error);
            }
        }
        if (committed && m_log) {
            // Findings of a failed task were not kept; its end, which says it failed, is recorded.
            std::vector<bool> kept(batch.size(), false);
            for (std::size_t i = 0; i < batch.size(); ++i)
                kept[i] = written[i] && (batch[i].type == Operation::End || !failed.contains(batch[i].task));
            record(batch, kept, rows, keys);
        }
        // Deleted passages leave the file: rewritten without them, the write-ahead log emptied.
        if (committed && wipe) {
            QString vacuumError;
            if (!exec(m_writer, "VACUUM", &vacuumError) || !exec(m_writer, "PRAGMA wal_checkpoint(TRUNCATE)", &vacuumError))
                qWarning().noquote() << QStringLiteral("Findings store: deleted runs not yet wiped from the file: %1").arg(vacuumError);
        }
        for (std::size_t i = 0; i < batch.size(); ++i) {
            Operation &op = batch[i];
            if (op.done) {
                const bool ok = committed && written[i];
                const int failedOutcome = op.type == Operation::Delete ? int(Deletion::Failed) : -1;
                op.done(ok ? outcomes[i] : failedOutcome, ok ? QString() : (error.isEmpty() ? lastError() : error));
                continue;
            }
            if (!op.committed)
                continue;
            const bool ok = written[i] && !failed.contains(op.task);
            op.committed(ok, ok ? QString() : failed.value(op.task));
        }

        lock.lock();
        m_busy = false;
        if (m_queue->empty())
            m_idle.notify_all();
    }
}

void FindingsStore::record(const std::vector<Operation> &batch, const std::vector<bool> &written,
                           const QHash<quint64, qint64> &rows, const QHash<quint64, QPair<QString, int>> &keys)
{
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const Operation &op = batch[i];
        if (!written[i] || (op.type != Operation::File && op.type != Operation::End) || !rows.contains(op.task))
            continue;
        const qint64 run = rows.value(op.task);
        const QPair<QString, int> key = keys.value(op.task);
        if (op.type == Operation::File) {
            m_log->fileWithHits(run, key.first, key.second, op.findings.path, op.findings.counts);
            continue;
        }
        SqliteStatement counts(m_writer, "SELECT status, files_walked, files_read, "
                                   "(SELECT COUNT(*) FROM files WHERE task_id = t.id), "
                                   "(SELECT COUNT(*) FROM file_failures WHERE task_id = t.id) FROM tasks t WHERE id = ?");
        if (counts.bind(1, run).step() != SQLITE_ROW)
            continue;
        FindingsLog::RunEnd end;
        end.run = run;
        end.pathlist = key.first;
        end.tasktype = key.second;
        end.outcome = counts.text(0) == QLatin1String("terminated") ? QStringLiteral("cancelled") : counts.text(0);
        end.walked = counts.integer(1);
        end.read = counts.integer(2);
        end.withHits = counts.integer(3);
        end.notRead = counts.integer(4);
        m_log->runEnded(end);
    }
}

bool FindingsStore::removeRuns(const Operation &op, QHash<quint64, qint64> &rows, int *outcome)
{
    // Only ended runs go: a running task still writes to its own.
    QVector<qint64> doomed;
    if (op.type == Operation::Delete) {
        SqliteStatement find(m_writer, "SELECT status FROM tasks WHERE id=?");
        if (find.bind(1, op.run).step() != SQLITE_ROW) {
            *outcome = int(Deletion::UnknownRun);
            return true;
        }
        if (find.text(0) == QLatin1String("scanning")) {
            *outcome = int(Deletion::InProgress);
            return true;
        }
        doomed.append(op.run);
    } else {
        SqliteStatement old(m_writer, "SELECT id FROM tasks WHERE started < ? AND status <> 'scanning'");
        old.bind(1, op.before.toString(Qt::ISODate));
        while (old.step() == SQLITE_ROW)
            doomed.append(old.integer(0));
    }
    for (qint64 run : doomed) {
        SqliteStatement drop(m_writer, "DELETE FROM tasks WHERE id=?");
        if (drop.bind(1, run).step() != SQLITE_DONE)
            return false;
        // Late findings of a deleted run go nowhere.
        for (auto it = rows.begin(); it != rows.end();) {
            if (it.value() == run)
                it = rows.erase(it);
            else
                ++it;
        }
    }
    *outcome = op.type == Operation::Delete ? int(Deletion::Deleted) : doomed.size();
    return true;
}

FindingsStore::Lookup FindingsStore::keywordHits(const QString &pathlist, int tasktype, const QString &file,
                                                 QByteArray *hits, QByteArray *counts)
{
    std::lock_guard<std::mutex> lock(m_readMutex);
    if (!m_reader)
        return Lookup::Failed;
    exec(m_reader, "BEGIN");
    Lookup result = Lookup::Failed;
    {
        SqliteStatement task(m_reader, "SELECT id FROM tasks WHERE pathlist=? AND tasktype=? ORDER BY id DESC LIMIT 1");
        SqliteStatement fileRow(m_reader, "SELECT hits, counts, passages FROM files WHERE task_id=? AND path=?");
        if (task.ok() && fileRow.ok()) {
            if (task.bind(1, pathlist).bind(2, qint64(tasktype)).step() != SQLITE_ROW) {
                result = Lookup::UnknownTask;
            } else if (fileRow.bind(1, task.integer(0)).bind(2, file).step() != SQLITE_ROW) {
                result = Lookup::UnknownFile;
            } else {
                const QByteArray passages = fileRow.blob(2);
                *hits = passages.isEmpty() ? fileRow.bytes(0) : KeywordPassages::toJson(passages);
                if (counts)
                    *counts = fileRow.bytes(1);
                result = Lookup::Found;
            }
        }
    }
    exec(m_reader, "COMMIT");
    return result;
}

FindingsStore::Lookup FindingsStore::privacyGroup(const QString &pathlist, int tasktype, const QString &category,
                                                  int maxHits, QByteArray *groups)
{
    std::lock_guard<std::mutex> lock(m_readMutex);
    if (!m_reader)
        return Lookup::Failed;
    exec(m_reader, "BEGIN");
    Lookup result = Lookup::Failed;
    {
        SqliteStatement task(m_reader, "SELECT id FROM tasks WHERE pathlist=? AND tasktype=? ORDER BY id DESC LIMIT 1");
        SqliteStatement rows(m_reader, "SELECT f.path, r.rulename, r.kept, r.hits FROM rule_hits r JOIN files f ON f.id = r.file_id "
                                 "WHERE f.task_id=? AND r.category=? ORDER BY r.position, f.id");
        if (task.ok() && rows.ok()) {
            if (task.bind(1, pathlist).bind(2, qint64(tasktype)).step() != SQLITE_ROW) {
                result = Lookup::UnknownTask;
            } else {
                rows.bind(1, task.integer(0)).bind(2, category);
                QByteArray json("[");
                QString rule;
                int total = 0;
                bool any = false;
                while (total < maxHits && rows.step() == SQLITE_ROW) {
                    const QString name = rows.text(1);
                    if (!any || name != rule) {
                        if (any)
                            json.append("]},");
                        json.append("{\"rulename\":");
                        DetailDocument::appendString(json, name.toUtf8());
                        json.append(",\"rulesensitives\":[");
                        rule = name;
                    } else {
                        json.append(',');
                    }
                    any = true;
                    json.append("{\"filepath\":");
                    DetailDocument::appendString(json, rows.bytes(0));
                    json.append(",\"sensitives\":");
                    json.append(rows.bytes(3));
                    json.append('}');
                    total += static_cast<int>(rows.integer(2));
                }
                if (any)
                    json.append("]}");
                json.append(']');
                *groups = json;
                result = any ? Lookup::Found : Lookup::UnknownFile;
            }
        }
    }
    exec(m_reader, "COMMIT");
    return result;
}

QVector<QPair<QString, QString>> FindingsStore::failures(const QString &pathlist, int tasktype)
{
    std::lock_guard<std::mutex> lock(m_readMutex);
    QVector<QPair<QString, QString>> found;
    if (!m_reader)
        return found;
    SqliteStatement rows(m_reader, "SELECT path, reason FROM file_failures WHERE task_id = "
                             "(SELECT id FROM tasks WHERE pathlist=? AND tasktype=? ORDER BY id DESC LIMIT 1) ORDER BY rowid");
    rows.bind(1, pathlist).bind(2, qint64(tasktype));
    while (rows.step() == SQLITE_ROW)
        found.append({rows.text(0), rows.text(1)});
    return found;
}

bool FindingsStore::taskRecord(const QString &pathlist, int tasktype, TaskRecord *record)
{
    std::lock_guard<std::mutex> lock(m_readMutex);
    if (!m_reader)
        return false;
    SqliteStatement task(m_reader, "SELECT status, total_count, total_kib, failure FROM tasks WHERE pathlist=? AND tasktype=? "
                             "ORDER BY id DESC LIMIT 1");
    if (task.bind(1, pathlist).bind(2, qint64(tasktype)).step() != SQLITE_ROW)
        return false;
    record->status = task.text(0);
    record->totalCount = task.integer(1);
    record->totalKiB = task.integer(2);
    record->failure = task.text(3);
    return true;
}
