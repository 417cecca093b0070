#pragma once

#include <QPainterPath>
#include <QPolygonF>
#include <QWidget>

namespace mvk {

// A translucent pop-up panel with a pointing tail, for help texts and
// hints. The tail sits on one edge (direction) near its start, middle or
// end (location); the contents margins leave room for it, so a layout put
// on the bubble never covers the tail. With blur enabled the compositor is
// asked to blur what lies behind the bubble's shape while it is shown.
class BubbleWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(qreal opacity READ opacity WRITE setOpacity)
    Q_PROPERTY(bool enableBlur READ enableBlur WRITE setEnableBlur)
    Q_PROPERTY(QSize tailSize READ tailSize WRITE setTailSize)

public:
    // Which edge carries the tail; the tail points away from the bubble.
    enum TailDirection { TopTail = 0, LeftTail = 1, BottomTail = 2, RightTail = 3 };
    Q_ENUM(TailDirection)
    // Where along that edge: near its left/top end, centred, near its right/bottom end.
    enum TailLocation { StartLocation = 0, MiddleLocation = 1, EndLocation = 2 };
    Q_ENUM(TailLocation)

    explicit BubbleWidget(QWidget *parent = nullptr);

    // Width: the tail's base along the edge; height: how far it sticks out.
    void setTailSize(const QSize &size);
    QSize tailSize() const;

    // Values outside the enums are ignored.
    void setTailPosition(int direction, int location);
    int tailDirection() const;
    int tailLocation() const;

    // Opacity of the panel's background (0..1); the content stays opaque.
    void setOpacity(qreal opacity);
    qreal opacity() const;

    void setEnableBlur(bool enable);
    bool enableBlur() const;

    void setRadius(int radius);
    int radius() const;

    // Space between the panel's outline and the content, on every side.
    void setPadding(int padding);
    int padding() const;

    // Geometry in widget coordinates for the current size.
    QRectF bodyRect() const;
    QPolygonF tailPolygon() const; // base start, tip, base end
    QPointF tailTip() const;
    QPainterPath bubblePath() const;
    QRegion blurRegion() const;

    QSize minimumSizeHint() const override;

protected:
    // Asks the compositor to blur (or stop blurring) behind the window.
    virtual void applyBlurBehind(bool enable, const QRegion &region);

    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    qreal effectiveOpacity() const;
    void updateMargins();
    void updateShape();
    void updateBlur();

    QSize m_tailSize = QSize(20, 10);
    int m_direction = TopTail;
    int m_location = MiddleLocation;
    qreal m_opacity = 1.0;
    bool m_blur = false;
    bool m_blurApplied = false;
    int m_radius = 12;
    int m_padding = 10;
};

} // namespace mvk
