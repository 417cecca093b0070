#include "headercheckbox.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

HeaderCheckBox::HeaderCheckBox(QTableView *view, QStandardItemModel *model, QWidget *parent)
    : QCheckBox(parent)
    , m_view(view)
    , m_model(model)
{
    connect(this, &QCheckBox::clicked, this, &HeaderCheckBox::onClicked);
    if (m_model) {
        connect(m_model, &QStandardItemModel::itemChanged, this, &HeaderCheckBox::syncState);
        // Rows that come or go change the count as much as a tick does.
        connect(m_model, &QAbstractItemModel::rowsInserted, this, &HeaderCheckBox::syncState);
        connect(m_model, &QAbstractItemModel::rowsRemoved, this, &HeaderCheckBox::syncState);
        connect(m_model, &QAbstractItemModel::modelReset, this, &HeaderCheckBox::syncState);
    }
    if (m_view) {
        connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
                [this](int logicalIndex, int, int) {
                    if (logicalIndex == 0)
                        reposition();
                });
    }
    setCheckState(Qt::Checked);
}

void HeaderCheckBox::onClicked(bool checked)
{
    if (!m_model)
        return;
    const int value = checked ? 2 : 0;
    for (int row = 0; row < m_model->rowCount(); ++row)
        m_model->setData(m_model->index(row, 0), value, Qt::CheckStateRole);
}

void HeaderCheckBox::syncState()
{
    if (!m_model)
        return;
    const int rows = m_model->rowCount();
    if (rows == 0)
        return; // nothing to follow: keep what the box shows
    int ticked = 0;
    for (int row = 0; row < rows; ++row) {
        bool ok = false;
        const int value = m_model->index(row, 0).data(Qt::CheckStateRole).toInt(&ok);
        if (ok && value == 2)
            ++ticked;
    }
    if (ticked == 0)
        setCheckState(Qt::Unchecked);
    else if (ticked == rows)
        setCheckState(Qt::Checked);
    else
        setCheckState(Qt::PartiallyChecked);
}

void HeaderCheckBox::resizeEvent(QResizeEvent *event)
{
    Q_UNUSED(event)
    reposition();
}

void HeaderCheckBox::reposition()
{
    if (!m_view)
        return;
    const QHeaderView *header = m_view->horizontalHeader();
    const QSize s(header->sectionSize(0), header->height());
    const QSize h = sizeHint();
    move((qAbs(s.width() - h.width()) >> 1) + 5, (qAbs(s.height() - h.height()) >> 1) - 4);
}
