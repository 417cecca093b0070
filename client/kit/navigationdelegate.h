#pragma once

#include <QStyledItemDelegate>

namespace mvk {

// Draws a navigation row: icon and text on a rounded highlight, blue when
// selected, light grey under the mouse.
class NavigationDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 40;
    static constexpr int SideMargin = 8;

    explicit NavigationDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The rounded highlight of a row within the row's rectangle.
    static QRectF highlightRect(const QRect &rowRect);
};

} // namespace mvk
