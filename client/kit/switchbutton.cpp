#include "switchbutton.h"

#include "kitstyle.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPropertyAnimation>

namespace mvk {

namespace {

QColor mix(const QColor &from, const QColor &to, qreal t)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                            from.greenF() + (to.greenF() - from.greenF()) * t,
                            from.blueF() + (to.blueF() - from.blueF()) * t,
                            from.alphaF() + (to.alphaF() - from.alphaF()) * t);
}

} // namespace

SwitchButton::SwitchButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_animation = new QPropertyAnimation(this, "knobPosition", this);
    m_animation->setDuration(160);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);

    connect(this, &QAbstractButton::toggled, this, &SwitchButton::onToggled);
}

int SwitchButton::animationDuration() const
{
    return m_animation->duration();
}

void SwitchButton::setAnimationDuration(int msecs)
{
    m_animation->setDuration(qMax(0, msecs));
}

qreal SwitchButton::knobPosition() const
{
    return m_knob;
}

bool SwitchButton::isAnimating() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

void SwitchButton::setKnobPosition(qreal position)
{
    m_knob = qBound<qreal>(0.0, position, 1.0);
    update();
}

void SwitchButton::onToggled(bool checked)
{
    const qreal target = checked ? 1.0 : 0.0;
    m_animation->stop();
    if (!isVisible() || m_animation->duration() == 0) {
        setKnobPosition(target);
    } else {
        m_animation->setStartValue(m_knob);
        m_animation->setEndValue(target);
        m_animation->start();
    }
    emit checkedChanged(checked);
}

QRectF SwitchButton::trackRect() const
{
    // Leave two pixels around the track for the keyboard-focus ring.
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    const qreal h = qMin(area.height(), area.width() / 1.8);
    const qreal w = qMin(area.width(), h * 2.0);
    QRectF track(0, 0, w, h);
    track.moveCenter(area.center());
    return track;
}

QRectF SwitchButton::knobRect() const
{
    const QRectF track = trackRect();
    const qreal gap = 2.0;
    const qreal d = track.height() - 2 * gap;
    const qreal left = track.left() + gap;
    const qreal right = track.right() - gap - d;
    return QRectF(left + (right - left) * m_knob, track.top() + gap, d, d);
}

QSize SwitchButton::sizeHint() const
{
    return QSize(48, 28);
}

QSize SwitchButton::minimumSizeHint() const
{
    return QSize(32, 18);
}

void SwitchButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (!isEnabled())
        p.setOpacity(0.4);

    const QRectF track = trackRect();
    const qreal r = track.height() / 2.0;

    if (m_keyboardFocus && hasFocus()) {
        QColor ring(KitStyle::Accent);
        ring.setAlphaF(0.45);
        p.setPen(QPen(ring, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(track.adjusted(-1.5, -1.5, 1.5, 1.5), r + 1.5, r + 1.5);
    }

    QColor trackColor = mix(QColor(KitStyle::SwitchOff), QColor(KitStyle::Accent), m_knob);
    if (isDown())
        trackColor = trackColor.darker(108);
    p.setPen(Qt::NoPen);
    p.setBrush(trackColor);
    p.drawRoundedRect(track, r, r);

    const QRectF knob = knobRect();
    p.setBrush(QColor(0, 0, 0, 28));
    p.drawEllipse(knob.translated(0, 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(knob);
}

void SwitchButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void SwitchButton::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
        || event->reason() == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
    update();
}

void SwitchButton::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
    update();
}

} // namespace mvk
