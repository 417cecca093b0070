#include "menubutton.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using mvk::MenuButton;

namespace {

QStringList shownEntries(QMenu *menu)
{
    QStringList texts;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions)
        if (action->isVisible() && !action->isSeparator())
            texts << action->text();
    return texts;
}

using Accessor = QAction *(MenuButton::*)() const;

} // namespace

Q_DECLARE_METATYPE(Accessor)

class TestMenuButton : public QObject
{
    Q_OBJECT

private slots:
    void defaultTexts_data();
    void defaultTexts();
    void menuLayout();
    void themeChoicesAreExclusive();
    void deletingUnusedActions_data();
    void deletingUnusedActions();
};

void TestMenuButton::defaultTexts_data()
{
    QTest::addColumn<Accessor>("accessor");
    QTest::addColumn<QString>("text");

    QTest::newRow("setting") << Accessor(&MenuButton::settingAction) << QStringLiteral("设置");
    QTest::newRow("theme") << Accessor(&MenuButton::themeAction) << QStringLiteral("主题");
    QTest::newRow("auto") << Accessor(&MenuButton::autoAction) << QStringLiteral("跟随系统");
    QTest::newRow("light") << Accessor(&MenuButton::lightAction) << QStringLiteral("浅色");
    QTest::newRow("dark") << Accessor(&MenuButton::darkAction) << QStringLiteral("深色");
    QTest::newRow("assist") << Accessor(&MenuButton::assistAction) << QStringLiteral("帮助");
    QTest::newRow("about") << Accessor(&MenuButton::aboutAction) << QStringLiteral("关于");
    QTest::newRow("feedback") << Accessor(&MenuButton::feedbackAction) << QStringLiteral("意见反馈");
    QTest::newRow("quit") << Accessor(&MenuButton::quitAction) << QStringLiteral("退出");
}

void TestMenuButton::defaultTexts()
{
    QFETCH(Accessor, accessor);
    QFETCH(QString, text);

    MenuButton button;
    QAction *action = (button.*accessor)();
    QVERIFY(action);
    QCOMPARE(action->text(), text);
}

void TestMenuButton::menuLayout()
{
    MenuButton button;
    QVERIFY(button.menu());
    QCOMPARE(button.menu(), button.mainMenu());
    QCOMPARE(button.popupMode(), QToolButton::InstantPopup);
    QVERIFY(!button.icon().isNull());
    QVERIFY(!button.toolTip().isEmpty());
    QCOMPARE(shownEntries(button.mainMenu()),
             (QStringList{QStringLiteral("设置"), QStringLiteral("主题"), QStringLiteral("帮助"), QStringLiteral("关于"),
                          QStringLiteral("意见反馈"), QStringLiteral("退出")}));
    QCOMPARE(button.themeAction()->menu(), button.themeMenu());
    QCOMPARE(button.themeMenu()->actions(),
             (QList<QAction *>{button.autoAction(), button.lightAction(), button.darkAction()}));
}

void TestMenuButton::themeChoicesAreExclusive()
{
    MenuButton button;
    QVERIFY(button.themeGroup()->isExclusive());
    for (QAction *choice : {button.autoAction(), button.lightAction(), button.darkAction()})
        QVERIFY(choice->isCheckable());
    QVERIFY(button.autoAction()->isChecked());

    button.darkAction()->trigger();
    QVERIFY(button.darkAction()->isChecked());
    QVERIFY(!button.autoAction()->isChecked());
    QVERIFY(!button.lightAction()->isChecked());

    button.lightAction()->trigger();
    QVERIFY(button.lightAction()->isChecked());
    QVERIFY(!button.darkAction()->isChecked());
}

void TestMenuButton::deletingUnusedActions_data()
{
    QTest::addColumn<QList<Accessor>>("order");

    QTest::newRow("theme before its choices")
        << QList<Accessor>{&MenuButton::settingAction, &MenuButton::themeAction, &MenuButton::autoAction,
                           &MenuButton::lightAction, &MenuButton::darkAction, &MenuButton::assistAction};
    QTest::newRow("choices before theme")
        << QList<Accessor>{&MenuButton::autoAction, &MenuButton::lightAction, &MenuButton::darkAction,
                           &MenuButton::themeAction, &MenuButton::assistAction, &MenuButton::settingAction};
}

void TestMenuButton::deletingUnusedActions()
{
    QFETCH(QList<Accessor>, order);

    auto *button = new MenuButton;
    QPointer<QMenu> themeMenu = button->themeMenu();
    for (Accessor accessor : order) {
        QAction *action = (button->*accessor)();
        QVERIFY(action);
        delete action;
        QCOMPARE((button->*accessor)(), static_cast<QAction *>(nullptr));
    }

    QVERIFY(themeMenu.isNull()); // the sub-menu went with the theme entry
    QCOMPARE(button->themeMenu(), static_cast<QMenu *>(nullptr));
    QCOMPARE(shownEntries(button->mainMenu()),
             (QStringList{QStringLiteral("关于"), QStringLiteral("意见反馈"), QStringLiteral("退出")}));
    QCOMPARE(button->mainMenu()->actions().size(), 3);

    // The remaining entries still work, and the menu still opens and closes.
    QSignalSpy feedback(button->feedbackAction(), &QAction::triggered);
    button->feedbackAction()->trigger();
    QCOMPARE(feedback.count(), 1);
    button->mainMenu()->popup(QPoint(10, 10));
    QTRY_VERIFY(button->mainMenu()->isVisible());
    button->mainMenu()->hide();

    QPointer<QAction> quit = button->quitAction();
    delete button;
    QVERIFY(quit.isNull());
}

QTEST_MAIN(TestMenuButton)
#include "tst_menubutton.moc"
