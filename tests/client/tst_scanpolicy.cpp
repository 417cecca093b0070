// The scan policy document: its members, its JSON text and its Base64 form
// as it travels to the scan service.

#include "fakescanservice.h"
#include "mainwindow.h"
#include "privatebus.h"
#include "sensitivescaninterface.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

#include <memory>

namespace {

const QStringList FileTypes{"txt", "pdf", "doc", "docx", "xls", "xlsx", "ppt",
                            "pptx", "zip", "rar", "7z", "tar", "gz"};

QJsonObject parse(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << "policy does not parse:" << error.errorString();
    return document.object();
}

QJsonObject detectRuleset(const QJsonObject &root)
{
    return root.value("policies").toArray().at(0).toObject().value("ruleset").toObject().value("detect_ruleset").toObject();
}

// Marks every text of the MainWindow context, so that a test can tell the
// translated members from the fixed ones.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "MainWindow") != 0)
            return QString();
        return QStringLiteral("<") + QString::fromUtf8(sourceText) + QStringLiteral(">");
    }
};

} // namespace

class TestScanPolicy : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<MainWindow> m_window;

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
        m_window = std::make_unique<MainWindow>();
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void everyScanHasTheSameFileTypes()
    {
        QCOMPARE(m_window->scanFileTypes(), FileTypes);
        for (bool privacy : {false, true}) {
            const QJsonObject root =
                parse(m_window->buildScanPolicy(m_window->scanFileTypes(), {QStringLiteral("甲")}, privacy));
            const QJsonArray rules = detectRuleset(root).value("filetype_detect_ruleset").toArray();
            QCOMPARE(rules.size(), 1);
            QCOMPARE(rules.at(0).toObject().value("filetypes").toArray(), QJsonArray::fromStringList(FileTypes));
        }
    }

    void keywordRules_data()
    {
        QTest::addColumn<QStringList>("keywords");
        QTest::newRow("two keywords") << QStringList{"甲", "乙"};
        QTest::newRow("duplicates stay") << QStringList{"机密", "机密", "secret"};
        QTest::newRow("no trimming, no case change") << QStringList{"  Top Secret ", "TOP"};
        QTest::newRow("twelve") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    }
    void keywordRules()
    {
        QFETCH(QStringList, keywords);
        const QJsonObject root = parse(m_window->buildScanPolicy(FileTypes, keywords, false));
        QCOMPARE(root.value("version"), QJsonValue("1.0.0"));
        QCOMPARE(root.value("policies").toArray().size(), 1);
        const QJsonObject policy = root.value("policies").toArray().at(0).toObject();
        QCOMPARE(policy.value("name"), QJsonValue("敏感信息扫描策略"));
        QCOMPARE(policy.value("description"), QJsonValue("用于对指定路径下的目标类型文件进行敏感信息检查"));

        const QJsonObject detect = detectRuleset(root);
        QCOMPARE(detect.value("dataidentifier_detect_ruleset"), QJsonValue(false));
        const QJsonObject filetype = detect.value("filetype_detect_ruleset").toArray().at(0).toObject();
        QCOMPARE(filetype.value("name"), QJsonValue("文件类型检测规则"));
        QCOMPARE(filetype.value("matchcondition"), QJsonValue("ONEOF"));
        QCOMPARE(filetype.value("exception"), QJsonValue(false));
        QCOMPARE(filetype.keys(),
                 (QStringList{"description", "exception", "filetypes", "matchcondition", "name"}));

        const QJsonArray rules = detect.value("keyword_detect_ruleset").toArray();
        QCOMPARE(rules.size(), keywords.size());
        for (int i = 0; i < keywords.size(); ++i) {
            const QJsonObject rule = rules.at(i).toObject();
            QCOMPARE(rule.value("name"), QJsonValue(QStringLiteral("关键字检测规则%1").arg(i + 1)));
            QCOMPARE(rule.value("description"), QJsonValue("可配置一个或者多个关键字"));
            QCOMPARE(rule.value("exception"), QJsonValue(false));
            const QJsonArray patterns = rule.value("keywords").toArray();
            QCOMPARE(patterns.size(), 1);
            const QJsonObject pattern = patterns.at(0).toObject();
            QCOMPARE(pattern.value("pattern"), QJsonValue(keywords.at(i)));
            // A number here, unlike the file-type rule's string.
            QVERIFY(pattern.value("matchcondition").isDouble());
            QCOMPARE(pattern.value("matchcondition").toInt(), 1);
            QCOMPARE(pattern.value("maxmatches").toInt(0), -1);
            QCOMPARE(pattern.value("distinct"), QJsonValue(false));
            QCOMPARE(pattern.keys(), (QStringList{"distinct", "matchcondition", "maxmatches", "pattern"}));
        }

        const QJsonArray responses =
            policy.value("ruleset").toObject().value("response_ruleset").toArray();
        QCOMPARE(responses.size(), 1);
        const QJsonObject response = responses.at(0).toObject();
        QCOMPARE(response.value("name"), QJsonValue("事件写入数据库"));
        QCOMPARE(response.value("description"), QJsonValue("指定一个响应动作，用于触发策略后执行"));
        QCOMPARE(response.value("action"), QJsonValue("WriteDatabase"));
    }

    void privacyScan_data()
    {
        QTest::addColumn<QStringList>("keywords");
        QTest::newRow("no keywords") << QStringList();
        QTest::newRow("keywords are left out") << QStringList{"甲"};
    }
    void privacyScan()
    {
        QFETCH(QStringList, keywords);
        const QJsonObject detect = detectRuleset(parse(m_window->buildScanPolicy(FileTypes, keywords, true)));
        QCOMPARE(detect.value("dataidentifier_detect_ruleset"), QJsonValue(true));
        // Present, as an empty array.
        QVERIFY(detect.value("keyword_detect_ruleset").isArray());
        QCOMPARE(detect.value("keyword_detect_ruleset").toArray().size(), 0);
        QCOMPARE(detect.value("filetype_detect_ruleset").toArray().size(), 1);
    }

    void keywordTextSurvives_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("double quote") << "say \"hi\"" << "say \\\"hi\\\"";
        QTest::newRow("backslash") << "C:\\data\\new" << "C:\\\\data\\\\new";
        QTest::newRow("both") << "\\\"" << "\\\\\\\"";
        QTest::newRow("control characters") << "a\tb\nc" << "a\\tb\\nc";
        QTest::newRow("markup") << "</script><b>" << "</script><b>";
        QTest::newRow("beyond the BMP") << "文件😀" << "文件😀";
    }
    void keywordTextSurvives()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, escaped);
        const QString text = m_window->buildScanPolicy(FileTypes, {keyword}, false);
        QVERIFY2(text.contains(QStringLiteral("\"pattern\": \"%1\"").arg(escaped)), qPrintable(text));

        const QString encoded = MainWindow::encodeScanPolicy(text);
        const QString decoded = QString::fromUtf8(QByteArray::fromBase64(encoded.toLatin1()));
        const QJsonObject rule = detectRuleset(parse(decoded)).value("keyword_detect_ruleset").toArray().at(0).toObject();
        QCOMPARE(rule.value("keywords").toArray().at(0).toObject().value("pattern").toString(), keyword);
    }

    // What the service receives as the policy argument: pure Base64 of the
    // indented UTF-8 document.
    void busArgumentIsBase64OfTheDocument_data()
    {
        QTest::addColumn<bool>("privacy");
        QTest::addColumn<QStringList>("keywords");
        QTest::newRow("keyword scan") << false << QStringList{"甲", "乙", "say \"hi\""};
        QTest::newRow("privacy scan") << true << QStringList();
    }
    void busArgumentIsBase64OfTheDocument()
    {
        QFETCH(bool, privacy);
        QFETCH(QStringList, keywords);
        const QString document = m_window->buildScanPolicy(m_window->scanFileTypes(), keywords, privacy);
        const QString policy = MainWindow::encodeScanPolicy(document);

        m_fake->reset();
        QDBusPendingReply<int> reply = m_window->sensitiveScanInterface()->SensitiveDiscoverySetScanTask(
            QStringLiteral("/home/user"), privacy ? 3 : 1, 1, QString(), QString(), 0.75, policy);
        reply.waitForFinished();
        QVERIFY(!reply.isError());
        const auto calls = m_fake->calls(QStringLiteral("SensitiveDiscoverySetScanTask"));
        QCOMPARE(calls.size(), 1);
        const QString sent = calls.first().arguments.at(6).toString();

        QVERIFY(QRegularExpression(QStringLiteral("^[A-Za-z0-9+/]+={0,2}$")).match(sent).hasMatch());
        QCOMPARE(sent.size() % 4, 0);
        const QByteArray bytes = QByteArray::fromBase64(sent.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        QCOMPARE(bytes, document.toUtf8());

        // Indented: four spaces a level, a member a line, a final line break.
        QVERIFY(bytes.endsWith("}\n"));
        QVERIFY(bytes.startsWith("{\n    \""));
        QVERIFY(bytes.contains("\n        {\n"));
        // Chinese as UTF-8, not as \u escapes.
        QVERIFY(bytes.contains(QStringLiteral("敏感信息扫描策略").toUtf8()));
        QVERIFY(!bytes.contains("\\u"));
        QVERIFY(!QJsonDocument::fromJson(bytes).isNull());
    }

    // Names and descriptions are looked up in the MainWindow context when the
    // document is built; the constants are not.
    void textsAreTranslatedAtBuildTime()
    {
        MarkingTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        const QJsonObject root = parse(m_window->buildScanPolicy(FileTypes, {QStringLiteral("甲")}, false));
        QCoreApplication::removeTranslator(&translator);

        QCOMPARE(root.value("version"), QJsonValue("1.0.0"));
        const QJsonObject policy = root.value("policies").toArray().at(0).toObject();
        QCOMPARE(policy.value("name"), QJsonValue("<敏感信息扫描策略>"));
        QCOMPARE(policy.value("description"), QJsonValue("<用于对指定路径下的目标类型文件进行敏感信息检查>"));
        const QJsonObject detect = detectRuleset(root);
        const QJsonObject filetype = detect.value("filetype_detect_ruleset").toArray().at(0).toObject();
        QCOMPARE(filetype.value("name"), QJsonValue("<文件类型检测规则>"));
        QCOMPARE(filetype.value("description"),
                 QJsonValue("<可配置一个或者多个文件类型。支持检测的文件类型列表：txt、html、json、xml、ppt、pptx、doc、docx、xls、xlsx、pdf>"));
        QCOMPARE(filetype.value("matchcondition"), QJsonValue("ONEOF"));
        const QJsonObject rule = detect.value("keyword_detect_ruleset").toArray().at(0).toObject();
        QCOMPARE(rule.value("name"), QJsonValue("<关键字检测规则>1"));
        QCOMPARE(rule.value("description"), QJsonValue("<可配置一个或者多个关键字>"));
        QCOMPARE(rule.value("keywords").toArray().at(0).toObject().value("pattern"), QJsonValue("甲"));
        const QJsonObject response =
            policy.value("ruleset").toObject().value("response_ruleset").toArray().at(0).toObject();
        QCOMPARE(response.value("name"), QJsonValue("<事件写入数据库>"));
        QCOMPARE(response.value("description"), QJsonValue("<指定一个响应动作，用于触发策略后执行>"));
        QCOMPARE(response.value("action"), QJsonValue("WriteDatabase"));
    }
};

QTEST_MAIN(TestScanPolicy)
#include "tst_scanpolicy.moc"
