#include "keywordsensitivedetailexwidget.h"
#include "ui_keywordsensitivedetailexwidget.h"

#include "detailreply.h"
#include "highlightsensitive.h"
#include "keywordsensitivedetailframe.h"
#include "transcontrolprotocol.h"
#include "sensitivefiledetail.h"
#include "sensitivescaninterface.h"
#include "textwidthestimate.h"

#include <QDBusPendingCallWatcher>
#include <QTextDocument>
#include <QtMath>

namespace {
const char *const DetailMethod = "SensitiveDiscoveryGetKeywordDetectedDetail";
}

KeywordSensitiveDetailExWidget::KeywordSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist,
                                                               const QString &filepath, QWidget *parent)
    : DetailDialog(true, parent)
    , ui(new Ui::KeywordSensitiveDetailExWidget)
{
    ui->setupUi(content());
    connectForm();
    setUpTitleStrip(ui->m_IconBar, ui->m_CloseButton, tr("敏感信息详情"));
    ui->m_CancelButton->setProperty("useButtonPalette", true);
    ui->m_ConfirmButton->setProperty("isImportant", true);
    ui->m_SensitiveDetailList->setRowHeight(KeywordSensitiveDetailFrame::RowHeight);
    ui->m_SensitiveDetailList->setRowSpacing(ui->m_SensitiveDetailVBoxLayout->spacing());
    ui->m_SensitiveDetailList->setRowFactory(
        [this](int row, QWidget *parent) { return makeHitRow(row, parent); });

    if (service)
        watchReply(service->SensitiveDiscoveryGetKeywordDetectedDetail(pathlist, KeywordScanTask, filepath));
}

KeywordSensitiveDetailExWidget::~KeywordSensitiveDetailExWidget()
{
    delete ui;
}

void KeywordSensitiveDetailExWidget::on_m_CancelButton_clicked()
{
    close();
}

void KeywordSensitiveDetailExWidget::on_m_ConfirmButton_clicked()
{
    close();
}

void KeywordSensitiveDetailExWidget::onCallFinished(QDBusPendingCallWatcher *watcher)
{
    QJsonObject root;
    if (!DetailReply::readDocument(watcher, QLatin1String(DetailMethod), &root))
        return;
    showDetail(parseSensitiveFileDetail(root));
}

void KeywordSensitiveDetailExWidget::showDetail(const SensitiveFileDetail &detail)
{
    ui->m_SensitiveFilepathLabel->setText(detail.filepath);
    // The label may be narrower than a long path: the whole path, as plain
    // text, is in the tooltip.
    ui->m_SensitiveFilepathLabel->setToolTip(
        detail.filepath.isEmpty() ? QString() : Qt::convertFromPlainText(detail.filepath, Qt::WhiteSpaceNormal));
    ui->m_SensitiveCountLabel->setText(QString::number(detail.sensitives.size()));
    WindowedRowList *list = ui->m_SensitiveDetailList;
    list->clear();
    m_hits = detail.sensitives;
    if (m_hits.isEmpty())
        return;
    // The rows are as wide as the widest passage needs, as a column of
    // rows would be: the list scrolls sideways rather than cutting a passage.
    // A passage shows on one line, its line breaks joined or shown as
    // blanks; measuring it with blanks errs on the wide side.
    const int rowWidthWithoutText = KeywordSensitiveDetailFrame(QString()).minimumSizeHint().width();
    TextWidthEstimate estimate(list->font());
    qreal widest = 0;
    for (const SensitiveItem &item : qAsConst(m_hits))
        widest = qMax(widest, estimate.width(item.sensitive_ctx.simplified()));
    list->setContentWidth(rowWidthWithoutText + qCeil(widest) + 2);
    list->setRowCount(m_hits.size());
}

QWidget *KeywordSensitiveDetailExWidget::makeHitRow(int row, QWidget *parent) const
{
    const SensitiveItem &item = m_hits.at(row);
    return new KeywordSensitiveDetailFrame(highlightSensitive(item.sensitive_ctx, item.sensitive), parent);
}
