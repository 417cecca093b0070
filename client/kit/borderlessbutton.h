#pragma once

#include <QPushButton>

namespace mvk {

// A flat, borderless push button whose text is drawn in the accent blue,
// lighter under the mouse and darker while pressed — for link-like actions.
class BorderlessButton : public QPushButton
{
    Q_OBJECT

public:
    explicit BorderlessButton(QWidget *parent = nullptr);
    explicit BorderlessButton(const QString &text, QWidget *parent = nullptr);

    // The colour the text is painted in for the button's current state.
    QColor textColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void init();

    bool m_keyboardFocus = false;
};

} // namespace mvk
