// MainWindow: the keyword scan, from the start control to the return to the
// configuration page.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "keywordconfigallinonewidget.h"
#include "keywordresultlist.h"
#include "messagebox.h"
#include "scantasktype.h"
#include "sensitivescaninterface.h"
#include "servicecall.h"
#include "timerthread.h"

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
        m_keywordPathList.clear();
        showMessage(mvk::MessageBox::Question, tr("请设置一个或者多个敏感词！"), true);
        return;
    }
    m_keywordPolicy = encodeScanPolicy(buildScanPolicy(fileTypes, keywords, false));

    if (!createScanTask(m_keywordPathList, KeywordScanTask, keywordScanMode(), m_keywordPolicy)) {
        m_keywordPathList.clear();
        showFailure(tr("敏感词扫描任务创建失败：任务创建接口调用失败，请检查！"));
        return;
    }

    m_ui->stackedWidget->setCurrentIndex(KeywordScanPage);
    m_ui->stackedWidget_2->setCurrentIndex(ScanningFlowPage);
    m_ui->stackedWidget_4->setCurrentIndex(HitListPage);
    m_ui->m_KeywordScanPauseScanButton->setText(tr("暂停"));
    m_ui->m_KeywordScanProgressBar->setRange(0, std::numeric_limits<int>::max());
    startFileCount(m_keywordPathList, KeywordScanTask);
    m_keywordTimer->start(QThread::InheritPriority);
    clearKeywordResults();
}

void MainWindow::clearKeywordResults()
{
    m_ui->m_keywordScanResultList->clear();
}

int MainWindow::keywordHitTotal() const
{
    return int(qBound<qint64>(0, m_ui->m_keywordScanResultList->hitTotal(), std::numeric_limits<int>::max()));
}

bool MainWindow::isKeywordScanRunning() const
{
    return !m_keywordPathList.isEmpty() && m_ui->stackedWidget_2->currentIndex() == ScanningFlowPage;
}

void MainWindow::onKeywordScanTimeElapsed(int seconds)
{
    m_ui->m_KeywordScanningSecondElapsedLabel->setText(formatElapsedTime(seconds));
}

void MainWindow::onKeywordScanProgressRangeGenerated(int minimum, int maximum)
{
    QProgressBar *bar = m_ui->m_KeywordScanProgressBar;
    qDebug() << "@@@@@@@@@@@@@@@@ [before] value:" << bar->value() << "minimum:" << bar->minimum()
             << ", maximum:" << bar->maximum();
    bar->setRange(minimum, maximum);
    qDebug() << "@@@@@@@@@@@@@@@@ [after] value:" << bar->value() << "minimum:" << bar->minimum()
             << ", maximum:" << bar->maximum();
}

void MainWindow::onKeywordScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid)
{
    Q_UNUSED(pathlist)
    // A task has one end: signals still under way once it was cancelled or
    // had completed are not its progress any more.
    if (!isKeywordScanRunning())
        return;
    QProgressBar *bar = m_ui->m_KeywordScanProgressBar;
    if (fileid == 0 && filepath.isEmpty()) {
        bar->setValue(bar->maximum());
        emit KeywordScanCompleted();
        return;
    }
    bar->setValue(fileid);
    showScanningFile(m_ui->m_KeywordScanningFileLabel, filepath);
    qDebug() << "################ "
             << "set value to:" << fileid << ", current value:" << bar->value();
}

void MainWindow::onKeywordSensitiveDetected(const QString &pathlist, const QString &filepath,
                                            const QVariantMap &sensitives)
{
    if (!isKeywordScanRunning())
        return;
    m_ui->m_keywordScanResultList->appendRow(pathlist, filepath, sensitives);
}

