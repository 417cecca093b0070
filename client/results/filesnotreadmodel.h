// The files a run did not read in full, as a table for a view.
#ifndef FILESNOTREADMODEL_H
#define FILESNOTREADMODEL_H

#include "runreports.h"

#include <QAbstractTableModel>
#include <QList>

// One row per file: its path, the kind of reason in the user's language and
// the service's detailed reason. Paths come from the service as they are on
// disk (escaped where not valid UTF-8) and may hold anything a file name can:
// they are shown as plain text, their tool tips escaped.
class FilesNotReadModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { FileColumn = 0, KindColumn = 1, ReasonColumn = 2, ColumnCount = 3 };

    explicit FilesNotReadModel(QObject *parent = nullptr);

    void setFiles(const QList<RunReports::FileNotRead> &files);
    const QList<RunReports::FileNotRead> &files() const { return m_files; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The service's kind of reason in the user's language; a kind this
    // client does not know is shown as the service wrote it.
    static QString kindText(const QString &kind);

private:
    QList<RunReports::FileNotRead> m_files;
};

#endif // FILESNOTREADMODEL_H
