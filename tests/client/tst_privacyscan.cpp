// The privacy scan of the real MainWindow against the fake scan service on a
// private bus: the fourteen category tiles, start, counts per category,
// summaries, cancel, rescan, return and the detail window of a category.

#include "scancontrollertest.h"

#include "fakescanservice.h"
#include "getscantaskfilecountthread.h"
#include "mainwindow.h"
#include "piicategories.h"
#include "piiscangroupframe.h"
#include "piiscangroupwidget.h"
#include "piisensitivedetailexwidget.h"
#include "privatebus.h"
#include "privacycountmodel.h"
#include "switchbutton.h"
#include "timerthread.h"

#include <QDir>
#include <QProgressBar>
#include <QTest>

#include <memory>

using namespace ScanControllerTest;

namespace {
const QString Scanning = QStringLiteral("SensitiveDiscoveryDataIdScanningFile");
const QString Detected = QStringLiteral("SensitiveDiscoveryDataIdDetected");
const QString SetScanTask = QStringLiteral("SensitiveDiscoverySetScanTask");
const QString Pause = QStringLiteral("SensitiveDiscoveryPauseScanTask");
const QString Terminate = QStringLiteral("SensitiveDiscoveryTerminateScanTask");
const QString GroupDetail = QStringLiteral("SensitiveDiscoveryGetDataIdDetectedDetail");
const QString BusFailed = QStringLiteral("org.freedesktop.DBus.Error.Failed");
const QString Identity = QStringLiteral("身份标识");
const QString Finance = QStringLiteral("金融消费");

enum Flow { ScanningFlow = 0, CancelledFlow = 1, CompletedFlow = 2 };

using Counts = QMap<QString, QString>;

QList<PiiSensitiveDetailExWidget *> detailWindows()
{
    QList<PiiSensitiveDetailExWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *detail = qobject_cast<PiiSensitiveDetailExWidget *>(widget))
            windows << detail;
    }
    return windows;
}
} // namespace

class TestPrivacyScan : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<LogCapture> m_log;
    std::unique_ptr<MainWindow> m_window;

    QProgressBar *bar() const { return child<QProgressBar>(m_window.get(), "m_PiiScanProgressBar"); }

    Counts counts() const
    {
        Counts shown;
        const auto categories = m_window->privacyCategories();
        for (auto it = categories.constBegin(); it != categories.constEnd(); ++it)
            shown.insert(it.key(), it.value()->describe());
        return shown;
    }
    static Counts zeros()
    {
        Counts all;
        for (const QString &name : PiiCategories::names())
            all.insert(name, QStringLiteral("0"));
        return all;
    }

    void selectPrivacyModule()
    {
        click(m_window.get(), "m_PiiScanButton");
        QCOMPARE(page(*m_window, "stackedWidget"), 2);
    }

    void startScan()
    {
        selectPrivacyModule();
        click(m_window.get(), "m_PiiScanComboBoxLikeDisplayButton");
        QCOMPARE(page(*m_window, "stackedWidget"), 3);
        QCOMPARE(page(*m_window, "stackedWidget_3"), int(ScanningFlow));
    }

    void detect(const QVariantMap &hits)
    {
        QVERIFY(m_fake->emitSignal(Detected, {m_window->privacyPathList(), hits}));
    }

    // Sends a scanning signal behind the detections and waits for it: the bus
    // keeps the order, so the detections have been handled by then.
    void flush(int fileid)
    {
        QVERIFY(m_fake->emitSignal(Scanning, {m_window->privacyPathList(), QStringLiteral("/srv/flush"), fileid}));
        QTRY_COMPARE(bar()->value(), fileid);
    }

    void endTask()
    {
        QVERIFY(m_fake->emitSignal(Scanning, {m_window->privacyPathList(), QString(), 0}));
        QTRY_COMPARE(page(*m_window, "stackedWidget_3"), int(CompletedFlow));
    }

    void cancelTask()
    {
        BoxScript boxes({BoxScript::press(QStringLiteral("确认"))});
        click(m_window.get(), "m_PiiScanCancelScanButton");
        QCOMPARE(boxes.boxes().size(), 1);
        const Box question = boxes.boxes().first();
        QCOMPARE(question.kind, QStringLiteral("QMessageBox"));
        QCOMPARE(question.title, QStringLiteral("隐私信息扫描"));
        QCOMPARE(question.text, QStringLiteral("隐私信息扫描正在进行中，确定取消吗？"));
        QCOMPARE(question.icon, int(QMessageBox::Question));
        QCOMPARE(question.important, QStringList{QStringLiteral("确认")});
        QCOMPARE(question.secondary, QStringList{QStringLiteral("取消")});
        QCOMPARE(page(*m_window, "stackedWidget_3"), int(CancelledFlow));
    }

