// The keyword scan's results as data: one row per detection, in arrival order.
#ifndef KEYWORDRESULTMODEL_H
#define KEYWORDRESULTMODEL_H

#include <QAbstractListModel>
#include <QString>
#include <QVariantMap>

#include <vector>

// One row per file with hits, as the detection signal reported it; the hit
// total is kept as rows come in, from the same count each row shows. A scan
// may report tens of thousands of rows: appending costs the same at any
// length, and nothing here makes widgets (see KeywordResultList).
class KeywordResultModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        FilePathRole = Qt::DisplayRole,
        PathListRole = Qt::UserRole + 1,
        SensitivesRole,
        HitCountRole,
    };

    explicit KeywordResultModel(QObject *parent = nullptr);
    ~KeywordResultModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void append(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives);
    // Removes every row (a model reset).
    void clear();

    int count() const { return int(m_rows.size()); }
    // The sum of every row's count.
    qint64 hitTotal() const { return m_hitTotal; }
    // Out-of-range rows read as empty, with a count of 0.
    QString pathList(int row) const;
    QString filePath(int row) const;
    QVariantMap sensitives(int row) const;
    int hitCount(int row) const;

    // The count a row of `sensitives` shows: the sum of the values as
    // integers (a value that does not convert counts as 0), held within int.
    static int countOf(const QVariantMap &sensitives);

private:
    struct Row
    {
        QString pathlist;
        QString filepath;
        QVariantMap sensitives;
        int count;
    };
    const Row *rowAt(int row) const;

    std::vector<Row> m_rows;
    qint64 m_hitTotal = 0;
};

#endif // KEYWORDRESULTMODEL_H
