#pragma once

#include "menubutton.h"

#include <QWidget>

class QToolButton;

namespace mvk {

// The window controls at the right of a title bar: main menu, minimise,
// maximise and close, side by side, each with a default icon and tooltip.
// The bar only provides the buttons; the window connects their clicked().
class WindowButtonBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ButtonSize = 36;

    explicit WindowButtonBar(QWidget *parent = nullptr);

    MenuButton *menuButton() const;
    QToolButton *minimumButton() const;
    QToolButton *maximumButton() const;
    QToolButton *closeButton() const;

private:
    MenuButton *m_menu = nullptr;
    QToolButton *m_minimum = nullptr;
    QToolButton *m_maximum = nullptr;
    QToolButton *m_close = nullptr;
};

} // namespace mvk
