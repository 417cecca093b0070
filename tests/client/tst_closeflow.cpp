// Closing the real MainWindow by its close button: each module with a task
// is asked about at the fake scan service, an unfinished one is left only
// when the user confirms and the service terminates it.

#include "scancontrollertest.h"

#include "fakescanservice.h"
#include "mainwindow.h"
#include "privatebus.h"
#include "timerthread.h"
#include "ui_mainwindow.h"
#include "windowbuttonbar.h"

#include <QToolButton>

#include <QTest>

#include <memory>

using namespace ScanControllerTest;

namespace {
const QString TaskDetail = QStringLiteral("SensitiveDiscoveryGetScanTaskDetail");
const QString Terminate = QStringLiteral("SensitiveDiscoveryTerminateScanTask");
const QString BusFailed = QStringLiteral("org.freedesktop.DBus.Error.Failed");
const QString KeywordTask = QStringLiteral("/srv/关键词");
const QString PrivacyTask = QStringLiteral("/srv/a|/srv/b");

const QString KeywordQuestion = QStringLiteral("敏感词扫描尚未完成，确定退出吗？");
const QString PrivacyQuestion = QStringLiteral("隐私信息扫描尚未完成，确定退出吗？");
const QString KeywordQueryFailed = QStringLiteral("查询敏感词扫描任务详情失败，请检查！");
const QString TerminateFailed = QStringLiteral("中止扫描失败，请检查！");

// How the fake answers one module's task query: its progress, or an error.
struct Query
{
    bool error = false;
    double progress = 0;
};
} // namespace

Q_DECLARE_METATYPE(QList<QVariantList>)

