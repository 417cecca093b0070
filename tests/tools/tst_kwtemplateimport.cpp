#include "keywordtemplatecipher.h"
#include "keywordtemplatestore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList &args)
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

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

int connections = 0;

// Runs `sql` on the database and returns the first column of every row.
QVariantList column(const QString &db, const QString &sql)
{
    const QString name = QStringLiteral("raw-%1").arg(++connections);
    QVariantList values;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(db);
        if (d.open()) {
            QSqlQuery q(d);
            if (q.exec(sql)) {
                while (q.next())
                    values.append(q.value(0));
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return values;
}

bool execAll(const QString &db, const QStringList &statements, const QVariantList &blobs = {})
{
    const QString name = QStringLiteral("raw-%1").arg(++connections);
    bool ok = true;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(db);
        ok = d.open();
        QSqlQuery q(d);
        for (const QString &s : statements) {
            ok = ok && q.prepare(s);
            for (const QVariant &b : blobs) {
                if (s.count(QLatin1Char('?')) > 0)
                    q.addBindValue(b);
            }
            ok = ok && q.exec();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// What the client's store reads from the database: checklists and all their keywords.
void readBack(const QString &db, QMap<QString, QString> *templates, QStringList *keywords)
{
    KeywordTemplateStore store(db, QStringLiteral("store-%1").arg(++connections));
    store.templates(*templates);
    store.templateKeywords(*templates, *keywords);
}

} // namespace

class TestKwTemplateImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void imports_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("keywords");
        QTest::newRow("one per line, no final newline") << QByteArray("甲\nb\nc") << QStringList{"甲", "b", "c"};
        QTest::newRow("CRLF, blank lines, surrounding blanks")
            << QByteArray("a\r\n\r\n  b  \r\n\t\n") << QStringList{"a", "b"};
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF身份证\n") << QStringList{"身份证"};
        QTest::newRow("inner spaces kept") << QByteArray("top  secret\n") << QStringList{"top  secret"};
        QTest::newRow("duplicates kept") << QByteArray("x\ny\nx\n") << QStringList{"x", "y", "x"};
        QTest::newRow("quotes and SQL") << QByteArray("'; DROP TABLE t; --\n\"q\"\n")
                                        << QStringList{"'; DROP TABLE t; --", "\"q\""};
    }
    void imports()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, keywords);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("a/b/kw.db"));
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeFile(file, content));

        const Run run = runTool({QStringLiteral("--db"), db, QStringLiteral("客户 \"名单\""), file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        QVERIFY(run.out.contains(QStringLiteral("客户 \"名单\"")));

        QMap<QString, QString> templates;
        QStringList read;
        readBack(db, &templates, &read);
        QCOMPARE(templates.keys(), QStringList{QStringLiteral("客户 \"名单\"")});
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(templates.first()).hasMatch());
        QCOMPARE(read, keywords);
    }

    void sealedLayout()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeFile(file, "机密\n机密\n"));
        QCOMPARE(runTool({QStringLiteral("--db"), db, QStringLiteral("清单"), file}).exitCode, 0);

        const QVariantList tables = column(db, QStringLiteral("SELECT listtablename FROM dlp_imported_keyword_checklist"));
        QCOMPARE(tables.size(), 1);
        const QVariantList values = column(db, QStringLiteral("SELECT keyword_enc FROM \"%1\"").arg(tables.first().toString()));
        QCOMPARE(values.size(), 2);
        const QByteArray first = values.at(0).toByteArray();
        const QByteArray second = values.at(1).toByteArray();
        // IV + tag + ciphertext of the six UTF-8 bytes, each under its own IV.
        QCOMPARE(first.size(), 28 + 6);
        QCOMPARE(second.size(), 28 + 6);
        QVERIFY(first.left(12) != second.left(12));
        QByteArray plain;
        QCOMPARE(KeywordTemplateCipher::open(second, &plain), KeywordTemplateCipher::OpenResult::Ok);
        QCOMPARE(QString::fromUtf8(plain), QStringLiteral("机密"));
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("args");      // "DB", "FILE" and "DIR" stand for the paths
        QTest::addColumn<QByteArray>("content");    // of FILE; null: no such file
        QTest::addColumn<bool>("existingDb");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");

        const QStringList normal{"--db", "DB", "清单", "FILE"};
        QTest::newRow("missing file") << normal << QByteArray() << true << 1 << "cannot read";
        QTest::newRow("missing file, no database yet") << normal << QByteArray() << false << 1 << "cannot read";
        QTest::newRow("invalid UTF-8") << normal << QByteArray("ok\n\xff\xfe\n") << true << 1 << "is not UTF-8 text";
        QTest::newRow("Latin-1 text") << normal << QByteArray("caf\xe9\n") << false << 1 << "is not UTF-8 text";
        QTest::newRow("cut UTF-8 sequence") << normal << QByteArray("身份\xe8\xaf") << true << 1 << "is not UTF-8 text";
        QTest::newRow("zero byte") << normal << QByteArray("a\0b\n", 4) << true << 1 << "is not a text file";
        QTest::newRow("no keywords") << normal << QByteArray("\n  \r\n\t\n") << true << 1 << "holds no keywords";
        QTest::newRow("empty file") << normal << QByteArray("") << false << 1 << "holds no keywords";
        QTest::newRow("empty name") << QStringList{"--db", "DB", "", "FILE"} << QByteArray("a\n") << true << 1
                                    << "the checklist name is empty";
        QTest::newRow("blank name") << QStringList{"--db", "DB", " \t", "FILE"} << QByteArray("a\n") << false << 1
                                    << "the checklist name is empty";
        QTest::newRow("directory as file") << QStringList{"--db", "DB", "清单", "DIR"} << QByteArray() << true << 1
                                           << "cannot read";
        QTest::newRow("no file argument") << QStringList{"--db", "DB", "清单"} << QByteArray() << true << 2 << "usage:";
        QTest::newRow("extra argument") << QStringList{"--db", "DB", "清单", "FILE", "more"} << QByteArray("a\n")
                                        << true << 2 << "usage:";
        QTest::newRow("unknown option") << QStringList{"--database", "DB", "清单", "FILE"} << QByteArray("a\n")
                                        << true << 2 << "usage:";
    }
    void refuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, content);
        QFETCH(bool, existingDb);
        QFETCH(int, exitCode);
        QFETCH(QString, message);

        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        if (existingDb) {
            const QString seed = dir.filePath(QStringLiteral("seed.txt"));
            QVERIFY(writeFile(seed, "种子\n"));
            QCOMPARE(runTool({QStringLiteral("--db"), db, QStringLiteral("清单"), seed}).exitCode, 0);
        }
        const QByteArray before = fileHash(db);
        if (!content.isNull())
            QVERIFY(writeFile(file, content));
        for (QString &a : args) {
            if (a == QLatin1String("DB"))
                a = db;
            else if (a == QLatin1String("FILE"))
                a = file;
            else if (a == QLatin1String("DIR"))
                a = dir.path();
        }

        const Run run = runTool(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(QFile::exists(db), existingDb);
        QCOMPARE(fileHash(db), before);
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("kw.db*")}, QDir::Files),
                 existingDb ? QStringList{QStringLiteral("kw.db")} : QStringList{});
    }

    void refusesFileThatIsNotADatabase()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeFile(db, QByteArray(8192, 'x')));
        QVERIFY(writeFile(file, "a\n"));
        const QByteArray before = fileHash(db);
        const Run run = runTool({QStringLiteral("--db"), db, QStringLiteral("清单"), file});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("not a database")), qPrintable(run.err));
        QCOMPARE(fileHash(db), before);
    }

    void sameNameReplaces()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString a = dir.filePath(QStringLiteral("a.txt"));
        const QString b = dir.filePath(QStringLiteral("b.txt"));
        const QString c = dir.filePath(QStringLiteral("c.txt"));
        QVERIFY(writeFile(a, "旧一\n旧二\n"));
        QVERIFY(writeFile(b, "新\n"));
        QVERIFY(writeFile(c, "别的\n"));
        QCOMPARE(runTool({QStringLiteral("--db"), db, QStringLiteral("清单"), a}).exitCode, 0);
        QCOMPARE(runTool({QStringLiteral("--db"), db, QStringLiteral("其他"), c}).exitCode, 0);
        QCOMPARE(runTool({QStringLiteral("--db"), db, QStringLiteral("清单"), b}).exitCode, 0);

        QCOMPARE(column(db, QStringLiteral("SELECT count(*) FROM dlp_imported_keyword_checklist WHERE name = '清单'")),
                 QVariantList{1});
        // The replaced checklist's keyword table is gone; the other one stays.
        QCOMPARE(column(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'")), QVariantList{3});
        QMap<QString, QString> templates;
        QStringList keywords;
        readBack(db, &templates, &keywords);
        QCOMPARE(templates.keys(), (QStringList{"其他", "清单"}));
        QCOMPARE(keywords, (QStringList{"别的", "新"}));
    }

    void replacingKeepsTablesOthersName()
    {
        // Written by another importer: two checklists share one keyword table.
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeFile(file, "新\n"));
        QVERIFY(execAll(db, {
            QStringLiteral("CREATE TABLE dlp_imported_keyword_checklist (name TEXT, importedtime TEXT, listtablename TEXT)"),
            QStringLiteral("INSERT INTO dlp_imported_keyword_checklist VALUES ('甲', 't0', 'kw_shared')"),
            QStringLiteral("INSERT INTO dlp_imported_keyword_checklist VALUES ('乙', 't0', 'kw_shared')"),
            QStringLiteral("CREATE TABLE kw_shared (keyword_enc BLOB)"),
        }));
        QVERIFY(execAll(db, {QStringLiteral("INSERT INTO kw_shared VALUES (?)")},
                        {KeywordTemplateCipher::seal(QByteArrayLiteral("共用"))}));

        QCOMPARE(runTool({QStringLiteral("--db"), db, QStringLiteral("甲"), file}).exitCode, 0);
        QMap<QString, QString> templates;
        QStringList keywords;
        readBack(db, &templates, &keywords);
        QCOMPARE(templates.keys(), (QStringList{"乙", "甲"}));
        QCOMPARE(keywords, (QStringList{"共用", "新"}));
    }

    void failedImportLeavesDatabaseAsItWas()
    {
        // A checklist list with a further mandatory column that the tool does
        // not fill: the import fails at its last statement, after it has
        // already dropped the old checklist and written the new keywords.
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(writeFile(file, "新\n"));
        QVERIFY(execAll(db, {
            QStringLiteral("CREATE TABLE dlp_imported_keyword_checklist (name TEXT, importedtime TEXT, "
                           "listtablename TEXT, owner TEXT NOT NULL)"),
            QStringLiteral("INSERT INTO dlp_imported_keyword_checklist VALUES ('清单', 't0', 'kw_0', 'admin')"),
            QStringLiteral("CREATE TABLE kw_0 (keyword_enc BLOB)"),
        }));
        QVERIFY(execAll(db, {QStringLiteral("INSERT INTO kw_0 VALUES (?)")},
                        {KeywordTemplateCipher::seal(QByteArrayLiteral("旧"))}));
        const QByteArray before = fileHash(db);

        const Run run = runTool({QStringLiteral("--db"), db, QStringLiteral("清单"), file});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("cannot write")), qPrintable(run.err));
        QCOMPARE(fileHash(db), before);
        QMap<QString, QString> templates;
        QStringList keywords;
        readBack(db, &templates, &keywords);
        QCOMPARE(keywords, QStringList{"旧"});
    }
};

QTEST_GUILESS_MAIN(TestKwTemplateImport)
#include "tst_kwtemplateimport.moc"
