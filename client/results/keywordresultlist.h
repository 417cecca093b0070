#ifndef KEYWORDRESULTLIST_H
#define KEYWORDRESULTLIST_H

#include "windowedrowlist.h"

#include <QString>
#include <QVariantMap>

#include <memory>
#include <vector>

class KeywordSensitiveFrame;
class TextWidthEstimate;
class SensitiveScanInterface;

// The keyword scan's result list: one row per detection, in arrival order,
// each shown as a KeywordSensitiveFrame.
//
// A scan may report tens of thousands of files. The list keeps every row as
// data; only the rows in view are made into frames (see WindowedRowList).
// The hit total is kept as the rows come in, from the same count each frame
// shows, rather than read back from widgets.
class KeywordResultList : public WindowedRowList
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 48;
    static constexpr int RowSpacing = 4;

    explicit KeywordResultList(QWidget *parent = nullptr);
    ~KeywordResultList() override;

    // The proxy the rows' detail dialogs ask the scan service through.
    void setScanService(SensitiveScanInterface *service);

    void appendRow(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives);
    // Removes every row (see WindowedRowList::clear()).
    void clear() override;

    int count() const { return int(m_rows.size()); }
    // The sum of every row's count, as each row shows it.
    qint64 hitTotal() const { return m_hitTotal; }

    QString filePath(int row) const;
    // The count row `row` shows.
    int hitCount(int row) const;
    // The frame of `row` if it exists at the moment, else nullptr.
    KeywordSensitiveFrame *frameAt(int row) const;

private:
    struct Row
    {
        QString pathlist;
        QString filepath;
        QVariantMap sensitives;
        int count;
    };

    QWidget *makeFrame(int row, QWidget *parent) const;
    // The width a row needs to show `filepath` whole.
    int widthFor(const QString &filepath);

    std::vector<Row> m_rows;
    qint64 m_hitTotal = 0;
    SensitiveScanInterface *m_service = nullptr;
    // A row's width without its path, measured once.
    int m_rowWidthWithoutPath = -1;
    std::unique_ptr<TextWidthEstimate> m_pathWidth;
};

#endif // KEYWORDRESULTLIST_H
