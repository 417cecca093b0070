#include "roundeddialog.h"

#include "kiticons.h"
#include "kitstyle.h"
#include "titlebutton.h"

#include <KX11Extras>

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace mvk {

namespace {

bool compositorMissing()
{
    // Without a compositor the transparent corners of an ARGB window show
    // black; only X11 can tell us, everywhere else we trust translucency.
    return QGuiApplication::platformName() == QLatin1String("xcb") && !KX11Extras::compositingActive();
}

} // namespace

RoundedDialog::RoundedDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground, true);
    setWindowModality(Qt::WindowModal);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(0, 8, 8, 0);
    titleRow->addStretch(1);
    m_closeButton = new TitleButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setDanger(true);
    m_closeButton->setFixedSize(32, 32);
    m_closeButton->setIcon(KitIcons::closeIcon());
    m_closeButton->setToolTip(QStringLiteral("关闭"));
    titleRow->addWidget(m_closeButton);
    outer->addLayout(titleRow);

    m_content = new QVBoxLayout;
    m_content->setContentsMargins(24, 0, 24, 24);
    m_content->setSpacing(16);
    outer->addLayout(m_content, 1);

    connect(m_closeButton, &QAbstractButton::clicked, this, &QDialog::reject);
}

TitleButton *RoundedDialog::closeButton() const
{
    return m_closeButton;
}

QVBoxLayout *RoundedDialog::contentLayout() const
{
    return m_content;
}

QRect RoundedDialog::placementGeometry()
{
    ensurePolished();
    if (layout())
        layout()->activate();
    QSize size = sizeHint().expandedTo(minimumSize()).boundedTo(maximumSize());
    if (layout() && layout()->hasHeightForWidth())
        size.setHeight(qMax(size.height(), layout()->totalHeightForWidth(size.width())));

    QRect area;
    QScreen *screen = nullptr;
    if (QWidget *host = parentWidget() ? parentWidget()->window() : nullptr) {
        area = host->frameGeometry();
        screen = host->screen();
    }
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (area.isEmpty() && screen)
        area = screen->availableGeometry();

    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(area.center());
    if (screen) {
        // Keep the whole box reachable even when the parent hangs off-screen.
        const QRect avail = screen->availableGeometry();
        if (placed.right() > avail.right())
            placed.moveRight(avail.right());
        if (placed.bottom() > avail.bottom())
            placed.moveBottom(avail.bottom());
        if (placed.left() < avail.left())
            placed.moveLeft(avail.left());
        if (placed.top() < avail.top())
            placed.moveTop(avail.top());
    }
    return placed;
}

void RoundedDialog::setVisible(bool visible)
{
    if (visible && !isVisible())
        setGeometry(placementGeometry());
    QDialog::setVisible(visible);
}

void RoundedDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(KitStyle::PanelBorder), 1));
    p.setBrush(QColor(KitStyle::Panel));
    const QRectF panel = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawRoundedRect(panel, KitStyle::PanelRadius, KitStyle::PanelRadius);
}

void RoundedDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    updateMask();
}

void RoundedDialog::updateMask()
{
    if (!compositorMissing()) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), KitStyle::PanelRadius, KitStyle::PanelRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void RoundedDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void RoundedDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void RoundedDialog::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

} // namespace mvk
