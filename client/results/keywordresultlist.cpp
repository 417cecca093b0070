#include "keywordresultlist.h"

#include "keywordsensitiveframe.h"
#include "textwidthestimate.h"

#include <QtMath>

KeywordResultList::KeywordResultList(QWidget *parent)
    : WindowedRowList(parent)
{
    setRowHeight(RowHeight);
    setRowSpacing(RowSpacing);
    setRowFactory([this](int row, QWidget *parent) { return makeFrame(row, parent); });
}

KeywordResultList::~KeywordResultList() = default;

void KeywordResultList::setScanService(SensitiveScanInterface *service)
{
    m_service = service;
}

void KeywordResultList::appendRow(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives)
{
    Row row{pathlist, filepath, sensitives, KeywordSensitiveFrame::countOf(sensitives)};
    // Every row of a task carries the same path list: keep one copy of it.
    if (!m_rows.empty() && m_rows.back().pathlist == pathlist)
        row.pathlist = m_rows.back().pathlist;
    m_hitTotal += row.count;
    m_rows.push_back(std::move(row));
    setContentWidth(qMax(contentWidth(), widthFor(filepath)));
    setRowCount(count());
}

void KeywordResultList::clear()
{
    WindowedRowList::clear();
    m_rows.clear();
    m_hitTotal = 0;
}

QString KeywordResultList::filePath(int row) const
{
    return row >= 0 && row < count() ? m_rows[size_t(row)].filepath : QString();
}

int KeywordResultList::hitCount(int row) const
{
    return row >= 0 && row < count() ? m_rows[size_t(row)].count : 0;
}

KeywordSensitiveFrame *KeywordResultList::frameAt(int row) const
{
    return qobject_cast<KeywordSensitiveFrame *>(widgetAt(row));
}

QWidget *KeywordResultList::makeFrame(int row, QWidget *parent) const
{
    if (row < 0 || row >= count())
        return nullptr;
    const Row &data = m_rows[size_t(row)];
    return new KeywordSensitiveFrame(m_service, data.pathlist, data.filepath, data.sensitives, parent);
}

int KeywordResultList::widthFor(const QString &filepath)
{
    if (m_rowWidthWithoutPath < 0) {
        const KeywordSensitiveFrame probe(m_service, QString(), QString(), QVariantMap());
        m_rowWidthWithoutPath = probe.minimumSizeHint().width();
        m_pathWidth = std::make_unique<TextWidthEstimate>(font());
    }
    // Rounded up, and a pixel to spare: the label measures its text its own way.
    return m_rowWidthWithoutPath + qCeil(m_pathWidth->width(filepath)) + 1;
}
