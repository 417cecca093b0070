#include "piisensitivedetailexwidget.h"
#include "ui_piisensitivedetailexwidget.h"

#include "detailreply.h"
#include "highlightsensitive.h"
#include "piisensitiveframe.h"
#include "transcontrolprotocol.h"
#include "sensitivegroupdetail.h"
#include "sensitivescaninterface.h"

#include <QDBusPendingCallWatcher>

#include <limits>

namespace {
const char *const DetailMethod = "SensitiveDiscoveryGetDataIdDetectedDetail";
}

PiiSensitiveDetailExWidget::PiiSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist,
                                                       const QString &groupname, QWidget *parent)
    : DetailDialog(false, parent)
    , ui(new Ui::PiiSensitiveDetailExWidget)
{
    ui->setupUi(content());
    connectForm();
    setUpTitleStrip(ui->m_IconBar, ui->m_CloseButton, tr("隐私信息详情 - ") + groupname);
    ui->m_CancelButton->setProperty("useButtonPalette", true);
    ui->m_ConfirmButton->setProperty("isImportant", true);

    if (service)
        watchReply(service->SensitiveDiscoveryGetDataIdDetectedDetail(pathlist, PrivacyScanTask, groupname));
}

PiiSensitiveDetailExWidget::~PiiSensitiveDetailExWidget()
{
    delete ui;
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
    QJsonObject root;
    if (!DetailReply::readDocument(watcher, QLatin1String(DetailMethod), &root))
        return;
    showDetail(parseSensitiveGroupDetail(root));
}

PiiSensitiveDetailExWidget::FileRules PiiSensitiveDetailExWidget::regroup(const SensitiveGroupDetail &detail)
{
    FileRules files;
    for (const SensitiveRuleDetail &rule : detail.groupsensitives) {
        for (const SensitiveFileDetail &file : rule.rulesensitives) {
            // Entries are made by hits: a file listed without any gets no row.
            for (const SensitiveItem &item : file.sensitives)
                files[file.filepath][rule.rulename] << highlightSensitive(item.sensitive_ctx, item.sensitive);
        }
    }
    return files;
}

int PiiSensitiveDetailExWidget::totalHits(const SensitiveGroupDetail &detail)
{
    qint64 total = 0;
    for (const SensitiveRuleDetail &rule : detail.groupsensitives)
        for (const SensitiveFileDetail &file : rule.rulesensitives)
            total += file.sensitives.size();
    return int(qMin<qint64>(total, std::numeric_limits<int>::max()));
}

void PiiSensitiveDetailExWidget::showDetail(const SensitiveGroupDetail &detail)
{
    ui->m_SensitiveMatchedLabel->setText(QString::number(totalHits(detail)));
    const FileRules files = regroup(detail);
    // Filled while hidden and shown once, as in the keyword detail dialog:
    // rows added to a list on screen cost time with the square of their number.
    QWidget *list = ui->scrollAreaWidgetContents;
    const bool shown = !list->isHidden();
    list->hide();
    for (auto file = files.constBegin(); file != files.constEnd(); ++file)
        ui->m_SensitiveDetailVBoxLayout->addWidget(new PiiSensitiveFrame(file.key(), file.value()));
    if (shown)
        list->show();
}
