#ifndef WINDOWEDROWLIST_H
#define WINDOWEDROWLIST_H

#include <QPointer>
#include <QVector>
#include <QWidget>

#include <functional>
#include <map>

class QAbstractScrollArea;
class QScrollBar;

// A list of rows of one fixed height, inside a scroll area, of which only the
// rows in view exist as widgets.
//
// The list is as tall as all its rows, so the scroll area scrolls over all of
// them, but it asks its row factory for a widget only for the rows the scroll
// area shows (and Overscan rows beyond each edge) and drops the widgets of
// rows that leave the view. Adding rows therefore costs the same however many
// there are, and a list of a hundred thousand rows holds a dozen widgets.
//
// The list finds the scroll area among its ancestors by itself; outside one,
// every row is in view. Row widgets are children of the list, placed at
// rowRect(), as wide as the list.
class WindowedRowList : public QWidget
{
    Q_OBJECT

public:
    // Makes the widget of row `row`, as a child of `parent` (nullptr: the
    // row shows nothing).
    using RowFactory = std::function<QWidget *(int row, QWidget *parent)>;

    // Rows made beyond each edge of the view, so that a small scroll shows
    // rows that are already there.
    static constexpr int Overscan = 2;

    explicit WindowedRowList(QWidget *parent = nullptr);
    ~WindowedRowList() override;

    void setRowFactory(RowFactory factory);
    void setRowHeight(int height);
    int rowHeight() const { return m_rowHeight; }
    void setRowSpacing(int spacing);
    int rowSpacing() const { return m_rowSpacing; }

    int rowCount() const { return m_rowCount; }
    // Grows or shrinks the list. Rows already made keep their widgets (a row
    // once made is never asked for again while it stays in view), so rows
    // can only be appended or removed from the end this way.
    void setRowCount(int count);
    // The least width the rows need; the list is never narrower, so the
    // scroll area scrolls sideways when its view is.
    void setContentWidth(int width);
    int contentWidth() const { return m_contentWidth; }
    // Removes every row and its widget. The widgets are deleted once the
    // event loop comes round (one of them may be handling the event that
    // led here).
    virtual void clear();

    QRect rowRect(int row) const;
    // The widget of `row` if it exists at the moment, else nullptr.
    QWidget *widgetAt(int row) const;
    // The rows that exist as widgets, in ascending order.
    QVector<int> shownRows() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchScrollArea();
    // The part of the list the scroll area shows, in the list's coordinates
    // (empty when the list is not shown).
    QRect viewRect() const;
    void scheduleUpdate();
    // Makes the widgets of the rows in view, drops the others and places them.
    void updateRows();
    void dropRowWidget(QWidget *widget);

    RowFactory m_factory;
    int m_rowHeight = 24;
    int m_rowSpacing = 0;
    int m_rowCount = 0;
    int m_contentWidth = 0;
    std::map<int, QWidget *> m_widgets;
    // The scroll area, its view and its vertical scroll bar, held as the
    // plain widgets they are: the view sends events to the filter while the
    // area is being destroyed, when it is no longer a QAbstractScrollArea.
    QPointer<QWidget> m_area;
    QPointer<QWidget> m_viewport;
    QPointer<QScrollBar> m_scrollBar;
    bool m_updatePending = false;
    bool m_updating = false;
    // The size hint changed since it was last announced to the layout.
    bool m_sizeChanged = false;
};

#endif // WINDOWEDROWLIST_H
