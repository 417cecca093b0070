#include "removablebutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {
const char CloseMark[] = ":/SensitiveDiscovery/images/titlebar/window-close-symbolic@1x.png";
}

RemovableButton::RemovableButton(QWidget *parent)
    : QPushButton(parent)
{
    setStyleSheet(QStringLiteral(
        "RemovableButton {"
        "    border-radius: 6px;"
        "    background-color: rgba(54,118,245,0.5);"
        "    color: white;"
        "    text-align: left; /* 设置文本左对齐 */"
        "    padding-left: 16px; /* 左边距 */"
        "    padding-right: 16px; /* 右边距 */"
        "}"));
    setProperty("useButtonPalette", true);
    updateCloseRect();
}

void RemovableButton::updateCloseRect()
{
    m_closeRect = QRect(width() - 32, (height() - m_iconSize.height()) / 2, m_iconSize.width(),
                        m_iconSize.height());
}

void RemovableButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    updateCloseRect();
}

void RemovableButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawPixmap(m_closeRect, QPixmap(QString::fromLatin1(CloseMark)));
}

void RemovableButton::mousePressEvent(QMouseEvent *event)
{
    if (m_closeRect.contains(event->pos())) {
        event->accept();
        Q_EMIT closeClicked();
        deleteLater();
        return;
    }
    QPushButton::mousePressEvent(event);
}
