#include "keywordsensitivedetailexwidget.h"
#include "ui_keywordsensitivedetailexwidget.h"

#include "detailreply.h"
#include "hitfilemenu.h"
#include "keywordsensitivedetailframe.h"
#include "passagecut.h"
#include "sensitivefiledetail.h"
#include "transcontrolprotocol.h"
#include "sensitivescaninterface.h"

#include <QLocale>
#include <QDBusPendingCallWatcher>
#include <QTextDocument>

#include <limits>

namespace {
const char *const DetailMethod = "SensitiveDiscoveryGetKeywordDetectedDetail";

QString openKey(const QString &pathlist, const QString &filepath)
{
    return QStringLiteral("keyword\n%1\n%2").arg(pathlist, filepath);
}
}

KeywordSensitiveDetailExWidget::KeywordSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist,
                                                               const QString &filepath, QWidget *parent)
    : DetailDialog(true, parent)
    , ui(new Ui::KeywordSensitiveDetailExWidget)
{
    ui->setupUi(content());
    m_shownLabel = new QLabel(ui->m_SensitiveDetailFrame);
    m_shownLabel->setObjectName(QStringLiteral("m_SensitiveShownLabel"));
    m_shownLabel->setStyleSheet(ui->m_SensitiveCountDescLabel->styleSheet());
    m_shownLabel->hide();
    ui->horizontalLayout_2->addWidget(m_shownLabel);
    connectForm();
    setUpTitleStrip(ui->m_IconBar, ui->m_CloseButton, tr("敏感信息详情"));
    ui->m_CancelButton->setProperty("useButtonPalette", true);
    ui->m_ConfirmButton->setProperty("isImportant", true);
    ui->m_SensitiveDetailList->setRowHeight(KeywordSensitiveDetailFrame::RowHeight);
    ui->m_SensitiveDetailList->setRowSpacing(ui->m_SensitiveDetailVBoxLayout->spacing());
    ui->m_SensitiveDetailList->setRowFactory(
        [this](int row, QWidget *parent) { return makeHitRow(row, parent); });
    // Rows are cut to the view's width: the list never scrolls sideways.
    ui->scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // The dialog shows one file: a right click anywhere on it offers that file.
    HitFileMenu::attachTo(content(), [filepath] { return filepath; });
    setOpenKey(openKey(pathlist, filepath));
    if (service)
        watchReply(service->SensitiveDiscoveryGetKeywordDetectedDetail(pathlist, KeywordScanTask, filepath));
}

KeywordSensitiveDetailExWidget::~KeywordSensitiveDetailExWidget()
{
    delete ui;
}

KeywordSensitiveDetailExWidget *KeywordSensitiveDetailExWidget::showFor(SensitiveScanInterface *service,
                                                                        const QString &pathlist, const QString &filepath)
{
    auto *dialog = qobject_cast<KeywordSensitiveDetailExWidget *>(openUnder(openKey(pathlist, filepath)));
    if (!dialog)
        dialog = new KeywordSensitiveDetailExWidget(service, pathlist, filepath);
    dialog->showInFront();
    return dialog;
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
    readInBackground<KeywordDetail>(
        watcher,
        [](const QDBusPendingCall &call) {
            auto detail = std::make_shared<KeywordDetail>();
            QJsonObject root;
            if (DetailReply::readDocument(call, QLatin1String(DetailMethod), &root))
                *detail = KeywordDetail::fromDocument(root);
            return std::shared_ptr<const KeywordDetail>(std::move(detail));
        },
        [this](const std::shared_ptr<const KeywordDetail> &detail) { showDetail(detail); });
}

void KeywordSensitiveDetailExWidget::showDetail(const std::shared_ptr<const KeywordDetail> &detail)
{
    if (!detail || !detail->read)
        return;
    // The label may be narrower than a long path: the whole path is in its tooltip.
    ui->m_SensitiveFilepathLabel->setPath(detail->filepath);
    ui->m_SensitiveCountLabel->setText(QLocale().toString(detail->total));
    if (detail->isPartial()) {
        m_shownLabel->setText(tr("（显示前 %1 条）").arg(detail->hits.size()));
        m_shownLabel->show();
    }
    WindowedRowList *list = ui->m_SensitiveDetailList;
    list->clear();
    m_detail = detail;
    list->setRowCount(int(qMin<size_t>(detail->hits.size(), size_t(std::numeric_limits<int>::max()))));
}

QWidget *KeywordSensitiveDetailExWidget::makeHitRow(int row, QWidget *parent) const
{
    if (!m_detail || row < 0 || size_t(row) >= m_detail->hits.size())
        return nullptr;
    const SensitiveItem &item = m_detail->hits[size_t(row)];
    auto *frame = new KeywordSensitiveDetailFrame(PassageCut::rowHtml(item.sensitive_ctx, item.sensitive), parent);
    frame->setToolTip(PassageCut::toolTip(item.sensitive_ctx, item.sensitive));
    return frame;
}
