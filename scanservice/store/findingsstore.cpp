#include "findingsstore.h"

#include "detaildocument.h"
#include "scanlimits.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QtDebug>

#include <chrono>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

struct FindingsStore::Operation
{
    enum Type { Begin, File, Failure, Totals, End, Flush } type = Begin;
    quint64 task = 0;
    QString pathlist;
    int tasktype = 0;
    FileFindings findings;
    QString status;
    qint64 totalCount = 0;
    qint64 totalKiB = 0;
    Committed committed;
    QString failure; // End: why the task failed, if it did

    // What the operation holds in memory while it waits, about.
    qint64 bytes() const
    {
        qint64 total = static_cast<qint64>(sizeof(Operation)) + findings.counts.size() + findings.hits.size()
                       + 2 * findings.path.size();
        for (const RuleHits &rule : findings.rules)
            total += static_cast<qint64>(sizeof(RuleHits)) + rule.hits.size();
        return total;
    }
};

namespace {

// A prepared statement that finalizes itself.
class Statement
{
public:
    Statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool ok() const { return m_stmt != nullptr; }
    Statement &bind(int index, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bindUtf8(int index, const QByteArray &utf8)
    {
        sqlite3_bind_text(m_stmt, index, utf8.constData(), utf8.size(), SQLITE_STATIC);
        return *this;
    }
    QByteArray bytes(int column) const
    {
        return QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)),
                          sqlite3_column_bytes(m_stmt, column));
    }
    Statement &bind(int index, qint64 value)
    {
        sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    int step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_ERROR; }
    void reset()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

const char *const Schema = R"(
CREATE TABLE IF NOT EXISTS tasks(
  id INTEGER PRIMARY KEY,
  pathlist TEXT NOT NULL,
  tasktype INTEGER NOT NULL,
  status TEXT NOT NULL,
  total_count INTEGER NOT NULL DEFAULT 0,
  total_kib INTEGER NOT NULL DEFAULT 0,
  started TEXT NOT NULL,
  ended TEXT,
  failure TEXT NOT NULL DEFAULT '',
  UNIQUE(pathlist, tasktype));
CREATE TABLE IF NOT EXISTS files(
  id INTEGER PRIMARY KEY,
  task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE,
  path TEXT NOT NULL,
  counts TEXT NOT NULL,
  hits TEXT NOT NULL,
  UNIQUE(task_id, path));
CREATE TABLE IF NOT EXISTS rule_hits(
  file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,
  category TEXT NOT NULL,
  rulename TEXT NOT NULL,
  position INTEGER NOT NULL,
  kept INTEGER NOT NULL,
  hits TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS rule_hits_category ON rule_hits(category, file_id);
CREATE TABLE IF NOT EXISTS file_failures(
  task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE,
  path TEXT NOT NULL,
  reason TEXT NOT NULL);
PRAGMA user_version = 4;
)";

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
    if (!exec(m_writer, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;", &sqlError)) {
        *error = QStringLiteral("%1 is not a usable findings database: %2").arg(m_path, sqlError);
        return false;
    }
    {
        // Findings of another layout are dropped: they are results of past scans, not data of their own.
        Statement version(m_writer, "PRAGMA user_version");
        const qint64 layout = version.step() == SQLITE_ROW ? version.integer(0) : 0;
        version.reset();
        // Layout 3 lacks only the failure reason of a task.
        if (layout == 3)
            exec(m_writer, "ALTER TABLE tasks ADD COLUMN failure TEXT NOT NULL DEFAULT ''; PRAGMA user_version = 4;");
        else if (layout != 0 && layout != 4)
            exec(m_writer, "DROP TABLE IF EXISTS passages; DROP TABLE IF EXISTS counts; DROP TABLE IF EXISTS rule_hits; "
                           "DROP TABLE IF EXISTS file_failures; DROP TABLE IF EXISTS files; DROP TABLE IF EXISTS tasks;");
    }
    if (!exec(m_writer, Schema, &sqlError)) {
        *error = QStringLiteral("%1 is not a usable findings database: %2").arg(m_path, sqlError);
        return false;
    }
    // Tasks that were running when the service last stopped did not complete.
    Statement stale(m_writer, "UPDATE tasks SET status='terminated', ended=? WHERE status NOT IN ('completed','terminated')");
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
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        // Back-pressure: findings wait in the scanning thread, not in memory,
        // while the writer is behind. Other operations are small and never wait.
        if (operation.type == Operation::File && m_thread.joinable())
            m_space.wait(lock, [this] { return m_stopping || m_queuedBytes < Limits::StoreQueueBytes; });
        m_queuedBytes += operation.bytes();
        m_queue->push_back(std::move(operation));
        if (urgent || m_queuedBytes >= Limits::StoreQueueBytes)
            m_urgent = true;
    }
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

