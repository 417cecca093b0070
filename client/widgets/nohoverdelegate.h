#ifndef NOHOVERDELEGATE_H
#define NOHOVERDELEGATE_H

#include <QStyledItemDelegate>

// Paints cells as usual but without the hover highlight.
class NoHoverDelegate : public QStyledItemDelegate
{
public:
    explicit NoHoverDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

#endif // NOHOVERDELEGATE_H
