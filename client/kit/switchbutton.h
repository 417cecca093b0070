#pragma once

#include <QAbstractButton>

class QPropertyAnimation;

namespace mvk {

// An animated on/off switch. It is a checkable button: a click, Space,
// Return or Enter toggles it and emits checkedChanged() once per change
// (setChecked() too); the knob then slides to its new end.
class SwitchButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(qreal knobPosition READ knobPosition WRITE setKnobPosition)
    Q_PROPERTY(int animationDuration READ animationDuration WRITE setAnimationDuration)

public:
    explicit SwitchButton(QWidget *parent = nullptr);

    // How long the knob takes to slide, in milliseconds (0: jump).
    int animationDuration() const;
    void setAnimationDuration(int msecs);

    // 0 when the knob rests at the "off" end, 1 at the "on" end.
    qreal knobPosition() const;
    bool isAnimating() const;

    QRectF trackRect() const;
    QRectF knobRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void checkedChanged(bool checked);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setKnobPosition(qreal position);
    void onToggled(bool checked);

    QPropertyAnimation *m_animation = nullptr;
    qreal m_knob = 0.0;
    bool m_keyboardFocus = false;
};

} // namespace mvk
