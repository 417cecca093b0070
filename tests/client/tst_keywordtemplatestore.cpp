#include "checklistfixture.h"
#include "keywordtemplatestore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Fixture = ChecklistFixture;
using Templates = QMap<QString, QString>;

namespace {

// Warnings written while an object of this class lives.
class WarningCapture
{
public:
    WarningCapture() { s_lines.clear(); m_previous = qInstallMessageHandler(handler); }
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

} // namespace

class TestKeywordTemplateStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keywordsOfImportedChecklist()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        QCOMPARE(Fixture::import(db, QStringLiteral("内部清单"), "身份证\n机密文件\nsecret\n身份证\n"), 0);
        const QByteArray before = Fixture::fileHash(db);

        KeywordTemplateStore store(db, Fixture::connectionName());
        QVERIFY(store.isOpen());
        Templates templates;
        store.templates(templates);
        QCOMPARE(templates.keys(), QStringList{QStringLiteral("内部清单")});
        WarningCapture warnings;
        QStringList keywords;
        store.templateKeywords(templates, keywords);
        QCOMPARE(keywords, (QStringList{"身份证", "机密文件", "secret", "身份证"}));
        QVERIFY(WarningCapture::lines().isEmpty());
        // Reading leaves the database as it was.
        QCOMPARE(Fixture::fileHash(db), before);
    }

    void decryption_data()
    {
        QTest::addColumn<QList<QVariant>>("values");
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<int>("warnings");
        const QByteArray a = Fixture::seal("第一"), b = Fixture::seal("second"), c = Fixture::seal("第三");
        QTest::newRow("wrong tag in the middle")
            << QList<QVariant>{a, Fixture::flipped(b, 12), c} << QStringList{"第一", "", "第三"} << 1;
        QTest::newRow("altered ciphertext") << QList<QVariant>{Fixture::flipped(a, 30)} << QStringList{""} << 1;
        QTest::newRow("28 bytes, matching tag")
            << QList<QVariant>{Fixture::seal(QByteArray()), a} << QStringList{"", "第一"} << 0;
        QTest::newRow("27 bytes")
            << QList<QVariant>{Fixture::seal(QByteArray()).left(27), a} << QStringList{"", "第一"} << 1;
        QTest::newRow("empty value") << QList<QVariant>{QByteArray("")} << QStringList{""} << 1;
        QTest::newRow("NULL value") << QList<QVariant>{QVariant(QVariant::ByteArray)} << QStringList{""} << 1;
        QTest::newRow("plaintext ends at a zero byte")
            << QList<QVariant>{Fixture::seal(QByteArray("ab\0cd", 5))} << QStringList{"ab"} << 0;
    }
    void decryption()
    {
        QFETCH(QList<QVariant>, values);
        QFETCH(QStringList, keywords);
        QFETCH(int, warnings);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        QVERIFY(Fixture::writeDatabase(db, {{QStringLiteral("清单"), QStringLiteral("t"), QStringLiteral("kw_1"), values}}));

        KeywordTemplateStore store(db, Fixture::connectionName());
        QStringList out;
        WarningCapture capture;
        store.templateKeywords({{QStringLiteral("清单"), QStringLiteral("t")}}, out);
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
        // Imported, and so stored, in the opposite order of their names.
        QCOMPARE(Fixture::import(db, QStringLiteral("b 清单"), "b1\nb2\n"), 0);
        QCOMPARE(Fixture::import(db, QStringLiteral("a 清单"), "a1\n"), 0);

        KeywordTemplateStore store(db, Fixture::connectionName());
        Templates templates;
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
        QVERIFY(Fixture::writeDatabase(db, {
            {QStringLiteral("清单"), QStringLiteral("2024-01-01"), QStringLiteral("kw_old"), {Fixture::seal("旧")}},
            {QStringLiteral("清单"), QStringLiteral("2023-12-31"), QStringLiteral("kw_new"), {Fixture::seal("新")}},
        }));
        KeywordTemplateStore store(db, Fixture::connectionName());
        Templates templates;
        store.templates(templates);
        // The row read last wins, whatever its time.
        QCOMPARE(templates, (Templates{{"清单", "2023-12-31"}}));
        QStringList out;
        store.templateKeywords(templates, out);
        QCOMPARE(out, QStringList{"新"});
        // Name and time identify a checklist: the earlier row is found by its time.
        out.clear();
        store.templateKeywords({{QStringLiteral("清单"), QStringLiteral("2024-01-01")}}, out);
        QCOMPARE(out, QStringList{"旧"});
    }

    void lookup_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("table");
        QTest::addColumn<QString>("askedTime");
        QTest::addColumn<bool>("found");
        QTest::newRow("plain") << "清单" << QVariant("kw_1") << "t" << true;
        QTest::newRow("name with a double quote") << "清单\"A\"" << QVariant("kw_1") << "t" << true;
        QTest::newRow("name that is a column name") << "name" << QVariant("kw_1") << "t" << true;
        QTest::newRow("table name with a double quote") << "清单" << QVariant("kw \"1\"") << "t" << true;
        QTest::newRow("table name with SQL in it") << "清单" << QVariant("kw_1; DROP TABLE kw") << "t" << true;
        QTest::newRow("other time") << "清单" << QVariant("kw_1") << "t2" << false;
        QTest::newRow("table name that names no table") << "清单" << QVariant("") << "t" << false;
        QTest::newRow("NULL table name") << "清单" << QVariant() << "t" << false;
    }
    void lookup()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, table);
        QFETCH(QString, askedTime);
        QFETCH(bool, found);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("kw.db"));
        // A decoy listed first, whose table pasted SQL would read instead.
        QVERIFY(Fixture::writeDatabase(db, {
            {QStringLiteral("decoy"), QStringLiteral("t"), QStringLiteral("kw"), {Fixture::seal("decoy")}},
            {name, QStringLiteral("t"), table,
             table.toString().isEmpty() ? QList<QVariant>{} : QList<QVariant>{Fixture::seal("命中")}},
        }));
        KeywordTemplateStore store(db, Fixture::connectionName());
        QStringList out;
        store.templateKeywords({{name, askedTime}}, out);
        QCOMPARE(out, found ? QStringList{"命中"} : QStringList{});
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
            QVERIFY(Fixture::writeFile(db, content));

        KeywordTemplateStore store(db, Fixture::connectionName());
        QCOMPARE(store.isOpen(), open);
        Templates templates;
        store.templates(templates);
        QVERIFY(templates.isEmpty());
        QStringList out;
        store.templateKeywords({{QStringLiteral("清单"), QStringLiteral("t")}}, out);
        QVERIFY(out.isEmpty());
        // The store never creates or changes the file.
        QFile f(db);
        QCOMPARE(f.open(QIODevice::ReadOnly), !content.isNull());
        QCOMPARE(f.readAll(), content.isNull() ? QByteArray() : content);
    }

    void instanceIsProcessWide()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.db"));
        const QString second = dir.filePath(QStringLiteral("second.db"));
        QVERIFY(Fixture::writeDatabase(first, {{QStringLiteral("一"), QStringLiteral("t1"), QStringLiteral("kw_1"), {}}}));
        QVERIFY(Fixture::writeDatabase(second, {{QStringLiteral("二"), QStringLiteral("t2"), QStringLiteral("kw_1"), {}}}));

        KeywordTemplateStore *store = KeywordTemplateStore::instance(first);
        QCOMPARE(KeywordTemplateStore::instance(second), store);
        Templates templates;
        store->templates(templates);
        QCOMPARE(templates, (Templates{{"一", "t1"}}));
    }
};

QTEST_GUILESS_MAIN(TestKeywordTemplateStore)
#include "tst_keywordtemplatestore.moc"
