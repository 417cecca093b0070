// The detail documents: the tolerant parsers of the three record levels and
// the handling of a detail query's reply, against the fake scan service on
// a private bus.

#include "detailreply.h"
#include "fakescanservice.h"
#include "privatebus.h"
#include "sensitivegroupdetail.h"
#include "sensitivescaninterface.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QJsonDocument>
#include <QMutex>
#include <QPointer>
#include <QTest>

#include <memory>

namespace {

const QString Service = QStringLiteral("com.vorel.dlp.TransControl");
const QString Path = QStringLiteral("/com/vorel/dlp/TransControl");
const QString Interface = QStringLiteral("com.vorel.dlp.TransControlInterface");
const QString KeywordDetail = QStringLiteral("SensitiveDiscoveryGetKeywordDetectedDetail");
const QString DataIdDetail = QStringLiteral("SensitiveDiscoveryGetDataIdDetectedDetail");

QMutex logMutex;
QStringList logLines;
QtMessageHandler previousHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker locker(&logMutex);
        logLines << QStringLiteral("%1 %2").arg(type == QtCriticalMsg ? QStringLiteral("C") : QStringLiteral("D"),
                                                message);
    }
    if (type != QtDebugMsg && previousHandler)
        previousHandler(type, context, message);
}

QStringList takeLog()
{
    QMutexLocker locker(&logMutex);
    const QStringList lines = logLines;
    logLines.clear();
    return lines;
}

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

// A compact picture of the records, so that a failing comparison shows what
// was read: file(path)[hit|context, ...], rule(name){file...}, group(name){rule...}.
QString describe(const SensitiveFileDetail &file)
{
    QStringList hits;
    for (const SensitiveItem &item : file.sensitives)
        hits << item.sensitive + QLatin1Char('|') + item.sensitive_ctx;
    return QStringLiteral("file(%1)[%2]").arg(file.filepath, hits.join(QLatin1Char(',')));
}

QString describe(const SensitiveRuleDetail &rule)
{
    QStringList files;
    for (const SensitiveFileDetail &file : rule.rulesensitives)
        files << describe(file);
    return QStringLiteral("rule(%1){%2}").arg(rule.rulename, files.join(QLatin1Char(',')));
}

QString describe(const SensitiveGroupDetail &group)
{
    QStringList rules;
    for (const SensitiveRuleDetail &rule : group.groupsensitives)
        rules << describe(rule);
    return QStringLiteral("group(%1){%2}").arg(group.groupname, rules.join(QLatin1Char(',')));
}

} // namespace

