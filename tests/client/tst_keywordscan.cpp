// The keyword scan of the real MainWindow against the fake scan service on a
// private bus: start, progress, results, pause and continue, cancel,
// completion, rescan and return.

#include "scancontrollertest.h"

#include "checklistfixture.h"
#include "fakescanservice.h"
#include "keywordconfigallinonewidget.h"
#include "keywordresultlist.h"
#include "keywordsensitiveframe.h"
#include "keywordtemplatestore.h"
#include "mainwindow.h"
#include "privatebus.h"
#include "switchbutton.h"
#include "timerthread.h"

#include <QDir>
#include <QLayout>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ScanControllerTest;

namespace {
const QString Scanning = QStringLiteral("SensitiveDiscoveryKeywordScanningFile");
const QString Detected = QStringLiteral("SensitiveDiscoveryKeywordDetected");
const QString SetScanTask = QStringLiteral("SensitiveDiscoverySetScanTask");
const QString Pause = QStringLiteral("SensitiveDiscoveryPauseScanTask");
const QString Continue = QStringLiteral("SensitiveDiscoveryContinueScanTask");
const QString Terminate = QStringLiteral("SensitiveDiscoveryTerminateScanTask");
const QString TaskDetail = QStringLiteral("SensitiveDiscoveryGetScanTaskDetail");
const QString BusFailed = QStringLiteral("org.freedesktop.DBus.Error.Failed");

enum Flow { ScanningFlow = 0, CancelledFlow = 1, CompletedFlow = 2 };
} // namespace

