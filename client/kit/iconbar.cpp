#include "iconbar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace mvk {

IconBar::IconBar(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    m_iconLabel->setFixedSize(IconSize, IconSize);
    m_iconLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_iconLabel, 0, Qt::AlignVCenter);

    m_nameLabel = new QLabel(this);
    m_nameLabel->setObjectName(QStringLiteral("nameLabel"));
    m_nameLabel->setStyleSheet(QStringLiteral("QLabel { color: #1f2329; font-size: 14px; font-weight: bold; }"));
    m_nameLabel->setTextFormat(Qt::PlainText);
    layout->addWidget(m_nameLabel, 1, Qt::AlignVCenter);
}

void IconBar::setIcon(const QIcon &icon)
{
    m_icon = icon;
    updatePixmap();
}

QIcon IconBar::icon() const
{
    return m_icon;
}

void IconBar::setWidgetName(const QString &name)
{
    m_nameLabel->setText(name);
    setAccessibleName(name);
}

QString IconBar::widgetName() const
{
    return m_nameLabel->text();
}

QLabel *IconBar::iconLabel() const
{
    return m_iconLabel;
}

QLabel *IconBar::nameLabel() const
{
    return m_nameLabel;
}

void IconBar::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        updatePixmap();
}

void IconBar::updatePixmap()
{
    if (m_icon.isNull()) {
        m_iconLabel->clear();
        return;
    }
    m_iconLabel->setPixmap(m_icon.pixmap(QSize(IconSize, IconSize), isEnabled() ? QIcon::Normal : QIcon::Disabled));
}

} // namespace mvk
