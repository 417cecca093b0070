#ifndef LEFTSIDERBARITEMBUTTON_H
#define LEFTSIDERBARITEMBUTTON_H

#include <QPushButton>

class FixLabel;
class QLabel;

// A module entry of the sidebar: a checkable flat button of 181 x 36 with a
// 16 x 16 icon and the module's name. Selected, it shows the pressed icon and
// white text; unselected, the normal icon and the window-text colour. A user
// click that selects it emits ModuleSelected(key); a click on the entry that
// is already selected keeps it selected and emits nothing.
class LeftSiderbarItemButton : public QPushButton
{
    Q_OBJECT

public:
    explicit LeftSiderbarItemButton(QWidget *parent = nullptr);

    void setModule(const QString &key, const QString &normalIcon, const QString &pressedIcon,
                   const QString &text);
    void setSelected(bool selected);

    QString moduleKey() const { return m_key; }
    QLabel *iconLabel() const { return m_iconLabel; }
    FixLabel *textLabel() const { return m_textLabel; }

Q_SIGNALS:
    void ModuleSelected(QString module);

private:
    void showIcon(const QString &path);

    QString m_key;
    QString m_normalIcon;
    QString m_pressedIcon;
    QString m_text;
    QLabel *m_iconLabel;
    FixLabel *m_textLabel;
};

#endif // LEFTSIDERBARITEMBUTTON_H