class TestCloseFlow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;

    static QVariantList task(const QString &pathlist, int type) { return {pathlist, type}; }

    QList<QVariantList> arguments(const QString &member) const
    {
        QList<QVariantList> list;
        for (const FakeScanService::Call &call : m_fake->calls(member))
            list << call.arguments;
        return list;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
    }

    void init() { m_fake->reset(); }

    void cleanupTestCase()
    {
        m_fake.reset();
        m_bus.reset();
    }

    void closeButton_data()
    {
        QTest::addColumn<QString>("keywordTask"); // empty: no keyword task
        QTest::addColumn<QString>("privacyTask");
        // The scripted replies of the task query, in call order: a progress,
        // or -1 for a bus error.
        QTest::addColumn<QList<double>>("progress");
        QTest::addColumn<QList<int>>("terminateReplies");
        QTest::addColumn<QStringList>("answers");  // to the boxes, in order
        QTest::addColumn<QStringList>("boxes");    // their texts, in order
        QTest::addColumn<QList<QVariantList>>("queried");
        QTest::addColumn<QList<QVariantList>>("terminated");
        QTest::addColumn<bool>("closed");

        const QString confirm = QStringLiteral("确认");
        const QString cancel = QStringLiteral("取消");
        const QVariantList keyword = task(KeywordTask, 1);
        const QVariantList privacy = task(PrivacyTask, 3);

        QTest::newRow("no task") << QString() << QString() << QList<double>() << QList<int>() << QStringList()
                                 << QStringList() << QList<QVariantList>() << QList<QVariantList>() << true;
        QTest::newRow("keyword finished") << KeywordTask << QString() << QList<double>{1.0} << QList<int>()
                                          << QStringList() << QStringList() << QList<QVariantList>{keyword}
                                          << QList<QVariantList>() << true;
        QTest::newRow("keyword unfinished, declined")
            << KeywordTask << QString() << QList<double>{0.4} << QList<int>() << QStringList{cancel}
            << QStringList{KeywordQuestion} << QList<QVariantList>{keyword} << QList<QVariantList>() << false;
        QTest::newRow("keyword unfinished, box closed")
            << KeywordTask << QString() << QList<double>{0.4} << QList<int>() << QStringList{QString()}
            << QStringList{KeywordQuestion} << QList<QVariantList>{keyword} << QList<QVariantList>() << false;
        QTest::newRow("keyword unfinished, confirmed")
            << KeywordTask << QString() << QList<double>{0.4} << QList<int>{0} << QStringList{confirm}
            << QStringList{KeywordQuestion} << QList<QVariantList>{keyword} << QList<QVariantList>{keyword} << true;
        QTest::newRow("keyword terminate replies 1")
            << KeywordTask << QString() << QList<double>{0.4} << QList<int>{1} << QStringList{confirm, confirm}
            << QStringList{KeywordQuestion, TerminateFailed} << QList<QVariantList>{keyword}
            << QList<QVariantList>{keyword} << false;
        QTest::newRow("both unfinished, confirmed then declined")
            << KeywordTask << PrivacyTask << QList<double>{0.4, 0.2} << QList<int>{0}
            << QStringList{confirm, cancel} << QStringList{KeywordQuestion, PrivacyQuestion}
            << QList<QVariantList>{keyword, privacy} << QList<QVariantList>{keyword} << false;
        QTest::newRow("both unfinished, both confirmed")
            << KeywordTask << PrivacyTask << QList<double>{0.4, 0.2} << QList<int>{0, 0}
            << QStringList{confirm, confirm} << QStringList{KeywordQuestion, PrivacyQuestion}
            << QList<QVariantList>{keyword, privacy} << QList<QVariantList>{keyword, privacy} << true;
        QTest::newRow("keyword declined, privacy never asked")
            << KeywordTask << PrivacyTask << QList<double>{0.4} << QList<int>() << QStringList{cancel}
            << QStringList{KeywordQuestion} << QList<QVariantList>{keyword} << QList<QVariantList>() << false;
        QTest::newRow("keyword query fails, window still closes")
            << KeywordTask << QString() << QList<double>{-1} << QList<int>() << QStringList{confirm}
            << QStringList{KeywordQueryFailed} << QList<QVariantList>{keyword} << QList<QVariantList>() << true;
        QTest::newRow("keyword query fails, privacy finished")
            << KeywordTask << PrivacyTask << QList<double>{-1, 1.0} << QList<int>() << QStringList{confirm}
            << QStringList{KeywordQueryFailed} << QList<QVariantList>{keyword, privacy} << QList<QVariantList>()
            << true;
        QTest::newRow("privacy query fails")
            << QString() << PrivacyTask << QList<double>{-1} << QList<int>() << QStringList{confirm}
            << QStringList{QStringLiteral("查询隐私信息扫描任务详情失败，请检查！")} << QList<QVariantList>{privacy}
            << QList<QVariantList>() << true;
        QTest::newRow("privacy terminate replies 2")
            << QString() << PrivacyTask << QList<double>{0.99} << QList<int>{2} << QStringList{confirm, confirm}
            << QStringList{PrivacyQuestion, TerminateFailed} << QList<QVariantList>{privacy}
            << QList<QVariantList>{privacy} << false;
    }
    void closeButton()
    {
        QFETCH(QString, keywordTask);
        QFETCH(QString, privacyTask);
        QFETCH(QList<double>, progress);
        QFETCH(QList<int>, terminateReplies);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, boxes);
        QFETCH(QList<QVariantList>, queried);
        QFETCH(QList<QVariantList>, terminated);
        QFETCH(bool, closed);

        for (double p : progress) {
            if (p < 0)
                m_fake->setError(TaskDetail, BusFailed, QStringLiteral("unknown task"), 0, 1);
            else
                m_fake->setReply(TaskDetail, {10, 2048, QStringLiteral("scanning"), p}, 0, 1);
        }
        for (int reply : terminateReplies)
            m_fake->setReply(Terminate, {reply}, 0, 1);

        MainWindow window;
        window.setEffectiveUidFunction([] { return 0u; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setKeywordPathList(keywordTask);
        window.setPrivacyPathList(privacyTask);

        QList<BoxScript::Handler> handlers;
        for (const QString &answer : answers)
            handlers << (answer.isEmpty() ? BoxScript::Handler(&BoxScript::close) : BoxScript::press(answer));
        BoxScript script(handlers);
        window.ui()->m_WindowButtonBar->closeButton()->click();

        QCOMPARE(script.texts(), boxes);
        for (const Box &box : script.boxes()) {
            if (box.text == KeywordQuestion || box.text == PrivacyQuestion) {
                QCOMPARE(box.kind, QStringLiteral("QMessageBox"));
                QCOMPARE(box.title, box.text == KeywordQuestion ? QStringLiteral("敏感词扫描")
                                                                : QStringLiteral("隐私信息扫描"));
                QCOMPARE(box.icon, int(QMessageBox::Question));
                QCOMPARE(box.buttons, (QStringList{QStringLiteral("确认"), QStringLiteral("取消")}));
                QCOMPARE(box.important, QStringList{QStringLiteral("确认")});
                QCOMPARE(box.secondary, QStringList{QStringLiteral("取消")});
                QCOMPARE(box.defaultButton, QStringLiteral("确认"));
            } else {
                QCOMPARE(box.kind, QStringLiteral("mvk::MessageBox"));
                QCOMPARE(box.icon, 2);
                QCOMPARE(box.buttons, QStringList{QStringLiteral("确认")});
                QCOMPARE(box.important, QStringList{QStringLiteral("确认")});
            }
        }
        QCOMPARE(arguments(TaskDetail), queried);
        QCOMPARE(arguments(Terminate), terminated);
        QCOMPARE(m_fake->calls().size(), queried.size() + terminated.size());
        QCOMPARE(window.isVisible(), !closed);
    }

    // The window manager's close asks nothing and calls nothing, but stops
    // both timers.
    void windowManagerClose()
    {
        MainWindow window;
        window.setEffectiveUidFunction([] { return 0u; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setKeywordPathList(KeywordTask);
        window.setPrivacyPathList(PrivacyTask);
        window.keywordTimer()->start();
        window.privacyTimer()->start();

        BoxScript script;
        QVERIFY(window.close());
        QCoreApplication::processEvents();
        QVERIFY(script.boxes().isEmpty());
        QVERIFY(m_fake->calls().isEmpty());
        QVERIFY(!window.isVisible());
        QVERIFY(!window.keywordTimer()->isRunning());
        QVERIFY(!window.privacyTimer()->isRunning());
    }
};

QTEST_MAIN(TestCloseFlow)
#include "tst_closeflow.moc"
