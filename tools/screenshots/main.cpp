// Renders the main window's pages to PNG files, without a display:
//   discovery-screenshots OUTDIR [LOCALE]
// LOCALE picks the interface catalogue ("zh_CN", "zh_HK", "en_US"); the
// default is the source language. The scanning and result pages are filled
// through the window's own signals, as the scan service's would fill them;
// the history page lists what the service on the system bus answers.
#include "catalogues.h"
#include "mainwindow.h"
#include "runhistorymodel.h"
#include "runhistorypage.h"
#include "scancontroller.h"
#include "scantaskcalls.h"
#include "timerthread.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTextStream>

namespace {

// How long the history's answers from the bus are waited for.
constexpr int BusWaitMs = 5000;

// The picture shows the elapsed time it was given, not the timer's own.
void stopTimer(TimerThread *timer)
{
    timer->requestStop();
    timer->quit();
    timer->wait();
}

// The service as it answers a task that goes well: every call accepted.
class AcceptingCalls : public ScanTaskCalls
{
public:
    bool createTask(const QString &, int, int, const QString &) override { return true; }
    bool pauseTask(const QString &, int) override { return true; }
    bool continueTask(const QString &, int) override { return true; }
    bool terminateTask(const QString &, int) override { return true; }
};

bool save(MainWindow &window, const QString &dir, const QString &name)
{
    // Rows and layouts settle over a few passes of the event loop (a row
    // added makes the list taller, which lays out the page, which shows the
    // row).
    for (int pass = 0; pass < 5; ++pass)
        QCoreApplication::processEvents();
    const QString path = QDir(dir).filePath(name);
    const bool saved = window.grab().save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: discovery-screenshots OUTDIR [LOCALE]\n";
        return 2;
    }
    const QString outDir = args.at(1);
    if (!QDir().mkpath(outDir)) {
        QTextStream(stderr) << "cannot create " << outDir << '\n';
        return 1;
    }
    if (args.size() > 2)
        Catalogues::install(&app, args.at(2), QLibraryInfo::location(QLibraryInfo::TranslationsPath));

    MainWindow window;
    AcceptingCalls calls;
    window.keywordScan()->setTaskCalls(&calls);
    window.privacyScan()->setTaskCalls(&calls);
    window.setEffectiveUidFunction([] { return 0u; });
    window.resize(960, 580);
    window.show();
    Ui::MainWindow *ui = window.ui();
    bool ok = true;

    ui->stackedWidget->setCurrentIndex(0);
    ok &= save(window, outDir, QStringLiteral("keyword-start.png"));
    // Through the sidebar, so that it shows the module of the page.
    ui->m_PiiScanButton->click();
    ui->stackedWidget->setCurrentIndex(2);
    ok &= save(window, outDir, QStringLiteral("privacy-start.png"));
    ui->m_KeywordScanButton->click();

    // A keyword scan under way, with three files holding hits.
    const QString keywordTarget = QStringLiteral("/home/demo/文档");
    window.setKeywordPathList(keywordTarget);
    window.keywordScan()->start(QString(), MainWindow::NormalScanMode);
    stopTimer(window.keywordTimer());
    QCoreApplication::processEvents();
    ui->stackedWidget->setCurrentIndex(1);
    ui->stackedWidget_2->setCurrentIndex(0);
    ui->stackedWidget_4->setCurrentIndex(0);
    Q_EMIT window.KeywordScanProgressRangeGenerated(0, 12480);
    Q_EMIT window.KeywordScanTimeElapsed(83);
    Q_EMIT window.KeywordScanProgressValueChanged(keywordTarget, keywordTarget + QStringLiteral("/季度报告.docx"), 4731);
    Q_EMIT window.KeywordSensitiveDetected(keywordTarget, keywordTarget + QStringLiteral("/合同/采购合同-2026.pdf"),
                                           QVariantMap{{QStringLiteral("机密"), 3}, {QStringLiteral("合同编号"), 2}});
    Q_EMIT window.KeywordSensitiveDetected(keywordTarget, keywordTarget + QStringLiteral("/财务/预算.xlsx"),
                                           QVariantMap{{QStringLiteral("机密"), 5}});
    Q_EMIT window.KeywordSensitiveDetected(keywordTarget, keywordTarget + QStringLiteral("/会议纪要.txt"),
                                           QVariantMap{{QStringLiteral("内部资料"), 1}});
    ok &= save(window, outDir, QStringLiteral("keyword-scanning.png"));
    Q_EMIT window.KeywordScanProgressValueChanged(keywordTarget, QString(), 0);
    ok &= save(window, outDir, QStringLiteral("keyword-completed.png"));

    // A privacy scan under way, with hits in several categories.
    const QString privacyTarget = QStringLiteral("/home/demo");
    window.setPrivacyPathList(privacyTarget);
    window.privacyScan()->start(QString(), MainWindow::NormalScanMode);
    stopTimer(window.privacyTimer());
    QCoreApplication::processEvents();
    ui->m_PiiScanButton->click();
    ui->stackedWidget->setCurrentIndex(3);
    ui->stackedWidget_3->setCurrentIndex(0);
    Q_EMIT window.PiiScanProgressRangeGenerated(0, 1204558);
    Q_EMIT window.PiiScanTimeElapsed(205);
    Q_EMIT window.PiiScanProgressValueChanged(privacyTarget, privacyTarget + QStringLiteral("/客户名单.xlsx"), 212009);
    Q_EMIT window.PiiSensitiveDetected(privacyTarget, QVariantMap{{QStringLiteral("身份标识"), 12},
                                                                  {QStringLiteral("账户信息"), 4},
                                                                  {QStringLiteral("金融消费"), 7},
                                                                  {QStringLiteral("地理位置"), 3},
                                                                  {QStringLiteral("设备信息"), 2},
                                                                  {QStringLiteral("医疗健康"), 1}});
    ok &= save(window, outDir, QStringLiteral("privacy-scanning.png"));
    window.privacyScan()->pauseOrContinue();
    ok &= save(window, outDir, QStringLiteral("privacy-paused.png"));

    // The history module with the runs the service on the bus keeps (the
    // script runs the fake scan service on a private bus for it), the
    // newest selected with its summary.
    RunHistoryPage *history = window.historyPage();
    QSignalSpy listed(history, &RunHistoryPage::refreshed);
    window.findChild<QPushButton *>(QStringLiteral("m_HistoryButton"))->click();
    if (!listed.wait(BusWaitMs))
        QTextStream(stderr) << "the history was not listed\n";
    const QModelIndex newest = history->table()->model()->index(0, 0);
    if (newest.isValid()) {
        auto *summary = history->findChild<QPlainTextEdit *>(QStringLiteral("m_RunHistorySummary"));
        const QString before = summary->toPlainText();
        history->selectRun(newest.data(RunHistoryModel::RunRole).toLongLong());
        const bool summarised = QTest::qWaitFor([summary, before] { return summary->toPlainText() != before
                                                   && summary->toPlainText() != RunHistoryPage::tr("正在读取……"); },
                        BusWaitMs);
        if (!summarised)
            QTextStream(stderr) << "the run's summary did not come\n";
    }
    ok &= save(window, outDir, QStringLiteral("history.png"));

    window.setKeywordPathList(QString());
    window.setPrivacyPathList(QString());
    return ok ? 0 : 1;
}
