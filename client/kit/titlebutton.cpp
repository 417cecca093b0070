#include "titlebutton.h"

#include "kitstyle.h"

#include <QPainter>
#include <QPainterPath>

namespace mvk {

TitleButton::TitleButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(16, 16));
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_Hover, true);
}

bool TitleButton::isDanger() const
{
    return m_danger;
}

void TitleButton::setDanger(bool danger)
{
    if (m_danger == danger)
        return;
    m_danger = danger;
    update();
}

QColor TitleButton::backgroundColor() const
{
    if (!isEnabled())
        return Qt::transparent;
    const bool hovered = underMouse();
    const bool pressed = isDown() || (isCheckable() && isChecked());
    if (m_danger) {
        if (pressed)
            return QColor(KitStyle::Danger).darker(115);
        if (hovered)
            return QColor(KitStyle::Danger);
        return Qt::transparent;
    }
    if (pressed)
        return QColor(0, 0, 0, 31);
    if (hovered)
        return QColor(0, 0, 0, 15);
    return Qt::transparent;
}

QSize TitleButton::sizeHint() const
{
    return QSize(36, 36);
}

QSize TitleButton::minimumSizeHint() const
{
    return iconSize() + QSize(8, 8);
}

void TitleButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);

    const QColor bg = backgroundColor();
    if (bg.alpha() > 0) {
        const qreal side = qMin(width(), height()) - 4;
        QRectF r(0, 0, side, side);
        r.moveCenter(QRectF(rect()).center());
        p.setPen(Qt::NoPen);
        p.setBrush(bg);
        p.drawRoundedRect(r, KitStyle::RowRadius, KitStyle::RowRadius);
    }

    QIcon::Mode mode = QIcon::Normal;
    if (!isEnabled())
        mode = QIcon::Disabled;
    else if (m_danger && (underMouse() || isDown()))
        mode = QIcon::Active;
    QRect iconRect(QPoint(0, 0), iconSize());
    iconRect.moveCenter(rect().center());
    icon().paint(&p, iconRect, Qt::AlignCenter, mode, isChecked() ? QIcon::On : QIcon::Off);
}

void TitleButton::enterEvent(QEvent *event)
{
    QToolButton::enterEvent(event);
    update();
}

void TitleButton::leaveEvent(QEvent *event)
{
    QToolButton::leaveEvent(event);
    update();
}

} // namespace mvk
