#ifndef KEYWORDSENSITIVEDETAILEXWIDGET_H
#define KEYWORDSENSITIVEDETAILEXWIDGET_H

#include "detaildialog.h"
#include "keyworddetail.h"

#include <memory>

class QLabel;
class SensitiveScanInterface;

namespace Ui {
class KeywordSensitiveDetailExWidget;
}

// The keyword detail dialog: every keyword hit of one file, in a draggable
// DetailDialog. On construction it asks the scan service for the file's detail
// document without waiting; the reply is read on a pool thread (a document
// may hold tens of thousands of hits and megabyte passages), then the header
// shows the file and its number of hits (the service's total, with "showing
// the first N" where it kept fewer passages) and the list one row per hit,
// the passage cut around its hit and the keyword marked, the longer passage
// in the row's tooltip. Only the rows in view are made (see WindowedRowList).
// A failed call or an unreadable document leaves the initial texts
// ("文件路径", "0") and an empty list; only the log tells.
class KeywordSensitiveDetailExWidget : public DetailDialog
{
    Q_OBJECT

public:
    // Asks `service` for SensitiveDiscoveryGetKeywordDetectedDetail
    // (pathlist, 1, filepath). Meant to be created without parent and shown.
    KeywordSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist, const QString &filepath,
                                   QWidget *parent = nullptr);
    ~KeywordSensitiveDetailExWidget() override;

    // Raises the dialog open for this file, or opens one.
    static KeywordSensitiveDetailExWidget *showFor(SensitiveScanInterface *service, const QString &pathlist,
                                                   const QString &filepath);

private Q_SLOTS:
    void on_m_CancelButton_clicked();
    void on_m_ConfirmButton_clicked();
    void onCallFinished(QDBusPendingCallWatcher *watcher) override;

private:
    void showDetail(const std::shared_ptr<const KeywordDetail> &detail);
    QWidget *makeHitRow(int row, QWidget *parent) const;

    Ui::KeywordSensitiveDetailExWidget *ui;
    // "showing the first N", beside the count.
    QLabel *m_shownLabel;
    // The document's hits; only those in view are made into rows.
    std::shared_ptr<const KeywordDetail> m_detail;
};

#endif // KEYWORDSENSITIVEDETAILEXWIDGET_H
