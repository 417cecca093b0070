// MainWindow: what both modules' scan pages share: the page of a started,
// paused, cancelled or completed task, the summaries, the elapsed-time text,
// the file being scanned, and the message boxes.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "desktopnotifier.h"
#include "elidedpathlabel.h"
#include "keywordresultlist.h"
#include "messagebox.h"
#include "runhistorypage.h"
#include "scancontroller.h"

#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextDocument>

namespace {
// The pause button's width when both its words are short, and the room
// around its word otherwise.
constexpr int PauseButtonWidth = 96;
constexpr int PausePadding = 24;
} // namespace


// Each scan signal drives the slot named after it. The timers' and the
// file-count workers' signals come from their threads and arrive queued.
void MainWindow::connectScanSignals()
{
    connect(this, &MainWindow::KeywordScanTimeElapsed, this, &MainWindow::onKeywordScanTimeElapsed);
    connect(this, &MainWindow::KeywordScanProgressRangeGenerated, this,
            &MainWindow::onKeywordScanProgressRangeGenerated);
    connect(this, &MainWindow::KeywordScanProgressValueChanged, this,
            &MainWindow::onKeywordScanProgressValueChanged);
    connect(this, &MainWindow::KeywordSensitiveDetected, this, &MainWindow::onKeywordSensitiveDetected);
    // The result rows open their detail dialogs on the window's proxy.
    m_ui->m_keywordScanResultList->setScanService(m_sensitiveScanInterface);
    connect(this, &MainWindow::KeywordScanTerminated, this, &MainWindow::onKeywordScanTerminated);
    connect(this, &MainWindow::KeywordScanCompleted, this, &MainWindow::onKeywordScanCompleted);

    connect(this, &MainWindow::PiiScanTimeElapsed, this, &MainWindow::onPiiScanTimeElapsed);
    connect(this, &MainWindow::PiiScanProgressRangeGenerated, this, &MainWindow::onPiiScanProgressRangeGenerated);
    connect(this, &MainWindow::PiiScanProgressValueChanged, this, &MainWindow::onPiiScanProgressValueChanged);
    connect(this, &MainWindow::PiiSensitiveDetected, this, &MainWindow::onPiiSensitiveDetected);
    connect(this, &MainWindow::PiiScanCompleted, this, &MainWindow::onPiiScanCompleted);

    for (ScanController *scan : {m_keywordScan, m_privacyScan})
        connect(scan, &ScanController::StateChanged, this, [this, scan] {
            updatePauseButton(scan);
            showFileCount(scan);
        });
}

MainWindow::ScanPage MainWindow::scanPage(const ScanController *scan) const
{
    if (scan == m_keywordScan)
        return {KeywordScanPage,
                m_ui->stackedWidget_2,
                m_ui->m_KeywordScanPauseScanButton,
                m_ui->m_KeywordScanProgressBar,
                m_ui->m_KeywordScanningSecondElapsedLabel,
                m_ui->m_KeywordScanCancelTimeElapsedLabel,
                m_ui->m_KeywordScanCancelLabel,
                m_ui->m_KeywordScanCompleteTimeElapsedLabel,
                m_ui->m_KeywordScanCompleteDescribeLabel,
                m_ui->m_KeywordScanningLabel,
                m_ui->m_KeywordScanningFileLabel,
                m_ui->m_KeywordScanFileCountLabel,
                m_ui->m_KeywordScanTimeLeftLabel,
                m_ui->m_KeywordScanCancelFileCountLabel,
                m_ui->m_KeywordScanCompleteFileCountLabel};
    return {PrivacyScanPage,
            m_ui->stackedWidget_3,
            m_ui->m_PiiScanPauseScanButton,
            m_ui->m_PiiScanProgressBar,
            m_ui->m_PiiScanningSecondElapsedLabel,
            m_ui->m_PiiScanCancelTimeElapsedLabel,
            m_ui->m_PiiScanCancelLabel,
            m_ui->m_PiiScanCompleteTimeElapsedLabel,
            m_ui->m_PiiScanCompleteDescribeLabel,
            m_ui->m_PiiScanninglabel,
            m_ui->m_PiiScanningFileLabel,
            m_ui->m_PiiScanFileCountLabel,
            m_ui->m_PiiScanTimeLeftLabel,
            m_ui->m_PiiScanCancelFileCountLabel,
            m_ui->m_PiiScanCompleteFileCountLabel};
}

