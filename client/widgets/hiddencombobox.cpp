#include "hiddencombobox.h"

#include <QAbstractItemView>
#include <QListView>

HiddenComboBox::HiddenComboBox(QWidget *parent)
    : QComboBox(parent)
{
}

void HiddenComboBox::showPopup()
{
    QComboBox::showPopup();

    QAbstractItemView *list = view();
    if (!list)
        return;

    if (m_anchorWidget) {
        const QPoint g = m_anchorWidget->mapToGlobal(QPoint(0, m_anchorWidget->height()));
        auto *listView = qobject_cast<QListView *>(list);
        if (listView && listView->window()) {
            QWidget *popup = listView->window();
            popup->move(g.x(), g.y() + 10);
            const QRect anchor = m_anchorWidget->geometry();
            popup->setFixedWidth(anchor.right() - anchor.left() + 38);
        }
        return;
    }

    // Without an anchor the combo box's parent (the split control it serves)
    // stands in for it.
    QWidget *owner = parentWidget();
    const int ownerHeight = owner ? owner->height() : 0;
    const QPoint g = mapToGlobal(QPoint(0, ownerHeight + 10));
    if (QWidget *container = list->parentWidget()) {
        container->move(g);
        if (owner)
            container->setFixedWidth(owner->width());
    }
}
