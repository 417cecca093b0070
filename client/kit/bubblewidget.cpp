#include "bubblewidget.h"

#include "kitstyle.h"

#include <KWindowEffects>
#include <KX11Extras>

#include <QGuiApplication>
#include <QPainter>
#include <QWindow>

namespace mvk {

namespace {

bool compositorMissing()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && !KX11Extras::compositingActive();
}

} // namespace

BubbleWidget::BubbleWidget(QWidget *parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground, true);
    setAutoFillBackground(false);
    updateMargins();
}

void BubbleWidget::setTailSize(const QSize &size)
{
    const QSize bounded = size.expandedTo(QSize(0, 0));
    if (bounded == m_tailSize)
        return;
    m_tailSize = bounded;
    updateMargins();
    updateShape();
}

QSize BubbleWidget::tailSize() const
{
    return m_tailSize;
}

void BubbleWidget::setTailPosition(int direction, int location)
{
    if (direction < TopTail || direction > RightTail || location < StartLocation || location > EndLocation)
        return;
    if (direction == m_direction && location == m_location)
        return;
    m_direction = direction;
    m_location = location;
    updateMargins();
    updateShape();
}

int BubbleWidget::tailDirection() const
{
    return m_direction;
}

int BubbleWidget::tailLocation() const
{
    return m_location;
}

void BubbleWidget::setOpacity(qreal opacity)
{
    opacity = qBound<qreal>(0.0, opacity, 1.0);
    if (qFuzzyCompare(opacity, m_opacity))
        return;
    m_opacity = opacity;
    update();
}

qreal BubbleWidget::opacity() const
{
    return m_opacity;
}

void BubbleWidget::setEnableBlur(bool enable)
{
    if (enable == m_blur)
        return;
    m_blur = enable;
    updateBlur();
}

bool BubbleWidget::enableBlur() const
{
    return m_blur;
}

void BubbleWidget::setRadius(int radius)
{
    radius = qMax(0, radius);
    if (radius == m_radius)
        return;
    m_radius = radius;
    updateShape();
}

int BubbleWidget::radius() const
{
    return m_radius;
}

void BubbleWidget::setPadding(int padding)
{
    padding = qMax(0, padding);
    if (padding == m_padding)
        return;
    m_padding = padding;
    updateMargins();
}

int BubbleWidget::padding() const
{
    return m_padding;
}

QRectF BubbleWidget::bodyRect() const
{
    QRectF body(rect());
    const qreal depth = m_tailSize.height();
    switch (m_direction) {
    case TopTail:
        body.setTop(body.top() + depth);
        break;
    case LeftTail:
        body.setLeft(body.left() + depth);
        break;
    case BottomTail:
        body.setBottom(body.bottom() - depth);
        break;
    case RightTail:
        body.setRight(body.right() - depth);
        break;
    }
    return body;
}

QPolygonF BubbleWidget::tailPolygon() const
{
    const QRectF body = bodyRect();
    const bool horizontalEdge = m_direction == TopTail || m_direction == BottomTail;
    const qreal edgeStart = horizontalEdge ? body.left() : body.top();
    const qreal edgeLength = horizontalEdge ? body.width() : body.height();
    const qreal half = m_tailSize.width() / 2.0;

    qreal along = edgeStart + edgeLength / 2.0;
    if (m_location == StartLocation)
        along = edgeStart + m_radius + half;
    else if (m_location == EndLocation)
        along = edgeStart + edgeLength - m_radius - half;
    // A bubble too small for its corners still keeps the tail on the edge.
    along = qBound(edgeStart + half, along, qMax(edgeStart + half, edgeStart + edgeLength - half));

    const qreal w = width();
    const qreal h = height();
    const qreal depth = m_tailSize.height();
    switch (m_direction) {
    case TopTail:
        return QPolygonF({QPointF(along - half, depth), QPointF(along, 0), QPointF(along + half, depth)});
    case LeftTail:
        return QPolygonF({QPointF(depth, along + half), QPointF(0, along), QPointF(depth, along - half)});
    case BottomTail:
        return QPolygonF({QPointF(along + half, h - depth), QPointF(along, h), QPointF(along - half, h - depth)});
    case RightTail:
    default:
        return QPolygonF({QPointF(w - depth, along - half), QPointF(w, along), QPointF(w - depth, along + half)});
    }
}

QPointF BubbleWidget::tailTip() const
{
    return tailPolygon().at(1);
}

QPainterPath BubbleWidget::bubblePath() const
{
    QPainterPath body;
    body.addRoundedRect(bodyRect(), m_radius, m_radius);
    if (m_tailSize.isEmpty())
        return body;
    QPainterPath tail;
    tail.addPolygon(tailPolygon());
    tail.closeSubpath();
    return body.united(tail).simplified();
}

QRegion BubbleWidget::blurRegion() const
{
    return QRegion(bubblePath().toFillPolygon().toPolygon());
}

QSize BubbleWidget::minimumSizeHint() const
{
    QSize hint = QWidget::minimumSizeHint();
    const int along = m_tailSize.width() + 2 * m_radius;
    const int across = m_tailSize.height() + 2 * m_radius;
    QSize floor = (m_direction == TopTail || m_direction == BottomTail) ? QSize(along, across) : QSize(across, along);
    return hint.isValid() ? hint.expandedTo(floor) : floor;
}

void BubbleWidget::applyBlurBehind(bool enable, const QRegion &region)
{
    if (QWindow *window = windowHandle())
        KWindowEffects::enableBlurBehind(window, enable, region);
}

qreal BubbleWidget::effectiveOpacity() const
{
    // Without a compositor translucency cannot show what is behind us.
    return compositorMissing() ? 1.0 : m_opacity;
}

void BubbleWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal alpha = effectiveOpacity();

    QColor fill(KitStyle::Panel);
    fill.setAlphaF(alpha);
    QColor border(KitStyle::PanelBorder);
    border.setAlphaF(alpha);

    // Draw the outline half a pixel inside so the 1-pixel border stays sharp.
    QPainterPath path = bubblePath();
    const QRectF bounds = path.boundingRect();
    if (bounds.width() > 1 && bounds.height() > 1) {
        QTransform inset;
        inset.translate(bounds.center().x(), bounds.center().y());
        inset.scale((bounds.width() - 1) / bounds.width(), (bounds.height() - 1) / bounds.height());
        inset.translate(-bounds.center().x(), -bounds.center().y());
        path = inset.map(path);
    }
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawPath(path);
}

void BubbleWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateShape(); // also asks for the blur
}

void BubbleWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateShape();
}

void BubbleWidget::updateMargins()
{
    const int depth = m_tailSize.height();
    setContentsMargins(m_padding + (m_direction == LeftTail ? depth : 0),
                       m_padding + (m_direction == TopTail ? depth : 0),
                       m_padding + (m_direction == RightTail ? depth : 0),
                       m_padding + (m_direction == BottomTail ? depth : 0));
}

void BubbleWidget::updateShape()
{
    if (isWindow() && compositorMissing())
        setMask(blurRegion());
    else
        clearMask();
    update();
    updateBlur();
}

void BubbleWidget::updateBlur()
{
    if (!isWindow() || !isVisible()) {
        m_blurApplied = false;
        return;
    }
    if (m_blur) {
        applyBlurBehind(true, blurRegion());
        m_blurApplied = true;
    } else if (m_blurApplied) {
        applyBlurBehind(false, QRegion());
        m_blurApplied = false;
    }
}

} // namespace mvk
