#include "navigationdelegate.h"

#include "kitstyle.h"

#include <QPainter>

namespace mvk {

NavigationDelegate::NavigationDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QRectF NavigationDelegate::highlightRect(const QRect &rowRect)
{
    return QRectF(rowRect).adjusted(SideMargin, 2, -SideMargin, -2);
}

void NavigationDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);

    const bool enabled = opt.state & QStyle::State_Enabled;
    const bool selected = opt.state & QStyle::State_Selected;
    const bool hovered = opt.state & QStyle::State_MouseOver;
    const QRectF box = highlightRect(opt.rect);

    if (selected || hovered) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(selected ? QColor(KitStyle::Accent) : QColor(KitStyle::Row));
        painter->drawRoundedRect(box, KitStyle::RowRadius, KitStyle::RowRadius);
    }

    int x = int(box.left()) + 12;
    const QSize iconSize = opt.decorationSize.isValid() ? opt.decorationSize : QSize(16, 16);
    if (!opt.icon.isNull()) {
        QRect iconRect(QPoint(x, 0), iconSize);
        iconRect.moveTop(int(box.center().y() - iconSize.height() / 2.0 + 0.5));
        opt.icon.paint(painter, iconRect, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled,
                       selected ? QIcon::On : QIcon::Off);
        x = iconRect.right() + 1 + 8;
    }

    QColor textColor = selected ? QColor(Qt::white) : QColor(KitStyle::Text);
    if (!enabled)
        textColor = QColor(KitStyle::TextDisabled);
    painter->setPen(textColor);
    painter->setFont(opt.font);
    const QRect textRect(x, int(box.top()), int(box.right()) - 12 - x, int(box.height()));
    const QString text = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, qMax(0, textRect.width()));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);

    painter->restore();
}

QSize NavigationDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const int iconWidth = opt.icon.isNull() ? 0 : opt.decorationSize.width() + 8;
    const int textWidth = opt.fontMetrics.horizontalAdvance(opt.text);
    return QSize(2 * SideMargin + 24 + iconWidth + textWidth, RowHeight);
}

} // namespace mvk
