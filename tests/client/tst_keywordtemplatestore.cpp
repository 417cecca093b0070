#include "keywordtemplatestore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <openssl/evp.h>
#include <openssl/rand.h>

Q_DECLARE_METATYPE(QList<QByteArray>)

namespace {

// Warnings written while an object of this class lives.
class WarningCapture
{
public:
    WarningCapture()
    {
        s_lines.clear();
        m_previous = qInstallMessageHandler(handler);
    }
    ~WarningCapture() { qInstallMessageHandler(m_previous); }
    static QStringList lines() { return s_lines; }

private:
    static void handler(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtWarningMsg)
            s_lines.append(message);
    }
    static QStringList s_lines;
    QtMessageHandler m_previous;
};
QStringList WarningCapture::s_lines;

// AES-256-GCM written out here against OpenSSL, independently of the client's
// code: IV, tag, ciphertext under the product's key.
QByteArray seal(const QByteArray &plain)
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

QByteArray flipped(QByteArray value, int at)
{
    value[at] = char(value.at(at) ^ 0x01);
    return value;
}

struct Checklist
{
    QString name;
    QString time;
    QVariant table;           // the listtablename value (may be NULL)
    QList<QVariant> values;   // rows of keyword_enc for that table; none: no table
};

// A checklist database written by hand, in the layout the store reads.
bool writeDatabase(const QString &path, const QList<Checklist> &checklists)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        ok = ok && q.exec(QStringLiteral("CREATE TABLE dlp_imported_keyword_checklist "
                                         "(name TEXT, importedtime TEXT, listtablename TEXT)"));
        for (const Checklist &c : checklists) {
            ok = ok && q.prepare(QStringLiteral("INSERT INTO dlp_imported_keyword_checklist VALUES (?, ?, ?)"));
            q.addBindValue(c.name);
            q.addBindValue(c.time);
            q.addBindValue(c.table);
            ok = ok && q.exec();
            if (c.values.isEmpty() || c.table.isNull())
                continue;
            QString table = c.table.toString();
            table.replace(QLatin1Char('"'), QLatin1String("\"\""));
            q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" (keyword_enc BLOB)").arg(table));
            for (const QVariant &v : c.values) {
                ok = ok && q.prepare(QStringLiteral("INSERT INTO \"%1\" VALUES (?)").arg(table));
                q.addBindValue(v);
                ok = ok && q.exec();
            }
        }
        if (!ok)
            qWarning() << q.lastError();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    return ok;
}

// Runs the import tool; returns its exit code (-1 if it did not run).
int importChecklist(const QString &db, const QString &name, const QString &file)
{
    QProcess tool;
    tool.start(QStringLiteral(KWTEMPLATE_IMPORT), {QStringLiteral("--db"), db, name, file});
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
        return -1;
    if (tool.exitCode() != 0)
        qWarning() << tool.readAllStandardError();
    return tool.exitCode();
}

bool writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

int connectionCounter = 0;
QString nextConnection()
{
    return QStringLiteral("store-%1").arg(++connectionCounter);
}

} // namespace

class TestKeywordTemplateStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keywordsOfImportedChecklist()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString list = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeText(list, "身份证\n机密文件\nsecret\n身份证\n"));
        QCOMPARE(importChecklist(db, QStringLiteral("内部清单"), list), 0);
        const QByteArray before = fileHash(db);

        KeywordTemplateStore store(db, nextConnection());
        QVERIFY(store.isOpen());
        QMap<QString, QString> templates;
        store.templates(templates);
        QCOMPARE(templates.keys(), QStringList{QStringLiteral("内部清单")});

        WarningCapture warnings;
        QStringList keywords;
        store.templateKeywords(templates, keywords);
        QCOMPARE(keywords, (QStringList{QStringLiteral("身份证"), QStringLiteral("机密文件"),
                                        QStringLiteral("secret"), QStringLiteral("身份证")}));
        QVERIFY(WarningCapture::lines().isEmpty());
        // Reading leaves the database as it was.
        QCOMPARE(fileHash(db), before);
    }

    void decryption_data()
    {
        QTest::addColumn<QList<QVariant>>("values");
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<int>("warnings");

        const QByteArray a = seal("第一"), b = seal("second"), c = seal("第三");
        QTest::newRow("all decrypt")
            << QList<QVariant>{a, b, c} << QStringList{"第一", "second", "第三"} << 0;
        QTest::newRow("wrong tag in the middle")
            << QList<QVariant>{a, flipped(b, 12), c} << QStringList{"第一", "", "第三"} << 1;
        QTest::newRow("altered ciphertext")
            << QList<QVariant>{flipped(a, 30), c} << QStringList{"", "第三"} << 1;
        QTest::newRow("altered IV")
            << QList<QVariant>{flipped(a, 0)} << QStringList{""} << 1;
        QTest::newRow("28 bytes, matching tag")
            << QList<QVariant>{seal(QByteArray()), a} << QStringList{"", "第一"} << 0;
        QTest::newRow("28 bytes, wrong tag")
            << QList<QVariant>{flipped(seal(QByteArray()), 27)} << QStringList{""} << 1;
        QTest::newRow("27 bytes")
            << QList<QVariant>{seal(QByteArray()).left(27), a} << QStringList{"", "第一"} << 1;
        QTest::newRow("empty value")
            << QList<QVariant>{QByteArray(""), a} << QStringList{"", "第一"} << 1;
        QTest::newRow("NULL value")
            << QList<QVariant>{QVariant(QVariant::ByteArray), a} << QStringList{"", "第一"} << 1;
        QTest::newRow("plaintext ends at a zero byte")
            << QList<QVariant>{seal(QByteArray("ab\0cd", 5))} << QStringList{"ab"} << 0;
        QTest::newRow("three short values")
            << QList<QVariant>{QByteArray("x"), QByteArray(12, 'y'), QByteArray(20, 'z')} << QStringList{"", "", ""} << 3;
    }
    void decryption()
    {
        QFETCH(QList<QVariant>, values);
        QFETCH(QStringList, keywords);
        QFETCH(int, warnings);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        QVERIFY(writeDatabase(db, {{QStringLiteral("清单"), QStringLiteral("2024-05-01 10:00:00"),
                                    QStringLiteral("kw_1"), values}}));

        KeywordTemplateStore store(db, nextConnection());
        QStringList out;
        WarningCapture capture;
        store.templateKeywords({{QStringLiteral("清单"), QStringLiteral("2024-05-01 10:00:00")}}, out);
        QCOMPARE(out, keywords);
        QStringList expected;
        for (int i = 0; i < warnings; ++i)
            expected.append(QStringLiteral("AES256-GCM tag verification failed!"));
        QCOMPARE(WarningCapture::lines(), expected);
    }

    void checklistsInNameOrder()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString first = dir.filePath(QStringLiteral("b.txt"));
        const QString second = dir.filePath(QStringLiteral("a.txt"));
        QVERIFY(writeText(first, "b1\nb2\n"));
        QVERIFY(writeText(second, "a1\n"));
        // Imported (and so stored) in the opposite order of their names.
        QCOMPARE(importChecklist(db, QStringLiteral("b 清单"), first), 0);
        QCOMPARE(importChecklist(db, QStringLiteral("a 清单"), second), 0);

        KeywordTemplateStore store(db, nextConnection());
        QMap<QString, QString> templates;
        store.templates(templates);
        QCOMPARE(templates.size(), 2);
        // Appends to what the caller already holds.
        QStringList out{QStringLiteral("typed")};
        store.templateKeywords(templates, out);
        QCOMPARE(out, (QStringList{"typed", "a1", "b1", "b2"}));
    }

    void sameNameCollapses()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        QVERIFY(writeDatabase(db, {
            {QStringLiteral("清单"), QStringLiteral("2024-01-01 08:00:00"), QStringLiteral("kw_old"), {seal("旧")}},
            {QStringLiteral("清单"), QStringLiteral("2023-12-31 08:00:00"), QStringLiteral("kw_new"), {seal("新")}},
        }));
        KeywordTemplateStore store(db, nextConnection());
        QMap<QString, QString> templates;
        store.templates(templates);
        // The row read last wins, whatever its time.
        QCOMPARE(templates, (QMap<QString, QString>{{"清单", "2023-12-31 08:00:00"}}));
        QStringList out;
        store.templateKeywords(templates, out);
        QCOMPARE(out, QStringList{"新"});
        // The pair identifies a checklist: the earlier row is still found by its time.
        out.clear();
        store.templateKeywords({{QStringLiteral("清单"), QStringLiteral("2024-01-01 08:00:00")}}, out);
        QCOMPARE(out, QStringList{"旧"});
    }

    void lookup_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QVariant>("table");
        QTest::addColumn<QString>("askedTime");
        QTest::addColumn<bool>("found");

        const QString t = QStringLiteral("2024-03-01 09:30:00");
        QTest::newRow("plain") << "清单" << t << QVariant("kw_1") << t << true;
        QTest::newRow("name with a double quote") << "清单\"A\"" << t << QVariant("kw_1") << t << true;
        QTest::newRow("name with a single quote") << "it's" << t << QVariant("kw_1") << t << true;
        QTest::newRow("name that is a column name") << "name" << t << QVariant("kw_1") << t << true;
        QTest::newRow("time with a double quote") << "清单" << "\"now\"" << QVariant("kw_1") << "\"now\"" << true;
        QTest::newRow("table name with a double quote") << "清单" << t << QVariant("kw \"1\"") << t << true;
        QTest::newRow("table name with SQL in it") << "清单" << t << QVariant("kw_1; DROP TABLE x") << t << true;
        QTest::newRow("other time") << "清单" << t << QVariant("kw_1") << "2024-03-01 09:30:01" << false;
        QTest::newRow("table name that names no table") << "清单" << t << QVariant("") << t << false;
        QTest::newRow("NULL table name") << "清单" << t << QVariant() << t << false;
    }
    void lookup()
    {
        QFETCH(QString, name);
        QFETCH(QString, time);
        QFETCH(QVariant, table);
        QFETCH(QString, askedTime);
        QFETCH(bool, found);

        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        // A decoy checklist whose table is named so that an unquoted lookup
        // would read it instead of failing.
        QVERIFY(writeDatabase(db, {
            {QStringLiteral("decoy"), t(), QStringLiteral("kw"), {seal("decoy")}},
            {name, time, table, table.toString().isEmpty() ? QList<QVariant>{} : QList<QVariant>{seal("命中")}},
        }));
        KeywordTemplateStore store(db, nextConnection());
        QMap<QString, QString> templates;
        store.templates(templates);
        QCOMPARE(templates.value(name), time);

        QStringList out;
        store.templateKeywords({{name, askedTime}}, out);
        QCOMPARE(out, found ? QStringList{"命中"} : QStringList{});
    }

    void checklistNameWithQuoteFromTool()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString list = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeText(list, "护照\n"));
        QCOMPARE(importChecklist(db, QStringLiteral("\"重要\" 清单"), list), 0);
        KeywordTemplateStore store(db, nextConnection());
        QMap<QString, QString> templates;
        store.templates(templates);
        QStringList out;
        store.templateKeywords(templates, out);
        QCOMPARE(out, QStringList{"护照"});
    }

    void unusableDatabase_data()
    {
        QTest::addColumn<QByteArray>("content");   // null: no file at all
        QTest::addColumn<bool>("open");
        QTest::newRow("missing file") << QByteArray() << false;
        QTest::newRow("not a database") << QByteArray(4096, 'x') << true;
        QTest::newRow("empty file") << QByteArray("") << true;
    }
    void unusableDatabase()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, open);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        if (!content.isNull())
            QVERIFY(writeText(db, content));

        KeywordTemplateStore store(db, nextConnection());
        QCOMPARE(store.isOpen(), open);
        QMap<QString, QString> templates;
        store.templates(templates);
        QVERIFY(templates.isEmpty());
        QStringList out;
        store.templateKeywords({{QStringLiteral("清单"), QStringLiteral("2024-01-01 00:00:00")}}, out);
        QVERIFY(out.isEmpty());
        // The store never creates or changes the file.
        QCOMPARE(QFile::exists(db), !content.isNull());
        if (!content.isNull()) {
            QFile f(db);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content);
        }
    }

    void instanceIsProcessWide()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.db"));
        const QString second = dir.filePath(QStringLiteral("second.db"));
        QVERIFY(writeDatabase(first, {{QStringLiteral("一"), QStringLiteral("t1"), QStringLiteral("kw_1"), {seal("x")}}}));
        QVERIFY(writeDatabase(second, {{QStringLiteral("二"), QStringLiteral("t2"), QStringLiteral("kw_1"), {seal("y")}}}));

        KeywordTemplateStore *store = KeywordTemplateStore::instance(first);
        QVERIFY(store);
        QCOMPARE(KeywordTemplateStore::instance(second), store);
        QMap<QString, QString> templates;
        store->templates(templates);
        QCOMPARE(templates, (QMap<QString, QString>{{"一", "t1"}}));
    }

private:
    static QString t() { return QStringLiteral("2024-03-01 09:30:00"); }
};

QTEST_GUILESS_MAIN(TestKeywordTemplateStore)
#include "tst_keywordtemplatestore.moc"
