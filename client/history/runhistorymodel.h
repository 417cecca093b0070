// The runs the scan service keeps, as a table for a view and its sort proxy.
#ifndef RUNHISTORYMODEL_H
#define RUNHISTORYMODEL_H

#include <QAbstractTableModel>
#include <QDateTime>
#include <QJsonArray>
#include <QString>
#include <QVector>

// One row per run, in the order the service listed them. Every cell has its
// text (Qt::DisplayRole, shown as plain text by the view) and a value to
// sort by (SortRole): a number for the counts, the time for the start, the
// text otherwise, so that a QSortFilterProxyModel sorting by SortRole puts
// 9 before 10 and orders times by time.
class RunHistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Started, Type, Target, Outcome, Files, FilesWithHits, FilesNotRead, ColumnCount };
    enum Role { SortRole = Qt::UserRole + 1, RunRole };

    struct Run
    {
        qint64 run = -1;
        QDateTime started;
        QString taskType; // "keyword" or "privacy", as the service names them
        QString pathList;
        QString outcome;
        QString failure;
        qint64 files = 0;
        qint64 filesWithHits = 0;
        qint64 filesNotRead = 0;
    };

    explicit RunHistoryModel(QObject *parent = nullptr);

    // Replaces the rows with the service's run objects (ListRuns). A value
    // missing or of the wrong type leaves its field empty or 0; an entry
    // that is not an object, or has no run number, is skipped.
    void setRuns(const QJsonArray &runs);
    // Removes the row of `run`; false when there is none.
    bool removeRun(qint64 run);

    // The row of `run` (this model's rows), or -1.
    int rowOfRun(qint64 run) const;
    Run runAt(int row) const { return m_runs.value(row); }

    // The texts a run's type and outcome are shown with; the table names
    // the type in brief.
    static QString typeText(const QString &taskType);
    static QString briefTypeText(const QString &taskType);
    static QString outcomeText(const QString &outcome);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant sortValue(const Run &run, int column) const;
    QString displayText(const Run &run, int column) const;

    QVector<Run> m_runs;
};

#endif // RUNHISTORYMODEL_H
