#include "windowbuttonbar.h"

#include "kiticons.h"
#include "titlebutton.h"

#include <QHBoxLayout>

namespace mvk {

WindowButtonBar::WindowButtonBar(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_menu = new MenuButton(this);
    m_menu->setFixedSize(ButtonSize, ButtonSize);

    auto make = [this](const QString &name, const QIcon &icon, const QString &tip) {
        auto *button = new TitleButton(this);
        button->setObjectName(name);
        button->setFixedSize(ButtonSize, ButtonSize);
        button->setIcon(icon);
        button->setToolTip(tip);
        return button;
    };
    m_minimum = make(QStringLiteral("minimumButton"), KitIcons::minimizeIcon(), QStringLiteral("最小化"));
    m_maximum = make(QStringLiteral("maximumButton"), KitIcons::maximizeIcon(), QStringLiteral("最大化"));
    auto *close = make(QStringLiteral("closeButton"), KitIcons::closeIcon(), QStringLiteral("关闭"));
    close->setDanger(true);
    m_close = close;

    layout->addStretch(1);
    for (QWidget *button : {static_cast<QWidget *>(m_menu), static_cast<QWidget *>(m_minimum),
                            static_cast<QWidget *>(m_maximum), static_cast<QWidget *>(m_close)})
        layout->addWidget(button, 0, Qt::AlignVCenter);
}

MenuButton *WindowButtonBar::menuButton() const
{
    return m_menu;
}

QToolButton *WindowButtonBar::minimumButton() const
{
    return m_minimum;
}

QToolButton *WindowButtonBar::maximumButton() const
{
    return m_maximum;
}

QToolButton *WindowButtonBar::closeButton() const
{
    return m_close;
}

} // namespace mvk
