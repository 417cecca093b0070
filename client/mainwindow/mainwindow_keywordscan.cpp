// MainWindow: the keyword scan, from the start control to the return to the
// configuration page.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "keywordconfigallinonewidget.h"
#include "keywordresultlist.h"
#include "mainwindowlog.h"
#include "messagebox.h"
#include "scancontroller.h"

#include <QDebug>
#include <QProgressBar>

#include <limits>

void MainWindow::startKeywordScan()
{
    const QStringList fileTypes = scanFileTypes();
    // The tab the panel was last closed from decides where the keywords come from.
    const QStringList keywords = m_keywordConfigPanel->templateMode() ? m_keywordConfigPanel->selectedTemplateKeywords()
                                                                      : m_keywordConfigPanel->keywords();
    if (keywords.isEmpty()) {
        // No task was created: the module must not look as if it had one.
        m_keywordScan->abandon();
        showMessage(mvk::MessageBox::Question, tr("请设置一个或者多个敏感词！"), true);
        return;
    }
    if (!m_keywordScan->start(encodeScanPolicy(buildScanPolicy(fileTypes, keywords, false)), keywordScanMode())) {
        showFailure(tr("敏感词扫描任务创建失败：任务创建接口调用失败，请检查！"));
        return;
    }
    showScanStarted(m_keywordScan);
}

void MainWindow::clearKeywordResults()
{
    m_ui->m_keywordScanResultList->clear();
}

int MainWindow::keywordHitTotal() const
{
    return int(qBound<qint64>(0, m_ui->m_keywordScanResultList->hitTotal(), std::numeric_limits<int>::max()));
}

void MainWindow::onKeywordScanTimeElapsed(int seconds)
{
    showElapsed(m_keywordScan, seconds);
}

void MainWindow::onKeywordScanProgressRangeGenerated(int minimum, int maximum)
{
    showFileTotal(m_keywordScan, minimum, maximum);
}

void MainWindow::onKeywordScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid)
{
    Q_UNUSED(pathlist)
    // A task has one end: signals still under way once it was cancelled or
    // had completed are not its progress any more.
    if (!m_keywordScan->isRunning())
        return;
    if (fileid == 0 && filepath.isEmpty()) {
        QProgressBar *bar = m_ui->m_KeywordScanProgressBar;
        bar->setValue(bar->maximum());
        emit KeywordScanCompleted();
        return;
    }
    showFileScanned(m_keywordScan, filepath, fileid);
}

void MainWindow::onKeywordSensitiveDetected(const QString &pathlist, const QString &filepath,
                                            const QVariantMap &sensitives)
{
    if (!m_keywordScan->isRunning())
        return;
    m_ui->m_keywordScanResultList->appendRow(pathlist, filepath, sensitives);
}

void MainWindow::on_m_KeywordScanPauseScanButton_clicked()
{
    pauseOrContinue(m_keywordScan);
}

void MainWindow::on_m_KeywordScanCancelScanButton_clicked()
{
    if (confirmCancel(m_keywordScan, tr("敏感词扫描"), tr("敏感词扫描正在进行中，确定取消吗？")))
        emit KeywordScanTerminated();
}

void MainWindow::onKeywordScanTerminated()
{
    showScanEnded(m_keywordScan, true);
}

void MainWindow::onKeywordScanCompleted()
{
    showScanEnded(m_keywordScan, false);
}

void MainWindow::on_m_KeywordScanCancelRescanButton_clicked()
{
    if (!m_keywordScan->rescan(keywordScanMode())) {
        showFailure(tr("敏感词扫描任务创建失败：任务创建接口调用失败，请检查！"));
        return;
    }
    showScanStarted(m_keywordScan);
}

void MainWindow::on_m_KeywordScanCancelReturnButton_clicked()
{
    returnToKeywordConfiguration();
}

void MainWindow::on_m_KeywordScanCompleteReturnButton_clicked()
{
    returnToKeywordConfiguration();
}

void MainWindow::returnToKeywordConfiguration()
{
    clearFilesNotRead(m_keywordScan);
    clearKeywordResults();
    m_ui->stackedWidget->setCurrentIndex(KeywordConfigPage);
    m_keywordScan->reset();
}

void MainWindow::on_m_KeywordConfigButton_clicked()
{
    if (!m_keywordConfigPanel)
        return;
    m_keywordConfigPanel->show();
    m_keywordConfigPanel->raise();
    m_keywordConfigPanel->activateWindow();
    m_keywordConfigPanel->setFocus(Qt::OtherFocusReason);
}
