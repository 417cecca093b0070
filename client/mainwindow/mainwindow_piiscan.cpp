// MainWindow: the privacy scan, its fourteen category tiles and the detail
// window of a category.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "piicategories.h"
#include "piicategorynames.h"
#include "piiscangroupframe.h"
#include "piiscangroupwidget.h"
#include "piisensitivedetailexwidget.h"
#include "privacycountmodel.h"
#include "scancontroller.h"

#include <QDebug>
#include <QLocale>
#include <QProgressBar>

#include <limits>

// The two groups' frames of the form receive their tiles in display order;
// each tile is entered in the category map under its category's key (the
// service's name) and shows the name in the user's language.
void MainWindow::setupPrivacyCategories()
{
    const QList<PiiCategories::Group> &groups = PiiCategories::groups();
    PiiScanGroupFrame *frames[] = {m_ui->m_PiiScanSensitiveFrame, m_ui->m_PiiScanPotentiallySensitiveFrame};
    for (int g = 0; g < groups.size() && g < 2; ++g) {
        const PiiCategories::Group &group = groups.at(g);
        PiiScanGroupFrame *frame = frames[g];
        frame->setTitle(group.iconPath, PiiCategories::translatedTitle(group));
        for (const PiiCategories::Category &category : group.categories) {
            auto *tile = new PiiScanGroupWidget;
            frame->addGroupWidget(tile);
            tile->setIcon(category.iconPath);
            tile->setName(PiiCategoryNames::displayName(category.name));
            // The tile's text is for the user; the dialog asks the service by key.
            connect(tile, &PiiScanGroupWidget::PiiScanGroupWidgetClicked, this,
                    [this, key = category.name](const QString &, const QString &count) {
                        onPiiLookSensitiveDetailWidgetClicked(key, count);
                    });
            m_privacyCategories.insert(category.name, tile);
        }
    }
    m_privacyCounts = new PrivacyCountModel(this);
    connect(m_privacyCounts, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &first, const QModelIndex &last) {
                for (int row = first.row(); row <= last.row(); ++row)
                    showPrivacyCount(row);
            });
    connect(m_privacyCounts, &QAbstractItemModel::modelReset, this, [this] {
        for (int row = 0; row < m_privacyCounts->rowCount(); ++row)
            showPrivacyCount(row);
    });
    for (int row = 0; row < m_privacyCounts->rowCount(); ++row)
        showPrivacyCount(row);
}

void MainWindow::retranslatePrivacyCategories()
{
    const QList<PiiCategories::Group> &groups = PiiCategories::groups();
    PiiScanGroupFrame *frames[] = {m_ui->m_PiiScanSensitiveFrame, m_ui->m_PiiScanPotentiallySensitiveFrame};
    for (int g = 0; g < groups.size() && g < 2; ++g)
        frames[g]->setTitle(groups.at(g).iconPath, PiiCategories::translatedTitle(groups.at(g)));
    for (auto it = m_privacyCategories.constBegin(); it != m_privacyCategories.constEnd(); ++it)
        it.value()->setName(PiiCategoryNames::displayName(it.key()));
}

void MainWindow::startPrivacyScan()
{
    if (!m_privacyScan->start(encodeScanPolicy(buildScanPolicy(scanFileTypes(), QStringList(), true)),
                              privacyScanMode())) {
        showFailure(tr("隐私信息扫描任务创建失败：任务创建接口调用失败，请检查！"));
        return;
    }
    showScanStarted(m_privacyScan);
}

void MainWindow::resetPrivacyCounts()
{
    m_privacyCounts->reset();
}

int MainWindow::privacyHitTotal() const
{
    return m_privacyCounts->total();
}

void MainWindow::addPrivacyHits(const QString &category, int count)
{
    m_privacyCounts->add(category, count);
}

// The tiles show the model's counts.
void MainWindow::showPrivacyCount(int row)
{
    const QModelIndex at = m_privacyCounts->index(row);
    PiiScanGroupWidget *tile = m_privacyCategories.value(at.data(PrivacyCountModel::NameRole).toString());
    if (tile)
        tile->setDescribe(QLocale().toString(at.data(PrivacyCountModel::CountRole).toInt()));
}

void MainWindow::onPiiScanTimeElapsed(int seconds)
{
    showElapsed(m_privacyScan, seconds);
}

void MainWindow::onPiiScanProgressRangeGenerated(int minimum, int maximum)
{
    showFileTotal(m_privacyScan, minimum, maximum);
}

void MainWindow::onPiiScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid)
{
    Q_UNUSED(pathlist)
    if (!m_privacyScan->isRunning())
        return;
    if (fileid == 0 && filepath.isEmpty()) {
        QProgressBar *bar = m_ui->m_PiiScanProgressBar;
        bar->setValue(bar->maximum());
        emit PiiScanCompleted();
        return;
    }
    showFileScanned(m_privacyScan, filepath, fileid);
}

void MainWindow::onPiiSensitiveDetected(const QString &pathlist, const QVariantMap &sensitives)
{
    Q_UNUSED(pathlist)
    if (!m_privacyScan->isRunning())
        return;
    for (auto it = sensitives.constBegin(); it != sensitives.constEnd(); ++it)
        addPrivacyHits(it.key(), it.value().toInt());
}

void MainWindow::on_m_PiiScanPauseScanButton_clicked()
{
    pauseOrContinue(m_privacyScan);
}

void MainWindow::on_m_PiiScanCancelScanButton_clicked()
{
    if (confirmCancel(m_privacyScan, tr("隐私信息扫描"), tr("隐私信息扫描正在进行中，确定取消吗？")))
        showScanEnded(m_privacyScan, true);
}

void MainWindow::onPiiScanCompleted()
{
    showScanEnded(m_privacyScan, false);
}

void MainWindow::on_m_PiiScanCancelRescanButton_clicked()
{
    if (!m_privacyScan->rescan(privacyScanMode())) {
        showFailure(tr("隐私信息扫描任务创建失败：任务创建接口调用失败，请检查！"));
        return;
    }
    showScanStarted(m_privacyScan);
}

void MainWindow::on_m_PiiScanCancelReturnButton_clicked()
{
    returnToPrivacyConfiguration();
}

void MainWindow::on_m_PiiScanCompleteReturnButton_clicked()
{
    returnToPrivacyConfiguration();
}

void MainWindow::returnToPrivacyConfiguration()
{
    clearFilesNotRead(m_privacyScan);
    resetPrivacyCounts();
    m_ui->stackedWidget->setCurrentIndex(PrivacyConfigPage);
    m_privacyScan->reset();
}

// A click on a tile with hits opens its detail window, or raises the one
// open for it; each window deletes itself when closed.
void MainWindow::onPiiLookSensitiveDetailWidgetClicked(const QString &groupname, const QString &sensitivescount)
{
    Q_UNUSED(sensitivescount)
    // The count the tile showed is the model's.
    if (m_privacyCounts->count(groupname) <= 0)
        return;
    PiiSensitiveDetailExWidget::showFor(m_sensitiveScanInterface, privacyPathList(), groupname);
}
