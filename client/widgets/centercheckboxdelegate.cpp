#include "centercheckboxdelegate.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QStyleOptionButton>

CenterCheckBoxDelegate::CenterCheckBoxDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void CenterCheckBoxDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    const int value = index.data(Qt::CheckStateRole).toInt();
    QStyleOptionButton box;
    box.state = QStyle::State_Enabled | (value == 2 ? QStyle::State_On : QStyle::State_Off);
    box.rect = option.rect;

    const QWidget *view = option.widget;
    QStyle *style = view ? view->style() : QApplication::style();
    const QSize size = style->sizeFromContents(QStyle::CT_CheckBox, &box, QSize(-1, -1), view);
    const int x = option.rect.left() + (option.rect.width() - size.width()) / 2;
    const int y = option.rect.top() + (option.rect.height() - size.height()) / 2;
    box.rect.setCoords(x + 3, y, x + size.width() - 1, y + size.height() - 1);
    style->drawControl(QStyle::CE_CheckBox, &box, painter, nullptr);
}

bool CenterCheckBoxDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                         const QStyleOptionViewItem &option, const QModelIndex &index)
{
    Q_UNUSED(option)
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const int value = index.data(Qt::CheckStateRole).toInt();
    model->setData(index, value == 2 ? 0 : 2, Qt::CheckStateRole);
    return true;
}
