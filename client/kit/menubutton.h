#pragma once

#include "titlebutton.h"

#include <QPointer>

class QAction;
class QActionGroup;
class QMenu;

namespace mvk {

// The title bar's main-menu button: a drop-down menu holding the standard
// actions — settings, theme (follow system / light / dark, an exclusive
// checkable group in a sub-menu), help, about, feedback and quit.
//
// The actions belong to the button, and an application may delete those
// it does not offer: the menu simply loses them, the theme sub-menu goes
// away with the theme action (and the theme entry hides once its three
// choices are gone), and the accessor of a deleted action returns nullptr.
class MenuButton : public TitleButton
{
    Q_OBJECT

public:
    explicit MenuButton(QWidget *parent = nullptr);
    ~MenuButton() override;

    QMenu *mainMenu() const;
    QMenu *themeMenu() const;
    QActionGroup *themeGroup() const;

    QAction *settingAction() const;
    QAction *themeAction() const;
    QAction *autoAction() const;
    QAction *lightAction() const;
    QAction *darkAction() const;
    QAction *assistAction() const;
    QAction *aboutAction() const;
    QAction *feedbackAction() const;
    QAction *quitAction() const;

    // Takes one of the button's own actions, which the application does not
    // offer, out of the menu for good (see above); any other action is left
    // alone.
    void removeEntry(QAction *action);

private:
    QAction *makeAction(const QString &text, const QString &name);
    void onThemeChoiceGone();

    QMenu *m_menu = nullptr;
    QPointer<QMenu> m_themeMenu;
    QActionGroup *m_themeGroup = nullptr;
    QPointer<QAction> m_setting;
    QPointer<QAction> m_theme;
    QPointer<QAction> m_auto;
    QPointer<QAction> m_light;
    QPointer<QAction> m_dark;
    QPointer<QAction> m_assist;
    QPointer<QAction> m_about;
    QPointer<QAction> m_feedback;
    QPointer<QAction> m_quit;
};

} // namespace mvk
