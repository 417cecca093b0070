// The cancelled and completed pages of both modules (the real MainWindow,
// fake scan service, private bus): the run they export and whose unread
// files they count is the newest run of the module's own path list and task
// type, and the count shows on the page that is in view.

#include "scancontrollertest.h"

#include "checklistfixture.h"
#include "fakescanservice.h"
#include "filesnotreadlink.h"
#include "keywordtemplatestore.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "privatebus.h"

#include <QFileDialog>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

using namespace ScanControllerTest;

class TestEndedPages : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<LogCapture> m_log;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_dir;

    // Starts the module's task on the home target and ends it as asked.
    void endScan(bool keyword, bool cancelled)
    {
        if (keyword) {
            configureKeywords(*m_window, {QStringLiteral("机密")});
            click(m_window.get(), "m_KeywordScanComboBoxLikeDisplayButton");
        } else {
            click(m_window.get(), "m_PiiScanButton");
            click(m_window.get(), "m_PiiScanComboBoxLikeDisplayButton");
        }
        const char *flow = keyword ? "stackedWidget_2" : "stackedWidget_3";
        QCOMPARE(page(*m_window, flow), 0);
        if (cancelled) {
            BoxScript boxes({BoxScript::press(QStringLiteral("确认"))});
            click(m_window.get(), keyword ? "m_KeywordScanCancelScanButton" : "m_PiiScanCancelScanButton");
            QCOMPARE(page(*m_window, flow), 1);
        } else {
            const QString pathlist = keyword ? m_window->keywordPathList() : m_window->privacyPathList();
            QVERIFY(m_fake->emitSignal(keyword ? QStringLiteral("SensitiveDiscoveryKeywordScanningFile")
                                               : QStringLiteral("SensitiveDiscoveryDataIdScanningFile"),
                                       {pathlist, QString(), 0}));
            QTRY_COMPARE(page(*m_window, flow), 2);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(ChecklistFixture::writeDatabase(m_dir.filePath(QStringLiteral("checklists.db")), {}));
        QVERIFY(KeywordTemplateStore::instance(m_dir.filePath(QStringLiteral("checklists.db")))->isOpen());
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
    }
    void cleanup() { m_window.reset(); }
    void cleanupTestCase()
    {
        m_log.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void exportsAndCountsTheirOwnRun_data()
    {
        QTest::addColumn<bool>("keyword");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QByteArray>("link");
        QTest::addColumn<QByteArray>("exportButton");
        QTest::newRow("keyword completed") << true << false << QByteArray("m_KeywordScanCompleteFilesNotReadLabel")
                                           << QByteArray("m_KeywordScanCompleteExportButton");
        QTest::newRow("keyword cancelled") << true << true << QByteArray("m_KeywordScanCancelFilesNotReadLabel")
                                           << QByteArray("m_KeywordScanCancelExportButton");
        QTest::newRow("privacy completed") << false << false << QByteArray("m_PiiScanCompleteFilesNotReadLabel")
                                           << QByteArray("m_PiiScanCompleteExportButton");
        QTest::newRow("privacy cancelled") << false << true << QByteArray("m_PiiScanCancelFilesNotReadLabel")
                                           << QByteArray("m_PiiScanCancelExportButton");
    }
    void exportsAndCountsTheirOwnRun()
    {
        QFETCH(bool, keyword);
        QFETCH(bool, cancelled);
        QFETCH(QByteArray, link);
        QFETCH(QByteArray, exportButton);

        // The other module's run on the same target is newer, an older run
        // of this module is there too.
        const QString home = QDir::homePath();
        const QString runs = QStringLiteral(R"([{"run": 30, "path_list": "%1", "task_type": "%2"},)"
                                            R"( {"run": 21, "path_list": "%1", "task_type": "%3"},)"
                                            R"( {"run": 20, "path_list": "%1", "task_type": "%3"}])")
                                 .arg(home, keyword ? QStringLiteral("privacy") : QStringLiteral("keyword"),
                                      keyword ? QStringLiteral("keyword") : QStringLiteral("privacy"));
        m_fake->setReply(QStringLiteral("ListRuns"), {0, runs});
        m_fake->setReply(QStringLiteral("GetRunFilesNotRead"),
                         {0, QStringLiteral(R"([{"file": "/x/a.pdf", "kind": "unreadable", "reason": "EACCES"},)"
                                            R"( {"file": "/x/b.doc", "kind": "reader failed", "reason": "signal 11"}])")});
        endScan(keyword, cancelled);
        QCOMPARE(keyword ? m_window->keywordPathList() : m_window->privacyPathList(), home);

        auto *line = child<FilesNotReadLink>(m_window.get(), link.constData());
        QVERIFY(line);
        QTRY_VERIFY(line->isVisible());
        QCOMPARE(line->files().size(), 2);
        QCOMPARE(m_fake->calls(QStringLiteral("GetRunFilesNotRead")).first().arguments.at(0).toLongLong(), 21LL);

        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("结果.html"));
        ModalAnswerer answer([file](QWidget *box) {
            auto *dialog = qobject_cast<QFileDialog *>(box);
            QVERIFY(dialog);
            dialog->selectNameFilter(dialog->nameFilters().at(2));
            QVERIFY(ModalAnswerer::chooseFile(dialog, file));
        });
        click(m_window.get(), exportButton.constData());
        QTRY_VERIFY(answer.answered());
        QTRY_COMPARE(m_fake->calls(QStringLiteral("ExportRun")).size(), 1);
        QCOMPARE(m_fake->calls(QStringLiteral("ExportRun")).first().arguments.at(0).toLongLong(), 21LL);
        QTRY_VERIFY(QApplication::activeModalWidget());
        QApplication::activeModalWidget()->close();

        // Back to the configuration: the line is gone with the task.
        click(m_window.get(), keyword ? (cancelled ? "m_KeywordScanCancelReturnButton" : "m_KeywordScanCompleteReturnButton")
                                      : (cancelled ? "m_PiiScanCancelReturnButton" : "m_PiiScanCompleteReturnButton"));
        QVERIFY(line->files().isEmpty());
    }
};

QTEST_MAIN(TestEndedPages)
#include "tst_endedpages.moc"
