#include "piisensitivedetailexwidget.h"
#include "ui_piisensitivedetailexwidget.h"

#include "detailreply.h"
#include "detailwindowplacement.h"
#include "highlightsensitive.h"
#include "piisensitiveframe.h"
#include "scantasktype.h"
#include "sensitivegroupdetail.h"
#include "sensitivescaninterface.h"

#include <QDBusPendingCallWatcher>
#include <QIcon>

#include <limits>

namespace {
const char *const DetailMethod = "SensitiveDiscoveryGetDataIdDetectedDetail";
}

PiiSensitiveDetailExWidget::PiiSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist,
                                                       const QString &groupname, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PiiSensitiveDetailExWidget)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(FixedWidth, FixedHeight);
    DetailWindowPlacement::centreOnCursorScreen(this);

    ui->m_IconBar->setIcon(QIcon(QStringLiteral(":/SensitiveDiscovery/images/zoq_logo/vorel-security-center@1x.png")));
    ui->m_IconBar->setWidgetName(tr("隐私信息详情 - ") + groupname);
    ui->m_CloseButton->setProperty("useButtonPalette", true);
    ui->m_CloseButton->setIcons(QStringLiteral(":/SensitiveDiscovery/images/titlebar/close.png"),
                                QStringLiteral(":/SensitiveDiscovery/images/titlebar/closeWhite.png"),
                                QStringLiteral(":/SensitiveDiscovery/images/titlebar/closeWhite.png"));
    ui->m_CancelButton->setProperty("useButtonPalette", true);
    ui->m_ConfirmButton->setProperty("isImportant", true);

    if (service) {
        // Owned by the dialog: closed before the reply, it takes the watcher
        // along and the reply is never handled.
        auto *watcher = new QDBusPendingCallWatcher(
            service->SensitiveDiscoveryGetDataIdDetectedDetail(pathlist, PrivacyScanTask, groupname), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, &PiiSensitiveDetailExWidget::onCallFinished);
    }
    connect(ui->m_CloseButton, &QPushButton::clicked, this, &QWidget::close);
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