private Q_SLOTS:
    void initTestCase()
    {
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
        qDeleteAll(detailWindows());
        m_window.reset();
    }

    void cleanupTestCase()
    {
        m_log.reset();
        m_fake.reset();
        m_bus.reset();
    }

    // Two groups of seven tiles, in display order, all at "0", each in the
    // category map under its name.
    void tiles()
    {
        auto *first = child<PiiScanGroupFrame>(m_window.get(), "m_PiiScanSensitiveFrame");
        auto *second = child<PiiScanGroupFrame>(m_window.get(), "m_PiiScanPotentiallySensitiveFrame");
        QVERIFY(first && second);
        QCOMPARE(first->title(), QStringLiteral("隐私信息"));
        QCOMPARE(second->title(), QStringLiteral("疑似隐私信息"));
        QStringList names;
        for (PiiScanGroupFrame *frame : {first, second}) {
            QCOMPARE(frame->groupWidgets().size(), 7);
            for (PiiScanGroupWidget *tile : frame->groupWidgets()) {
                names << tile->name();
                QCOMPARE(m_window->privacyCategories().value(tile->name()), tile);
                QVERIFY(!tile->iconPath().isEmpty());
            }
        }
        QCOMPARE(names, PiiCategories::names());
        QCOMPARE(counts(), zeros());
    }

    void fullScan()
    {
        startScan();
        const QList<FakeScanService::Call> created = m_fake->calls(SetScanTask);
        QCOMPARE(created.size(), 1);
        QCOMPARE(created.first().signature, QStringLiteral("siissds"));
        const QVariantList args = created.first().arguments;
        QCOMPARE(args.value(0).toString(), QDir::homePath());
        QCOMPARE(args.value(1).toInt(), 3);
        QCOMPARE(args.value(2).toInt(), 1);
        QCOMPARE(args.value(3).toString(), QString());
        QCOMPARE(args.value(4).toString(), QString());
        QCOMPARE(args.value(5).toDouble(), 0.75);
        const DecodedPolicy policy = decodePolicy(args.value(6).toString());
        QVERIFY(policy.valid);
        QVERIFY(policy.keywords.isEmpty());
        QVERIFY(policy.dataIdentifier);
        QCOMPARE(text(m_window.get(), "m_PiiScanPauseScanButton"), QStringLiteral("暂停"));
        QVERIFY(m_window->privacyTimer()->isRunning());

        detect({{Identity, 2}, {Finance, 1}});
        detect({{Identity, 3}});
        detect({{QStringLiteral("不存在的类别"), 4}});
        flush(2);
        Counts expected = zeros();
        expected[Identity] = QStringLiteral("5");
        expected[Finance] = QStringLiteral("1");
        QCOMPARE(counts(), expected);
        QCOMPARE(m_window->privacyHitTotal(), 6);
        QCOMPARE(text(m_window.get(), "m_PiiScanningFileLabel"), QStringLiteral("/srv/flush"));

        endTask();
        QCOMPARE(bar()->value(), bar()->maximum());
        QCOMPARE(text(m_window.get(), "m_PiiScanCompleteDescribeLabel"),
                 QStringLiteral("共发现隐私信息 <font color='#3676F5'>6</font> 条，请查看详情"));
        QCOMPARE(text(m_window.get(), "m_PiiScanCompleteTimeElapsedLabel"),
                 text(m_window.get(), "m_PiiScanningSecondElapsedLabel"));
        QTRY_VERIFY(!m_window->privacyTimer()->isRunning());
        // The counts stay for the user to open the details.
        QCOMPARE(counts(), expected);
    }

    // The counts are kept by the model, not read back from the tiles: a tile
    // whose text was overwritten shows the model's count at the next hit.
    void countThatIsNotANumber()
    {
        startScan();
        m_window->privacyCategories().value(Identity)->setDescribe(QStringLiteral("abc"));
        detect({{Identity, 4}});
        flush(1);
        QCOMPARE(m_window->privacyCategories().value(Identity)->describe(), QStringLiteral("4"));
        QCOMPARE(m_window->privacyCounts()->count(Identity), 4);
    }

    void summaries_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("hits");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("summary");
        QTest::newRow("completed, no hit") << false << false << "m_PiiScanCompleteDescribeLabel" << "未发现隐私信息";
        QTest::newRow("completed, hits") << false << true << "m_PiiScanCompleteDescribeLabel"
                                         << "共发现隐私信息 <font color='#3676F5'>6</font> 条，请查看详情";
        QTest::newRow("cancelled, no hit") << true << false << "m_PiiScanCancelLabel"
                                           << "扫描已取消，未发现隐私信息";
        QTest::newRow("cancelled, hits") << true << true << "m_PiiScanCancelLabel"
                                         << "共发现隐私信息 <font color='#3676F5'>6</font> 条，请查看详情";
    }
    void summaries()
    {
        QFETCH(bool, cancel);
        QFETCH(bool, hits);
        QFETCH(QString, label);
        QFETCH(QString, summary);
        startScan();
        if (hits) {
            detect({{Identity, 2}, {Finance, 1}});
            detect({{Identity, 3}});
            flush(1);
        }
        if (cancel) {
            cancelTask();
            QCOMPARE(m_fake->calls(Terminate).size(), 1);
            QCOMPARE(m_fake->calls(Terminate).first().arguments, (QVariantList{QDir::homePath(), 3}));
            QVERIFY(!m_window->privacyTimer()->isRunning());
            QCOMPARE(text(m_window.get(), "m_PiiScanCancelTimeElapsedLabel"),
                     text(m_window.get(), "m_PiiScanningSecondElapsedLabel"));
        } else {
            endTask();
        }
        QCOMPARE(text(m_window.get(), qPrintable(label)), summary);
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
        selectPrivacyModule();
        BoxScript boxes({BoxScript::press(QStringLiteral("确认"))});
        click(m_window.get(), "m_PiiScanComboBoxLikeDisplayButton");
        QCOMPARE(boxes.boxes().size(), 1);
        const Box box = boxes.boxes().first();
        QCOMPARE(box.kind, QStringLiteral("mvk::MessageBox"));
        QCOMPARE(box.text, QStringLiteral("隐私信息扫描任务创建失败：任务创建接口调用失败，请检查！"));
        QCOMPARE(box.icon, 2);
        QCOMPARE(box.buttons, QStringList{QStringLiteral("确认")});
        QCOMPARE(page(*m_window, "stackedWidget"), 2);
        QVERIFY(!m_window->privacyTimer()->isRunning());
        QVERIFY(m_window->privacyPathList().isEmpty());
        // Coming back to the module shows its start page, not a phantom task.
        click(m_window.get(), "m_KeywordScanButton");
        click(m_window.get(), "m_PiiScanButton");
        QCOMPARE(page(*m_window, "stackedWidget"), 2);
    }

    void tileClick_data()
    {
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("windows");
        QTest::newRow("count 0") << 0 << 2 << 0;
        QTest::newRow("count 3, one click") << 3 << 1 << 1;
        QTest::newRow("count 3, two clicks raise the open window") << 3 << 2 << 1;
    }
    void tileClick()
    {
        QFETCH(int, hits);
        QFETCH(int, clicks);
        QFETCH(int, windows);
        startScan();
        if (hits > 0) {
            detect({{Finance, hits}});
            flush(1);
        }
        PiiScanGroupWidget *tile = m_window->privacyCategories().value(Finance);
        QCOMPARE(tile->describe(), QString::number(hits));
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(tile, Qt::LeftButton);
        QCOMPARE(detailWindows().size(), windows);
        for (PiiSensitiveDetailExWidget *detail : detailWindows())
            QVERIFY(detail->isVisible());
        // Each window asks the service for the category's detail.
        QTRY_COMPARE(m_fake->calls(GroupDetail).size(), windows);
        for (const FakeScanService::Call &call : m_fake->calls(GroupDetail))
            QCOMPARE(call.arguments, (QVariantList{QDir::homePath(), 3, Finance}));
    }

    void pauseCancelAndRescan()
    {
        startScan();
        detect({{Identity, 2}});
        flush(1);
        click(m_window.get(), "m_PiiScanPauseScanButton");
        QCOMPARE(m_fake->calls(Pause).size(), 1);
        QCOMPARE(m_fake->calls(Pause).first().arguments, (QVariantList{QDir::homePath(), 3}));
        QCOMPARE(text(m_window.get(), "m_PiiScanPauseScanButton"), QStringLiteral("继续"));
        QVERIFY(m_window->privacyTimer()->isPaused());
        cancelTask();
        const QString policy = m_fake->calls(SetScanTask).first().arguments.value(6).toString();

        child<mvk::SwitchButton>(m_window.get(), "m_SystemResourceIdlePiiScanSwitchButton")->setChecked(true);
        m_fake->clearCalls();
        click(m_window.get(), "m_PiiScanCancelRescanButton");
        const QList<FakeScanService::Call> created = m_fake->calls(SetScanTask);
        QCOMPARE(created.size(), 1);
        QCOMPARE(created.first().arguments,
                 (QVariantList{QDir::homePath(), 3, 4, QString(), QString(), 0.75, policy}));
        QCOMPARE(page(*m_window, "stackedWidget"), 3);
        QCOMPARE(page(*m_window, "stackedWidget_3"), int(ScanningFlow));
        QCOMPARE(text(m_window.get(), "m_PiiScanPauseScanButton"), QStringLiteral("暂停"));
        QCOMPARE(counts(), zeros());
        QVERIFY(m_window->privacyTimer()->isRunning());
        QVERIFY(!m_window->privacyTimer()->isPaused());
    }

    void returnResets_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("button");
        QTest::newRow("from the completed page") << false << "m_PiiScanCompleteReturnButton";
        QTest::newRow("from the cancelled page") << true << "m_PiiScanCancelReturnButton";
    }
    void returnResets()
    {
        QFETCH(bool, cancel);
        QFETCH(QString, button);
        startScan();
        detect({{Identity, 2}, {Finance, 1}});
        flush(1);
        if (cancel)
            cancelTask();
        else
            endTask();
        // Switching modules keeps the finished task on show.
        click(m_window.get(), "m_KeywordScanButton");
        QCOMPARE(page(*m_window, "stackedWidget"), 0);
        click(m_window.get(), "m_PiiScanButton");
        QCOMPARE(page(*m_window, "stackedWidget"), 3);
        QCOMPARE(m_window->privacyHitTotal(), 3);

        click(m_window.get(), qPrintable(button));
        QCOMPARE(counts(), zeros());
        QCOMPARE(page(*m_window, "stackedWidget"), 2);
        QVERIFY(m_window->privacyPathList().isEmpty());

        click(m_window.get(), "m_KeywordScanButton");
        click(m_window.get(), "m_PiiScanButton");
        QCOMPARE(page(*m_window, "stackedWidget"), 2);
        QCOMPARE(counts(), zeros());
    }

    void elapsedTime()
    {
        emit m_window->PiiScanTimeElapsed(3661);
        QCOMPARE(text(m_window.get(), "m_PiiScanningSecondElapsedLabel"), QStringLiteral("01:01:01"));
        emit m_window->PiiScanTimeElapsed(360000);
        QCOMPARE(text(m_window.get(), "m_PiiScanningSecondElapsedLabel"), QStringLiteral("100:00:00"));
    }

    // Each module's timer ticks on its own page only: the window passes a
    // timer's signal on under that timer's module.
    void timersTickOnTheirOwnPage()
    {
        emit m_window->PiiScanTimeElapsed(0);
        emit m_window->KeywordScanTimeElapsed(0);
        emit m_window->privacyTimer()->TimeElapsed(7);
        QCOMPARE(text(m_window.get(), "m_PiiScanningSecondElapsedLabel"), QStringLiteral("00:00:07"));
        QCOMPARE(text(m_window.get(), "m_KeywordScanningSecondElapsedLabel"), QStringLiteral("00:00:00"));
        emit m_window->keywordTimer()->TimeElapsed(9);
        QCOMPARE(text(m_window.get(), "m_KeywordScanningSecondElapsedLabel"), QStringLiteral("00:00:09"));
        QCOMPARE(text(m_window.get(), "m_PiiScanningSecondElapsedLabel"), QStringLiteral("00:00:07"));
    }

    // A window that goes away while a file-count worker on its proxy still
    // waits for the service ends the worker first.
    void closingTheWindowEndsItsFileCount()
    {
        const QString detail = QStringLiteral("SensitiveDiscoveryGetScanTaskDetail");
        m_fake->setNoReply(detail);
        auto *worker = new GetScanTaskFileCountThread(m_window->sensitiveScanInterface(), QStringLiteral("/home"));
        worker->setTaskType(3);
        QPointer<GetScanTaskFileCountThread> alive(worker);
        worker->start();
        QTRY_COMPARE_WITH_TIMEOUT(m_fake->calls(detail).size(), 1, 10000);
        m_window.reset(); // waits for the worker, which must not hang in its query
        if (alive)
            QVERIFY(alive->isFinished());
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 10000);
        QCOMPARE(m_fake->calls(detail).size(), 1);
    }

    // The task's file total becomes the privacy bar's range.
    void fileTotalSetsTheRange()
    {
        m_fake->setReply(QStringLiteral("SensitiveDiscoveryGetScanTaskDetail"), {5, 4096, QStringLiteral("scanning"), 0.0});
        startScan();
        QTRY_COMPARE(bar()->maximum(), 5);
        QCOMPARE(bar()->minimum(), 0);
    }
};

QTEST_MAIN(TestPrivacyScan)
#include "tst_privacyscan.moc"
