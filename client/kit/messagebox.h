#pragma once

#include "roundeddialog.h"

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QPointer>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace mvk {

// A modal message box: an icon at the left of the text, the buttons
// right-aligned at the bottom, on the kit's rounded white panel.
//
// Buttons are added with a role: AcceptRole (1) closes the box with
// QDialog::Accepted, RejectRole (0) and any other role with
// QDialog::Rejected. The close button and Escape reject it too, leaving
// clickedButton() null. Buttons honour the style hints "isImportant"
// (blue primary button) and "useButtonPalette" (light-grey secondary
// button), also when the property is set after addButton().
class MessageBox : public RoundedDialog
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    enum Icon { NoIcon = 0, Information = 1, Warning = 2, Critical = 3, Question = 4 };
    Q_ENUM(Icon)
    enum ButtonRole { RejectRole = 0, AcceptRole = 1 };
    Q_ENUM(ButtonRole)

    static constexpr int IconSize = 32;

    explicit MessageBox(QWidget *parent = nullptr);
    ~MessageBox() override;

    // One of Icon's values; anything else shows no icon.
    void setIcon(int kind);
    int icon() const;
    // The picture shown at the left of the text (null without an icon).
    QPixmap iconPixmap() const;

    void setText(const QString &text);
    QString text() const;

    QPushButton *addButton(const QString &text, int role);
    QList<QPushButton *> buttons() const;
    // The role a button was added with, -1 for a button not in this box.
    int buttonRole(QPushButton *button) const;

    void setDefaultButton(QPushButton *button);
    QPushButton *defaultButton() const;

    // The button that closed the box the last time it was shown, or null.
    QPushButton *clickedButton() const;

    void setVisible(bool visible) override;

signals:
    void buttonClicked(QPushButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onButtonClicked(QPushButton *button);

    int m_icon = NoIcon;
    QPixmap m_iconPixmap;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_textLabel = nullptr;
    QWidget *m_buttonBox = nullptr;
    QHBoxLayout *m_buttonLayout = nullptr;
    QList<QPushButton *> m_buttons;
    QHash<QPushButton *, int> m_roles;
    QPointer<QPushButton> m_default;
    QPointer<QPushButton> m_clicked;
};

} // namespace mvk
