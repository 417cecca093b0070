#ifndef PIISENSITIVEDETAILEXWIDGET_H
#define PIISENSITIVEDETAILEXWIDGET_H

#include "detaildialog.h"
#include "privacydetail.h"
#include "privacydetailrows.h"

#include <memory>

class SensitiveScanInterface;
class WindowedRowList;

namespace Ui {
class PiiSensitiveDetailExWidget;
}

// The privacy detail dialog: every hit of one privacy category, regrouped
// by file, in a DetailDialog that does not move. On construction it asks the
// scan service for the category's detail document without waiting and shows
// that it is reading; the reply is read on a pool thread (see PrivacyDetail),
// then the list shows one collapsed PiiSensitiveFrame per file, in path
// order, and the bottom row the total number of hits. Expanding a file shows
// its hits below its header, one PiiSensitiveDetailFrame each. Files and
// hits are rows of one WindowedRowList: only the rows in view exist as
// widgets, however many files and hits the document holds. A failed call or
// an unreadable document leaves "0" and an empty list; only the log tells.
class PiiSensitiveDetailExWidget : public DetailDialog
{
    Q_OBJECT

public:
    // Asks `service` for SensitiveDiscoveryGetDataIdDetectedDetail
    // (pathlist, 3, groupname). Meant to be created without parent and shown.
    PiiSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist, const QString &groupname,
                               QWidget *parent = nullptr);
    ~PiiSensitiveDetailExWidget() override;

    // Raises the dialog open for this category, or opens one.
    static PiiSensitiveDetailExWidget *showFor(SensitiveScanInterface *service, const QString &pathlist,
                                               const QString &groupname);

    // The list of files and hits.
    WindowedRowList *list() const;
    // Whether the reply has been read (successfully or not).
    bool isLoaded() const { return m_loaded; }
    int fileCount() const;
    // The row of a file's header in list(), -1 for no such file.
    int fileRow(int file) const;
    // Shows or hides a file's hits, as its arrow does.
    void setFileExpanded(int file, bool expanded);

private Q_SLOTS:
    void on_m_CancelButton_clicked();
    void on_m_ConfirmButton_clicked();
    void onCallFinished(QDBusPendingCallWatcher *watcher) override;

private:
    void showLoading(bool loading);
    void showDetail(const std::shared_ptr<const PrivacyDetail> &detail);
    QWidget *makeRow(int row, QWidget *parent);

    Ui::PiiSensitiveDetailExWidget *ui;
    std::shared_ptr<const PrivacyDetail> m_detail;
    PrivacyDetailRows m_rows;
    bool m_loaded = false;
};

#endif // PIISENSITIVEDETAILEXWIDGET_H
