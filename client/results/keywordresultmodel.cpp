// The keyword scan's results as data.

#include "keywordresultmodel.h"

#include <limits>

KeywordResultModel::KeywordResultModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

KeywordResultModel::~KeywordResultModel() = default;

int KeywordResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant KeywordResultModel::data(const QModelIndex &index, int role) const
{
    const Row *row = index.isValid() ? rowAt(index.row()) : nullptr;
    if (!row)
        return QVariant();
    switch (role) {
    case FilePathRole:
        return row->filepath;
    case PathListRole:
        return row->pathlist;
    case SensitivesRole:
        return row->sensitives;
    case HitCountRole:
        return row->count;
    default:
        return QVariant();
    }
}

void KeywordResultModel::append(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives)
{
    Row row{pathlist, filepath, sensitives, countOf(sensitives)};
    // Every row of a task carries the same path list: keep one copy of it.
    if (!m_rows.empty() && m_rows.back().pathlist == pathlist)
        row.pathlist = m_rows.back().pathlist;
    const int at = count();
    beginInsertRows(QModelIndex(), at, at);
    m_hitTotal += row.count;
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void KeywordResultModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_hitTotal = 0;
    endResetModel();
}

const KeywordResultModel::Row *KeywordResultModel::rowAt(int row) const
{
    return row >= 0 && row < count() ? &m_rows[size_t(row)] : nullptr;
}

QString KeywordResultModel::pathList(int row) const
{
    const Row *r = rowAt(row);
    return r ? r->pathlist : QString();
}

QString KeywordResultModel::filePath(int row) const
{
    const Row *r = rowAt(row);
    return r ? r->filepath : QString();
}

QVariantMap KeywordResultModel::sensitives(int row) const
{
    const Row *r = rowAt(row);
    return r ? r->sensitives : QVariantMap();
}

int KeywordResultModel::hitCount(int row) const
{
    const Row *r = rowAt(row);
    return r ? r->count : 0;
}

int KeywordResultModel::countOf(const QVariantMap &sensitives)
{
    qint64 sum = 0;
    for (const QVariant &value : sensitives)
        sum += value.toInt();
    // Absurd counts must not wrap around into a negative total.
    return int(qBound<qint64>(std::numeric_limits<int>::min(), sum, std::numeric_limits<int>::max()));
}
