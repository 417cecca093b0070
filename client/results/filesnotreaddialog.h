// The dialog that lists the files a run did not read in full.
#ifndef FILESNOTREADDIALOG_H
#define FILESNOTREADDIALOG_H

#include "runreports.h"

#include <QDialog>

class FilesNotReadModel;
class QTableView;

// A table of the files with their reasons; thousands of rows cost no more
// than the rows in sight. The dialog is not modal and deletes itself once
// closed.
class FilesNotReadDialog : public QDialog
{
    Q_OBJECT

public:
    FilesNotReadDialog(const QList<RunReports::FileNotRead> &files, QWidget *parent = nullptr);

    FilesNotReadModel *model() const { return m_model; }
    QTableView *view() const { return m_view; }

private:
    FilesNotReadModel *m_model;
    QTableView *m_view;
};

#endif // FILESNOTREADDIALOG_H
