#include "iconbar.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QtMath>

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
    // A long name takes a second line rather than being cut.
    m_nameLabel->setWordWrap(true);
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
    updateGeometry();
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

// A wrapping label asks for less than one line's width; the bar asks for
// the whole line, which its layout then gives the label.
QSize IconBar::sizeHint() const
{
    QSize hint = QFrame::sizeHint();
    if (m_nameLabel->text().isEmpty())
        return hint;
    m_nameLabel->ensurePolished();
    const QMargins margins = layout()->contentsMargins();
    // The label lays its text out in fractional widths: one pixel more than
    // the rounded-up line keeps it on one line.
    const int text = qCeil(QFontMetricsF(m_nameLabel->font()).horizontalAdvance(m_nameLabel->text())) + 1;
    const int line = margins.left() + IconSize + layout()->spacing() + text + margins.right();
    hint.setWidth(qMax(hint.width(), line));
    return hint;
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
