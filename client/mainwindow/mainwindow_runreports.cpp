// MainWindow: the ended task's run in the service's history, from the
// cancelled and completed pages of both modules: its export, and how many
// files it could not read; the history module's exports go the same way.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "filesnotreadlink.h"
#include "runhistorypage.h"
#include "runexporter.h"
#include "runreports.h"
#include "scancontroller.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QPushButton>

namespace {
// The time in the proposed file name: sortable, and valid on every file system.
const char *const FileNameTimeFormat = "yyyyMMdd-HHmmss";
} // namespace

void MainWindow::setupRunReports()
{
    m_runExporter = new RunExporter(QDBusConnection::systemBus(), this);
    // One export at a time from the pages: a second press while the service
    // writes would race for the same file.
    connect(m_runExporter, &RunExporter::pendingChanged, this, [this](int pending) {
        for (QPushButton *button : {m_ui->m_KeywordScanCancelExportButton, m_ui->m_KeywordScanCompleteExportButton,
                                    m_ui->m_PiiScanCancelExportButton, m_ui->m_PiiScanCompleteExportButton})
            button->setEnabled(pending == 0);
    });
    connect(m_historyPage, &RunHistoryPage::exportRequested, m_runExporter, &RunExporter::exportRun);
}

void MainWindow::exportEndedRun(const ScanController *scan)
{
    const bool keyword = scan == m_keywordScan;
    const QString baseName = (keyword ? tr("敏感词扫描结果") : tr("隐私信息扫描结果")) + QLatin1Char('-')
                             + QDateTime::currentDateTime().toString(QLatin1String(FileNameTimeFormat));
    m_runExporter->exportLatestRun(scan->pathList(), RunReports::taskTypeName(scan->taskType()), baseName);
}

void MainWindow::on_m_KeywordScanCancelExportButton_clicked()
{
    exportEndedRun(m_keywordScan);
}

void MainWindow::on_m_KeywordScanCompleteExportButton_clicked()
{
    exportEndedRun(m_keywordScan);
}

void MainWindow::on_m_PiiScanCancelExportButton_clicked()
{
    exportEndedRun(m_privacyScan);
}

void MainWindow::on_m_PiiScanCompleteExportButton_clicked()
{
    exportEndedRun(m_privacyScan);
}

FilesNotReadLink *MainWindow::filesNotReadLink(const ScanController *scan, bool cancelled) const
{
    if (scan == m_keywordScan)
        return cancelled ? m_ui->m_KeywordScanCancelFilesNotReadLabel : m_ui->m_KeywordScanCompleteFilesNotReadLabel;
    return cancelled ? m_ui->m_PiiScanCancelFilesNotReadLabel : m_ui->m_PiiScanCompleteFilesNotReadLabel;
}

void MainWindow::showFilesNotRead(const ScanController *scan, bool cancelled)
{
    filesNotReadLink(scan, !cancelled)->clear();
    filesNotReadLink(scan, cancelled)
        ->lookUp(RunReports(QDBusConnection::systemBus()), scan->pathList(), RunReports::taskTypeName(scan->taskType()));
}

void MainWindow::clearFilesNotRead(const ScanController *scan)
{
    filesNotReadLink(scan, true)->clear();
    filesNotReadLink(scan, false)->clear();
}