void FindingsStore::addFailure(quint64 task, const QString &path, const QString &reason)
{
    Operation op;
    op.type = Operation::Failure;
    op.task = task;
    op.findings.path = path;
    op.status = reason;
    post(std::move(op));
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
    Statement findTask(m_writer, "SELECT id FROM tasks WHERE pathlist=? AND tasktype=?");
    Statement dropTask(m_writer, "DELETE FROM tasks WHERE id=?");
    Statement insertTask(m_writer, "INSERT INTO tasks(pathlist, tasktype, status, started) VALUES(?,?,'scanning',?)");
    Statement dropFile(m_writer, "DELETE FROM files WHERE task_id=? AND path=?");
    Statement insertFile(m_writer, "INSERT INTO files(task_id, path, counts, hits) VALUES(?,?,?,?)");
    Statement insertRule(m_writer, "INSERT INTO rule_hits(file_id, category, rulename, position, kept, hits) VALUES(?,?,?,?,?,?)");
    Statement insertFailure(m_writer, "INSERT INTO file_failures(task_id, path, reason) VALUES(?,?,?)");
    Statement setTotals(m_writer, "UPDATE tasks SET total_count=?, total_kib=? WHERE id=?");
    Statement endTask(m_writer, "UPDATE tasks SET status=?, total_count=?, total_kib=?, ended=?, failure=? WHERE id=?");
    Statement begin(m_writer, "BEGIN IMMEDIATE");
    Statement commit(m_writer, "COMMIT");
    Statement savepoint(m_writer, "SAVEPOINT one");
    Statement release(m_writer, "RELEASE one");
    Statement rollbackTo(m_writer, "ROLLBACK TO one");
    // Carries out a prepared statement and makes it ready for the next use; the result code.
    auto step = [](Statement &statement) {
        const int result = statement.step();
        statement.reset();
        return result;
    };

    // Writer-side state: the database row of each task the writer knows, and
    // the tasks that failed, with the first reason.
    QHash<quint64, qint64> rows;
    QHash<quint64, QString> failed;
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
                if (step(dropTask.bind(1, old)) != SQLITE_DONE)
                    return false;
            }
            if (step(insertTask.bind(1, op.pathlist).bind(2, qint64(op.tasktype)).bind(3, now())) != SQLITE_DONE)
                return false;
            rows.insert(op.task, sqlite3_last_insert_rowid(m_writer));
            return true;
        }
        case Operation::File: {
            const auto row = rows.constFind(op.task);
            if (row == rows.constEnd())
                return true; // the task was replaced; its late findings go nowhere
            if (step(dropFile.bind(1, *row).bind(2, op.findings.path)) != SQLITE_DONE)
                return false;
            insertFile.bind(1, *row).bind(2, op.findings.path);
            insertFile.bindUtf8(3, op.findings.counts).bindUtf8(4, op.findings.hits);
            if (step(insertFile) != SQLITE_DONE)
                return false;
            const qint64 fileId = sqlite3_last_insert_rowid(m_writer);
            for (const RuleHits &rule : op.findings.rules) {
                insertRule.bind(1, fileId).bind(2, rule.category).bind(3, rule.rulename).bind(4, qint64(rule.position)).bind(5, qint64(rule.kept));
                insertRule.bindUtf8(6, rule.hits);
                if (step(insertRule) != SQLITE_DONE)
                    return false;
            }
            return true;
        }
        case Operation::Failure: {
            const auto row = rows.constFind(op.task);
            if (row == rows.constEnd())
                return true;
            return step(insertFailure.bind(1, *row).bind(2, op.findings.path).bind(3, op.status)) == SQLITE_DONE;
        }
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
        return QStringLiteral("the findings database cannot be written (%1)").arg(QString::fromUtf8(sqlite3_errmsg(m_writer)));
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
        bool committed = step(begin) == SQLITE_DONE;
        if (committed) {
            for (std::size_t i = 0; i < batch.size(); ++i) {
                Operation &op = batch[i];
                // A failed task writes nothing more but its end, which records the failure.
                if (failed.contains(op.task) && op.type != Operation::End)
                    continue;
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
                fail(batch[i].task, error);
            }
        }
        for (std::size_t i = 0; i < batch.size(); ++i) {
            Operation &op = batch[i];
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

FindingsStore::Lookup FindingsStore::keywordHits(const QString &pathlist, int tasktype, const QString &file,
                                                 QByteArray *hits)
{
    std::lock_guard<std::mutex> lock(m_readMutex);
    if (!m_reader)
        return Lookup::Failed;
    exec(m_reader, "BEGIN");
    Lookup result = Lookup::Failed;
    {
        Statement task(m_reader, "SELECT id FROM tasks WHERE pathlist=? AND tasktype=?");
        Statement fileRow(m_reader, "SELECT hits FROM files WHERE task_id=? AND path=?");
        if (task.ok() && fileRow.ok()) {
            if (task.bind(1, pathlist).bind(2, qint64(tasktype)).step() != SQLITE_ROW) {
                result = Lookup::UnknownTask;
            } else if (fileRow.bind(1, task.integer(0)).bind(2, file).step() != SQLITE_ROW) {
                result = Lookup::UnknownFile;
            } else {
                *hits = fileRow.bytes(0);
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
        Statement task(m_reader, "SELECT id FROM tasks WHERE pathlist=? AND tasktype=?");
        Statement rows(m_reader, "SELECT f.path, r.rulename, r.kept, r.hits FROM rule_hits r JOIN files f ON f.id = r.file_id "
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
    Statement rows(m_reader, "SELECT x.path, x.reason FROM file_failures x JOIN tasks t ON t.id = x.task_id "
                             "WHERE t.pathlist=? AND t.tasktype=? ORDER BY x.rowid");
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
    Statement task(m_reader, "SELECT status, total_count, total_kib, failure FROM tasks WHERE pathlist=? AND tasktype=?");
    if (task.bind(1, pathlist).bind(2, qint64(tasktype)).step() != SQLITE_ROW)
        return false;
    record->status = task.text(0);
    record->totalCount = task.integer(1);
    record->totalKiB = task.integer(2);
    record->failure = task.text(3);
    return true;
}
