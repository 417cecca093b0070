// A privacy scan through the real scan service on a private bus, from the
// real main window on the X display, then its export as the user makes it:
// the completed page's button, the save dialog, the file the client opened
// and passed to the service. The CSV is read back with Python's csv module:
// the planted file is in it with its hit. A JSON Lines export, which keeps
// passages, holds the value masked (masking is the default). The page also
// lists the damaged file the service could not read.

#include "../scanservice/servicerun.h"
#include "checklistfixture.h"
#include "filesnotreadlink.h"
#include "keywordtemplatestore.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "privatebus.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
// A hand-written mobile number, as a user's document would hold it.
const QString Mobile = QStringLiteral("13912345678");
const QString MaskedMobile = QStringLiteral("139****5678");
// The privacy module's flow stack: 2 is the completed page.
constexpr int CompletedFlow = 2;
// A real scan of two small files; generous for a loaded machine.
constexpr int ScanTimeoutMs = 120000;

// The rows of a CSV file as Python's csv module reads them (header row as keys).
QJsonArray readCsv(const QString &path)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                 "    print(json.dumps(list(csv.DictReader(f))))\n"),
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return QJsonArray();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}
} // namespace

class TestExportEndToEnd : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_home;

    // Exports the window's completed privacy run as the user does, with
    // the save dialog's filter `filter`, into `base` (the extension added
    // by the client); `written` is the path the success message names.
    static void exportAs(MainWindow &window, int filter, const QString &base, QString *written)
    {
        ModalAnswerer save([filter, base](QWidget *box) {
            auto *dialog = qobject_cast<QFileDialog *>(box);
            QVERIFY(dialog);
            dialog->selectNameFilter(dialog->nameFilters().at(filter));
            QVERIFY(ModalAnswerer::chooseFile(dialog, base));
        });
        auto *button = window.findChild<QAbstractButton *>(QStringLiteral("m_PiiScanCompleteExportButton"));
        QVERIFY(button && button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QMessageBox *done = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(save.answered() && (done = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())), 60000);
        const QString text = done->text();
        done->close();
        // "…exported to:" and the path on a line of its own.
        *written = text.section(QLatin1Char('\n'), -1);
    }
    std::unique_ptr<PrivateBus> m_bus;
    QProcess m_service;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        // The window scans the home directory: the test's own.
        m_home = m_work.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(m_home + QStringLiteral("/文档")));
        qputenv("HOME", m_home.toLocal8Bit());
        QFile planted(m_home + QStringLiteral("/文档/客户名单.txt"));
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write(QStringLiteral("客户：张三，手机 %1，请回电。\n").arg(Mobile).toUtf8());
        planted.close();
        QFile damaged(m_home + QStringLiteral("/文档/坏的.docx"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("PK\x03\x04 this is not a zip archive at all");
        damaged.close();

        const QString checklists = m_work.filePath(QStringLiteral("checklists.db"));
        QVERIFY(ChecklistFixture::writeDatabase(checklists, {}));
        QVERIFY(KeywordTemplateStore::instance(checklists)->isOpen());
        qputenv("GSETTINGS_SCHEMA_DIR", (qEnvironmentVariable("DISCOVERY_BINARY_DIR") + QStringLiteral("/schemas")).toLocal8Bit());
        qputenv("GSETTINGS_BACKEND", "memory");

        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        QVERIFY(ServiceRun::start(m_service, QStringLiteral(SCAN_SERVICE_BINARY),
                                  m_work.filePath(QStringLiteral("findings.db")),
                                  {QStringLiteral("--findings-log"), QStringLiteral("off")}));
    }
    void cleanupTestCase()
    {
        ServiceRun::stop(m_service);
        m_bus.reset();
    }

    void completedPrivacyScanExportedMasked()
    {
        MainWindow window;
        window.setEffectiveUidFunction([] { return 0u; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto clickButton = [&window](const char *name) {
            auto *button = window.findChild<QAbstractButton *>(QLatin1String(name));
            QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
            QTest::mouseClick(button, Qt::LeftButton);
        };
        clickButton("m_PiiScanButton");
        clickButton("m_PiiScanComboBoxLikeDisplayButton");
        QCOMPARE(window.privacyPathList(), m_home);
        auto *flow = window.findChild<QStackedWidget *>(QStringLiteral("stackedWidget_3"));
        QVERIFY(flow);
        QTRY_COMPARE_WITH_TIMEOUT(flow->currentIndex(), CompletedFlow, ScanTimeoutMs);
        QVERIFY(window.privacyHitTotal() >= 1);

        // The damaged document is among the files the run could not read.
        auto *notRead = window.findChild<FilesNotReadLink *>(QStringLiteral("m_PiiScanCompleteFilesNotReadLabel"));
        QVERIFY(notRead);
        QTRY_VERIFY(notRead->isVisible());
        QStringList unread;
        for (const RunReports::FileNotRead &file : notRead->files())
            unread << file.file;
        QVERIFY2(unread.contains(m_home + QStringLiteral("/文档/坏的.docx")), qPrintable(unread.join(QLatin1Char(' '))));

        const QString out = m_work.filePath(QStringLiteral("导出"));
        QVERIFY(QDir().mkpath(out));
        QString csv;
        exportAs(window, 0, out + QStringLiteral("/隐私扫描"), &csv);
        QCOMPARE(csv, out + QStringLiteral("/隐私扫描.csv"));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(!bytes.contains(Mobile.toUtf8()));
        const QJsonArray rows = readCsv(csv);
        QVERIFY(!rows.isEmpty());
        bool found = false;
        for (const QJsonValue &value : rows) {
            const QJsonObject row = value.toObject();
            QCOMPARE(row.value(QStringLiteral("path_list")).toString(), m_home);
            QCOMPARE(row.value(QStringLiteral("task_type")).toString(), QStringLiteral("privacy"));
            if (row.value(QStringLiteral("file")).toString() == m_home + QStringLiteral("/文档/客户名单.txt")) {
                found = true;
                QVERIFY(row.value(QStringLiteral("count")).toString().toInt() >= 1);
            }
        }
        QVERIFY2(found, bytes.constData());

        QString jsonl;
        exportAs(window, 1, out + QStringLiteral("/隐私扫描"), &jsonl);
        QCOMPARE(jsonl, out + QStringLiteral("/隐私扫描.jsonl"));
        QFile lines(jsonl);
        QVERIFY(lines.open(QIODevice::ReadOnly));
        const QByteArray passages = lines.readAll();
        QVERIFY2(passages.contains(MaskedMobile.toUtf8()), passages.constData());
        QVERIFY(!passages.contains(Mobile.toUtf8()));
    }
};

QTEST_MAIN(TestExportEndToEnd)
#include "tst_exportendtoend.moc"
