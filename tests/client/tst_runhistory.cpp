// The scan history page against the fake scan service on a private bus: the
// runs sort by number and by time (not by their text), a delete asks first,
// removes the run at the service and its row, a refused delete shows the
// service's reason, the list is read again when a scan ends, and an empty
// history or a missing service each show a message instead of the table.

#include "scancontrollertest.h"

#include "fakescanservice.h"
#include "privatebus.h"
#include "runhistorymodel.h"
#include "runhistorypage.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace ScanControllerTest;

namespace {
// Three runs whose order by text differs from their order by value in
// every column under test: times in different offsets and years, counts of
// different widths.
const QString ThreeRuns = QStringLiteral(
    R"([{"run": 1, "path_list": "/home/a", "task_type": "keyword", "outcome": "completed",)"
    R"(  "started": "2026-12-07T10:00:00+08:00", "ended": "2026-12-07T10:05:00+08:00",)"
    R"(  "files": {"selected": 9, "walked": 9, "read": 9, "with_hits": 10, "not_read": 1000}},)"
    R"( {"run": 2, "path_list": "/home/b|/srv/<b>x</b>", "task_type": "privacy", "outcome": "cancelled",)"
    R"(  "started": "2026-12-07T05:00:00+00:00", "ended": "2026-12-07T05:01:00+00:00",)"
    R"(  "files": {"selected": 10, "walked": 10, "read": 10, "with_hits": 9, "not_read": 2}},)"
    R"( {"run": 3, "path_list": "/home/c", "task_type": "keyword", "outcome": "failed", "failure": "worker gone",)"
    R"(  "started": "2025-12-31T23:00:00+00:00", "ended": "2025-12-31T23:10:00+00:00",)"
    R"(  "files": {"selected": 1000, "walked": 1000, "read": 990, "with_hits": 0, "not_read": 10}}])");
} // namespace

using RunList = QList<qlonglong>;

class TestRunHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<RunHistoryPage> m_page;

    // The page reads the list again and the answer is in.
    void refresh()
    {
        QSignalSpy refreshed(m_page.get(), &RunHistoryPage::refreshed);
        m_page->refresh();
        QVERIFY(refreshed.wait());
    }
    // The runs in the order the table shows them.
    RunList shownRuns() const
    {
        RunList runs;
        const QAbstractItemModel *model = m_page->table()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            runs << model->index(row, 0).data(RunHistoryModel::RunRole).toLongLong();
        return runs;
    }
    QWidget *shownView() const { return child<QStackedWidget>(m_page.get(), "")->currentWidget(); }
    QString message() const { return child<QLabel>(m_page.get(), "m_RunHistoryMessageLabel")->text(); }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
    }
    void init()
    {
        m_fake->reset();
        QVERIFY(m_fake->setRuns(ThreeRuns));
        m_page = std::make_unique<RunHistoryPage>(QDBusConnection::systemBus());
        m_page->resize(760, 500);
        refresh();
        QCOMPARE(shownView(), static_cast<QWidget *>(m_page->table()));
    }
    void cleanup() { m_page.reset(); }
    void cleanupTestCase()
    {
        m_fake.reset();
        m_bus.reset();
    }

    void sorts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("order");
        QTest::addColumn<RunList>("expected");

        QTest::newRow("newest first") << int(RunHistoryModel::Started) << int(Qt::DescendingOrder) << RunList{2, 1, 3};
        QTest::newRow("oldest first") << int(RunHistoryModel::Started) << int(Qt::AscendingOrder) << RunList{3, 1, 2};
        QTest::newRow("fewest files") << int(RunHistoryModel::Files) << int(Qt::AscendingOrder) << RunList{1, 2, 3};
        QTest::newRow("most files with hits")
            << int(RunHistoryModel::FilesWithHits) << int(Qt::DescendingOrder) << RunList{1, 2, 3};
        QTest::newRow("fewest files not read")
            << int(RunHistoryModel::FilesNotRead) << int(Qt::AscendingOrder) << RunList{2, 3, 1};
    }
    void sorts()
    {
        QFETCH(int, column);
        QFETCH(int, order);
        QFETCH(RunList, expected);
        m_page->table()->sortByColumn(column, Qt::SortOrder(order));
        QCOMPARE(shownRuns(), expected);
    }

    // The newest run is on top before the user sorts anything.
    void newestFirstAtStart() { QCOMPARE(shownRuns(), (RunList{2, 1, 3})); }

    void deletes_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<RunList>("left");

        QTest::newRow("confirmed") << QStringLiteral("确认") << RunList{2, 3};
        QTest::newRow("not confirmed") << QStringLiteral("取消") << RunList{2, 1, 3};
    }
    void deletes()
    {
        QFETCH(QString, answer);
        QFETCH(RunList, left);
        QVERIFY(m_page->selectRun(1));
        m_fake->clearCalls();
        QSignalSpy finished(m_page.get(), &RunHistoryPage::deleteFinished);
        BoxScript boxes({BoxScript::press(answer)});
        click(m_page.get(), "m_RunHistoryDeleteButton");
        QCOMPARE(boxes.boxes().size(), 1);

        if (left.size() == 3) {
            QCOMPARE(m_fake->calls(QStringLiteral("DeleteRun")).size(), 0);
            QCOMPARE(shownRuns(), left);
            return;
        }
        QVERIFY(finished.wait());
        QCOMPARE(finished.first().at(1).toBool(), true);
        const auto calls = m_fake->calls(QStringLiteral("DeleteRun"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().arguments.value(0).toLongLong(), 1LL);
        QCOMPARE(shownRuns(), left);
        // The list is read again, and the service no longer has the run.
        QTRY_VERIFY(m_fake->calls(QStringLiteral("ListRuns")).size() >= 1);
        QSignalSpy refreshed(m_page.get(), &RunHistoryPage::refreshed);
        QVERIFY(refreshed.wait() || shownRuns() == left);
        QCOMPARE(shownRuns(), left);
        QCOMPARE(m_page->selectedRun(), -1LL);
    }

    // The service refuses (the run has not ended): its reason is shown and
    // the row stays.
    void refusedDeleteShowsReason()
    {
        m_fake->setReply(QStringLiteral("DeleteRun"), {20});
        m_page->setConfirmDelete(false);
        QVERIFY(m_page->selectRun(3));
        BoxScript boxes({BoxScript::press(QStringLiteral("确认"))});
        QSignalSpy finished(m_page.get(), &RunHistoryPage::deleteFinished);
        click(m_page.get(), "m_RunHistoryDeleteButton");
        QTRY_COMPARE(boxes.boxes().size(), 1);
        QVERIFY2(boxes.boxes().first().text.contains(QStringLiteral("扫描尚未结束")),
                 qPrintable(boxes.boxes().first().text));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().at(1).toBool(), false);
        QCOMPARE(shownRuns(), (RunList{2, 1, 3}));
    }

    void exportAsksWithTheRun()
    {
        QVERIFY(m_page->selectRun(2));
        QSignalSpy asked(m_page.get(), &RunHistoryPage::exportRequested);
        click(m_page.get(), "m_RunHistoryExportButton");
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().at(0).toLongLong(), 2LL);
        QVERIFY(!asked.first().at(1).toString().isEmpty());
        QVERIFY(!asked.first().at(1).toString().contains(QLatin1Char('/')));
    }

    void emptyHistoryShowsMessage()
    {
        QVERIFY(m_fake->setRuns(QStringLiteral("[]")));
        refresh();
        QCOMPARE(shownView(), child<QWidget>(m_page.get(), "m_RunHistoryMessageLabel"));
        QCOMPARE(message(), QStringLiteral("暂无扫描记录"));
        QVERIFY(!child<QPushButton>(m_page.get(), "m_RunHistoryDeleteButton")->isEnabled());
    }

    // The run a scan leaves behind is listed once the scan ends, without
    // the user asking.
    void listedAgainWhenAScanEnds()
    {
        MainWindow window;
        window.setEffectiveUidFunction([] { return 0u; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        configureKeywords(window, {QStringLiteral("机密")});
        click(&window, "m_KeywordScanComboBoxLikeDisplayButton");
        QCOMPARE(page(window, "stackedWidget_2"), 0);
        QString fourRuns = ThreeRuns;
        fourRuns.replace(0, 1, QStringLiteral(R"([{"run": 4, "path_list": "/root", "task_type": "keyword",)"
                                              R"( "outcome": "completed", "started": "2026-12-08T09:00:00+00:00"},)"));
        QVERIFY(m_fake->setRuns(fourRuns));
        QVERIFY(m_fake->emitSignal(QStringLiteral("SensitiveDiscoveryKeywordScanningFile"),
                                   {window.keywordPathList(), QString(), 0}));
        QTRY_COMPARE(page(window, "stackedWidget_2"), 2);
        QTRY_COMPARE(window.historyPage()->model()->rowCount(), 4);
        QCOMPARE(window.historyPage()->model()->rowOfRun(4), 0);
    }

    // Last: the fake is ended.
    void missingServiceShowsMessage()
    {
        m_fake->stop();
        refresh();
        QCOMPARE(shownView(), child<QWidget>(m_page.get(), "m_RunHistoryMessageLabel"));
        QCOMPARE(message(), QStringLiteral("扫描服务未运行，无法读取扫描记录"));
        QCOMPARE(m_page->model()->rowCount(), 0);
    }
};

QTEST_MAIN(TestRunHistory)
#include "tst_runhistory.moc"
