// The line of an ended scan's page that says how many files could not be
// read, with a link to their list.
#ifndef FILESNOTREADLINK_H
#define FILESNOTREADLINK_H

#include "runreports.h"

#include <QLabel>
#include <QList>
#include <QPointer>

class FilesNotReadDialog;

// Hidden until a look-up finds files the run did not read in full; then
// "N 个文件未能完整读取。查看", the link opening FilesNotReadDialog. The
// look-up goes to the service without waiting: the newest run of the path
// list and task type in the history, then its files not read.
class FilesNotReadLink : public QLabel
{
    Q_OBJECT

public:
    explicit FilesNotReadLink(QWidget *parent = nullptr);

    // Forgets what was shown and looks up the run of `pathlist` and `taskType`.
    void lookUp(const RunReports &reports, const QString &pathlist, const QString &taskType);
    // Hidden; a look-up still under way is forgotten.
    void clear();

    const QList<RunReports::FileNotRead> &files() const { return m_files; }
    // The dialog the link opened, while it is open.
    FilesNotReadDialog *dialog() const;

public Q_SLOTS:
    // Opens the list, or raises the one already open.
    void showList();

Q_SIGNALS:
    // A look-up has ended: `count` files not read (0 when none, or when the
    // history could not be read).
    void filesCounted(int count);

protected:
    void changeEvent(QEvent *event) override;

private:
    void showFiles(const QList<RunReports::FileNotRead> &files);
    void updateText();

    // Replies to a look-up that was cleared or replaced are dropped.
    quint64 m_lookUp = 0;
    QList<RunReports::FileNotRead> m_files;
    QPointer<FilesNotReadDialog> m_dialog;
};

#endif // FILESNOTREADLINK_H
