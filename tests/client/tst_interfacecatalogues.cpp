#include "acceptingtaskcalls.h"
#include "catalogues.h"
#include "keywordconfigallinonewidget.h"
#include "keywordtemplatestore.h"
#include "mainwindow.h"
#include "piicategorynames.h"
#include "piiscangroupwidget.h"
#include "privatebus.h"
#include "scancontroller.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <memory>

namespace {

struct Message
{
    QString context;
    QString source;
    QString translation;
    bool unfinished = false;
    bool numerus = false;
};

QList<Message> readCatalogue(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            current = Message();
            current.context = context;
            current.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            current.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            current.unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            // A message with plural forms is checked by its first form.
            if (!current.numerus)
                current.translation = xml.readElementText();
            messages << current;
        } else if (xml.name() == QLatin1String("numerusform") && !messages.isEmpty()
                   && messages.last().translation.isEmpty()) {
            messages.last().translation = xml.readElementText();
        }
    }
    return messages;
}

QString catalogueSource(const QString &locale)
{
    return qEnvironmentVariable("DISCOVERY_SOURCE_DIR") + QStringLiteral("/client/translations/") + locale
           + QStringLiteral(".ts");
}

const char *const Contexts[] = {"MainWindow",          "KeywordSensitiveFrame",      "KeywordSensitiveDetailExWidget",
                                "KeywordSensitiveDetailFrame", "PiiSensitiveDetailExWidget", "PiiSensitiveFrame",
                                "PiiSensitiveDetailFrame", "KeywordConfigAllinoneWidget", "PiiCategoryNames",
                                "mvk::AboutDialog", "RunHistoryModel", "RunHistoryPage",
                                // A run's export and its files not read.
                                "RunExporter", "FilesNotReadLink", "FilesNotReadDialog", "FilesNotReadModel"};

} // namespace

