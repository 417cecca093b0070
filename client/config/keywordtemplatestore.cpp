#include "keywordtemplatestore.h"
#include "configlog.h"
#include "keywordtemplatecipher.h"

#include <QDebug>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <openssl/crypto.h>

namespace {

// `name` as an SQL identifier: in double quotes, embedded ones doubled.
QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString keywordText(const QByteArray &plaintext)
{
    const int end = plaintext.indexOf('\0');
    return QString::fromUtf8(end < 0 ? plaintext : plaintext.left(end));
}

} // namespace

KeywordTemplateStore *KeywordTemplateStore::instance(const QString &path)
{
    // Initialised once, also under concurrent first calls; destroyed at exit.
    static KeywordTemplateStore store(path, QLatin1String(QSqlDatabase::defaultConnection));
    return &store;
}

KeywordTemplateStore::KeywordTemplateStore(const QString &path, const QString &connectionName)
{
    qCDebug(lcConfig) << "OpenSSL version:" << OpenSSL_version(OPENSSL_VERSION);

    if (!QFileInfo::exists(path)) {
        m_isOpen = false;
        return;
    }

    m_connectionName = connectionName;
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    m_database.setDatabaseName(path);
    // The store only reads: never create, lock for writing or alter the file.
    m_database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!m_database.open()) {
        m_isOpen = false;
        m_errorText = m_database.lastError().text();
    } else {
        // SQLite opens lazily: a damaged file or one that is not a database
        // only shows on the first read, so read the checklist list once now.
        // A database without any table (an empty file) has nothing imported
        // yet; that is not a fault.
        QSqlQuery probe(m_database);
        const bool empty = probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && probe.next()
                           && probe.value(0).toLongLong() == 0;
        if (!empty && !probe.exec(QStringLiteral("SELECT name, importedtime FROM dlp_imported_keyword_checklist LIMIT 1"))) {
            const QSqlError error = probe.lastError();
            m_errorText = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        }
    }
    if (!m_errorText.isEmpty())
        qCWarning(lcConfig).noquote() << "Cannot read the keyword checklist database" << path << ":" << m_errorText;
}

KeywordTemplateStore::~KeywordTemplateStore()
{
    if (m_connectionName.isNull())
        return;
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void KeywordTemplateStore::templates(QMap<QString, QString> &out) const
{
    if (!m_isOpen)
        return;
    QSqlQuery query(m_database);
    if (!query.exec(QStringLiteral("SELECT name, importedtime FROM dlp_imported_keyword_checklist")))
        return;
    while (query.next())
        out.insert(query.value(0).toString(), query.value(1).toString());
}

void KeywordTemplateStore::templateKeywords(const QMap<QString, QString> &selected, QStringList &out) const
{
    if (!m_isOpen)
        return;
    for (auto it = selected.cbegin(); it != selected.cend(); ++it) {
        QSqlQuery query(m_database);
        if (!query.prepare(QStringLiteral("SELECT listtablename FROM dlp_imported_keyword_checklist"
                                          " WHERE name = ? AND importedtime = ?")))
            continue;
        query.addBindValue(it.key());
        query.addBindValue(it.value());
        if (!query.exec() || !query.next())
            continue;
        const QString tableName = query.value(0).toString();
        query.finish();
        appendKeywords(tableName, out);
    }
}

void KeywordTemplateStore::appendKeywords(const QString &tableName, QStringList &out) const
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!query.exec(QLatin1String("SELECT keyword_enc FROM ") + quotedIdentifier(tableName)))
        return;
    while (query.next()) {
        QByteArray plaintext;
        const auto result = KeywordTemplateCipher::open(query.value(0).toByteArray(), &plaintext);
        if (result == KeywordTemplateCipher::OpenResult::Failed
            || result == KeywordTemplateCipher::OpenResult::TooShort) {
            qCWarning(lcConfig, "AES256-GCM tag verification failed!");
        }
        out.append(keywordText(plaintext));
    }
}
