// MainWindow: what both modules' scan controllers share: creating a task,
// ending the timer's run, the elapsed-time text, the file being scanned, and
// the message boxes.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "messagebox.h"
#include "sensitivescaninterface.h"
#include "servicecall.h"
#include "timerthread.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocument>

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
}

bool MainWindow::createScanTask(const QString &pathlist, int taskType, int scanMode, const QString &policy)
{
    return ServiceCall::waitForSuccess(
        m_sensitiveScanInterface->SensitiveDiscoverySetScanTask(pathlist, taskType, scanMode, QString(), QString(),
                                                                ScanBatchSize, policy),
        QStringLiteral("SensitiveDiscoverySetScanTask"), pathlist);
}

// Cancel: the run ends at its next look at the flags; wait for it.
void MainWindow::stopTimer(TimerThread *timer)
{
    if (!timer->isStopRequested())
        timer->requestStop();
    if (timer->isRunning()) {
        timer->quit();
        timer->wait();
    }
}

// Completion: the run ends by itself; nobody waits for it.
void MainWindow::finishTimer(TimerThread *timer)
{
    if (!timer->isCompleted())
        timer->markCompleted();
    if (timer->isRunning())
        timer->exit(0);
}

QString MainWindow::formatElapsedTime(int seconds)
{
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, zero)
        .arg((seconds % 3600) / 60, 2, 10, zero)
        .arg(seconds % 60, 2, 10, zero);
}

// The label shows the path as plain text. A tooltip decides by itself
// whether its text is markup, so a path that looks like markup goes into it
// escaped.
void MainWindow::showScanningFile(QLabel *label, const QString &filepath)
{
    label->setText(filepath);
    label->setToolTip(Qt::mightBeRichText(filepath) ? Qt::convertFromPlainText(filepath, Qt::WhiteSpaceNormal)
                                                    : filepath);
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