class TestInterfaceCatalogues : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;

    void removeTranslators()
    {
        for (QTranslator *t : qApp->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly)) {
            qApp->removeTranslator(t);
            delete t;
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
    }
    void cleanup() { removeTranslators(); }
    void cleanupTestCase() { m_bus.reset(); }

    void englishTexts_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("english");
        QTest::newRow("summary, first piece") << "MainWindow" << "共发现敏感信息 <font color='#3676F5'>"
                                              << "Total sensitive information detected: <font color='#3676F5'>";
        QTest::newRow("summary, last piece") << "MainWindow" << "</font> 条，请查看详情" << "</font> records, click for details";
        QTest::newRow("privacy cancelled") << "MainWindow" << "扫描已取消，未发现隐私信息"
                                           << "Scan cancelled, no privacy information found";
        QTest::newRow("keyword close question") << "MainWindow" << "敏感词扫描尚未完成，确定退出吗？"
                                                << "The sensitive data scan is incomplete. Confirm exit?";
        QTest::newRow("privacy close question") << "MainWindow" << "隐私信息扫描尚未完成，确定退出吗？"
                                                << "The privacy information scan in progress. Confirm exit?";
        QTest::newRow("bubble with line breaks")
            << "MainWindow" << "文档解析支持：\ntxt、pdf、doc(x)、xls(x)、ppt(x)、\nwps、et、dps以及常见的压缩包格式等"
            << "Supports parsing documents in:\nTXT, PDF,\nMicrosoft Office (DOC(X)/XLS(X)/PPT(X)),\nWPS formats (WPS/ET/DPS),\nand common archive files (ZIP/RAR/7Z, etc.)";
        QTest::newRow("row") << "KeywordSensitiveFrame" << "查看详情" << "See details";
        QTest::newRow("privacy dialog") << "PiiSensitiveDetailExWidget" << "隐私信息详情 - " << "Privacy information details - ";
        QTest::newRow("folder") << "PiiSensitiveFrame" << "在文件夹中显示" << "Show in folder";
        QTest::newRow("category") << "PiiCategoryNames" << "身份标识" << "Identity";
        QTest::newRow("rule") << "PiiCategoryNames" << "手机号码" << "Mobile phone number";
        QTest::newRow("about title") << "mvk::AboutDialog" << "关于 %1" << "About %1";
        QTest::newRow("keyword panel") << "KeywordConfigAllinoneWidget" << "敏感词配置" << "Keyword configuration";
    }
    void englishTexts()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, english);
        QVERIFY(!Catalogues::install(qApp, QStringLiteral("en_US"), QStringLiteral("/nonexistent")).isEmpty());
        QCOMPARE(QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData()), english);
    }

    void completionSummaryUnderEnglish()
    {
        Catalogues::install(qApp, QStringLiteral("en_US"), QStringLiteral("/nonexistent"));
        MainWindow window;
        const QString target = QStringLiteral("/srv/data");
        AcceptingTaskCalls service;
        window.keywordScan()->setTaskCalls(&service);
        window.setKeywordPathList(target);
        QVERIFY(window.keywordScan()->start(QString(), 1));
        for (int hits : {2, 5, 1})
            Q_EMIT window.KeywordSensitiveDetected(target, target + QStringLiteral("/f%1.txt").arg(hits),
                                                   QVariantMap{{QStringLiteral("机密"), hits}});
        Q_EMIT window.KeywordScanProgressValueChanged(target, QString(), 0);
        QCOMPARE(window.ui()->stackedWidget_2->currentIndex(), 2);
        QCOMPARE(window.ui()->m_KeywordScanCompleteDescribeLabel->text(),
                 QStringLiteral("Total sensitive information detected: <font color='#3676F5'>8</font> records, click for details"));
    }

    void keywordPanelInTheUsersLanguage()
    {
        Catalogues::install(qApp, QStringLiteral("en_US"), QStringLiteral("/nonexistent"));
        QTemporaryDir dir;
        QWidget parent;
        KeywordTemplateStore store(dir.filePath(QStringLiteral("none.db")), QStringLiteral("catalogue-test"));
        KeywordConfigAllinoneWidget panel(&parent, &store);
        QStringList texts;
        for (QLabel *label : panel.findChildren<QLabel *>())
            texts << label->text();
        for (QAbstractButton *button : panel.findChildren<QAbstractButton *>())
            texts << button->text();
        QVERIFY2(texts.contains(QStringLiteral("Keyword configuration")), qPrintable(texts.join(QLatin1Char('|'))));
        bool placeholder = false;
        for (QLineEdit *edit : panel.findChildren<QLineEdit *>())
            placeholder |= edit->placeholderText() == QStringLiteral("Enter a keyword");
        QVERIFY(placeholder);
    }

    // The tiles show the categories in the user's language; a click still
    // asks for the category by the name the service knows.
    void categoryTilesInTheUsersLanguage()
    {
        Catalogues::install(qApp, QStringLiteral("en_US"), QStringLiteral("/nonexistent"));
        MainWindow window;
        PiiScanGroupWidget *tile = window.privacyCategories().value(QStringLiteral("医疗健康"));
        QVERIFY(tile);
        QCOMPARE(tile->name(), QStringLiteral("Health"));
        window.addPrivacyHits(QStringLiteral("医疗健康"), 1234567);
        // Large numbers are grouped as the catalogue's language writes them.
        QCOMPARE(tile->describe(), QStringLiteral("1,234,567"));
    }

    // Every rule and category the service names has a name in every
    // catalogue: a rule added to the service without one shows up here.
    void everyServiceNameHasADisplayName()
    {
        QFile rules(qEnvironmentVariable("DISCOVERY_SOURCE_DIR") + QStringLiteral("/scanservice/privacy-rules.conf"));
        QVERIFY(rules.open(QIODevice::ReadOnly | QIODevice::Text));
        QSet<QString> names;
        while (!rules.atEnd()) {
            const QString line = QString::fromUtf8(rules.readLine()).trimmed();
            for (const QLatin1String key : {QLatin1String("name:"), QLatin1String("category:")})
                if (line.startsWith(key))
                    names << line.mid(key.size()).trimmed();
        }
        QVERIFY(names.size() > 40);
        const QStringList known = PiiCategoryNames::keys();
        for (const QString &name : qAsConst(names))
            QVERIFY2(known.contains(name), qPrintable(name));
        Catalogues::install(qApp, QStringLiteral("en_US"), QStringLiteral("/nonexistent"));
        for (const QString &name : qAsConst(names))
            QVERIFY2(PiiCategoryNames::displayName(name) != name, qPrintable(name));
    }

    // The Hong Kong catalogue is written in Traditional characters: the
    // converter finds nothing left to convert.
    void hongKongIsTraditional()
    {
        QStringList texts;
        for (const Message &m : readCatalogue(catalogueSource(QStringLiteral("zh_HK"))))
            texts << m.translation.simplified();
        QVERIFY(texts.size() > 90);
        QProcess opencc;
        opencc.start(QStringLiteral("opencc"), {QStringLiteral("-c"), QStringLiteral("s2t")});
        QVERIFY2(opencc.waitForStarted(), "opencc is installed by scripts/deps");
        opencc.write(texts.join(QLatin1Char('\n')).toUtf8() + '\n');
        opencc.closeWriteChannel();
        QVERIFY(opencc.waitForFinished(60000));
        const QStringList converted = QString::fromUtf8(opencc.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (int i = 0; i < texts.size(); ++i)
            QVERIFY2(converted.value(i) == texts.at(i), qPrintable(texts.at(i) + QStringLiteral(" -> ") + converted.value(i)));
    }

    void simplifiedChineseEqualsSources()
    {
        QVERIFY(!Catalogues::install(qApp, QStringLiteral("zh_CN"), QStringLiteral("/nonexistent")).isEmpty());
        const QList<Message> messages = readCatalogue(catalogueSource(QStringLiteral("zh_CN")));
        QVERIFY(messages.size() > 90);
        for (const Message &m : messages)
            QCOMPARE(QCoreApplication::translate(m.context.toUtf8().constData(), m.source.toUtf8().constData()), m.source);
    }

    void hongKongAndNoCatalogue_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zh_HK") << "zh_HK" << "用戶家目錄掃描";
        QTest::newRow("zh_TW has no catalogue") << "zh_TW" << "用户家目录扫描";
        QTest::newRow("de_DE has no catalogue") << "de_DE" << "用户家目录扫描";
        QTest::newRow("en_US") << "en_US" << "Home directory scan";
    }
    void hongKongAndNoCatalogue()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        Catalogues::install(qApp, locale, QStringLiteral("/nonexistent"));
        QCOMPARE(QCoreApplication::translate("MainWindow", "用户家目录扫描"), expected);
    }

    void languageChangeReappliesFormTexts()
    {
        MainWindow window;
        Ui::MainWindow *ui = window.ui();
        QCOMPARE(ui->m_KeywordScanFeatureNameLabel->text(), QStringLiteral("智能守护，字字安心"));
        ui->m_KeywordScanCancelLabel->setText(QStringLiteral("扫描已取消，未发现敏感信息"));
        ui->m_KeywordScanningFileLabel->setText(QStringLiteral("/srv/a.txt"));
        // Installing a catalogue sends the window a language change.
        Catalogues::install(qApp, QStringLiteral("en_US"), QStringLiteral("/nonexistent"));
        QCoreApplication::processEvents();
        QCOMPARE(ui->m_KeywordScanFeatureNameLabel->text(), QStringLiteral("Intelligent protection, word-perfect security"));
        QCOMPARE(ui->m_KeywordScanPauseScanButton->text(), QStringLiteral("Pause"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Sensitive information scanning"));
        // Texts the controllers set stay until they set them again.
        QCOMPARE(ui->m_KeywordScanCancelLabel->text(), QStringLiteral("扫描已取消，未发现敏感信息"));
        QCOMPARE(ui->m_KeywordScanningFileLabel->text(), QStringLiteral("/srv/a.txt"));
        // Pictures survive the text step.
        QVERIFY(!ui->m_KeywordScanFeatureLogo->pixmap(Qt::ReturnByValue).isNull());
    }

    void everyMessageTranslated_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("zh_HK") << "zh_HK";
        QTest::newRow("zh_CN") << "zh_CN";
    }
    void everyMessageTranslated()
    {
        QFETCH(QString, locale);
        const QList<Message> messages = readCatalogue(catalogueSource(locale));
        QVERIFY(!messages.isEmpty());
        QSet<QString> contexts;
        for (const Message &m : messages) {
            QVERIFY2(!m.translation.isEmpty() && !m.unfinished, qPrintable(m.context + QLatin1Char('/') + m.source));
            contexts << m.context;
        }
        for (const char *context : {"KeywordConfigAllinoneWidget", "PiiCategoryNames", "mvk::AboutDialog"})
            QVERIFY2(contexts.contains(QLatin1String(context)), context);
        // The compiled catalogue holds them too.
        Catalogues::install(qApp, locale, QStringLiteral("/nonexistent"));
        for (const Message &m : messages)
            QCOMPARE(QCoreApplication::translate(m.context.toUtf8().constData(), m.source.toUtf8().constData()),
                     m.translation);
    }

    // Every text the code passes through tr() in the catalogued contexts has
    // an entry: lupdate over the sources finds nothing the catalogue lacks.
    void everySourceTextHasAnEntry()
    {
        const QString lupdate = QFile::exists(QStringLiteral("/usr/lib/qt5/bin/lupdate"))
                                    ? QStringLiteral("/usr/lib/qt5/bin/lupdate")
                                    : QStringLiteral("lupdate");
        QTemporaryDir dir;
        const QString fresh = dir.filePath(QStringLiteral("fresh.ts"));
        const QString client = qEnvironmentVariable("DISCOVERY_SOURCE_DIR") + QStringLiteral("/client");
        QProcess process;
        process.setWorkingDirectory(client);
        process.start(lupdate, {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                                QStringLiteral("-extensions"), QStringLiteral("cpp,h,ui"), QStringLiteral("app"),
                                QStringLiteral("config"), QStringLiteral("kit"), QStringLiteral("mainwindow"), QStringLiteral("service"), QStringLiteral("workers"),
                                QStringLiteral("results"), QStringLiteral("widgets"), QStringLiteral("history"),
                                QStringLiteral("-ts"), fresh});
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitCode(), 0);
        QSet<QString> catalogued;
        for (const Message &m : readCatalogue(catalogueSource(QStringLiteral("en_US"))))
            catalogued << m.context + QLatin1Char('\x1f') + m.source;
        QSet<QString> wanted;
        for (const char *context : Contexts)
            wanted << QString::fromLatin1(context);
        int checked = 0;
        for (const Message &m : readCatalogue(fresh)) {
            if (!wanted.contains(m.context))
                continue;
            ++checked;
            QVERIFY2(catalogued.contains(m.context + QLatin1Char('\x1f') + m.source),
                     qPrintable(QStringLiteral("no entry for %1 / %2").arg(m.context, m.source)));
        }
        QVERIFY(checked > 90);
    }
};

QTEST_MAIN(TestInterfaceCatalogues)
#include "tst_interfacecatalogues.moc"
