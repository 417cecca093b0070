#include "messagebox.h"

#include "kiticons.h"
#include "kitstyle.h"

#include <QDynamicPropertyChangeEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVariant>
#include <QVBoxLayout>

namespace mvk {

namespace {

const char *const ButtonStyle = R"(
QPushButton {
    min-width: 72px;
    min-height: 36px;
    padding: 0px 12px;
    border: 1px solid transparent;
    border-radius: 6px;
    background: #e7e7e7;
    color: #1f2329;
    font-size: 14px;
}
QPushButton:hover { background: #dcdcdc; }
QPushButton:pressed { background: #cfcfcf; }
QPushButton:focus { border-color: #3676f5; }
QPushButton[useButtonPalette="true"] { background: #e7e7e7; color: #1f2329; }
QPushButton[useButtonPalette="true"]:hover { background: #dcdcdc; }
QPushButton[useButtonPalette="true"]:pressed { background: #cfcfcf; }
QPushButton[isImportant="true"] { background: #3676f5; color: #ffffff; }
QPushButton[isImportant="true"]:hover { background: #5a8ff7; }
QPushButton[isImportant="true"]:pressed { background: #2a5dc4; }
QPushButton[isImportant="true"]:focus { border-color: #1d4fb8; }
QPushButton:disabled { background: #f0f0f0; color: #b0b4ba; }
)";

bool isStyleHint(const QByteArray &name)
{
    return name == "isImportant" || name == "useButtonPalette";
}

} // namespace

MessageBox::MessageBox(QWidget *parent)
    : RoundedDialog(parent)
{
    qRegisterMetaType<QPushButton *>();
    setMinimumWidth(400);
    setMaximumWidth(560);

    auto *body = new QHBoxLayout;
    body->setSpacing(12);
    body->setContentsMargins(0, 0, 0, 8);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    m_iconLabel->setFixedSize(IconSize, IconSize);
    m_iconLabel->setVisible(false);
    body->addWidget(m_iconLabel, 0, Qt::AlignTop);

    m_textLabel = new QLabel(this);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    m_textLabel->setWordWrap(true);
    m_textLabel->setMinimumWidth(280);
    m_textLabel->setMinimumHeight(IconSize);
    m_textLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_textLabel->setStyleSheet(QStringLiteral("QLabel { color: #1f2329; font-size: 14px; }"));
    body->addWidget(m_textLabel, 1);
    contentLayout()->addLayout(body, 1);

    m_buttonBox = new QWidget(this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_buttonBox->setStyleSheet(QString::fromLatin1(ButtonStyle));
    m_buttonLayout = new QHBoxLayout(m_buttonBox);
    m_buttonLayout->setContentsMargins(0, 0, 0, 0);
    m_buttonLayout->setSpacing(12);
    m_buttonLayout->addStretch(1);
    contentLayout()->addWidget(m_buttonBox);
}

MessageBox::~MessageBox()
{
    // The buttons outlive our members; their destroyed() handlers must not run.
    for (QPushButton *button : qAsConst(m_buttons))
        button->disconnect(this);
}

void MessageBox::setIcon(int kind)
{
    m_icon = kind;
    const QIcon icon = KitIcons::messageIcon(kind);
    m_iconPixmap = icon.isNull() ? QPixmap() : icon.pixmap(QSize(IconSize, IconSize));
    m_iconLabel->setPixmap(m_iconPixmap);
    m_iconLabel->setVisible(!m_iconPixmap.isNull());
}

int MessageBox::icon() const
{
    return m_icon;
}

QPixmap MessageBox::iconPixmap() const
{
    return m_iconPixmap;
}

void MessageBox::setText(const QString &text)
{
    m_textLabel->setText(text);
    setAccessibleDescription(text);
}

QString MessageBox::text() const
{
    return m_textLabel->text();
}

QPushButton *MessageBox::addButton(const QString &text, int role)
{
    auto *button = new QPushButton(text, m_buttonBox);
    button->setCursor(Qt::PointingHandCursor);
    button->installEventFilter(this);
    m_buttonLayout->addWidget(button);
    m_buttons.append(button);
    m_roles.insert(button, role);

    connect(button, &QPushButton::clicked, this, [this, button] { onButtonClicked(button); });
    connect(button, &QObject::destroyed, this, [this, button] {
        m_buttons.removeAll(button);
        m_roles.remove(button);
    });
    return button;
}

QList<QPushButton *> MessageBox::buttons() const
{
    return m_buttons;
}

int MessageBox::buttonRole(QPushButton *button) const
{
    return m_roles.value(button, -1);
}

void MessageBox::setDefaultButton(QPushButton *button)
{
    if (button && !m_roles.contains(button))
        return;
    m_default = button;
    for (QPushButton *b : qAsConst(m_buttons))
        b->setDefault(b == button);
    if (button)
        button->setFocus();
}

QPushButton *MessageBox::defaultButton() const
{
    return m_default;
}

QPushButton *MessageBox::clickedButton() const
{
    return m_clicked;
}

void MessageBox::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        m_clicked = nullptr;
        if (m_buttons.isEmpty()) {
            QPushButton *ok = addButton(QStringLiteral("确认"), AcceptRole);
            ok->setProperty("isImportant", true);
            setDefaultButton(ok);
        }
    }
    RoundedDialog::setVisible(visible);
    if (visible && m_default)
        m_default->setFocus();
}

bool MessageBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::DynamicPropertyChange) {
        auto *change = static_cast<QDynamicPropertyChangeEvent *>(event);
        auto *button = qobject_cast<QPushButton *>(watched);
        if (button && isStyleHint(change->propertyName())) {
            // Style-sheet property selectors are matched at polish time.
            button->style()->unpolish(button);
            button->style()->polish(button);
            button->update();
        }
    }
    return RoundedDialog::eventFilter(watched, event);
}

void MessageBox::onButtonClicked(QPushButton *button)
{
    m_clicked = button;
    emit buttonClicked(button);
    done(m_roles.value(button, RejectRole) == AcceptRole ? QDialog::Accepted : QDialog::Rejected);
}

} // namespace mvk