class TestKeywordScan : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<LogCapture> m_log;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_dir;

    KeywordResultList *rows() const { return child<KeywordResultList>(m_window.get(), "m_keywordScanResultList"); }
    QProgressBar *bar() const { return child<QProgressBar>(m_window.get(), "m_KeywordScanProgressBar"); }

    // Keywords typed in the panel, then the start control on the home target.
    void startScan(const QStringList &keywords = {QStringLiteral("机密")})
    {
        configureKeywords(*m_window, keywords);
        click(m_window.get(), "m_KeywordScanComboBoxLikeDisplayButton");
        QCOMPARE(page(*m_window, "stackedWidget"), 1);
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(ScanningFlow));
    }

    void emitSignal(const QString &name, const QVariantList &arguments)
    {
        QVERIFY(m_fake->emitSignal(name, arguments));
    }

    // Waits until the window's receiver has taken `count` signals named so.
    void waitForReceived(const QString &name)
    {
        QTRY_VERIFY(LogCapture::contains(QStringLiteral("Received %1:").arg(name)));
    }

    void detect(const QString &file, const QVariantMap &hits)
    {
        emitSignal(Detected, {m_window->keywordPathList(), file, hits});
    }

    void hitsTwoFiveOne()
    {
        detect(QStringLiteral("/srv/一.txt"), {{QStringLiteral("机密"), 2}});
        detect(QStringLiteral("/srv/二.docx"), {{QStringLiteral("机密"), 1}, {QStringLiteral("secret"), 4}});
        detect(QStringLiteral("/srv/三.pdf"), {{QStringLiteral("secret"), 1}});
        QTRY_COMPARE(rows()->count(), 3);
    }

    void endTask()
    {
        emitSignal(Scanning, {m_window->keywordPathList(), QString(), 0});
        QTRY_COMPARE(page(*m_window, "stackedWidget_2"), int(CompletedFlow));
    }

    void cancelTask()
    {
        BoxScript boxes({BoxScript::press(QStringLiteral("确认"))});
        click(m_window.get(), "m_KeywordScanCancelScanButton");
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(CancelledFlow));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The process-wide checklist store, over a database of the test's
        // own: one checklist with two keywords and one without any.
        const QString db = m_dir.filePath(QStringLiteral("checklists.db"));
        QVERIFY(ChecklistFixture::writeDatabase(db, {
            {QStringLiteral("清单甲"), QStringLiteral("2024-03-01 09:00:00"), QStringLiteral("kw_a"),
             {ChecklistFixture::seal("甲一"), ChecklistFixture::seal("甲二")}},
            {QStringLiteral("空清单"), QStringLiteral("2024-03-02 09:00:00"), QStringLiteral("kw_b"), {}},
        }));
        QVERIFY(KeywordTemplateStore::instance(db)->isOpen());

        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
        m_log = std::make_unique<LogCapture>();
    }

    void init()
    {
        m_fake->reset();
        m_window = std::make_unique<MainWindow>();
        m_window->setEffectiveUidFunction([] { return 0u; });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        LogCapture::take();
    }

    void cleanup()
    {
        m_window.reset();
    }

    void cleanupTestCase()
    {
        m_log.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void fullScan()
    {
        // The worker learns the task's file total from the task query.
        m_fake->setReply(TaskDetail, {3, 4096, QStringLiteral("scanning"), 0.0});
        startScan({QStringLiteral("机密"), QStringLiteral("secret")});

        const QList<FakeScanService::Call> created = m_fake->calls(SetScanTask);
        QCOMPARE(created.size(), 1);
        QCOMPARE(created.first().signature, QStringLiteral("siissds"));
        const QVariantList args = created.first().arguments;
        QCOMPARE(args.value(0).toString(), QDir::homePath());
        QCOMPARE(args.value(1).toInt(), 1);
        QCOMPARE(args.value(2).toInt(), 1);
        QCOMPARE(args.value(3).toString(), QString());
        QCOMPARE(args.value(4).toString(), QString());
        QCOMPARE(args.value(5).toDouble(), 0.75);
        const DecodedPolicy policy = decodePolicy(args.value(6).toString());
        QVERIFY(policy.valid);
        QCOMPARE(policy.keywords, (QStringList{QStringLiteral("机密"), QStringLiteral("secret")}));
        QCOMPARE(policy.fileTypes, m_window->scanFileTypes());
        QVERIFY(!policy.dataIdentifier);

        QCOMPARE(m_window->keywordPathList(), QDir::homePath());
        QCOMPARE(page(*m_window, "stackedWidget_4"), 0);
        QCOMPARE(text(m_window.get(), "m_KeywordScanPauseScanButton"), QStringLiteral("暂停"));
        QVERIFY(m_window->keywordTimer()->isRunning());
        QTRY_COMPARE(bar()->maximum(), 3);
        QCOMPARE(bar()->minimum(), 0);

        emitSignal(Scanning, {QDir::homePath(), QStringLiteral("/srv/一.txt"), 1});
        QTRY_COMPARE(bar()->value(), 1);
        auto *fileLabel = child<QLabel>(m_window.get(), "m_KeywordScanningFileLabel");
        QCOMPARE(fileLabel->text(), QStringLiteral("/srv/一.txt"));
        QCOMPARE(fileLabel->toolTip(), QStringLiteral("/srv/一.txt"));

        hitsTwoFiveOne();
        QCOMPARE(m_window->keywordHitTotal(), 8);
        // One row per detection in arrival order, each shown with its count.
        const QStringList files{QStringLiteral("/srv/一.txt"), QStringLiteral("/srv/二.docx"), QStringLiteral("/srv/三.pdf")};
        const QList<int> counts{2, 5, 1};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(rows()->filePath(row), files.at(row));
            QTRY_VERIFY(rows()->frameAt(row));
            QCOMPARE(rows()->frameAt(row)->sensitiveCount(), counts.at(row));
            QCOMPARE(rows()->frameAt(row)->findChild<QLabel *>(QStringLiteral("m_SensitiveFilepathLabel"))->text(),
                     files.at(row));
        }
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(ScanningFlow));

        endTask();
        QCOMPARE(bar()->value(), bar()->maximum());
        QCOMPARE(text(m_window.get(), "m_KeywordScanCompleteDescribeLabel"),
                 QStringLiteral("共发现敏感信息 <font color='#3676F5'>8</font> 条，请查看详情"));
        QCOMPARE(page(*m_window, "stackedWidget_4"), 0);
        QCOMPARE(text(m_window.get(), "m_KeywordScanCompleteTimeElapsedLabel"),
                 text(m_window.get(), "m_KeywordScanningSecondElapsedLabel"));
        QTRY_VERIFY(!m_window->keywordTimer()->isRunning());
    }

    // A file path that looks like markup stays text in the label and in its tooltip.
    void scanningFileShownAsText()
    {
        startScan();
        const QString file = QStringLiteral("/srv/<b>粗体</b>.txt");
        emitSignal(Scanning, {QDir::homePath(), file, 7});
        auto *fileLabel = child<QLabel>(m_window.get(), "m_KeywordScanningFileLabel");
        QTRY_COMPARE(fileLabel->text(), file);
        QCOMPARE(fileLabel->textFormat(), Qt::PlainText);
        QVERIFY(fileLabel->toolTip().contains(QStringLiteral("&lt;b&gt;粗体&lt;/b&gt;")));
    }

    // File id 0 ends the task only together with an empty path.
    void fileIdZeroWithAPath()
    {
        startScan();
        emitSignal(Scanning, {QDir::homePath(), QStringLiteral("/srv/a.txt"), 5});
        QTRY_COMPARE(bar()->value(), 5);
        emitSignal(Scanning, {QDir::homePath(), QStringLiteral("/srv/b.txt"), 0});
        QTRY_COMPARE(bar()->value(), 0);
        QCOMPARE(text(m_window.get(), "m_KeywordScanningFileLabel"), QStringLiteral("/srv/b.txt"));
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(ScanningFlow));
        QVERIFY(m_window->keywordTimer()->isRunning());
    }

    void summaries_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("hits");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("resultPage");
        QTest::newRow("completed, no hit") << false << false << "m_KeywordScanCompleteDescribeLabel"
                                           << "未发现敏感信息" << 1;
        QTest::newRow("completed, 2+5+1") << false << true << "m_KeywordScanCompleteDescribeLabel"
                                          << "共发现敏感信息 <font color='#3676F5'>8</font> 条，请查看详情" << 0;
        QTest::newRow("cancelled, no hit") << true << false << "m_KeywordScanCancelLabel"
                                           << "扫描已取消，未发现敏感信息" << 1;
        QTest::newRow("cancelled, 2+5+1") << true << true << "m_KeywordScanCancelLabel"
                                          << "扫描已取消，发现 <font color='#3676F5'>8</font> 条敏感信息" << 0;
    }
    void summaries()
    {
        QFETCH(bool, cancel);
        QFETCH(bool, hits);
        QFETCH(QString, label);
        QFETCH(QString, summary);
        QFETCH(int, resultPage);
        startScan();
        if (hits)
            hitsTwoFiveOne();
        if (cancel) {
            cancelTask();
            QCOMPARE(m_fake->calls(Terminate).size(), 1);
            QCOMPARE(m_fake->calls(Terminate).first().arguments, (QVariantList{QDir::homePath(), 1}));
            QVERIFY(!m_window->keywordTimer()->isRunning());
            QCOMPARE(text(m_window.get(), "m_KeywordScanCancelTimeElapsedLabel"),
                     text(m_window.get(), "m_KeywordScanningSecondElapsedLabel"));
        } else {
            endTask();
        }
        QCOMPARE(text(m_window.get(), qPrintable(label)), summary);
        QCOMPARE(page(*m_window, "stackedWidget_4"), resultPage);
        QCOMPARE(page(*m_window, "stackedWidget"), 1);
    }

    void startFailures_data()
    {
        QTest::addColumn<bool>("busError");
        QTest::newRow("service replies 1") << false;
        QTest::newRow("bus error") << true;
    }
    void startFailures()
    {
        QFETCH(bool, busError);
        if (busError)
            m_fake->setError(SetScanTask, BusFailed, QStringLiteral("refused"));
        else
            m_fake->setReply(SetScanTask, {1});
        configureKeywords(*m_window, {QStringLiteral("机密")});
        BoxScript boxes({BoxScript::press(QStringLiteral("确认"))});
        click(m_window.get(), "m_KeywordScanComboBoxLikeDisplayButton");

        QCOMPARE(boxes.boxes().size(), 1);
        const Box box = boxes.boxes().first();
        QCOMPARE(box.kind, QStringLiteral("mvk::MessageBox"));
        QCOMPARE(box.text, QStringLiteral("敏感词扫描任务创建失败：任务创建接口调用失败，请检查！"));
        QCOMPARE(box.icon, 2);
        QCOMPARE(box.buttons, QStringList{QStringLiteral("确认")});
        QCOMPARE(box.important, QStringList{QStringLiteral("确认")});
        QCOMPARE(box.defaultButton, QStringLiteral("确认"));

        QCOMPARE(m_fake->calls(SetScanTask).size(), 1);
        QCOMPARE(page(*m_window, "stackedWidget"), 0);
        QVERIFY(!m_window->keywordTimer()->isRunning());
        // No task was made: the module keeps no path list.
        QVERIFY(m_window->keywordPathList().isEmpty());
        // A file-count worker would have queried the service within a
        // fraction of a second.
        QTest::qWait(600);
        QCOMPARE(m_fake->calls(TaskDetail).size(), 0);
    }

    // The checklist tab's keywords: all of the ticked checklists, or none.
    void checklistKeywords_data()
    {
        QTest::addColumn<bool>("tickFirst");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("both ticked") << true << QStringList{QStringLiteral("甲一"), QStringLiteral("甲二")};
        QTest::newRow("only the empty one") << false << QStringList();
    }
    void checklistKeywords()
    {
        QFETCH(bool, tickFirst);
        QFETCH(QStringList, expected);
        auto *panel = m_window->findChild<KeywordConfigAllinoneWidget *>();
        QVERIFY(panel);
        auto *view = child<QTableView>(panel, "m_KeywordTemplateTableView");
        QVERIFY(view && view->model()->rowCount() == 2);
        click(m_window.get(), "m_KeywordConfigButton");
        if (!tickFirst)
            view->model()->setData(view->model()->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
        QTest::mouseClick(child<QPushButton>(panel, "m_TemplateConfirmButton"), Qt::LeftButton);

        BoxScript boxes;
        click(m_window.get(), "m_KeywordScanComboBoxLikeDisplayButton");
        if (expected.isEmpty()) {
            QCOMPARE(boxes.boxes().size(), 1);
            const Box box = boxes.boxes().first();
            QCOMPARE(box.kind, QStringLiteral("mvk::MessageBox"));
            QCOMPARE(box.text, QStringLiteral("请设置一个或者多个敏感词！"));
            QCOMPARE(box.icon, 4);
            QCOMPARE(box.buttons, (QStringList{QStringLiteral("确认"), QStringLiteral("取消")}));
            QCOMPARE(box.important, QStringList{QStringLiteral("确认")});
            QCOMPARE(box.secondary, QStringList{QStringLiteral("取消")});
            QCOMPARE(m_fake->calls(SetScanTask).size(), 0);
            QCOMPARE(page(*m_window, "stackedWidget"), 0);
            QVERIFY(m_window->keywordPathList().isEmpty());
            return;
        }
        QCOMPARE(boxes.boxes().size(), 0);
        QCOMPARE(m_fake->calls(SetScanTask).size(), 1);
        QCOMPARE(decodePolicy(m_fake->calls(SetScanTask).first().arguments.value(6).toString()).keywords, expected);
    }

    void pauseAndContinue_data()
    {
        QTest::addColumn<QString>("failing");  // the method that fails, if any
        QTest::addColumn<bool>("busError");
        QTest::addColumn<QString>("failure"); // the failure box's text
        QTest::addColumn<QString>("label");   // the button's label at the end
        QTest::addColumn<bool>("paused");     // the timer's state at the end
        QTest::newRow("both accepted") << QString() << false << QString() << "暂停" << false;
        QTest::newRow("pause replies 1") << Pause << false << "暂停扫描失败，请检查！" << "暂停" << false;
        QTest::newRow("pause bus error") << Pause << true << "暂停扫描失败，请检查！" << "暂停" << false;
        QTest::newRow("continue replies 1") << Continue << false << "继续扫描失败，请检查！" << "继续" << true;
        QTest::newRow("continue bus error") << Continue << true << "继续扫描失败，请检查！" << "继续" << true;
    }
    void pauseAndContinue()
    {
        QFETCH(QString, failing);
        QFETCH(bool, busError);
        QFETCH(QString, failure);
        QFETCH(QString, label);
        QFETCH(bool, paused);
        startScan();
        if (!failing.isEmpty()) {
            if (busError)
                m_fake->setError(failing, BusFailed, QStringLiteral("refused"));
            else
                m_fake->setReply(failing, {1});
        }
        BoxScript boxes({BoxScript::press(QStringLiteral("确认"))});
        click(m_window.get(), "m_KeywordScanPauseScanButton");
        if (failing != Pause) {
            QCOMPARE(text(m_window.get(), "m_KeywordScanPauseScanButton"), QStringLiteral("继续"));
            QVERIFY(m_window->keywordTimer()->isPaused());
            click(m_window.get(), "m_KeywordScanPauseScanButton");
        }
        QCOMPARE(text(m_window.get(), "m_KeywordScanPauseScanButton"), label);
        QCOMPARE(m_window->keywordTimer()->isPaused(), paused);
        QVERIFY(m_window->keywordTimer()->isRunning());
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(ScanningFlow));
        QCOMPARE(boxes.texts(), failure.isEmpty() ? QStringList() : QStringList{failure});
        if (!failure.isEmpty())
            QCOMPARE(boxes.boxes().first().icon, 2);

        const QVariantList task{QDir::homePath(), 1};
        QCOMPARE(m_fake->calls(Pause).size(), 1);
        QCOMPARE(m_fake->calls(Pause).first().arguments, task);
        QCOMPARE(m_fake->calls(Pause).first().signature, QStringLiteral("si"));
        QCOMPARE(m_fake->calls(Continue).size(), failing == Pause ? 0 : 1);
        if (failing != Pause)
            QCOMPARE(m_fake->calls(Continue).first().arguments, task);
    }

    void cancelAnswers_data()
    {
        QTest::addColumn<QString>("answer"); // "确认", "取消" or "" (closed by the window manager)
        QTest::addColumn<QVariantList>("terminateReply");
        QTest::addColumn<bool>("terminateBusError");
        QTest::addColumn<int>("terminateCalls");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("confirmed") << "确认" << QVariantList{0} << false << 1 << true;
        QTest::newRow("declined") << "取消" << QVariantList{0} << false << 0 << false;
        QTest::newRow("closed by the window manager") << QString() << QVariantList{0} << false << 0 << false;
        QTest::newRow("terminate replies 1") << "确认" << QVariantList{1} << false << 1 << false;
        QTest::newRow("terminate bus error") << "确认" << QVariantList() << true << 1 << false;
    }
    void cancelAnswers()
    {
        QFETCH(QString, answer);
        QFETCH(QVariantList, terminateReply);
        QFETCH(bool, terminateBusError);
        QFETCH(int, terminateCalls);
        QFETCH(bool, cancelled);
        startScan();
        hitsTwoFiveOne();
        // The scan is paused when the user decides to cancel it.
        click(m_window.get(), "m_KeywordScanPauseScanButton");
        if (terminateBusError)
            m_fake->setError(Terminate, BusFailed, QStringLiteral("refused"));
        else
            m_fake->setReply(Terminate, terminateReply);

        BoxScript boxes({answer.isEmpty() ? BoxScript::Handler(&BoxScript::close) : BoxScript::press(answer),
                         BoxScript::press(QStringLiteral("确认"))});
        click(m_window.get(), "m_KeywordScanCancelScanButton");

        QVERIFY(!boxes.boxes().isEmpty());
        const Box question = boxes.boxes().first();
        QCOMPARE(question.kind, QStringLiteral("QMessageBox"));
        QCOMPARE(question.title, QStringLiteral("敏感词扫描"));
        QCOMPARE(question.text, QStringLiteral("敏感词扫描正在进行中，确定取消吗？"));
        QCOMPARE(question.icon, int(QMessageBox::Question));
        QCOMPARE(question.buttons, (QStringList{QStringLiteral("确认"), QStringLiteral("取消")}));
        QCOMPARE(question.important, QStringList{QStringLiteral("确认")});
        QCOMPARE(question.secondary, QStringList{QStringLiteral("取消")});
        QCOMPARE(question.defaultButton, QStringLiteral("确认"));

        QCOMPARE(m_fake->calls(Terminate).size(), terminateCalls);
        const bool failed = terminateCalls == 1 && !cancelled;
        QCOMPARE(boxes.texts().mid(1), failed ? QStringList{QStringLiteral("中止扫描失败，请检查！")} : QStringList());
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(cancelled ? CancelledFlow : ScanningFlow));
        QCOMPARE(m_window->keywordTimer()->isRunning(), !cancelled);
        QCOMPARE(rows()->count(), 3);
        if (!cancelled) {
            QCOMPARE(text(m_window.get(), "m_KeywordScanPauseScanButton"), QStringLiteral("继续"));
            QVERIFY(m_window->keywordTimer()->isPaused());
        }
    }

    // Rescan repeats the cancelled task: its path list and its policy, even
    // after the keywords changed, but the idle-time switch as it is now.
    void rescanRepeatsTheCancelledTask()
    {
        startScan({QStringLiteral("机密")});
        hitsTwoFiveOne();
        cancelTask();
        configureKeywords(*m_window, {QStringLiteral("另一个")});
        auto *idle = child<mvk::SwitchButton>(m_window.get(), "m_SystemResourceIdleKeywordScanSwitchButton");
        idle->setChecked(true);
        m_fake->clearCalls();

        click(m_window.get(), "m_KeywordScanCancelRescanButton");
        const QList<FakeScanService::Call> created = m_fake->calls(SetScanTask);
        QCOMPARE(created.size(), 1);
        const QVariantList args = created.first().arguments;
        QCOMPARE(args.value(0).toString(), QDir::homePath());
        QCOMPARE(args.value(1).toInt(), 1);
        QCOMPARE(args.value(2).toInt(), 4);
        QCOMPARE(args.value(5).toDouble(), 0.75);
        QCOMPARE(decodePolicy(args.value(6).toString()).keywords, QStringList{QStringLiteral("机密")});

        QCOMPARE(page(*m_window, "stackedWidget"), 1);
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(ScanningFlow));
        QCOMPARE(page(*m_window, "stackedWidget_4"), 0);
        QCOMPARE(rows()->count(), 0);
        QCOMPARE(text(m_window.get(), "m_KeywordScanPauseScanButton"), QStringLiteral("暂停"));
        QVERIFY(m_window->keywordTimer()->isRunning());
        // Busy again until the service has counted the new task's files.
        QCOMPARE(bar()->maximum(), 0);

        // The rescanned task reports like the first.
        detect(QStringLiteral("/srv/再.txt"), {{QStringLiteral("机密"), 3}});
        QTRY_COMPARE(rows()->count(), 1);
        endTask();
        QCOMPARE(text(m_window.get(), "m_KeywordScanCompleteDescribeLabel"),
                 QStringLiteral("共发现敏感信息 <font color='#3676F5'>3</font> 条，请查看详情"));
    }

    // Busy until the file total is known, then "n / N" with the share done;
    // the heading follows pause and continue; the cancelled page keeps the
    // count; a new task starts from none.
    void progressAsUsersExpect()
    {
        startScan();
        QCOMPARE(bar()->minimum(), 0);
        QCOMPARE(bar()->maximum(), 0);
        QCOMPARE(text(m_window.get(), "m_KeywordScanFileCountLabel"), QString());
        emitSignal(Scanning, {QDir::homePath(), QStringLiteral("/srv/c.txt"), 3});
        QTRY_COMPARE(text(m_window.get(), "m_KeywordScanFileCountLabel"), QStringLiteral("已扫描 3 个文件"));
        QCOMPARE(bar()->maximum(), 0);

        Q_EMIT m_window->KeywordScanProgressRangeGenerated(0, 12);
        QCOMPARE(bar()->maximum(), 12);
        QCOMPARE(bar()->value(), 3);
        QCOMPARE(text(m_window.get(), "m_KeywordScanFileCountLabel"), QStringLiteral("3 / 12 个文件（25%）"));

        click(m_window.get(), "m_KeywordScanPauseScanButton");
        QCOMPARE(text(m_window.get(), "m_KeywordScanningLabel"), QStringLiteral("扫描已暂停"));
        click(m_window.get(), "m_KeywordScanPauseScanButton");
        QCOMPARE(text(m_window.get(), "m_KeywordScanningLabel"), QStringLiteral("正在扫描中..."));

        cancelTask();
        QCOMPARE(text(m_window.get(), "m_KeywordScanCancelFileCountLabel"), QStringLiteral("，已扫描 3 / 12 个文件"));
        click(m_window.get(), "m_KeywordScanCancelRescanButton");
        QCOMPARE(bar()->maximum(), 0);
        QCOMPARE(text(m_window.get(), "m_KeywordScanFileCountLabel"), QString());
        QCOMPARE(text(m_window.get(), "m_KeywordScanningFileLabel"), QString());
        endTask();
        QCOMPARE(text(m_window.get(), "m_KeywordScanCompleteFileCountLabel"), QStringLiteral("，共扫描 0 个文件"));
    }

    void rescanFailure()
    {
        startScan();
        cancelTask();
        m_fake->setReply(SetScanTask, {1});
        BoxScript boxes({BoxScript::press(QStringLiteral("确认"))});
        click(m_window.get(), "m_KeywordScanCancelRescanButton");
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("敏感词扫描任务创建失败：任务创建接口调用失败，请检查！")});
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(CancelledFlow));
        QVERIFY(!m_window->keywordTimer()->isRunning());
        QCOMPARE(m_window->keywordPathList(), QDir::homePath());
    }

    // A task has one end: what the service still sends for a cancelled or
    // completed task changes neither its page nor its results.
    void signalsAfterTheEnd_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("after a cancel") << true;
        QTest::newRow("after completion") << false;
    }
    void signalsAfterTheEnd()
    {
        QFETCH(bool, cancel);
        startScan();
        hitsTwoFiveOne();
        if (cancel)
            cancelTask();
        else
            endTask();
        const int flow = page(*m_window, "stackedWidget_2");
        const QString summary = text(m_window.get(), cancel ? "m_KeywordScanCancelLabel" : "m_KeywordScanCompleteDescribeLabel");
        LogCapture::take();
        detect(QStringLiteral("/srv/late.txt"), {{QStringLiteral("机密"), 9}});
        emitSignal(Scanning, {QDir::homePath(), QString(), 0});
        waitForReceived(Scanning);
        QCoreApplication::processEvents();
        QCOMPARE(rows()->count(), 3);
        QCOMPARE(page(*m_window, "stackedWidget_2"), flow);
        QCOMPARE(text(m_window.get(), cancel ? "m_KeywordScanCancelLabel" : "m_KeywordScanCompleteDescribeLabel"),
                 summary);
    }

    // The task completes while the cancel question is open: confirming it
    // then terminates nothing and the completed page stays.
    void completedWhileAskedToCancel()
    {
        startScan();
        hitsTwoFiveOne();
        BoxScript boxes({[this](QWidget *box) {
            emitSignal(Scanning, {QDir::homePath(), QString(), 0});
            QTRY_COMPARE(page(*m_window, "stackedWidget_2"), int(CompletedFlow));
            BoxScript::press(QStringLiteral("确认"))(box);
        }});
        click(m_window.get(), "m_KeywordScanCancelScanButton");
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(m_fake->calls(Terminate).size(), 0);
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(CompletedFlow));
        QCOMPARE(text(m_window.get(), "m_KeywordScanCompleteDescribeLabel"),
                 QStringLiteral("共发现敏感信息 <font color='#3676F5'>8</font> 条，请查看详情"));
    }

    void returnResets_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("button");
        QTest::newRow("from the completed page") << false << "m_KeywordScanCompleteReturnButton";
        QTest::newRow("from the cancelled page") << true << "m_KeywordScanCancelReturnButton";
    }
    void returnResets()
    {
        QFETCH(bool, cancel);
        QFETCH(QString, button);
        startScan();
        hitsTwoFiveOne();
        if (cancel)
            cancelTask();
        else
            endTask();
        const int flow = page(*m_window, "stackedWidget_2");
        const QString oldPathList = m_window->keywordPathList();
        m_fake->clearCalls();

        click(m_window.get(), qPrintable(button));
        QCOMPARE(page(*m_window, "stackedWidget"), 0);
        QVERIFY(m_window->keywordPathList().isEmpty());
        QCOMPARE(rows()->count(), 0);
        QCOMPARE(m_fake->calls().size(), 0);

        // Late signals of the old task change nothing.
        LogCapture::take();
        detect(QStringLiteral("/srv/late.txt"), {{QStringLiteral("机密"), 9}});
        emitSignal(Scanning, {oldPathList, QString(), 0});
        waitForReceived(Scanning);
        QCoreApplication::processEvents();
        QCOMPARE(rows()->count(), 0);
        QCOMPARE(page(*m_window, "stackedWidget_2"), flow);
        QCOMPARE(page(*m_window, "stackedWidget"), 0);
    }

    void elapsedTime_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << 0 << "00:00:00";
        QTest::newRow("59") << 59 << "00:00:59";
        QTest::newRow("3661") << 3661 << "01:01:01";
        QTest::newRow("86399") << 86399 << "23:59:59";
        QTest::newRow("360000") << 360000 << "100:00:00";
    }
    void elapsedTime()
    {
        QFETCH(int, seconds);
        QFETCH(QString, shown);
        emit m_window->KeywordScanTimeElapsed(seconds);
        QCOMPARE(text(m_window.get(), "m_KeywordScanningSecondElapsedLabel"), shown);
    }
};

QTEST_MAIN(TestKeywordScan)
#include "tst_keywordscan.moc"
