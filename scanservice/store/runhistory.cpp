// Reading the history of scan runs (see runhistory.h).
#include "runhistory.h"

#include "keywordpassages.h"
#include "sqlitestatement.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// One run with the counts taken from its findings.
const char *const RunColumns =
    "SELECT t.id, t.pathlist, t.tasktype, t.scanmode, t.keywords, t.rule_table, t.started, t.ended, t.status, t.failure, "
    "t.total_count, t.files_walked, t.files_read, "
    "(SELECT COUNT(*) FROM files f WHERE f.task_id = t.id), "
    "(SELECT COUNT(*) FROM file_failures x WHERE x.task_id = t.id) FROM tasks t ";

// The store's task status as the outcome a report names.
QString outcomeOf(const QString &status)
{
    if (status == QLatin1String("terminated"))
        return QStringLiteral("cancelled");
    if (status == QLatin1String("scanning"))
        return QStringLiteral("running");
    return status; // completed, failed
}

RunReport::Run runFrom(const SqliteStatement &row)
{
    RunReport::Run run;
    run.id = row.integer(0);
    run.pathlist = row.text(1);
    run.tasktype = int(row.integer(2));
    run.scanmode = int(row.integer(3));
    run.keywords = int(row.integer(4));
    run.ruleTable = row.text(5);
    run.started = row.text(6);
    run.ended = row.text(7);
    run.outcome = outcomeOf(row.text(8));
    run.failure = row.text(9);
    run.filesTotal = row.integer(10);
    run.filesWalked = row.integer(11);
    run.filesRead = row.integer(12);
    run.filesWithHits = row.integer(13);
    run.filesNotRead = row.integer(14);
    return run;
}

// The kept passages of a JSON array of {"sensitive", "sensitive_ctx"}, those of one word only when it is given.
QVector<RunReport::Passage> passagesFrom(const QByteArray &hits, const QString &word = QString())
{
    QVector<RunReport::Passage> passages;
    const QJsonArray array = QJsonDocument::fromJson(hits).array();
    for (const QJsonValue &hit : array) {
        const QJsonObject object = hit.toObject();
        const QString value = object.value(QLatin1String("sensitive")).toString();
        if (!word.isNull() && value != word)
            continue;
        passages.append({value, object.value(QLatin1String("sensitive_ctx")).toString()});
    }
    return passages;
}
} // namespace

RunHistory::RunHistory(const QString &databasePath)
    : m_path(databasePath)
{
}

RunHistory::~RunHistory()
{
    sqlite3_close_v2(m_db);
}

bool RunHistory::open(QString *error)
{
    const QByteArray file = QFile::encodeName(m_path);
    if (sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX, nullptr) != SQLITE_OK) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_path, QString::fromUtf8(sqlite3_errmsg(m_db)));
        return false;
    }
    sqlite3_busy_timeout(m_db, 5000);
    return true;
}

bool RunHistory::runs(QVector<RunReport::Run> *runs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    SqliteStatement rows(m_db, (QByteArray(RunColumns) + "ORDER BY t.id DESC").constData());
    if (!rows.ok())
        return false;
    int step;
    while ((step = rows.step()) == SQLITE_ROW)
        runs->append(runFrom(rows));
    return step == SQLITE_DONE;
}

RunHistory::Lookup RunHistory::readRun(qint64 id, RunReport::Run *run)
{
    SqliteStatement row(m_db, (QByteArray(RunColumns) + "WHERE t.id = ?").constData());
    if (!row.ok())
        return Lookup::Failed;
    switch (row.bind(1, id).step()) {
    case SQLITE_ROW:
        *run = runFrom(row);
        return Lookup::Found;
    case SQLITE_DONE:
        return Lookup::UnknownRun;
    default:
        return Lookup::Failed;
    }
}

RunHistory::Lookup RunHistory::readNotRead(qint64 id, QVector<RunReport::NotRead> *files)
{
    SqliteStatement rows(m_db, "SELECT path, kind, reason FROM file_failures WHERE task_id = ? ORDER BY rowid");
    rows.bind(1, id);
    int step;
    while ((step = rows.step()) == SQLITE_ROW) {
        // Rows of an older layout have no kind: their reason is the short one.
        const QString reason = rows.text(2);
        const QString kind = rows.text(1);
        files->append({rows.text(0), kind.isEmpty() ? reason : kind, reason});
    }
    return step == SQLITE_DONE ? Lookup::Found : Lookup::Failed;
}

RunHistory::Lookup RunHistory::run(qint64 id, RunReport::Run *run)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return readRun(id, run);
}

RunHistory::Lookup RunHistory::notRead(qint64 id, QVector<RunReport::NotRead> *files)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    RunReport::Run run;
    const Lookup found = readRun(id, &run);
    return found == Lookup::Found ? readNotRead(id, files) : found;
}

RunHistory::Lookup RunHistory::report(qint64 id, RunReport *report, bool withPassages)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
    Lookup result = readRun(id, &report->run);
    if (result == Lookup::Found)
        result = readNotRead(id, &report->notRead);
    if (result == Lookup::Found && report->run.tasktype == 3) {
        SqliteStatement rows(m_db, "SELECT f.path, r.category, r.rulename, r.count, r.kept, r.hits FROM rule_hits r "
                                   "JOIN files f ON f.id = r.file_id WHERE f.task_id = ? ORDER BY f.id, r.position");
        rows.bind(1, id);
        int step;
        while ((step = rows.step()) == SQLITE_ROW) {
            RunReport::Finding finding;
            finding.path = rows.text(0);
            finding.category = rows.text(1);
            finding.name = rows.text(2);
            // Rows of an older layout hold no count: the passages kept stand for it.
            finding.count = rows.integer(3) > 0 ? rows.integer(3) : rows.integer(4);
            if (withPassages)
                finding.passages = passagesFrom(rows.bytes(5));
            report->findings.append(finding);
        }
        if (step != SQLITE_DONE)
            result = Lookup::Failed;
    } else if (result == Lookup::Found) {
        SqliteStatement rows(m_db, withPassages ? "SELECT path, counts, hits, passages FROM files WHERE task_id = ? ORDER BY id"
                                                : "SELECT path, counts, '', NULL FROM files WHERE task_id = ? ORDER BY id");
        rows.bind(1, id);
        int step;
        while ((step = rows.step()) == SQLITE_ROW) {
            const QJsonObject counts = QJsonDocument::fromJson(rows.bytes(1)).object();
            const QByteArray passages = rows.blob(3);
            const QByteArray hits = passages.isEmpty() ? rows.bytes(2) : KeywordPassages::toJson(passages);
            for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
                RunReport::Finding finding;
                finding.path = rows.text(0);
                finding.name = it.key();
                finding.count = it.value().toVariant().toLongLong();
                if (withPassages)
                    finding.passages = passagesFrom(hits, it.key());
                report->findings.append(finding);
            }
        }
        if (step != SQLITE_DONE)
            result = Lookup::Failed;
    }
    sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    return result;
}
