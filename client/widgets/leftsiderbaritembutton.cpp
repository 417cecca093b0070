#include "leftsiderbaritembutton.h"

#include "fixlabel.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>

LeftSiderbarItemButton::LeftSiderbarItemButton(QWidget *parent)
    : QPushButton(parent)
    , m_iconLabel(new QLabel(this))
    , m_textLabel(new FixLabel(this))
{
    setCheckable(true);
    setFlat(true);
    setFixedSize(181, 36);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(7);
    layout->setContentsMargins(17, 0, 0, 0);
    m_iconLabel->setFixedSize(16, 16);
    m_iconLabel->setFocusPolicy(Qt::NoFocus);
    m_textLabel->setMinimumWidth(141);
    m_textLabel->setScaledContents(true);
    m_textLabel->setTextFormat(Qt::PlainText);
    layout->addWidget(m_iconLabel);
    layout->addWidget(m_textLabel);
    layout->addStretch();

    connect(this, &QPushButton::clicked, this, [this](bool checked) {
        if (!checked) {
            // The current module cannot be unselected by clicking it again.
            setSelected(true);
            return;
        }
        Q_EMIT ModuleSelected(m_key);
    });
}

void LeftSiderbarItemButton::setModule(const QString &key, const QString &normalIcon,
                                       const QString &pressedIcon, const QString &text)
{
    m_key = key;
    m_normalIcon = normalIcon;
    m_pressedIcon = pressedIcon;
    m_text = text;
    m_textLabel->setFullText(text);
    showIcon(m_normalIcon);
}

void LeftSiderbarItemButton::setSelected(bool selected)
{
    setChecked(selected);
    if (selected) {
        showIcon(m_pressedIcon);
        m_textLabel->setStyleSheet(QStringLiteral("color:white"));
    } else {
        showIcon(m_normalIcon);
        m_textLabel->setStyleSheet(QStringLiteral("color:palette(windowText)"));
    }
}

void LeftSiderbarItemButton::showIcon(const QString &path)
{
    m_iconLabel->setPixmap(QIcon(path).pixmap(m_iconLabel->size()));
}
