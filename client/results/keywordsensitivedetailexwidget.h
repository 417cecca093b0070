#ifndef KEYWORDSENSITIVEDETAILEXWIDGET_H
#define KEYWORDSENSITIVEDETAILEXWIDGET_H

#include "sensitiveitem.h"

#include <QList>
#include <QPoint>
#include <QWidget>

class SensitiveScanInterface;
class QDBusPendingCallWatcher;
struct SensitiveFileDetail;

namespace Ui {
class KeywordSensitiveDetailExWidget;
}

// The keyword detail dialog: every keyword hit of one file. A frameless,
// translucent top-level window of 700 x 423, centred on the screen under the
// mouse cursor and draggable with the left button, that deletes itself when
// closed. On construction it asks the scan service for the file's detail
// document without waiting; when the reply arrives the header shows the file
// and the number of hits and the list one row per hit, the keyword marked in
// its passage (a document may hold tens of thousands of hits: only the rows
// in view are made, see WindowedRowList). A failed call or an unreadable document leaves the initial
// texts ("文件路径", "0") and an empty list; only the log tells.
class KeywordSensitiveDetailExWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FixedWidth = 700;
    static constexpr int FixedHeight = 423;

    // Asks `service` for SensitiveDiscoveryGetKeywordDetectedDetail
    // (pathlist, 1, filepath). Meant to be created without parent and shown.
    KeywordSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist, const QString &filepath,
                                   QWidget *parent = nullptr);
    ~KeywordSensitiveDetailExWidget() override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private Q_SLOTS:
    void on_m_CancelButton_clicked();
    void on_m_ConfirmButton_clicked();
    void onCallFinished(QDBusPendingCallWatcher *watcher);

private:
    void showDetail(const SensitiveFileDetail &detail);
    QWidget *makeHitRow(int row, QWidget *parent) const;

    Ui::KeywordSensitiveDetailExWidget *ui;
    // Press position relative to the window's top-left corner while the
    // user drags the dialog.
    QPoint dragOffset;
    bool m_dragging = false;
    // The hits of the document; only those in view are made into rows.
    QList<SensitiveItem> m_hits;
};

#endif // KEYWORDSENSITIVEDETAILEXWIDGET_H