void MainWindow::on_m_KeywordScanPauseScanButton_clicked()
{
    QPushButton *button = m_ui->m_KeywordScanPauseScanButton;
    const QString label = button->text();
    if (label == tr("暂停")) {
        if (!ServiceCall::waitForSuccess(
                m_sensitiveScanInterface->SensitiveDiscoveryPauseScanTask(m_keywordPathList, KeywordScanTask),
                QStringLiteral("SensitiveDiscoveryPauseScanTask"), m_keywordPathList)) {
            showFailure(tr("暂停扫描失败，请检查！"));
            return;
        }
        button->setText(tr("继续"));
        if (!m_keywordTimer->isPaused())
            m_keywordTimer->pause();
    } else if (label == tr("继续")) {
        if (!ServiceCall::waitForSuccess(
                m_sensitiveScanInterface->SensitiveDiscoveryContinueScanTask(m_keywordPathList, KeywordScanTask),
                QStringLiteral("SensitiveDiscoveryContinueScanTask"), m_keywordPathList)) {
            showFailure(tr("继续扫描失败，请检查！"));
            return;
        }
        button->setText(tr("暂停"));
        if (m_keywordTimer->isPaused())
            m_keywordTimer->resume();
    }
}

void MainWindow::on_m_KeywordScanCancelScanButton_clicked()
{
    const QString pathlist = m_keywordPathList;
    if (!askQuestion(tr("敏感词扫描"), tr("敏感词扫描正在进行中，确定取消吗？")))
        return;
    // The task may have ended while the question was open.
    if (pathlist != m_keywordPathList || !isKeywordScanRunning())
        return;
    if (!ServiceCall::waitForSuccess(
            m_sensitiveScanInterface->SensitiveDiscoveryTerminateScanTask(m_keywordPathList, KeywordScanTask),
            QStringLiteral("SensitiveDiscoveryTerminateScanTask"), m_keywordPathList)) {
        showFailure(tr("中止扫描失败，请检查！"));
        return;
    }
    emit KeywordScanTerminated();
}

void MainWindow::onKeywordScanTerminated()
{
    m_ui->m_KeywordScanCancelTimeElapsedLabel->setText(m_ui->m_KeywordScanningSecondElapsedLabel->text());
    stopTimer(m_keywordTimer);
    m_ui->stackedWidget_2->setCurrentIndex(CancelledFlowPage);
    if (m_ui->m_keywordScanResultList->count() == 0) {
        m_ui->m_KeywordScanCancelLabel->setText(tr("扫描已取消，未发现敏感信息"));
        m_ui->stackedWidget_4->setCurrentIndex(NoHitPage);
    } else {
        m_ui->m_KeywordScanCancelLabel->setText(tr("扫描已取消，发现 <font color='#3676F5'>")
                                                + QString::number(keywordHitTotal()) + tr("</font> 条敏感信息"));
        m_ui->m_KeywordScanCancelLabel->repaint();
    }
}

void MainWindow::onKeywordScanCompleted()
{
    m_ui->m_KeywordScanCompleteTimeElapsedLabel->setText(m_ui->m_KeywordScanningSecondElapsedLabel->text());
    finishTimer(m_keywordTimer);
    m_ui->stackedWidget_2->setCurrentIndex(CompletedFlowPage);
    if (m_ui->m_keywordScanResultList->count() == 0) {
        m_ui->m_KeywordScanCompleteDescribeLabel->setText(tr("未发现敏感信息"));
        m_ui->stackedWidget_4->setCurrentIndex(NoHitPage);
    } else {
        m_ui->m_KeywordScanCompleteDescribeLabel->setText(tr("共发现敏感信息 <font color='#3676F5'>")
                                                          + QString::number(keywordHitTotal())
                                                          + tr("</font> 条，请查看详情"));
    }
}

void MainWindow::on_m_KeywordScanCancelRescanButton_clicked()
{
    if (!createScanTask(m_keywordPathList, KeywordScanTask, keywordScanMode(), m_keywordPolicy)) {
        showFailure(tr("敏感词扫描任务创建失败：任务创建接口调用失败，请检查！"));
        return;
    }
    clearKeywordResults();
    m_ui->stackedWidget->setCurrentIndex(KeywordScanPage);
    m_ui->stackedWidget_2->setCurrentIndex(ScanningFlowPage);
    m_ui->stackedWidget_4->setCurrentIndex(HitListPage);
    m_ui->m_KeywordScanPauseScanButton->setText(tr("暂停"));
    m_ui->m_KeywordScanProgressBar->setRange(0, std::numeric_limits<int>::max());
    startFileCount(m_keywordPathList, KeywordScanTask);
    m_keywordTimer->start(QThread::InheritPriority);
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
    clearKeywordResults();
    m_ui->stackedWidget->setCurrentIndex(KeywordConfigPage);
    m_keywordPathList.clear();
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
