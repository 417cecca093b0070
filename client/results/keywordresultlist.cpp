#include "keywordresultlist.h"

#include "keywordsensitiveframe.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QtMath>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <limits>

namespace {

constexpr int RowStep = KeywordResultList::RowHeight + KeywordResultList::RowSpacing;

// Rounds towards minus infinity, so that a view starting above the list
// (negative coordinates) still finds its first row.
int floorDiv(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

KeywordResultList::KeywordResultList(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

KeywordResultList::~KeywordResultList() = default;

void KeywordResultList::setMainWindow(MainWindow *window)
{
    m_mainWindow = window;
}

void KeywordResultList::appendRow(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives)
{
    Row row{pathlist, filepath, sensitives, KeywordSensitiveFrame::countOf(sensitives)};
    // Every row of a task carries the same path list: keep one copy of it.
    if (!m_rows.empty() && m_rows.back().pathlist == pathlist)
        row.pathlist = m_rows.back().pathlist;
    m_hitTotal += row.count;
    m_rows.push_back(std::move(row));
    m_widestRow = qMax(m_widestRow, widthFor(filepath));
    // Every change of size hint posts a layout request, and posting one
    // looks through the whole queue of pending events; during a burst of
    // detections that queue is long. One deferred update takes in them all.
    m_sizeChanged = true;
    scheduleRows();
}

void KeywordResultList::clear()
{
    for (const auto &entry : m_frames)
        dropFrame(entry.second);
    m_frames.clear();
    m_rows.clear();
    m_hitTotal = 0;
    m_widestRow = 0;
    m_sizeChanged = false;
    updateGeometry();
}

QString KeywordResultList::filePath(int row) const
{
    return row >= 0 && row < count() ? m_rows[size_t(row)].filepath : QString();
}

int KeywordResultList::rowCount(int row) const
{
    return row >= 0 && row < count() ? m_rows[size_t(row)].count : 0;
}

QRect KeywordResultList::rowRect(int row, int width)
{
    return QRect(0, row * RowStep, width, RowHeight);
}

KeywordSensitiveFrame *KeywordResultList::frameAt(int row) const
{
    const auto it = m_frames.find(row);
    return it == m_frames.end() ? nullptr : it->second;
}

QVector<int> KeywordResultList::shownRows() const
{
    QVector<int> rows;
    rows.reserve(int(m_frames.size()));
    for (const auto &entry : m_frames)
        rows << entry.first;
    return rows;
}

QSize KeywordResultList::sizeHint() const
{
    return minimumSizeHint();
}

QSize KeywordResultList::minimumSizeHint() const
{
    return QSize(m_widestRow, m_rows.empty() ? 0 : count() * RowStep - RowSpacing);
}

bool KeywordResultList::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Show)
        updateRows();
    return handled;
}

void KeywordResultList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateRows();
}

bool KeywordResultList::eventFilter(QObject *watched, QEvent *event)
{
    if (m_area && watched == m_area->viewport() && event->type() == QEvent::Resize)
        updateRows();
    return QWidget::eventFilter(watched, event);
}

void KeywordResultList::watchScrollArea()
{
    QAbstractScrollArea *area = nullptr;
    for (QWidget *ancestor = parentWidget(); ancestor && !area; ancestor = ancestor->parentWidget()) {
        auto *candidate = qobject_cast<QAbstractScrollArea *>(ancestor);
        if (candidate && candidate->viewport()->isAncestorOf(this))
            area = candidate;
    }
    if (area == m_area)
        return;
    if (m_area) {
        m_area->viewport()->removeEventFilter(this);
        disconnect(m_area->verticalScrollBar(), nullptr, this, nullptr);
    }
    m_area = area;
    if (area) {
        area->viewport()->installEventFilter(this);
        connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, &KeywordResultList::updateRows);
    }
}

QRect KeywordResultList::viewRect() const
{
    if (!isVisible())
        return QRect();
    // Outside a scroll area every row is in view.
    if (!m_area)
        return QRect(0, 0, width(), std::numeric_limits<int>::max() / 2);
    const QWidget *viewport = m_area->viewport();
    return QRect(mapFrom(viewport, QPoint(0, 0)), viewport->size());
}

void KeywordResultList::scheduleRows()
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

void KeywordResultList::updateRows()
{
    // Making or dropping a row can lead back here (a change of focus that
    // scrolls): finish this pass first, then look again.
    if (m_updating) {
        scheduleRows();
        return;
    }
    const QScopedValueRollback<bool> updating(m_updating, true);
    m_updatePending = false;
    watchScrollArea();
    const QRect view = viewRect();
    int first = 0;
    int last = -1;
    if (!view.isEmpty() && view.bottom() >= 0) {
        first = qMax(0, floorDiv(view.top(), RowStep) - Overscan);
        last = qMin(count() - 1, view.bottom() / RowStep + Overscan);
    }

    for (auto it = m_frames.begin(); it != m_frames.end();) {
        if (it->first < first || it->first > last) {
            dropFrame(it->second);
            it = m_frames.erase(it);
        } else {
            it->second->setGeometry(rowRect(it->first, width()));
            ++it;
        }
    }
    for (int index = first; index <= last; ++index) {
        KeywordSensitiveFrame *&frame = m_frames[index];
        if (frame)
            continue;
        const Row &row = m_rows[size_t(index)];
        frame = new KeywordSensitiveFrame(m_mainWindow, row.pathlist, row.filepath, row.sensitives, this);
        frame->setGeometry(rowRect(index, width()));
        frame->show();
    }
}

void KeywordResultList::dropFrame(KeywordSensitiveFrame *frame)
{
    // Hiding the focused row would pass the focus on to the next row's
    // button, and the scroll area would scroll back to show it. The focus
    // goes to the scroll area instead (or nowhere outside one).
    QWidget *focus = QApplication::focusWidget();
    if (focus && frame->isAncestorOf(focus)) {
        if (m_area && m_area->focusPolicy() != Qt::NoFocus)
            m_area->setFocus(Qt::OtherFocusReason);
        else
            focus->clearFocus();
    }
    // The row may be the receiver of the event that led here (a wheel turned
    // over it scrolls it out of view): delete it once that event is done.
    frame->hide();
    frame->deleteLater();
}

int KeywordResultList::widthFor(const QString &filepath)
{
    if (m_rowWidthWithoutPath < 0) {
        const KeywordSensitiveFrame probe(m_mainWindow, QString(), QString(), QVariantMap());
        m_rowWidthWithoutPath = probe.minimumSizeHint().width();
    }
    // Rounded up, and a pixel to spare: the label measures its text its own way.
    return m_rowWidthWithoutPath + qCeil(QFontMetricsF(font()).horizontalAdvance(filepath)) + 1;
}
