#include "borderlessbutton.h"

#include "kitstyle.h"

#include <QFocusEvent>
#include <QPainter>

namespace mvk {

namespace {
constexpr int HorizontalPadding = 6;
constexpr int IconSpacing = 4;
} // namespace

BorderlessButton::BorderlessButton(QWidget *parent)
    : QPushButton(parent)
{
    init();
}

BorderlessButton::BorderlessButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    init();
}

void BorderlessButton::init()
{
    setFlat(true);
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover, true);
    setIconSize(QSize(16, 16));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor BorderlessButton::textColor() const
{
    if (!isEnabled())
        return QColor(KitStyle::TextDisabled);
    if (isDown())
        return QColor(KitStyle::AccentPressed);
    if (underMouse())
        return QColor(KitStyle::AccentHover);
    return QColor(KitStyle::Accent);
}

QSize BorderlessButton::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    int w = fm.horizontalAdvance(text());
    int h = fm.height();
    if (!icon().isNull()) {
        w += iconSize().width() + (text().isEmpty() ? 0 : IconSpacing);
        h = qMax(h, iconSize().height());
    }
    return QSize(w + 2 * HorizontalPadding, qMax(h + 8, 28));
}

QSize BorderlessButton::minimumSizeHint() const
{
    return sizeHint();
}

void BorderlessButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);

    if (m_keyboardFocus && hasFocus()) {
        QColor ring(KitStyle::Accent);
        ring.setAlphaF(0.4);
        p.setPen(QPen(ring, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }

    const QColor color = textColor();
    const QFontMetrics fm = fontMetrics();
    const int textWidth = fm.horizontalAdvance(text());
    const bool hasIcon = !icon().isNull();
    const int contentWidth = textWidth + (hasIcon ? iconSize().width() + (text().isEmpty() ? 0 : IconSpacing) : 0);
    int x = (width() - contentWidth) / 2;

    if (hasIcon) {
        QRect iconRect(QPoint(x, (height() - iconSize().height()) / 2), iconSize());
        icon().paint(&p, iconRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        x = iconRect.right() + 1 + IconSpacing;
    }

    QFont f = font();
    if (underMouse() && isEnabled())
        f.setUnderline(true);
    p.setFont(f);
    p.setPen(color);
    const QRect textRect(x, 0, width() - x, height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
               fm.elidedText(text(), Qt::ElideRight, qMax(0, width() - x - HorizontalPadding / 2)));
}

void BorderlessButton::enterEvent(QEvent *event)
{
    QPushButton::enterEvent(event);
    update();
}

void BorderlessButton::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    update();
}

void BorderlessButton::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
        || event->reason() == Qt::ShortcutFocusReason;
    QPushButton::focusInEvent(event);
}

void BorderlessButton::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus = false;
    QPushButton::focusOutEvent(event);
}

} // namespace mvk