// The bar stays busy until the file-count worker reports the task's total
// (it reports nothing when it finds no file).
void MainWindow::showScanStarted(ScanController *scan)
{
    const ScanPage page = scanPage(scan);
    m_ui->stackedWidget->setCurrentIndex(page.page);
    page.flow->setCurrentIndex(ScanningFlowPage);
    if (scan == m_keywordScan)
        m_ui->stackedWidget_4->setCurrentIndex(HitListPage);
    page.bar->setRange(0, 0);
    page.bar->setValue(0);
    page.file->setPath(QString());
    page.elapsed->setText(formatElapsedTime(0));
    showFileCount(scan);
    updatePauseButton(scan);
    startFileCount(scan->pathList(), scan->taskType());
    clearFilesNotRead(scan);
    if (scan == m_keywordScan)
        clearKeywordResults();
    else
        resetPrivacyCounts();
}

void MainWindow::pauseOrContinue(ScanController *scan)
{
    const ScanController::State state = scan->state();
    if (state != ScanController::State::Scanning && state != ScanController::State::Paused)
        return;
    if (!scan->pauseOrContinue())
        showFailure(state == ScanController::State::Scanning ? tr("暂停扫描失败，请检查！") : tr("继续扫描失败，请检查！"));
}

void MainWindow::updatePauseButton(const ScanController *scan)
{
    const ScanPage page = scanPage(scan);
    // Wide enough for either word, so that the button and the bar beside
    // it keep their places when a pause turns it into "continue".
    const QFontMetrics metrics = page.pause->fontMetrics();
    page.pause->setMinimumWidth(qMax(PauseButtonWidth, PausePadding + qMax(metrics.horizontalAdvance(tr("暂停")),
                                                                          metrics.horizontalAdvance(tr("继续")))));
    if (scan->state() == ScanController::State::Scanning) {
        page.pause->setText(tr("暂停"));
        page.heading->setText(tr("正在扫描中..."));
    } else if (scan->state() == ScanController::State::Paused) {
        page.pause->setText(tr("继续"));
        page.heading->setText(tr("扫描已暂停"));
    }
}

// The value the bar missed while it was busy is caught up at once.
void MainWindow::showFileTotal(ScanController *scan, int minimum, int maximum)
{
    QProgressBar *bar = scanPage(scan).bar;
    scan->setFileTotal(maximum);
    bar->setRange(minimum, maximum);
    bar->setValue(qBound(minimum, scan->filesScanned(), maximum));
    showFileCount(scan);
}

// File id 0 with an empty path ends the task; the caller checks for it first.
void MainWindow::showFileScanned(ScanController *scan, const QString &filepath, int fileid)
{
    const ScanPage page = scanPage(scan);
    scan->setFilesScanned(fileid);
    page.bar->setValue(fileid);
    page.file->setPath(filepath);
    showFileCount(scan);
}

void MainWindow::showElapsed(ScanController *scan, int seconds)
{
    scan->setElapsedSeconds(seconds);
    scanPage(scan).elapsed->setText(formatElapsedTime(seconds));
    showFileCount(scan);
}

void MainWindow::showFileCount(const ScanController *scan)
{
    const ScanPage page = scanPage(scan);
    page.fileCount->setText(runningFileCount(scan));
    page.timeLeft->setText(timeLeft(scan));
}

QString MainWindow::runningFileCount(const ScanController *scan) const
{
    const QLocale locale;
    const QString scanned = locale.toString(scan->filesScanned());
    if (scan->fileTotal() < 0)
        return scan->filesScanned() > 0 ? tr("已扫描 %1 个文件").arg(scanned) : QString();
    return tr("%1 / %2 个文件（%3%）")
        .arg(scanned, locale.toString(scan->fileTotal()), locale.toString(scan->percentDone()));
}

// Only while the scan runs: a paused scan has no pace.
QString MainWindow::timeLeft(const ScanController *scan) const
{
    const int left = scan->secondsLeft();
    if (left < 0 || scan->state() != ScanController::State::Scanning)
        return QString();
    return tr("，剩余约 %1").arg(formatElapsedTime(left));
}

// A completed task has examined every file it counted.
QString MainWindow::endedFileCount(const ScanController *scan, bool cancelled) const
{
    const QLocale locale;
    const int total = scan->fileTotal();
    if (!cancelled)
        return tr("，共扫描 %1 个文件").arg(locale.toString(qMax(total, scan->filesScanned())));
    if (total < 0)
        return tr("，已扫描 %1 个文件").arg(locale.toString(scan->filesScanned()));
    return tr("，已扫描 %1 / %2 个文件").arg(locale.toString(scan->filesScanned()), locale.toString(total));
}

bool MainWindow::confirmCancel(ScanController *scan, const QString &title, const QString &question)
{
    const QString pathlist = scan->pathList();
    if (!askQuestion(title, question))
        return false;
    // The task may have ended while the question was open.
    if (pathlist != scan->pathList() || !scan->isRunning())
        return false;
    if (!scan->terminate()) {
        showFailure(tr("中止扫描失败，请检查！"));
        return false;
    }
    return true;
}

