#include "menubutton.h"

#include "kiticons.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace mvk {

namespace {

// %1: the items' left padding (the theme choices leave room for their check mark).
const char *const MenuStyle = R"(
QMenu {
    background: #ffffff;
    border: 1px solid #e6e6e6;
    padding: 4px;
}
QMenu::item {
    color: #1f2329;
    min-width: 96px;
    padding: 6px 24px 6px %1px;
    border-radius: 4px;
}
QMenu::item:selected { background: #f6f6f6; }
QMenu::item:disabled { color: #b0b4ba; }
QMenu::indicator { width: 14px; height: 14px; left: 8px; }
QMenu::separator { height: 1px; background: #e6e6e6; margin: 4px 8px; }
)";

} // namespace

MenuButton::MenuButton(QWidget *parent)
    : TitleButton(parent)
{
    setObjectName(QStringLiteral("menuButton"));
    setIcon(KitIcons::menuIcon());
    setToolTip(QStringLiteral("主菜单"));
    setPopupMode(QToolButton::InstantPopup);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mainMenu"));
    m_menu->setStyleSheet(QString::fromLatin1(MenuStyle).arg(12));

    m_setting = makeAction(QStringLiteral("设置"), QStringLiteral("settingAction"));

    // The theme entry does not own its sub-menu or the choices: deleting
    // any of them leaves the others valid.
    m_themeMenu = new QMenu(m_menu);
    m_themeMenu->setObjectName(QStringLiteral("themeMenu"));
    m_themeMenu->setStyleSheet(QString::fromLatin1(MenuStyle).arg(28));
    m_themeGroup = new QActionGroup(this);
    m_themeGroup->setExclusive(true);
    m_auto = makeAction(QStringLiteral("跟随系统"), QStringLiteral("autoAction"));
    m_light = makeAction(QStringLiteral("浅色"), QStringLiteral("lightAction"));
    m_dark = makeAction(QStringLiteral("深色"), QStringLiteral("darkAction"));
    for (QAction *choice : {m_auto.data(), m_light.data(), m_dark.data()}) {
        choice->setCheckable(true);
        m_themeGroup->addAction(choice);
        m_themeMenu->addAction(choice);
        connect(choice, &QObject::destroyed, this, &MenuButton::onThemeChoiceGone);
    }
    m_auto->setChecked(true);

    m_theme = makeAction(QStringLiteral("主题"), QStringLiteral("themeAction"));
    m_theme->setMenu(m_themeMenu);
    connect(m_theme.data(), &QObject::destroyed, this, [this] { delete m_themeMenu.data(); });

    m_assist = makeAction(QStringLiteral("帮助"), QStringLiteral("assistAction"));
    m_about = makeAction(QStringLiteral("关于"), QStringLiteral("aboutAction"));
    m_feedback = makeAction(QStringLiteral("意见反馈"), QStringLiteral("feedbackAction"));
    m_quit = makeAction(QStringLiteral("退出"), QStringLiteral("quitAction"));

    for (QAction *action : {m_setting.data(), m_theme.data(), m_assist.data(), m_about.data(), m_feedback.data(),
                            m_quit.data()})
        m_menu->addAction(action);

    setMenu(m_menu);
}

MenuButton::~MenuButton()
{
    // The actions are destroyed after our members: their destroyed()
    // handlers must not run any more.
    for (QAction *action : {m_theme.data(), m_auto.data(), m_light.data(), m_dark.data()}) {
        if (action)
            action->disconnect(this);
    }
}

QAction *MenuButton::makeAction(const QString &text, const QString &name)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    return action;
}

void MenuButton::onThemeChoiceGone()
{
    // Called from QObject::destroyed: the QPointers are already cleared.
    if (m_theme && !m_auto && !m_light && !m_dark)
        m_theme->setVisible(false);
}

QMenu *MenuButton::mainMenu() const
{
    return m_menu;
}

QMenu *MenuButton::themeMenu() const
{
    return m_themeMenu;
}

QActionGroup *MenuButton::themeGroup() const
{
    return m_themeGroup;
}

QAction *MenuButton::settingAction() const
{
    return m_setting;
}

QAction *MenuButton::themeAction() const
{
    return m_theme;
}

QAction *MenuButton::autoAction() const
{
    return m_auto;
}

QAction *MenuButton::lightAction() const
{
    return m_light;
}

QAction *MenuButton::darkAction() const
{
    return m_dark;
}

QAction *MenuButton::assistAction() const
{
    return m_assist;
}

QAction *MenuButton::aboutAction() const
{
    return m_about;
}

QAction *MenuButton::feedbackAction() const
{
    return m_feedback;
}

QAction *MenuButton::quitAction() const
{
    return m_quit;
}

// Only a live action of our own is deleted: `action` is compared with the
// guarded pointers and never looked at otherwise.
void MenuButton::removeEntry(QAction *action)
{
    if (!action)
        return;
    for (const QPointer<QAction> &own : {m_setting, m_theme, m_auto, m_light, m_dark, m_assist, m_about, m_feedback, m_quit}) {
        if (own.data() == action) {
            delete own.data();
            return;
        }
    }
}

} // namespace mvk
