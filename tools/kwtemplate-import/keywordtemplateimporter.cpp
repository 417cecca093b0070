#include "keywordtemplateimporter.h"
#include "keywordtemplatecipher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextCodec>
#include <QUuid>
#include <QVariant>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const ChecklistTable = "dlp_imported_keyword_checklist";
const char *const KeywordTablePrefix = "dlp_keyword_checklist_";

QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Removes the database connection when it goes out of scope.
class Connection
{
public:
    explicit Connection(const QString &path)
        : m_name(QStringLiteral("kwtemplate-import-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(path);
    }
    ~Connection()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase &db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

// Runs the statements of one import; the first failure stops it with a message.
class Writer
{
public:
    explicit Writer(QSqlDatabase &db) : m_db(db) {}

    bool exec(const QString &sql, const QVariantList &values = {}, QSqlQuery *result = nullptr)
    {
        QSqlQuery query(m_db);
        if (!query.prepare(sql)) {
            fail(query);
            return false;
        }
        for (const QVariant &v : values)
            query.addBindValue(v);
        if (!query.exec()) {
            fail(query);
            return false;
        }
        if (result)
            *result = query;
        return true;
    }

    QString error() const { return m_error; }
    void setError(const QString &error) { m_error = error; }

private:
    void fail(const QSqlQuery &query)
    {
        const QSqlError e = query.lastError();
        m_error = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    }

    QSqlDatabase &m_db;
    QString m_error;
};

bool isTableInUse(Writer &w, const QString &table, bool *inUse)
{
    QSqlQuery q;
    if (!w.exec(QStringLiteral("SELECT count(*) FROM %1 WHERE listtablename = ?").arg(QLatin1String(ChecklistTable)),
                {table}, &q)
        || !q.next())
        return false;
    *inUse = q.value(0).toLongLong() > 0;
    return true;
}

bool tableExists(Writer &w, const QString &table, bool *exists)
{
    QSqlQuery q;
    if (!w.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE lower(name) = lower(?)"), {table}, &q)
        || !q.next())
        return false;
    *exists = q.value(0).toLongLong() > 0;
    return true;
}

// Everything of one import inside the open transaction.
bool writeChecklist(Writer &w, const QString &name, const QStringList &keywords, const QString &time, QString *tableName)
{
    const QString checklists = QLatin1String(ChecklistTable);
    if (!w.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 ("
                               "name TEXT NOT NULL, importedtime TEXT NOT NULL, listtablename TEXT NOT NULL)")
                    .arg(checklists)))
        return false;

    // A checklist imported again under the same name replaces the old one.
    QSqlQuery old;
    if (!w.exec(QStringLiteral("SELECT listtablename FROM %1 WHERE name = ?").arg(checklists), {name}, &old))
        return false;
    QStringList oldTables;
    while (old.next())
        oldTables.append(old.value(0).toString());
    old.finish();
    if (!w.exec(QStringLiteral("DELETE FROM %1 WHERE name = ?").arg(checklists), {name}))
        return false;
    for (const QString &table : qAsConst(oldTables)) {
        bool inUse = false;
        if (!isTableInUse(w, table, &inUse))
            return false;
        // Never drop a table another checklist still names, nor the list itself.
        if (inUse || table.compare(checklists, Qt::CaseInsensitive) == 0 || table.isEmpty())
            continue;
        if (!w.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(quotedIdentifier(table))))
            return false;
    }

    QString table;
    for (int n = 1;; ++n) {
        table = QLatin1String(KeywordTablePrefix) + QString::number(n);
        bool exists = true;
        if (!tableExists(w, table, &exists))
            return false;
        if (!exists)
            break;
    }
    if (!w.exec(QStringLiteral("CREATE TABLE %1 (keyword_enc BLOB NOT NULL)").arg(quotedIdentifier(table))))
        return false;

    const QString insert = QStringLiteral("INSERT INTO %1 (keyword_enc) VALUES (?)").arg(quotedIdentifier(table));
    for (const QString &keyword : keywords) {
        const QByteArray sealed = KeywordTemplateCipher::seal(keyword.toUtf8());
        if (sealed.isEmpty()) {
            w.setError(QStringLiteral("cannot encrypt the keywords"));
            return false;
        }
        if (!w.exec(insert, {sealed}))
            return false;
    }

    if (!w.exec(QStringLiteral("INSERT INTO %1 (name, importedtime, listtablename) VALUES (?, ?, ?)").arg(checklists),
                {name, time, table}))
        return false;
    *tableName = table;
    return true;
}

// Creates the missing directories of `path`, each readable by its owner
// only; directories that exist keep their mode.
bool makePrivateDirectories(const QString &path)
{
    const QByteArray native = QFile::encodeName(QDir::cleanPath(path));
    for (int slash = native.indexOf('/', 1);; slash = native.indexOf('/', slash + 1)) {
        const QByteArray prefix = slash < 0 ? native : native.left(slash);
        if (::mkdir(prefix.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            return true;
    }
}

} // namespace

QString KeywordTemplateImporter::timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

bool KeywordTemplateImporter::readKeywordFile(const QString &path, QStringList *keywords, QString *error)
{
    keywords->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    if (data.contains('\0')) {
        *error = QStringLiteral("%1 is not a text file (it holds zero bytes)").arg(path);
        return false;
    }

    QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QString text = utf8->toUnicode(data.constData(), data.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0) {
        *error = QStringLiteral("%1 is not UTF-8 text").arg(path);
        return false;
    }

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString keyword = line.trimmed();
        if (!keyword.isEmpty())
            keywords->append(keyword);
    }
    if (keywords->isEmpty()) {
        *error = QStringLiteral("%1 holds no keywords").arg(path);
        return false;
    }
    return true;
}

bool KeywordTemplateImporter::importChecklist(const QString &databasePath, const QString &name,
                                              const QStringList &keywords, const QDateTime &importedTime,
                                              QString *tableName, QString *error)
{
    if (name.trimmed().isEmpty()) {
        *error = QStringLiteral("the checklist name is empty");
        return false;
    }

    const QFileInfo info(databasePath);
    const bool created = !info.exists();
    if (created && !makePrivateDirectories(info.absolutePath())) {
        *error = QStringLiteral("cannot create the directory %1: %2").arg(info.absolutePath(), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // The keywords are sealed, but the list of checklists is not: a new
    // database is readable by its owner only (SQLite gives its journal the
    // same mode).
    if (created) {
        const int fd = ::open(QFile::encodeName(databasePath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            *error = QStringLiteral("cannot create %1: %2").arg(databasePath, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        ::close(fd);
    }
    const auto removeCreated = [&] {
        if (created) {
            QFile::remove(databasePath);
            QFile::remove(databasePath + QLatin1String("-journal"));
        }
    };

    bool ok = false;
    {
        Connection connection(databasePath);
        if (!connection.db().open()) {
            *error = QStringLiteral("cannot open %1: %2").arg(databasePath, connection.db().lastError().text());
        } else {
            Writer w(connection.db());
            if (!w.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
                *error = QStringLiteral("cannot write %1: %2").arg(databasePath, w.error());
            } else if (writeChecklist(w, name, keywords, timeText(importedTime), tableName)
                       && w.exec(QStringLiteral("COMMIT"))) {
                ok = true;
            } else {
                *error = QStringLiteral("cannot write %1: %2").arg(databasePath, w.error());
                w.exec(QStringLiteral("ROLLBACK"));
            }
        }
    }
    if (!ok)
        removeCreated();
    return ok;
}
