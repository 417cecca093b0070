#include "navigationbar.h"

#include "navigationdelegate.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace mvk {

NavigationBar::NavigationBar(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);

    m_model = new QStandardItemModel(this);

    m_view = new QListView(this);
    m_view->setObjectName(QStringLiteral("navigationList"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new NavigationDelegate(m_view));
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setUniformItemSizes(true);
    m_view->setIconSize(QSize(16, 16));
    m_view->setMouseTracking(true);
    m_view->setAttribute(Qt::WA_Hover, true);
    m_view->setStyleSheet(QStringLiteral("QListView { background: transparent; border: none; outline: none; }"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
}

void NavigationBar::addItem(QStandardItem *item)
{
    if (!item)
        return;
    item->setEditable(false);
    m_model->appendRow(item);
    if (!m_view->currentIndex().isValid())
        m_view->setCurrentIndex(item->index());
}

QStandardItem *NavigationBar::addItem(const QIcon &icon, const QString &text)
{
    auto *item = new QStandardItem(icon, text);
    addItem(item);
    return item;
}

QStandardItemModel *NavigationBar::model() const
{
    return m_model;
}

QListView *NavigationBar::listview() const
{
    return m_view;
}

int NavigationBar::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void NavigationBar::setCurrentRow(int row)
{
    m_view->setCurrentIndex(m_model->index(row, 0));
}

} // namespace mvk
