#ifndef KEYWORDRESULTLIST_H
#define KEYWORDRESULTLIST_H

#include "windowedrowlist.h"

#include <QString>
#include <QVariantMap>


class KeywordResultModel;
class KeywordSensitiveFrame;
class SensitiveScanInterface;

// The keyword scan's result list: the rows of a KeywordResultModel, in
// order, each shown as a KeywordSensitiveFrame.
//
// A scan may report tens of thousands of files. The model keeps every row
// as data; only the rows in view are made into frames (see WindowedRowList).
// The list follows the model's appends and resets; its own model is made
// with it.
class KeywordResultList : public WindowedRowList
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 48;
    static constexpr int RowSpacing = 4;

    explicit KeywordResultList(QWidget *parent = nullptr);
    ~KeywordResultList() override;

    KeywordResultModel *model() const { return m_model; }

    // The proxy the rows' detail dialogs ask the scan service through.
    void setScanService(SensitiveScanInterface *service);

    // Shorthands for the model's.
    void appendRow(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives);
    void clear() override;
    int count() const;
    qint64 hitTotal() const;
    QString filePath(int row) const;
    int hitCount(int row) const;

    // The frame of `row` if it exists at the moment, else nullptr.
    KeywordSensitiveFrame *frameAt(int row) const;

private:
    void onRowsInserted(int first, int last);
    void onModelReset();
    QWidget *makeFrame(int row, QWidget *parent) const;

    KeywordResultModel *m_model;
    SensitiveScanInterface *m_service = nullptr;
    // A row's least width (its path elided), measured once.
    int m_rowMinimumWidth = -1;
};

#endif // KEYWORDRESULTLIST_H
