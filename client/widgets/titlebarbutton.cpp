#include "titlebarbutton.h"

#include <QIcon>
#include <QMouseEvent>

TitleBarButton::TitleBarButton(QWidget *parent)
    : QPushButton(parent)
{
}

void TitleBarButton::setIcons(const QString &normal, const QString &hover, const QString &pressed)
{
    m_normalIcon = normal;
    m_hoverIcon = hover;
    m_pressedIcon = pressed;
    showIcon(m_normalIcon);
}

void TitleBarButton::showIcon(const QString &path)
{
    m_current = path;
    setIcon(QIcon(path));
}

void TitleBarButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        showIcon(m_pressedIcon);
    QPushButton::mousePressEvent(event);
}

void TitleBarButton::enterEvent(QEvent *event)
{
    showIcon(m_hoverIcon);
    QPushButton::enterEvent(event);
}

void TitleBarButton::leaveEvent(QEvent *event)
{
    showIcon(m_normalIcon);
    QPushButton::leaveEvent(event);
}
