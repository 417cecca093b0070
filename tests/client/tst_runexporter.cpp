// The export of a run from a page (fake scan service, private bus, the Qt
// save dialog driven as a user does): the descriptor of the file the user
// chose reaches the service with the format of the chosen filter; success
// says where the file went and opens its folder, failure gives the
// service's reason and leaves no file; full values only after a yes.

#include "fakescanservice.h"
#include "modalanswerer.h"
#include "privatebus.h"
#include "runexporter.h"
#include "transcontrolprotocol.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

// Stands in for the desktop: records the URLs the client asks it to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

class TestRunExporter : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QWidget> m_page;
    UrlRecorder m_desktop;

    // Answers the save dialog: the filter at `filter`, `name` typed in the
    // test's folder, the full-values box as `full`.
    static ModalAnswerer::Handler saveAs(const QString &path, int filter, bool full = false)
    {
        return [path, filter, full](QWidget *box) {
            auto *dialog = qobject_cast<QFileDialog *>(box);
            QVERIFY(dialog);
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            auto *check = dialog->findChild<QCheckBox *>(QStringLiteral("RunExporterFullValues"));
            QVERIFY(check);
            // Masked unless the user asks.
            QVERIFY(!check->isChecked());
            check->setChecked(full);
            dialog->selectNameFilter(dialog->nameFilters().at(filter));
            QVERIFY(ModalAnswerer::chooseFile(dialog, path));
        };
    }

    // The message the export ended with, once it shows.
    static QMessageBox *endMessage()
    {
        QMessageBox *box = nullptr;
        [&box] { QTRY_VERIFY((box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))); }();
        return box;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_desktop, "open");
    }
    void init()
    {
        m_fake->reset();
        m_desktop.urls.clear();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_page = std::make_unique<QWidget>();
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    }
    void cleanup()
    {
        m_page.reset();
        m_dir.reset();
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        m_fake.reset();
        m_bus.reset();
    }

    void exportsIntoTheChosenFile_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("format");

        QTest::newRow("csv, extension added") << 0 << "报告" << "报告.csv" << "csv";
        QTest::newRow("json lines") << 1 << "报告" << "报告.jsonl" << "jsonl";
        QTest::newRow("html, another dot in the name") << 2 << "报告.2026" << "报告.2026.html" << "html";
        QTest::newRow("extension typed in capitals") << 2 << "r.HTML" << "r.HTML" << "html";
        QTest::newRow("filter decides, not the name") << 0 << "r.html" << "r.html.csv" << "csv";
    }
    void exportsIntoTheChosenFile()
    {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QString, format);

        RunExporter exporter(QDBusConnection::systemBus(), m_page.get());
        QSignalSpy exported(&exporter, &RunExporter::exported);
        ModalAnswerer answer(saveAs(m_dir->filePath(typed), filter));
        exporter.exportRun(7, QStringLiteral("扫描结果"));
        QVERIFY(answer.answered());
        QTRY_COMPARE(exported.size(), 1);

        const QString path = m_dir->filePath(written);
        QCOMPARE(exported.first().first().toString(), path);
        // What the service wrote reached the chosen file through its descriptor.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QStringLiteral("run=7 format=%1 unmasked=false\n").arg(format).toUtf8());
        const QList<FakeScanService::Call> calls = m_fake->calls(QStringLiteral("ExportRun"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().arguments.at(3).toBool(), true); // a valid descriptor
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{written});
        // Findings are readable by the file's owner only.
        QCOMPARE(QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther
                                                  | QFileDevice::WriteGroup | QFileDevice::WriteOther),
                 QFileDevice::Permissions());

        // The message names the file and opens its folder, not the file.
        QMessageBox *box = endMessage();
        QVERIFY(box->text().contains(QDir::toNativeSeparators(path)));
        auto *open = box->findChild<QPushButton *>(QStringLiteral("RunExporterOpenFolder"));
        QVERIFY(open);
        open->click();
        QCOMPARE(m_desktop.urls, QList<QUrl>{QUrl::fromLocalFile(m_dir->path())});
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    void failureSaysWhyAndLeavesNoFile_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("busError");
        QTest::newRow("unknown run") << int(ReturnCode::UnknownRun) << false;
        QTest::newRow("descriptor not writable") << int(ReturnCode::ExportFailed) << false;
        QTest::newRow("access denied") << 0 << true;
    }
    void failureSaysWhyAndLeavesNoFile()
    {
        QFETCH(int, code);
        QFETCH(bool, busError);
        if (busError)
            m_fake->setError(QStringLiteral("ExportRun"), QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                             QStringLiteral("not allowed"));
        else
            m_fake->setReply(QStringLiteral("ExportRun"), {code});
        const QString reason = busError ? QStringLiteral("not allowed") : RunReports::reasonOf(code);

        RunExporter exporter(QDBusConnection::systemBus(), m_page.get());
        QSignalSpy failed(&exporter, &RunExporter::exportFailed);
        QSignalSpy exported(&exporter, &RunExporter::exported);
        ModalAnswerer answer(saveAs(m_dir->filePath(QStringLiteral("报告")), 0));
        exporter.exportRun(7, QStringLiteral("扫描结果"));
        QVERIFY(answer.answered());
        QTRY_COMPARE(failed.size(), 1);
        QCOMPARE(failed.first().first().toString(), reason);
        QCOMPARE(exported.size(), 0);
        QCOMPARE(m_fake->calls(QStringLiteral("ExportRun")).size(), 1);
        QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
        QMessageBox *box = endMessage();
        QVERIFY(box->text().contains(reason));
        box->close();
    }

    void fullValuesOnlyAfterYes_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("exports");
        QTest::newRow("yes") << "导出" << true;
        QTest::newRow("no") << "取消" << false;
    }
    void fullValuesOnlyAfterYes()
    {
        QFETCH(QString, answer);
        QFETCH(bool, exports);
        RunExporter exporter(QDBusConnection::systemBus(), m_page.get());
        QSignalSpy exported(&exporter, &RunExporter::exported);
        std::unique_ptr<ModalAnswerer> confirmation;
        QString question;
        const ModalAnswerer::Handler save = saveAs(m_dir->filePath(QStringLiteral("完整")), 0, true);
        ModalAnswerer dialog([&](QWidget *box) {
            save(box);
            // The question comes once the dialog has gone.
            confirmation = std::make_unique<ModalAnswerer>([answer](QWidget *question) {
                QVERIFY(qobject_cast<QMessageBox *>(question));
                QVERIFY(ModalAnswerer::clickButton(question, answer));
            });
        });
        exporter.exportRun(3, QStringLiteral("扫描结果"));
        QVERIFY(dialog.answered());
        QVERIFY(confirmation && confirmation->answered());
        if (!exports) {
            QVERIFY(m_fake->calls(QStringLiteral("ExportRun")).isEmpty());
            QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
            return;
        }
        QTRY_COMPARE(exported.size(), 1);
        QFile file(m_dir->filePath(QStringLiteral("完整.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("run=3 format=csv unmasked=true\n"));
        // The window's close button closes the message.
        endMessage()->close();
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    void latestRunOfThePage_data()
    {
        QTest::addColumn<QString>("taskType");
        QTest::addColumn<qlonglong>("run");
        QTest::newRow("keyword") << "keyword" << 7LL;
        QTest::newRow("privacy") << "privacy" << 9LL;
        QTest::newRow("never ran") << "other" << -1LL;
    }
    void latestRunOfThePage()
    {
        QFETCH(QString, taskType);
        QFETCH(qlonglong, run);
        m_fake->setReply(QStringLiteral("ListRuns"),
                         {0, QStringLiteral(R"([{"run": 9, "path_list": "/home/a", "task_type": "privacy"},)"
                                            R"( {"run": 7, "path_list": "/home/a", "task_type": "keyword"},)"
                                            R"( {"run": 5, "path_list": "/home/a", "task_type": "keyword"}])")});
        RunExporter exporter(QDBusConnection::systemBus(), m_page.get());
        QSignalSpy exported(&exporter, &RunExporter::exported);
        QSignalSpy failed(&exporter, &RunExporter::exportFailed);
        if (run < 0) {
            exporter.exportLatestRun(QStringLiteral("/home/a"), taskType, QStringLiteral("扫描结果"));
            // No save dialog: the message says the run is not in the history.
            QTRY_COMPARE(failed.size(), 1);
            QMessageBox *box = endMessage();
            QVERIFY(box->text().contains(RunReports::reasonOf(ReturnCode::UnknownRun)));
            box->close();
            QVERIFY(m_fake->calls(QStringLiteral("ExportRun")).isEmpty());
            return;
        }
        ModalAnswerer answer(saveAs(m_dir->filePath(QStringLiteral("r")), 0));
        exporter.exportLatestRun(QStringLiteral("/home/a"), taskType, QStringLiteral("扫描结果"));
        QTRY_VERIFY(answer.answered());
        QTRY_COMPARE(exported.size(), 1);
        const QList<FakeScanService::Call> calls = m_fake->calls(QStringLiteral("ExportRun"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().arguments.at(0).toLongLong(), run);
        endMessage()->close();
    }
};

QTEST_MAIN(TestRunExporter)
#include "tst_runexporter.moc"
