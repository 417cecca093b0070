// The privacy scan's running totals.

#include "privacycountmodel.h"

#include "piicategories.h"

#include <limits>

PrivacyCountModel::PrivacyCountModel(QObject *parent)
    : QAbstractListModel(parent), m_names(PiiCategories::names()), m_counts(m_names.size(), 0)
{
}

PrivacyCountModel::~PrivacyCountModel() = default;

int PrivacyCountModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_names.size();
}

QVariant PrivacyCountModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_names.size())
        return QVariant();
    if (role == NameRole)
        return m_names.at(index.row());
    if (role == CountRole)
        return m_counts.at(index.row());
    return QVariant();
}

int PrivacyCountModel::count(const QString &category) const
{
    const int row = m_names.indexOf(category);
    return row < 0 ? 0 : m_counts.at(row);
}

void PrivacyCountModel::add(const QString &category, int hits)
{
    const int row = m_names.indexOf(category);
    if (row < 0)
        return;
    m_counts[row] = int(qBound<qint64>(std::numeric_limits<int>::min(), qint64(m_counts.at(row)) + hits,
                                       std::numeric_limits<int>::max()));
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {CountRole});
}

void PrivacyCountModel::reset()
{
    beginResetModel();
    m_counts.fill(0);
    endResetModel();
}

int PrivacyCountModel::total() const
{
    qint64 total = 0;
    for (int count : m_counts)
        total += count;
    return int(qBound<qint64>(0, total, std::numeric_limits<int>::max()));
}
