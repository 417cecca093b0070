#include "nohoverdelegate.h"

NoHoverDelegate::NoHoverDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void NoHoverDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    QStyleOptionViewItem opt(option);
    opt.state &= ~QStyle::State_MouseOver;
    QStyledItemDelegate::paint(painter, opt, index);
}
