#include "piiscangroupframe.h"
#include "ui_piiscangroupframe.h"

#include "flowlayout.h"
#include "piiscangroupwidget.h"

#include <QEvent>
#include <QIcon>

const char PiiScanGroupFrame::UpArrow[] = ":/SensitiveDiscovery/images/scan/pii/scanitem/up-symbolic.png";
const char PiiScanGroupFrame::DownArrow[] = ":/SensitiveDiscovery/images/scan/pii/scanitem/down-symbolic.png";

PiiScanGroupFrame::PiiScanGroupFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::PiiScanGroupFrame)
{
    ui->setupUi(this);

    m_flowLayout = new FlowLayout(ui->m_ScanGroupFrame, -1, 14, 2);
    m_flowLayout->setContentsMargins(0, 0, 0, 16);

    showArrow(UpArrow);
    ui->m_ScanGroupShrinkLabel->setProperty("useIconHighlightEffect", 2);
    ui->m_ScanGroupShrinkLabel->installEventFilter(this);
}

PiiScanGroupFrame::~PiiScanGroupFrame()
{
    delete ui;
}

void PiiScanGroupFrame::setTitle(const QString &iconPath, const QString &title)
{
    QLabel *logo = ui->m_ScanGroupLogoLabel;
    logo->setPixmap(QIcon(iconPath).pixmap(logo->size()));
    logo->setProperty("useIconHighlightEffect", 2);
    ui->m_ScanGroupNameLabel->setText(title);
}

QString PiiScanGroupFrame::title() const
{
    return ui->m_ScanGroupNameLabel->text();
}

void PiiScanGroupFrame::addGroupWidget(PiiScanGroupWidget *widget)
{
    m_flowLayout->addWidget(widget);
}

QList<PiiScanGroupWidget *> PiiScanGroupFrame::groupWidgets() const
{
    QList<PiiScanGroupWidget *> widgets;
    for (int i = 0; i < m_flowLayout->count(); ++i) {
        if (auto *w = qobject_cast<PiiScanGroupWidget *>(m_flowLayout->itemAt(i)->widget()))
            widgets.append(w);
    }
    return widgets;
}

bool PiiScanGroupFrame::isExpanded() const
{
    return !ui->m_ScanGroupFrame->isHidden();
}

void PiiScanGroupFrame::showArrow(const char *path)
{
    QLabel *arrow = ui->m_ScanGroupShrinkLabel;
    arrow->setPixmap(QIcon(QString::fromUtf8(path)).pixmap(arrow->size()));
}

bool PiiScanGroupFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->m_ScanGroupShrinkLabel && event->type() == QEvent::MouseButtonPress) {
        // isHidden(), not isVisible(): the state must not depend on whether
        // the frame itself is on screen yet.
        if (ui->m_ScanGroupFrame->isHidden()) {
            ui->m_ScanGroupFrame->show();
            showArrow(UpArrow);
        } else {
            ui->m_ScanGroupFrame->hide();
            showArrow(DownArrow);
        }
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
