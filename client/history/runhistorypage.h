// The scan history module's page: the runs, a run's summary, export and delete.
#ifndef RUNHISTORYPAGE_H
#define RUNHISTORYPAGE_H

#include "runreports.h"

#include <QDBusConnection>
#include <QJsonObject>
#include <QWidget>

class QDBusPendingCallWatcher;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStackedWidget;
class QTableView;
class RunHistoryModel;

// Lists the runs the scan service keeps in a sortable table, newest first.
// Every call to the service is asynchronous: the window never waits on the
// bus. The list is read again by refresh() (the main window calls it when
// the module is shown and when a scan ends). Selecting a run shows its
// summary; "导出" asks for the run's export (exportRequested, handled by
// whoever owns the export dialog); "删除" asks, then deletes the run at the
// service and takes its row away. An empty history, a service that is not
// there and a list that cannot be read each show a plain message instead of
// the table.
class RunHistoryPage : public QWidget
{
    Q_OBJECT

public:
    explicit RunHistoryPage(const QDBusConnection &bus, QWidget *parent = nullptr);

    RunHistoryModel *model() const { return m_model; }
    QSortFilterProxyModel *sortedModel() const { return m_sorted; }
    QTableView *table() const { return m_table; }
    // The run whose row is selected, or -1.
    qint64 selectedRun() const;
    // Selects the row of `run`; false when it is not listed.
    bool selectRun(qint64 run);

    // Whether the delete question is asked (the default); a caller that has
    // asked already turns it off.
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

public Q_SLOTS:
    // Reads the list again; a refresh asked for while one is under way runs
    // when it ends.
    void refresh();
    // The selected run: asks for its export, or deletes it.
    void exportSelectedRun();
    void deleteSelectedRun();

Q_SIGNALS:
    // The user asked to export `run`; `suggestedBaseName` is a file name
    // without extension the save dialog may offer.
    void exportRequested(qint64 run, const QString &suggestedBaseName);
    // A list arrived and is shown (or its failure is).
    void refreshed();
    // A delete ended: the run is gone, or `reason` says why not.
    void deleteFinished(qint64 run, bool deleted, const QString &reason);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void fitColumns();
    void onListed(QDBusPendingCallWatcher *watcher);
    void onSelectionChanged();
    void onSummary(QDBusPendingCallWatcher *watcher, qint64 run);
    void onDeleted(QDBusPendingCallWatcher *watcher, qint64 run);
    void showMessage(const QString &text);
    void updateButtons();
    QString summaryText(const QJsonObject &summary) const;
    bool askDelete();
    void showDeleteFailure(const QString &reason);

    RunReports m_reports;
    RunHistoryModel *m_model;
    QSortFilterProxyModel *m_sorted;
    QStackedWidget *m_views;
    QTableView *m_table;
    QLabel *m_message;
    QLabel *m_title;
    QPlainTextEdit *m_summary;
    QPushButton *m_exportButton;
    QPushButton *m_deleteButton;
    QPushButton *m_refreshButton;
    bool m_listing = false;
    bool m_listAgain = false;
    bool m_confirmDelete = true;
    // The run a delete is under way for, -1 when none.
    qint64 m_deleting = -1;
    // The run whose summary was asked last: an older answer is dropped.
    qint64 m_summaryRun = -1;
    // What the message shows, so that a change of language can redo it.
    enum class Message { None, Empty, Unavailable };
    Message m_messageKind = Message::None;
    QString m_messageReason;
};

#endif // RUNHISTORYPAGE_H
