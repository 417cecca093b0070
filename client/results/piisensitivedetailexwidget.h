#ifndef PIISENSITIVEDETAILEXWIDGET_H
#define PIISENSITIVEDETAILEXWIDGET_H

#include "detaildialog.h"

#include <QMap>
#include <QStringList>

class SensitiveScanInterface;
struct SensitiveGroupDetail;

namespace Ui {
class PiiSensitiveDetailExWidget;
}

// The privacy detail dialog: every hit of one privacy category, regrouped
// by file, in a DetailDialog that does not move. On construction it asks the scan service for the category's
// detail document without waiting; when the reply arrives it shows one
// collapsed PiiSensitiveFrame per file, in path order, and the total number
// of hits. A failed call or an unreadable document leaves "0" and an empty
// list; only the log tells.
class PiiSensitiveDetailExWidget : public DetailDialog
{
    Q_OBJECT

public:
    // Marked passages per file path, then per rule name, both in code-unit
    // order of the names; the passages in document order.
    using FileRules = QMap<QString, QMap<QString, QStringList>>;

    // Asks `service` for SensitiveDiscoveryGetDataIdDetectedDetail
    // (pathlist, 3, groupname). Meant to be created without parent and shown.
    PiiSensitiveDetailExWidget(SensitiveScanInterface *service, const QString &pathlist, const QString &groupname,
                               QWidget *parent = nullptr);
    ~PiiSensitiveDetailExWidget() override;

    // The document's hits by file, then by rule; each passage marked with
    // highlightSensitive. A file matched by two rules is one entry holding
    // both rules.
    static FileRules regroup(const SensitiveGroupDetail &detail);
    // The number of hits over all rules and their files: a file listed under
    // two rules counts under both.
    static int totalHits(const SensitiveGroupDetail &detail);

private Q_SLOTS:
    void on_m_CancelButton_clicked();
    void on_m_ConfirmButton_clicked();
    void onCallFinished(QDBusPendingCallWatcher *watcher) override;

private:
    void showDetail(const SensitiveGroupDetail &detail);

    Ui::PiiSensitiveDetailExWidget *ui;
};

#endif // PIISENSITIVEDETAILEXWIDGET_H
