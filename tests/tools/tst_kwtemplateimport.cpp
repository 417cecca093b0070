#include "checklistfixture.h"
#include "keywordtemplatecipher.h"
#include "keywordtemplatestore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using Fixture = ChecklistFixture;

namespace {

// Runs `sql` on the database and returns the first column of every row.
QVariantList column(const QString &db, const QString &sql, const QVariantList &values = {})
{
    const QString name = Fixture::connectionName();
    QVariantList result;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(db);
        QSqlQuery q(d);
        if (d.open() && q.prepare(sql)) {
            for (const QVariant &v : values)
                q.addBindValue(v);
            q.exec();
            while (q.next())
                result.append(q.value(0));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

// What the client's store reads from the database: checklists and all their keywords.
void readBack(const QString &db, QMap<QString, QString> *templates, QStringList *keywords)
{
    KeywordTemplateStore store(db, Fixture::connectionName());
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
        QVERIFY(Fixture::writeFile(file, content));

        const Fixture::Run run = Fixture::runTool({QStringLiteral("--db"), db, QStringLiteral("客户 \"名单\""), file});
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

    // The directories the tool creates and the new database are its owner's
    // alone, whatever the umask; a directory that exists keeps its mode.
    void createsPrivateFiles()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("shared"))));
        QVERIFY(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("shared"))).constData(), 0755) == 0);
        const QString db = dir.filePath(QStringLiteral("shared/a/b/kw.db"));
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(Fixture::writeFile(file, "机密\n"));
        const mode_t old = ::umask(0);
        const Fixture::Run run = Fixture::runTool({QStringLiteral("--db"), db, QStringLiteral("n"), file});
        ::umask(old);
        QCOMPARE(run.exitCode, 0);
        auto mode = [&](const char *relative) {
            struct stat st;
            return ::stat(QFile::encodeName(dir.filePath(QLatin1String(relative))).constData(), &st) == 0
                       ? int(st.st_mode & 07777) : -1;
        };
        QCOMPARE(mode("shared"), 0755);
        QCOMPARE(mode("shared/a"), 0700);
        QCOMPARE(mode("shared/a/b"), 0700);
        QCOMPARE(mode("shared/a/b/kw.db"), 0600);
    }

    void sealedLayout()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        QCOMPARE(Fixture::import(db, QStringLiteral("清单"), "机密\n机密\n"), 0);

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
            QCOMPARE(Fixture::import(db, QStringLiteral("清单"), "种子\n"), 0);
        }
        const QByteArray before = Fixture::fileHash(db);
        if (!content.isNull())
            QVERIFY(Fixture::writeFile(file, content));
        for (QString &a : args) {
            if (a == QLatin1String("DB"))
                a = db;
            else if (a == QLatin1String("FILE"))
                a = file;
            else if (a == QLatin1String("DIR"))
                a = dir.path();
        }

        const Fixture::Run run = Fixture::runTool(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(QFile::exists(db), existingDb);
        QCOMPARE(Fixture::fileHash(db), before);
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("kw.db*")}, QDir::Files),
                 existingDb ? QStringList{QStringLiteral("kw.db")} : QStringList{});
    }

    void refusesFileThatIsNotADatabase()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(Fixture::writeFile(db, QByteArray(8192, 'x')));
        QVERIFY(Fixture::writeFile(file, "a\n"));
        const QByteArray before = Fixture::fileHash(db);
        const Fixture::Run run = Fixture::runTool({QStringLiteral("--db"), db, QStringLiteral("清单"), file});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("not a database")), qPrintable(run.err));
        QCOMPARE(Fixture::fileHash(db), before);
    }

    void sameNameReplaces()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        QCOMPARE(Fixture::import(db, QStringLiteral("清单"), "旧一\n旧二\n"), 0);
        QCOMPARE(Fixture::import(db, QStringLiteral("其他"), "别的\n"), 0);
        QCOMPARE(Fixture::import(db, QStringLiteral("清单"), "新\n"), 0);

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
        const QVariant shared(QStringLiteral("kw_shared"));
        QVERIFY(Fixture::writeDatabase(db, {{QStringLiteral("甲"), QStringLiteral("t0"), shared, {Fixture::seal("共用")}},
                                            {QStringLiteral("乙"), QStringLiteral("t0"), shared, {}}}));
        QCOMPARE(Fixture::import(db, QStringLiteral("甲"), "新\n"), 0);
        QMap<QString, QString> templates;
        QStringList keywords;
        readBack(db, &templates, &keywords);
        QCOMPARE(templates.keys(), (QStringList{"乙", "甲"}));
        QCOMPARE(keywords, (QStringList{"共用", "新"}));
    }

    void failedImportLeavesDatabaseAsItWas()
    {
        // The list refuses new rows (a trigger of another component): the
        // import fails at its last statement, after it has already dropped
        // the old checklist's table and written the new one.
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        QVERIFY(Fixture::writeDatabase(db, {{QStringLiteral("清单"), QStringLiteral("t0"), QStringLiteral("kw_0"),
                                             {Fixture::seal("旧")}}}));
        column(db, QStringLiteral("CREATE TRIGGER locked BEFORE INSERT ON dlp_imported_keyword_checklist "
                                  "BEGIN SELECT RAISE(ABORT, 'list locked'); END"));
        const QByteArray before = Fixture::fileHash(db);

        QTemporaryDir input;
        const QString file = input.filePath(QStringLiteral("list.txt"));
        QVERIFY(Fixture::writeFile(file, "新\n"));
        const Fixture::Run run = Fixture::runTool({QStringLiteral("--db"), db, QStringLiteral("清单"), file});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("list locked")), qPrintable(run.err));
        QCOMPARE(Fixture::fileHash(db), before);
        QMap<QString, QString> templates;
        QStringList keywords;
        readBack(db, &templates, &keywords);
        QCOMPARE(keywords, QStringList{"旧"});
    }
};

QTEST_GUILESS_MAIN(TestKwTemplateImport)
#include "tst_kwtemplateimport.moc"
