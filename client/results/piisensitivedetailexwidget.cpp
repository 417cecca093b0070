#include "piisensitivedetailexwidget.h"
#include "ui_piisensitivedetailexwidget.h"

#include "detailreply.h"
#include "hitfilemenu.h"
#include "passagecut.h"
#include "piicategorynames.h"
#include "piisensitivedetailframe.h"
#include "piisensitiveframe.h"
#include "sensitivegroupdetail.h"
#include "transcontrolprotocol.h"
#include "sensitivescaninterface.h"
#include "windowedrowlist.h"

#include <QLocale>
#include <QDBusPendingCallWatcher>

#include <limits>

namespace {
const char *const DetailMethod = "SensitiveDiscoveryGetDataIdDetectedDetail";
// Between rows of the list, files and hits alike.
constexpr int RowSpacing = 4;

QString openKey(const QString &pathlist, const QString &groupname)
{
    return QStringLiteral("privacy\n%1\n%2").arg(pathlist, groupname);
}
}

PiiSensitiveDetailExWidget::PiiSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist,
                                                       const QString &groupname, QWidget *parent)
    : DetailDialog(false, parent)
    , ui(new Ui::PiiSensitiveDetailExWidget)
{
    ui->setupUi(content());
    connectForm();
    setUpTitleStrip(ui->m_IconBar, ui->m_CloseButton, tr("隐私信息详情 - ") + PiiCategoryNames::displayName(groupname));
    ui->m_CancelButton->setProperty("useButtonPalette", true);
    ui->m_ConfirmButton->setProperty("isImportant", true);
    WindowedRowList *rows = ui->m_SensitiveDetailList;
    rows->setRowHeight(PiiSensitiveFrame::RowHeight);
    rows->setRowSpacing(RowSpacing);
    rows->setRowFactory([this](int row, QWidget *parent) { return makeRow(row, parent); });
    ui->scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    setOpenKey(openKey(pathlist, groupname));
    if (service) {
        showLoading(true);
        watchReply(service->SensitiveDiscoveryGetDataIdDetectedDetail(pathlist, PrivacyScanTask, groupname));
    }
}

PiiSensitiveDetailExWidget::~PiiSensitiveDetailExWidget()
{
    delete ui;
}

PiiSensitiveDetailExWidget *PiiSensitiveDetailExWidget::showFor(SensitiveScanInterface *service,
                                                                const QString &pathlist, const QString &groupname)
{
    auto *dialog = qobject_cast<PiiSensitiveDetailExWidget *>(openUnder(openKey(pathlist, groupname)));
    if (!dialog)
        dialog = new PiiSensitiveDetailExWidget(service, pathlist, groupname);
    dialog->showInFront();
    return dialog;
}

WindowedRowList *PiiSensitiveDetailExWidget::list() const
{
    return ui->m_SensitiveDetailList;
}

int PiiSensitiveDetailExWidget::fileCount() const
{
    return m_detail ? int(m_detail->files.size()) : 0;
}

int PiiSensitiveDetailExWidget::fileRow(int file) const
{
    return m_rows.headerRow(file);
}

void PiiSensitiveDetailExWidget::setFileExpanded(int file, bool expanded)
{
    if (file < 0 || file >= fileCount() || m_rows.isExpanded(file) == expanded)
        return;
    m_rows.setExpanded(file, expanded);
    // Rows below the file move: the list is made again from its model.
    WindowedRowList *rows = ui->m_SensitiveDetailList;
    rows->clear();
    rows->setRowCount(m_rows.rowCount());
}

void PiiSensitiveDetailExWidget::on_m_CancelButton_clicked()
{
    close();
}

void PiiSensitiveDetailExWidget::on_m_ConfirmButton_clicked()
{
    close();
}

void PiiSensitiveDetailExWidget::onCallFinished(QDBusPendingCallWatcher *watcher)
{
    readInBackground<PrivacyDetail>(
        watcher,
        [](const QDBusPendingCall &call) {
            auto detail = std::make_shared<PrivacyDetail>();
            QJsonObject root;
            if (DetailReply::readDocument(call, QLatin1String(DetailMethod), &root))
                *detail = PrivacyDetail::fromDocument(root);
            return std::shared_ptr<const PrivacyDetail>(std::move(detail));
        },
        [this](const std::shared_ptr<const PrivacyDetail> &detail) { showDetail(detail); });
}

void PiiSensitiveDetailExWidget::showLoading(bool loading)
{
    // While the reply is read, "共 0 条" would be a wrong answer.
    ui->m_SensitiveMatchedLeftLabel->setText(loading ? tr("正在读取详情…") : tr("共"));
    ui->m_SensitiveMatchedLabel->setVisible(!loading);
    ui->m_SensitiveMatchedRightLabel->setVisible(!loading);
}

void PiiSensitiveDetailExWidget::showDetail(const std::shared_ptr<const PrivacyDetail> &detail)
{
    m_loaded = true;
    showLoading(false);
    if (!detail || !detail->read)
        return;
    ui->m_SensitiveMatchedLabel->setText(QLocale().toString(detail->total));
    m_detail = detail;
    m_rows.reset(m_detail.get());
    WindowedRowList *rows = ui->m_SensitiveDetailList;
    rows->clear();
    rows->setRowCount(m_rows.rowCount());
}

QWidget *PiiSensitiveDetailExWidget::makeRow(int row, QWidget *parent)
{
    int fileIndex = -1;
    int hitIndex = -1;
    m_rows.locate(row, &fileIndex, &hitIndex);
    if (!m_detail || fileIndex < 0)
        return nullptr;
    const PrivacyDetail::File &file = m_detail->files[size_t(fileIndex)];
    if (hitIndex < 0) {
        auto *header = new PiiSensitiveFrame(file.path, int(qMin<size_t>(file.hits.size(), std::numeric_limits<int>::max())),
                                             parent);
        if (m_rows.isExpanded(fileIndex))
            header->setExpanded(true);
        connect(header, &PiiSensitiveFrame::expandedChanged, this,
                [this, fileIndex](bool expanded) { setFileExpanded(fileIndex, expanded); });
        return header;
    }
    const PrivacyDetail::Hit &hit = file.hits[size_t(hitIndex)];
    auto *frame = new PiiSensitiveDetailFrame(PassageCut::rowHtml(hit.context, hit.word),
                                              PiiCategoryNames::displayName(m_detail->ruleNames.value(hit.rule)), parent);
    frame->setToolTip(PassageCut::toolTip(hit.context, hit.word));
    const QString path = file.path;
    HitFileMenu::attachTo(frame, [path] { return path; });
    return frame;
}
