#pragma once

#include <QFrame>

class QIcon;
class QListView;
class QStandardItem;
class QStandardItemModel;

namespace mvk {

class NavigationDelegate;

// A vertical list of modules (icon and name per row) for a sidebar. The
// list view's clicked(QModelIndex) tells which module the user picked; the
// first row added becomes the current one.
class NavigationBar : public QFrame
{
    Q_OBJECT

public:
    explicit NavigationBar(QWidget *parent = nullptr);

    // Takes ownership of the item (through the model).
    void addItem(QStandardItem *item);
    QStandardItem *addItem(const QIcon &icon, const QString &text);

    QStandardItemModel *model() const;
    QListView *listview() const;

    int currentRow() const;
    void setCurrentRow(int row);

signals:
    void currentRowChanged(int row);

private:
    QStandardItemModel *m_model = nullptr;
    QListView *m_view = nullptr;
};

} // namespace mvk
