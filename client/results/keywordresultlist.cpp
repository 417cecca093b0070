// The keyword scan's result list: the model's rows, made into frames only
// while in view.

#include "keywordresultlist.h"

#include "keywordresultmodel.h"
#include "keywordsensitiveframe.h"

KeywordResultList::KeywordResultList(QWidget *parent)
    : WindowedRowList(parent), m_model(new KeywordResultModel(this))
{
    setRowHeight(RowHeight);
    setRowSpacing(RowSpacing);
    setRowFactory([this](int row, QWidget *parent) { return makeFrame(row, parent); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { onRowsInserted(first, last); });
    connect(m_model, &QAbstractItemModel::modelReset, this, &KeywordResultList::onModelReset);
}

KeywordResultList::~KeywordResultList() = default;

void KeywordResultList::setScanService(SensitiveScanInterface *service)
{
    m_service = service;
}

void KeywordResultList::appendRow(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives)
{
    m_model->append(pathlist, filepath, sensitives);
}

void KeywordResultList::clear()
{
    m_model->clear();
}

int KeywordResultList::count() const
{
    return m_model->count();
}

qint64 KeywordResultList::hitTotal() const
{
    return m_model->hitTotal();
}

QString KeywordResultList::filePath(int row) const
{
    return m_model->filePath(row);
}

int KeywordResultList::hitCount(int row) const
{
    return m_model->hitCount(row);
}

// Rows are only ever appended. A row elides its path, so its least width
// is the same for every path: measured once.
void KeywordResultList::onRowsInserted(int first, int last)
{
    Q_UNUSED(first)
    Q_UNUSED(last)
    if (m_rowMinimumWidth < 0) {
        const KeywordSensitiveFrame probe(m_service, QString(), QString(), QVariantMap());
        m_rowMinimumWidth = probe.minimumSizeHint().width();
    }
    setContentWidth(m_rowMinimumWidth);
    setRowCount(m_model->count());
}

void KeywordResultList::onModelReset()
{
    WindowedRowList::clear();
    setRowCount(m_model->count());
}

KeywordSensitiveFrame *KeywordResultList::frameAt(int row) const
{
    return qobject_cast<KeywordSensitiveFrame *>(widgetAt(row));
}

QWidget *KeywordResultList::makeFrame(int row, QWidget *parent) const
{
    if (row < 0 || row >= m_model->count())
        return nullptr;
    return new KeywordSensitiveFrame(m_service, m_model->pathList(row), m_model->filePath(row),
                                     m_model->sensitives(row), parent);
}