// The elapsed time is kept as it was last shown; the keyword module tells
// "no hits" by its rows, the privacy module by its total.
void MainWindow::showScanEnded(ScanController *scan, bool cancelled)
{
    const ScanPage page = scanPage(scan);
    (cancelled ? page.cancelElapsed : page.completeElapsed)->setText(page.elapsed->text());
    (cancelled ? page.cancelFileCount : page.completeFileCount)->setText(endedFileCount(scan, cancelled));
    if (cancelled)
        scan->markCancelled();
    else
        scan->markCompleted();
    page.flow->setCurrentIndex(cancelled ? CancelledFlowPage : CompletedFlowPage);
    showFilesNotRead(scan, cancelled);

    const bool keyword = scan == m_keywordScan;
    const int total = keyword ? keywordHitTotal() : privacyHitTotal();
    const bool anyHit = keyword ? m_ui->m_keywordScanResultList->count() > 0 : total >= 1;
    QLabel *summary = cancelled ? page.cancelSummary : page.completeSummary;
    summary->setText(scanSummary(scan, cancelled, anyHit, total));
    if (keyword && !anyHit)
        m_ui->stackedWidget_4->setCurrentIndex(NoHitPage);
    if (keyword && anyHit && cancelled)
        summary->repaint();

    // The run is in the service's history now.
    m_historyPage->refresh();
    if (!cancelled)
        notifyScanCompleted(scan, total);
}

// Only a scan that ended while the user looked elsewhere: a cancelled scan
// was the user's own doing, and an active window shows its completed page.
void MainWindow::notifyScanCompleted(const ScanController *scan, int hits)
{
    if (isActiveWindow())
        return;
    const QLocale locale;
    const QString files = locale.toString(scan->filesScanned());
    const QString count = locale.toString(hits);
    if (scan == m_keywordScan)
        m_notifier->notify(tr("敏感词扫描已完成"),
                           hits > 0 ? tr("共扫描 %1 个文件，发现敏感信息 %2 条").arg(files, count)
                                    : tr("共扫描 %1 个文件，未发现敏感信息").arg(files));
    else
        m_notifier->notify(tr("隐私信息扫描已完成"),
                           hits > 0 ? tr("共扫描 %1 个文件，发现隐私信息 %2 条").arg(files, count)
                                    : tr("共扫描 %1 个文件，未发现隐私信息").arg(files));
}

QString MainWindow::scanSummary(const ScanController *scan, bool cancelled, bool anyHit, int total) const
{
    const QString count = QLocale().toString(total);
    if (scan == m_keywordScan) {
        if (cancelled)
            return anyHit ? tr("扫描已取消，发现 <font color='#3676F5'>") + count + tr("</font> 条敏感信息")
                          : tr("扫描已取消，未发现敏感信息");
        return anyHit ? tr("共发现敏感信息 <font color='#3676F5'>") + count + tr("</font> 条，请查看详情")
                      : tr("未发现敏感信息");
    }
    if (anyHit)
        return tr("共发现隐私信息 <font color='#3676F5'>") + count + tr("</font> 条，请查看详情");
    return cancelled ? tr("扫描已取消，未发现隐私信息") : tr("未发现隐私信息");
}

QString MainWindow::formatElapsedTime(int seconds)
{
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, zero)
        .arg((seconds % 3600) / 60, 2, 10, zero)
        .arg(seconds % 60, 2, 10, zero);
}

// The kit's box, modal, whose answer nobody reads: a failure report (warning
// icon, "确认") or a prompt (given icon, "确认" and "取消").
void MainWindow::showMessage(int icon, const QString &text, bool withCancel)
{
    mvk::MessageBox box(this);
    box.setIcon(icon);
    box.setText(text);
    QPushButton *confirm = box.addButton(tr("确认"), mvk::MessageBox::AcceptRole);
    confirm->setProperty("isImportant", true);
    box.setDefaultButton(confirm);
    if (withCancel) {
        QPushButton *cancel = box.addButton(tr("取消"), mvk::MessageBox::RejectRole);
        cancel->setProperty("useButtonPalette", true);
    }
    box.exec();
}

void MainWindow::showFailure(const QString &text)
{
    showMessage(mvk::MessageBox::Warning, text, false);
}

// True only when the user pressed "确认"; a box closed by the window
// manager counts as "取消".
bool MainWindow::askQuestion(const QString &title, const QString &text)
{
    QMessageBox box(this);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(title);
    box.setText(text);
    QPushButton *confirm = box.addButton(tr("确认"), QMessageBox::AcceptRole);
    confirm->setProperty("isImportant", true);
    QPushButton *cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
    cancel->setProperty("useButtonPalette", true);
    box.setDefaultButton(confirm);
    box.exec();
    return box.clickedButton() == confirm;
}
