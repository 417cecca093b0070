#ifndef KEYWORDSENSITIVEFRAME_H
#define KEYWORDSENSITIVEFRAME_H

#include <QFrame>
#include <QString>
#include <QVariantMap>

class SensitiveScanInterface;

namespace Ui {
class KeywordSensitiveFrame;
}

// One row of the keyword result list: a file in which the scan service found
// keywords, with the total number of occurrences and a "查看详情" button that
// opens the file's detail dialog (or raises the one open for the file). The
// path is elided in the middle when the row is narrow, whole in its tooltip;
// the count and the button keep their places at the right. Hovering the
// count shows each keyword with its own count, in the map's key order, the
// first ResultLimits::ToolTipWords of them and a line for the rest. The
// texts never change after construction.
class KeywordSensitiveFrame : public QFrame
{
    Q_OBJECT

public:
    // `sensitives` maps each keyword to its occurrences in the file; a value
    // that does not convert to an integer counts as 0. `pathlist` is the
    // path list the detection signal carried; the detail dialog asks the
    // service with it, through `service`.
    KeywordSensitiveFrame(SensitiveScanInterface *service, const QString &pathlist, const QString &filepath,
                          const QVariantMap &sensitives, QWidget *parent = nullptr);
    ~KeywordSensitiveFrame() override;

    // The count shown, read back from its label (0 if it is not a number).
    int sensitiveCount() const;

    // The count a row of `sensitives` shows: the sum of the values as
    // integers (a value that does not convert counts as 0), held within int.
    static int countOf(const QVariantMap &sensitives);

    QString pathList() const { return m_pathlist; }

    // The count tooltip's plain text for `sensitives`: "word：N次" lines,
    // at most `maxWords` of them, then one line naming how many more.
    static QString toolTipText(const QVariantMap &sensitives, int maxWords);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void on_m_LookSensitiveDetailButton_clicked();

private:
    Ui::KeywordSensitiveFrame *ui;
    SensitiveScanInterface *m_service;
    QString m_pathlist;
    // Shared with the model's row: the tooltip is made only when asked for.
    QVariantMap m_sensitives;
};

#endif // KEYWORDSENSITIVEFRAME_H
