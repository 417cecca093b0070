#include "checklistfixture.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtDebug>

#include <openssl/evp.h>
#include <openssl/rand.h>

ChecklistFixture::Run ChecklistFixture::runTool(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral(KWTEMPLATE_IMPORT), args);
    Run run;
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = tool.exitCode();
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

int ChecklistFixture::import(const QString &db, const QString &name, const QByteArray &keywords)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("keywords.txt"));
    if (!writeFile(file, keywords))
        return -1;
    const Run run = runTool({QStringLiteral("--db"), db, name, file});
    if (run.exitCode != 0)
        qWarning().noquote() << run.err;
    return run.exitCode;
}

bool ChecklistFixture::writeDatabase(const QString &path, const QList<Checklist> &checklists)
{
    const QString connection = connectionName();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        QSqlQuery q(db);
        ok = db.open() && q.exec(QStringLiteral("CREATE TABLE dlp_imported_keyword_checklist "
                                                "(name TEXT, importedtime TEXT, listtablename TEXT)"));
        for (const Checklist &c : checklists) {
            ok = ok && q.prepare(QStringLiteral("INSERT INTO dlp_imported_keyword_checklist VALUES (?, ?, ?)"));
            q.addBindValue(c.name);
            q.addBindValue(c.time);
            q.addBindValue(c.table);
            ok = ok && q.exec();
            if (c.values.isEmpty() || c.table.isNull())
                continue;
            const QString table = QLatin1Char('"') + c.table.toString().replace(QLatin1Char('"'), QLatin1String("\"\""))
                + QLatin1Char('"');
            ok = ok && q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (keyword_enc BLOB)").arg(table));
            for (const QVariant &v : c.values) {
                ok = ok && q.prepare(QStringLiteral("INSERT INTO %1 VALUES (?)").arg(table));
                q.addBindValue(v);
                ok = ok && q.exec();
            }
        }
        if (!ok)
            qWarning() << q.lastError() << db.lastError();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

QByteArray ChecklistFixture::seal(const QByteArray &plain)
{
    static const QByteArray key("5a1c0f9e7b3d2468ace13579bdf02468");
    QByteArray iv(12, '\0');
    RAND_bytes(reinterpret_cast<unsigned char *>(iv.data()), iv.size());
    QByteArray out(plain.size() + 16, '\0');
    QByteArray tag(16, '\0');
    int n = 0, m = 0;
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(ctx, EVP_aes_256_gcm(), nullptr, reinterpret_cast<const unsigned char *>(key.constData()),
                       reinterpret_cast<const unsigned char *>(iv.constData()));
    EVP_EncryptUpdate(ctx, reinterpret_cast<unsigned char *>(out.data()), &n,
                      reinterpret_cast<const unsigned char *>(plain.constData()), plain.size());
    EVP_EncryptFinal_ex(ctx, reinterpret_cast<unsigned char *>(out.data()) + n, &m);
    EVP_CIPHER_CTX_ctrl(ctx, EVP_CTRL_GCM_GET_TAG, 16, tag.data());
    EVP_CIPHER_CTX_free(ctx);
    out.truncate(n + m);
    return iv + tag + out;
}

QByteArray ChecklistFixture::flipped(QByteArray value, int at)
{
    value[at] = char(value.at(at) ^ 0x01);
    return value;
}

bool ChecklistFixture::writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QByteArray ChecklistFixture::fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QString ChecklistFixture::connectionName()
{
    static int counter = 0;
    return QStringLiteral("fixture-%1").arg(++counter);
}
