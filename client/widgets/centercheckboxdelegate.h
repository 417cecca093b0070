#ifndef CENTERCHECKBOXDELEGATE_H
#define CENTERCHECKBOXDELEGATE_H

#include <QStyledItemDelegate>

// Draws a bare check box centred in the cell from the cell's check state (2
// ticked, anything else not) and flips it on a mouse-button release in the
// cell. Nothing else of the cell is painted.
class CenterCheckBoxDelegate : public QStyledItemDelegate
{
public:
    explicit CenterCheckBoxDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
};

#endif // CENTERCHECKBOXDELEGATE_H
