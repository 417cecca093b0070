#ifndef KEYWORDSENSITIVEDETAILEXWIDGET_H
#define KEYWORDSENSITIVEDETAILEXWIDGET_H

#include "detaildialog.h"
#include "sensitiveitem.h"

#include <QList>

class SensitiveScanInterface;
struct SensitiveFileDetail;

namespace Ui {
class KeywordSensitiveDetailExWidget;
}

// The keyword detail dialog: every keyword hit of one file, in a draggable
// DetailDialog. On construction it asks the scan service for the file's detail
// document without waiting; when the reply arrives the header shows the file
// and the number of hits and the list one row per hit, the keyword marked in
// its passage (a document may hold tens of thousands of hits: only the rows
// in view are made, see WindowedRowList). A failed call or an unreadable document leaves the initial
// texts ("文件路径", "0") and an empty list; only the log tells.
class KeywordSensitiveDetailExWidget : public DetailDialog
{
    Q_OBJECT

public:
    // Asks `service` for SensitiveDiscoveryGetKeywordDetectedDetail
    // (pathlist, 1, filepath). Meant to be created without parent and shown.
    KeywordSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist, const QString &filepath,
                                   QWidget *parent = nullptr);
    ~KeywordSensitiveDetailExWidget() override;

private Q_SLOTS:
    void on_m_CancelButton_clicked();
    void on_m_ConfirmButton_clicked();
    void onCallFinished(QDBusPendingCallWatcher *watcher) override;

private:
    void showDetail(const SensitiveFileDetail &detail);
    QWidget *makeHitRow(int row, QWidget *parent) const;

    Ui::KeywordSensitiveDetailExWidget *ui;
    // The hits of the document; only those in view are made into rows.
    QList<SensitiveItem> m_hits;
};

#endif // KEYWORDSENSITIVEDETAILEXWIDGET_H