class TestDetailDocuments : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<SensitiveScanInterface> m_proxy;

    QDBusPendingCall ask(const QString &method)
    {
        if (method == KeywordDetail)
            return m_proxy->SensitiveDiscoveryGetKeywordDetectedDetail(QStringLiteral("/home/a"), 1,
                                                                        QStringLiteral("/home/a/x.txt"));
        return m_proxy->SensitiveDiscoveryGetDataIdDetectedDetail(QStringLiteral("/home/a"), 3,
                                                                   QStringLiteral("身份标识"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
        m_proxy = std::make_unique<SensitiveScanInterface>(Service, Path, Interface, QDBusConnection::systemBus());
        previousHandler = qInstallMessageHandler(captureMessage);
    }
    void init()
    {
        m_fake->reset();
        takeLog();
    }
    void cleanupTestCase()
    {
        qInstallMessageHandler(previousHandler);
        m_proxy.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void parsesFileDetail_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("expected");
        QTest::newRow("complete, in document order")
            << QByteArray("{\"filepath\":\"/srv/数据/a.txt\",\"sensitives\":["
                          "{\"sensitive\":\"机密\",\"sensitive_ctx\":\"这是机密\\r\\n文件\"},"
                          "{\"sensitive\":\"secret\",\"sensitive_ctx\":\"top secret\"},"
                          "{\"sensitive\":\"机密\",\"sensitive_ctx\":\"这是机密\\r\\n文件\"}]}")
            << QStringLiteral("file(/srv/数据/a.txt)[机密|这是机密\r\n文件,secret|top secret,机密|这是机密\r\n文件]");
        QTest::newRow("sensitives missing") << QByteArray(R"({"filepath":"/a"})") << QStringLiteral("file(/a)[]");
        QTest::newRow("sensitives empty") << QByteArray(R"({"filepath":"/a","sensitives":[]})")
                                          << QStringLiteral("file(/a)[]");
        QTest::newRow("sensitives an object")
            << QByteArray(R"({"filepath":"/a","sensitives":{"sensitive":"x","sensitive_ctx":"y"}})")
            << QStringLiteral("file(/a)[]");
        QTest::newRow("sensitives a string") << QByteArray(R"({"filepath":"/a","sensitives":"x"})")
                                             << QStringLiteral("file(/a)[]");
        QTest::newRow("filepath missing") << QByteArray(R"({"sensitives":[{"sensitive":"x","sensitive_ctx":"y"}]})")
                                          << QStringLiteral("file()[x|y]");
        QTest::newRow("filepath a number") << QByteArray(R"({"filepath":12,"sensitives":[]})")
                                           << QStringLiteral("file()[]");
        QTest::newRow("filepath null") << QByteArray(R"({"filepath":null})") << QStringLiteral("file()[]");
        QTest::newRow("elements that are not objects stay as empty hits")
            << QByteArray(R"({"filepath":"/a","sensitives":[1,"x",null,[],{"sensitive":"k","sensitive_ctx":"c"}]})")
            << QStringLiteral("file(/a)[|,|,|,|,k|c]");
        QTest::newRow("hit members of the wrong type")
            << QByteArray(R"({"filepath":"/a","sensitives":[{"sensitive":5,"sensitive_ctx":true},
                                                            {"sensitive":["x"],"sensitive_ctx":{"a":1}}]})")
            << QStringLiteral("file(/a)[|,|]");
        QTest::newRow("hit members missing, other keys ignored")
            << QByteArray(R"({"filepath":"/a","extra":1,"sensitives":[{"word":"x"},{"sensitive":"k"}]})")
            << QStringLiteral("file(/a)[|,k|]");
        QTest::newRow("empty object") << QByteArray("{}") << QStringLiteral("file()[]");
    }
    void parsesFileDetail()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, expected);
        const QJsonDocument document = QJsonDocument::fromJson(json);
        QVERIFY(document.isObject());
        QCOMPARE(describe(parseSensitiveFileDetail(document.object())), expected);
    }

    // The file's total of hits is an extra member: read where it is a whole
    // number of at least 0, -1 where it is missing (older services) or
    // anything else; the hits are read as before either way.
    void readsTheFileTotal_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<qint64>("total");
        const QByteArray hits = R"("sensitives":[{"sensitive":"k","sensitive_ctx":"a k"}])";
        QTest::newRow("without total") << QByteArray("{\"filepath\":\"/a\"," + hits + "}") << qint64(-1);
        QTest::newRow("total") << QByteArray("{\"filepath\":\"/a\",\"total\":600," + hits + "}") << qint64(600);
        QTest::newRow("total zero") << QByteArray("{\"filepath\":\"/a\",\"total\":0," + hits + "}") << qint64(0);
        QTest::newRow("beyond int") << QByteArray("{\"filepath\":\"/a\",\"total\":5000000000," + hits + "}")
                                    << qint64(5000000000);
        QTest::newRow("a string") << QByteArray("{\"filepath\":\"/a\",\"total\":\"600\"," + hits + "}") << qint64(-1);
        QTest::newRow("negative") << QByteArray("{\"filepath\":\"/a\",\"total\":-3," + hits + "}") << qint64(-1);
        QTest::newRow("a fraction") << QByteArray("{\"filepath\":\"/a\",\"total\":2.5," + hits + "}") << qint64(-1);
        QTest::newRow("null") << QByteArray("{\"filepath\":\"/a\",\"total\":null," + hits + "}") << qint64(-1);
    }
    void readsTheFileTotal()
    {
        QFETCH(QByteArray, json);
        QFETCH(qint64, total);
        const QJsonDocument document = QJsonDocument::fromJson(json);
        QVERIFY(document.isObject());
        const SensitiveFileDetail detail = parseSensitiveFileDetail(document.object());
        QCOMPARE(detail.total, total);
        QCOMPARE(describe(detail), QStringLiteral("file(/a)[k|a k]"));
    }

    void parsesGroupDetail_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two rules matching one file keep both entries")
            << QByteArray(R"({"groupname":"身份标识","groupsensitives":[
                   {"rulename":"身份证号","rulesensitives":[
                       {"filepath":"/a","sensitives":[{"sensitive":"1","sensitive_ctx":"c1"}]},
                       {"filepath":"/b","sensitives":[]}]},
                   {"rulename":"护照号","rulesensitives":[
                       {"filepath":"/a","sensitives":[{"sensitive":"2","sensitive_ctx":"c2"}]}]}]})")
            << QStringLiteral("group(身份标识){rule(身份证号){file(/a)[1|c1],file(/b)[]},rule(护照号){file(/a)[2|c2]}}");
        QTest::newRow("groupsensitives missing") << QByteArray(R"({"groupname":"g"})") << QStringLiteral("group(g){}");
        QTest::newRow("groupsensitives an object")
            << QByteArray(R"({"groupname":"g","groupsensitives":{"rulename":"r"}})") << QStringLiteral("group(g){}");
        QTest::newRow("groupname of the wrong type") << QByteArray(R"({"groupname":["g"],"groupsensitives":[]})")
                                                     << QStringLiteral("group(){}");
        QTest::newRow("rule elements that are not objects")
            << QByteArray(R"({"groupname":"g","groupsensitives":[3,{"rulename":"r"}]})")
            << QStringLiteral("group(g){rule(){},rule(r){}}");
        QTest::newRow("rulesensitives of the wrong type, file elements that are not objects")
            << QByteArray(R"({"groupname":"g","groupsensitives":[{"rulename":"r","rulesensitives":"x"},
                                                                 {"rulename":"s","rulesensitives":[false]}]})")
            << QStringLiteral("group(g){rule(r){},rule(s){file()[]}}");
        QTest::newRow("rule name of the wrong type, file level as tolerant as ever")
            << QByteArray(R"({"groupname":"g","groupsensitives":[{"rulename":7,"rulesensitives":[
                   {"filepath":"/a","sensitives":[{"sensitive":"k"},0]}]}]})")
            << QStringLiteral("group(g){rule(){file(/a)[k|,|]}}");
    }
    void parsesGroupDetail()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, expected);
        const QJsonDocument document = QJsonDocument::fromJson(json);
        QVERIFY(document.isObject());
        QCOMPARE(describe(parseSensitiveGroupDetail(document.object())), expected);
    }

    void parsesRuleDetailOnItsOwn()
    {
        const SensitiveRuleDetail rule = parseSensitiveRuleDetail(
            object(R"({"rulename":"手机号","rulesensitives":[{"filepath":"/b"},{"filepath":"/a"},{"filepath":"/b"}]})"));
        // Neither sorted nor de-duplicated at this stage.
        QCOMPARE(describe(rule), QStringLiteral("rule(手机号){file(/b)[],file(/a)[],file(/b)[]}"));
    }

    void handlesTheReply_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("filepath");
        QTest::addColumn<QStringList>("expectedLog");

        const QString doc = QStringLiteral(R"({"filepath":"/home/a/数据.txt","sensitives":[]})");
        const QString group = QStringLiteral(R"({"groupname":"身份标识","groupsensitives":[]})");
        for (const QString &method : {KeywordDetail, DataIdDetail}) {
            const QByteArray m = method.toLatin1();
            const QString text = method == KeywordDetail ? doc : group;
            const QStringList success{QStringLiteral("D Method '%1' call successfully.").arg(method),
                                      QStringLiteral("D Return Code: 0"),
                                      QStringLiteral("D Sensitives Detail: %1").arg(text)};
            QTest::addRow("%s: valid document", m.constData())
                << method << "reply" << QVariantList{0, text} << true
                << (method == KeywordDetail ? QStringLiteral("/home/a/数据.txt") : QString()) << success;
            QTest::addRow("%s: return code -1 still read", m.constData())
                << method << "reply" << QVariantList{-1, text} << true
                << (method == KeywordDetail ? QStringLiteral("/home/a/数据.txt") : QString())
                << QStringList{success.at(0), QStringLiteral("D Return Code: -1"), success.at(2)};
            for (const auto &bad : {std::make_pair("empty text", ""), std::make_pair("JSON array", "[]"),
                                    std::make_pair("array of objects", R"([{"filepath":"/a"}])"),
                                    std::make_pair("broken JSON", R"({"filepath":)"),
                                    std::make_pair("a JSON string", R"("text")")}) {
                QTest::addRow("%s: %s", m.constData(), bad.first)
                    << method << "reply" << QVariantList{0, QString::fromUtf8(bad.second)} << false << QString()
                    << QStringList{success.at(0), success.at(1),
                                   QStringLiteral("D Sensitives Detail: %1").arg(QString::fromUtf8(bad.second)),
                                   QStringLiteral("D Invalid JSON format")};
            }
            QTest::addRow("%s: bus error", m.constData())
                << method << "error" << QVariantList{} << false << QString()
                << QStringList{QStringLiteral("C Method '%1' call failed: \"org.freedesktop.DBus.Error.Failed\" "
                                              "\"no findings\"")
                                   .arg(method)};
            QTest::addRow("%s: reply of the wrong type", m.constData())
                << method << "raw" << QVariantList{0} << false << QString()
                << QStringList{QStringLiteral("C Method '%1' call failed:").arg(method)};
        }
    }
    void handlesTheReply()
    {
        QFETCH(QString, method);
        QFETCH(QString, script);
        QFETCH(QVariantList, values);
        QFETCH(bool, accepted);
        QFETCH(QString, filepath);
        QFETCH(QStringList, expectedLog);

        if (script == QLatin1String("reply"))
            m_fake->setReply(method, values);
        else if (script == QLatin1String("raw"))
            m_fake->setRawReply(method, values);
        else
            m_fake->setError(method, QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                             QStringLiteral("no findings"));

        auto *watcher = new QDBusPendingCallWatcher(ask(method));
        QPointer<QDBusPendingCallWatcher> alive(watcher);
        bool handled = false, result = false;
        QJsonObject root{{QStringLiteral("untouched"), true}};
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [&](QDBusPendingCallWatcher *w) {
            result = DetailReply::readDocument(w, method, &root);
            handled = true;
            // Deferred: the watcher outlives the reply handling.
            QVERIFY(alive);
        });
        QTRY_VERIFY(handled);
        QCOMPARE(result, accepted);
        if (accepted) {
            QCOMPARE(root.value(QStringLiteral("filepath")).toString(), filepath);
            QVERIFY(!root.contains(QStringLiteral("untouched")));
        } else {
            QCOMPARE(root, QJsonObject({{QStringLiteral("untouched"), true}}));
        }

        const QStringList log = takeLog();
        if (expectedLog.size() == 1 && expectedLog.first().endsWith(QLatin1Char(':'))) {
            QCOMPARE(log.size(), 1);
            QVERIFY2(log.first().startsWith(expectedLog.first()), qPrintable(log.first()));
        } else {
            QCOMPARE(log, expectedLog);
        }
        // Scheduled for deletion in every case.
        QTRY_VERIFY(alive.isNull());
    }
};

QTEST_GUILESS_MAIN(TestDetailDocuments)
#include "tst_detaildocuments.moc"
