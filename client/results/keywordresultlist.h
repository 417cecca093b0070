#ifndef KEYWORDRESULTLIST_H
#define KEYWORDRESULTLIST_H

#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QVector>
#include <QWidget>

#include <map>
#include <vector>

class KeywordSensitiveFrame;
class MainWindow;
class QAbstractScrollArea;

// The keyword scan's result list: one row per detection, in arrival order,
// each shown as a KeywordSensitiveFrame.
//
// A scan may report tens of thousands of files. The list keeps every row as
// data and is as tall as all of them, but only the rows in (or just outside)
// the view of the scroll area around it exist as widgets; scrolling or
// resizing makes the rows that come into view and drops the ones that leave.
// Appending a row therefore costs the same however many rows there are, and
// the summaries are kept as the rows come in rather than read back from
// widgets.
class KeywordResultList : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 48;
    static constexpr int RowSpacing = 4;
    // Rows made beyond each edge of the view, so that a small scroll shows
    // rows that are already there.
    static constexpr int Overscan = 2;

    explicit KeywordResultList(QWidget *parent = nullptr);
    ~KeywordResultList() override;

    // The window the rows' detail dialogs ask the scan service through.
    void setMainWindow(MainWindow *window);

    void appendRow(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives);
    // Removes every row. The row widgets are deleted once the event loop comes
    // round (one of them may be the receiver of the event being handled).
    void clear();

    int count() const { return int(m_rows.size()); }
    // The sum of every row's count, as each row shows it.
    qint64 hitTotal() const { return m_hitTotal; }

    QString filePath(int row) const;
    int rowCount(int row) const;

    // Where row `row` lies in the list's own coordinates.
    static QRect rowRect(int row, int width);
    // The row widget of `row` if it exists at the moment, else nullptr.
    KeywordSensitiveFrame *frameAt(int row) const;
    // The rows that exist as widgets, in ascending order.
    QVector<int> shownRows() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        QString pathlist;
        QString filepath;
        QVariantMap sensitives;
        int count;
    };

    void watchScrollArea();
    // The part of the list the user can see, in its own coordinates (empty
    // when the list is not shown).
    QRect viewRect() const;
    void scheduleRows();
    // Makes the widgets of the rows in view, drops the others and places them.
    void updateRows();
    void dropFrame(KeywordSensitiveFrame *frame);
    // The width a row needs to show `filepath` whole.
    int widthFor(const QString &filepath);

    std::vector<Row> m_rows;
    qint64 m_hitTotal = 0;
    std::map<int, KeywordSensitiveFrame *> m_frames;
    QPointer<QAbstractScrollArea> m_area;
    MainWindow *m_mainWindow = nullptr;
    bool m_updatePending = false;
    bool m_updating = false;
    // Rows were added since the size hint was last announced.
    bool m_sizeChanged = false;
    // A row's width without its path (measured once), and the widest row.
    int m_rowWidthWithoutPath = -1;
    int m_widestRow = 0;
};

#endif // KEYWORDRESULTLIST_H
