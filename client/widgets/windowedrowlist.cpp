#include "windowedrowlist.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <limits>

namespace {

// Rounds towards minus infinity, so that a view starting above the list
// (negative coordinates) still finds its first row.
int floorDiv(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

WindowedRowList::WindowedRowList(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

WindowedRowList::~WindowedRowList() = default;

void WindowedRowList::setRowFactory(RowFactory factory)
{
    m_factory = std::move(factory);
}

void WindowedRowList::setRowHeight(int height)
{
    m_rowHeight = qMax(1, height);
    updateGeometry();
    scheduleUpdate();
}

void WindowedRowList::setRowSpacing(int spacing)
{
    m_rowSpacing = qMax(0, spacing);
    updateGeometry();
    scheduleUpdate();
}

void WindowedRowList::setRowCount(int count)
{
    count = qMax(0, count);
    if (count == m_rowCount)
        return;
    if (count < m_rowCount) {
        for (auto it = m_widgets.lower_bound(count); it != m_widgets.end(); it = m_widgets.erase(it))
            dropRowWidget(it->second);
    }
    m_rowCount = count;
    // Every change of size hint posts a layout request, and posting one
    // looks through the queue of pending events, which is long while a burst
    // of bus signals is being handled: one deferred update takes in a whole
    // run of added rows.
    m_sizeChanged = true;
    scheduleUpdate();
}

void WindowedRowList::setContentWidth(int width)
{
    width = qMax(0, width);
    if (width == m_contentWidth)
        return;
    m_contentWidth = width;
    m_sizeChanged = true;
    scheduleUpdate();
}

void WindowedRowList::clear()
{
    for (const auto &entry : m_widgets)
        dropRowWidget(entry.second);
    m_widgets.clear();
    m_rowCount = 0;
    m_contentWidth = 0;
    m_sizeChanged = false;
    updateGeometry();
}

QRect WindowedRowList::rowRect(int row) const
{
    return QRect(0, row * (m_rowHeight + m_rowSpacing), width(), m_rowHeight);
}

QWidget *WindowedRowList::widgetAt(int row) const
{
    const auto it = m_widgets.find(row);
    return it == m_widgets.end() ? nullptr : it->second;
}

QVector<int> WindowedRowList::shownRows() const
{
    QVector<int> rows;
    rows.reserve(int(m_widgets.size()));
    for (const auto &entry : m_widgets)
        rows << entry.first;
    return rows;
}

QSize WindowedRowList::sizeHint() const
{
    return minimumSizeHint();
}

QSize WindowedRowList::minimumSizeHint() const
{
    const qint64 height = m_rowCount == 0 ? 0 : qint64(m_rowCount) * (m_rowHeight + m_rowSpacing) - m_rowSpacing;
    // Widget sizes stop at QWIDGETSIZE_MAX.
    return QSize(m_contentWidth, int(qMin<qint64>(height, QWIDGETSIZE_MAX)));
}

bool WindowedRowList::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Show)
        updateRows();
    return handled;
}

void WindowedRowList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateRows();
}

bool WindowedRowList::eventFilter(QObject *watched, QEvent *event)
{
    // Compared, never called: during the area's destruction only its QWidget part is left.
    if (event->type() == QEvent::Resize && m_viewport && watched == static_cast<QObject *>(m_viewport.data()))
        updateRows();
    return QWidget::eventFilter(watched, event);
}

void WindowedRowList::watchScrollArea()
{
    QAbstractScrollArea *area = nullptr;
    for (QWidget *ancestor = parentWidget(); ancestor && !area; ancestor = ancestor->parentWidget()) {
        auto *candidate = qobject_cast<QAbstractScrollArea *>(ancestor);
        if (candidate && candidate->viewport()->isAncestorOf(this))
            area = candidate;
    }
    if (area == m_area && (!area || area->viewport() == m_viewport))
        return;
    if (m_viewport)
        m_viewport->removeEventFilter(this);
    if (m_scrollBar)
        disconnect(m_scrollBar, nullptr, this, nullptr);
    m_area = area;
    m_viewport = area ? area->viewport() : nullptr;
    m_scrollBar = area ? area->verticalScrollBar() : nullptr;
    if (area) {
        m_viewport->installEventFilter(this);
        connect(m_scrollBar, &QScrollBar::valueChanged, this, &WindowedRowList::updateRows);
    }
}

QRect WindowedRowList::viewRect() const
{
    if (!isVisible())
        return QRect();
    // Outside a scroll area every row is in view.
    if (!m_viewport)
        return QRect(0, 0, width(), std::numeric_limits<int>::max() / 2);
    const QWidget *viewport = m_viewport;
    return QRect(mapFrom(viewport, QPoint(0, 0)), viewport->size());
}

void WindowedRowList::scheduleUpdate()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_sizeChanged) {
                m_sizeChanged = false;
                updateGeometry();
            }
            if (m_updatePending)
                updateRows();
        },
        Qt::QueuedConnection);
}

void WindowedRowList::updateRows()
{
    // Making or dropping a row can lead back here (a change of focus that
    // scrolls): finish this pass first, then look again.
    if (m_updating) {
        scheduleUpdate();
        return;
    }
    const QScopedValueRollback<bool> updating(m_updating, true);
    m_updatePending = false;
    watchScrollArea();

    const int step = m_rowHeight + m_rowSpacing;
    const QRect view = viewRect();
    int first = 0;
    int last = -1;
    if (!view.isEmpty() && view.bottom() >= 0) {
        first = qMax(0, floorDiv(view.top(), step) - Overscan);
        last = int(qMin<qint64>(m_rowCount - 1, qint64(view.bottom() / step) + Overscan));
    }

    for (auto it = m_widgets.begin(); it != m_widgets.end();) {
        if (it->first < first || it->first > last) {
            dropRowWidget(it->second);
            it = m_widgets.erase(it);
        } else {
            it->second->setGeometry(rowRect(it->first));
            ++it;
        }
    }
    if (!m_factory)
        return;
    for (int row = first; row <= last; ++row) {
        if (m_widgets.count(row))
            continue;
        QWidget *widget = m_factory(row, this);
        if (!widget)
            continue;
        if (widget->parentWidget() != this)
            widget->setParent(this);
        m_widgets[row] = widget;
        widget->setGeometry(rowRect(row));
        widget->show();
    }
}

void WindowedRowList::dropRowWidget(QWidget *widget)
{
    // Hiding the focused row would pass the focus on to the next row, and
    // the scroll area would scroll back to show it. The focus goes to the
    // scroll area instead (or nowhere outside one).
    QWidget *focus = QApplication::focusWidget();
    if (focus && widget->isAncestorOf(focus)) {
        if (m_area && m_area->focusPolicy() != Qt::NoFocus)
            m_area->setFocus(Qt::OtherFocusReason);
        else
            focus->clearFocus();
    }
    // The row may be the receiver of the event that led here (a wheel turned
    // over it scrolls it out of view): delete it once that event is done.
    widget->hide();
    widget->deleteLater();
}
