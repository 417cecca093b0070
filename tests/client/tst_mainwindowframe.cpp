#include "acceptingtaskcalls.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "aboutdialog.h"
#include "leftsiderbaritembutton.h"
#include "leftsiderbarwidget.h"
#include "menubutton.h"
#include "modalanswerer.h"
#include "navigationbar.h"
#include "piiscangroupframe.h"
#include "privatebus.h"
#include "scancontroller.h"
#include "timerthread.h"
#include "windowbuttonbar.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTest>
#include <QToolButton>

#include <memory>

class TestMainWindowFrame : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;

    static QStackedWidget *stack(MainWindow &w) { return w.ui()->stackedWidget; }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
    }
    void cleanupTestCase() { m_bus.reset(); }

    void everyStackStartsAtZero()
    {
        MainWindow window;
        QCOMPARE(window.ui()->stackedWidget->currentIndex(), 0);
        QCOMPARE(window.ui()->stackedWidget_2->currentIndex(), 0);
        QCOMPARE(window.ui()->stackedWidget_3->currentIndex(), 0);
        QCOMPARE(window.ui()->stackedWidget_4->currentIndex(), 0);
        QCOMPARE(window.ui()->stackedWidget->count(), 5);
        QCOMPARE(window.ui()->stackedWidget->widget(0)->objectName(), QStringLiteral("m_KeywordScanConfigPage"));
        QCOMPARE(window.ui()->stackedWidget->widget(1)->objectName(), QStringLiteral("m_KeywordScanPage"));
        QCOMPARE(window.ui()->stackedWidget->widget(2)->objectName(), QStringLiteral("m_PiiScanConfigPage"));
        QCOMPARE(window.ui()->stackedWidget->widget(3)->objectName(), QStringLiteral("m_PiiScanPage"));
        QCOMPARE(window.ui()->stackedWidget->widget(4)->objectName(), QStringLiteral("m_RunHistoryPage"));
        QCOMPARE(window.currentModule(), QStringLiteral("keywordscan"));
        QVERIFY(window.ui()->m_KeywordScanButton->isChecked());
        QVERIFY(!window.ui()->m_PiiScanButton->isChecked());
        QCOMPARE(window.windowTitle(), QStringLiteral("敏感信息扫描"));
        QCOMPARE(window.minimumSize(), QSize(960, 580));
    }

    void namedWidgetsHaveTheirClasses_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        const QList<QPair<const char *, const char *>> rows = {
            {"m_LeftSidebarWidget", "LeftSiderbarWidget"},
            {"m_KeywordScanButton", "LeftSiderbarItemButton"},
            {"m_PiiScanButton", "LeftSiderbarItemButton"},
            {"m_IconBar", "mvk::IconBar"},
            {"m_WindowButtonBar", "mvk::WindowButtonBar"},
            {"m_KeywordScanComboBoxLikeDisplayButton", "QPushButton"},
            {"m_KeywordScanComboBoxLikeDropdownButton", "QPushButton"},
            {"m_PiiScanComboBoxLikeDisplayButton", "QPushButton"},
            {"m_PiiScanComboBoxLikeDropdownButton", "QPushButton"},
            {"m_SystemResourceIdleKeywordScanSwitchButton", "mvk::SwitchButton"},
            {"m_SystemResourceIdlePiiScanSwitchButton", "mvk::SwitchButton"},
            {"m_KeywordConfigButton", "mvk::BorderlessButton"},
            {"m_KeywordScanFiletypeConfigButton", "mvk::BorderlessButton"},
            {"m_PiiScanFiletypeConfigButton", "mvk::BorderlessButton"},
            {"m_KeywordScanProgressBar", "QProgressBar"},
            {"m_PiiScanProgressBar", "QProgressBar"},
            {"m_KeywordScanPauseScanButton", "QPushButton"},
            {"m_KeywordScanCancelScanButton", "mvk::BorderlessButton"},
            {"m_PiiScanPauseScanButton", "QPushButton"},
            {"m_PiiScanCancelScanButton", "mvk::BorderlessButton"},
            {"m_KeywordScanCancelReturnButton", "QPushButton"},
            {"m_KeywordScanCancelRescanButton", "QPushButton"},
            {"m_KeywordScanCompleteReturnButton", "QPushButton"},
            {"m_PiiScanCancelReturnButton", "QPushButton"},
            {"m_PiiScanCancelRescanButton", "QPushButton"},
            {"m_PiiScanCompleteReturnButton", "QPushButton"},
            {"m_KeywordScanningFileLabel", "ElidedPathLabel"},
            {"m_PiiScanningFileLabel", "ElidedPathLabel"},
            {"m_KeywordScanCancelLabel", "WrappingLabel"},
            {"m_KeywordScanCompleteDescribeLabel", "WrappingLabel"},
            {"m_PiiScanCancelLabel", "WrappingLabel"},
            {"m_PiiScanCompleteDescribeLabel", "WrappingLabel"},
            {"m_SystemResourceIdleQuestionLabel", "QLabel"},
            {"m_SystemResourceIdleQuestionLabel_2", "QLabel"},
            {"m_PiiScanFeature1InfomationLabel", "QLabel"},
            {"m_PiiScanSensitiveFrame", "PiiScanGroupFrame"},
            {"m_PiiScanPotentiallySensitiveFrame", "PiiScanGroupFrame"},
            {"m_PiiScanPathComboBoxLikeWidget", "QWidget"},
            {"m_LeftNavigationbarWidget_2", "QWidget"},
        };
        for (const auto &row : rows)
            QTest::newRow(row.first) << QString::fromLatin1(row.first) << QString::fromLatin1(row.second);
    }
    void namedWidgetsHaveTheirClasses()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        MainWindow window;
        // The form's widgets; the keyword panel, also a child of the window,
        // has widgets of the same names in its own form.
        const auto found = window.centralWidget()->findChildren<QWidget *>(name);
        QCOMPARE(found.size(), 1);
        QCOMPARE(QString::fromLatin1(found.first()->metaObject()->className()), className);
    }

    void namedLayoutsExist()
    {
        MainWindow window;
        QVERIFY(window.findChild<QLayout *>(QStringLiteral("m_keywordScanSensitiveVBoxLayout")));
        QVERIFY(window.findChild<QLayout *>(QStringLiteral("m_LeftNavigationbarVBoxLayout")));
        QCOMPARE(window.ui()->m_KeywordScanProgressBar->maximum(), 2147483647);
        QCOMPARE(window.ui()->m_PiiScanProgressBar->value(), 0);
    }

    void fixedSizesHoldAfterResize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("keyword logo") << "m_KeywordScanFeatureLogo" << QSize(330, 330);
        QTest::newRow("privacy logo") << "m_PiiScanFeatureLogo" << QSize(330, 330);
        QTest::newRow("display button") << "m_KeywordScanComboBoxLikeDisplayButton" << QSize(179, 52);
        QTest::newRow("dropdown button") << "m_KeywordScanComboBoxLikeDropdownButton" << QSize(36, 52);
        QTest::newRow("privacy split control") << "m_PiiScanPathComboBoxLikeWidget" << QSize(216, 52);
        QTest::newRow("pause button") << "m_KeywordScanPauseScanButton" << QSize(96, 36);
        QTest::newRow("privacy cancel button") << "m_PiiScanCancelScanButton" << QSize(96, 36);
        QTest::newRow("privacy rescan button") << "m_PiiScanCancelRescanButton" << QSize(116, 36);
        QTest::newRow("scan logo") << "m_KeywordScanLogo" << QSize(96, 96);
        QTest::newRow("module button") << "m_KeywordScanButton" << QSize(181, 36);
    }
    void fixedSizesHoldAfterResize()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        MainWindow window;
        window.show();
        // The size given is the least; widgets with text may grow with it,
        // never with the window.
        QSize first;
        for (const QSize &windowSize : {QSize(960, 580), QSize(1600, 1000), QSize(1000, 600)}) {
            window.resize(windowSize);
            QCoreApplication::processEvents();
            auto *widget = window.findChild<QWidget *>(name);
            QVERIFY(widget);
            QCOMPARE(widget->minimumSize(), size);
            if (first.isEmpty())
                first = widget->size();
            QCOMPARE(widget->size(), first);
        }
        for (const char *flow : {"stackedWidget_2", "stackedWidget_3"})
            QCOMPARE(window.findChild<QWidget *>(QLatin1String(flow))->height(), 100);
        QCOMPARE(window.ui()->m_KeywordScanProgressBar->maximumHeight(), 12);
    }

    void doubleClickInTitleZone_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("toggles");
        QTest::newRow("y 0") << 0 << int(Qt::LeftButton) << true;
        QTest::newRow("y 35") << 35 << int(Qt::LeftButton) << true;
        QTest::newRow("y 36") << 36 << int(Qt::LeftButton) << false;
        QTest::newRow("y 300") << 300 << int(Qt::LeftButton) << false;
        QTest::newRow("right button") << 10 << int(Qt::RightButton) << false;
    }
    void doubleClickInTitleZone()
    {
        QFETCH(int, y);
        QFETCH(int, button);
        QFETCH(bool, toggles);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseDClick(&window, Qt::MouseButton(button), Qt::NoModifier, QPoint(500, y));
        QCOMPARE(window.windowState() == Qt::WindowMaximized, toggles);
        if (toggles) {
            QTest::mouseDClick(&window, Qt::MouseButton(button), Qt::NoModifier, QPoint(500, y));
            QCOMPARE(window.windowState(), Qt::WindowNoState);
        }
    }

    void f11TogglesAndButtonFollows()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QToolButton *maximum = window.ui()->m_WindowButtonBar->maximumButton();
        QCOMPARE(maximum->toolTip(), QStringLiteral("最大化"));
        const QImage normalIcon = maximum->icon().pixmap(16, 16).toImage();

        QTest::keyClick(&window, Qt::Key_F11);
        QCOMPARE(window.windowState(), Qt::WindowMaximized);
        QCOMPARE(maximum->toolTip(), QStringLiteral("还原"));
        QCOMPARE(maximum->icon().pixmap(16, 16).toImage(),
                 QIcon(QStringLiteral(":/SensitiveDiscovery/images/titlebar/revert.png")).pixmap(16, 16).toImage());
        QVERIFY(maximum->icon().pixmap(16, 16).toImage() != normalIcon);

        QTest::keyClick(&window, Qt::Key_F11);
        QCOMPARE(window.windowState(), Qt::WindowNoState);
        QCOMPARE(maximum->toolTip(), QStringLiteral("最大化"));
        QCOMPARE(maximum->icon().pixmap(16, 16).toImage(), normalIcon);

        // The button itself toggles too.
        maximum->click();
        QCOMPARE(window.windowState(), Qt::WindowMaximized);
        QCOMPARE(maximum->toolTip(), QStringLiteral("还原"));
        maximum->click();
        QCOMPARE(window.windowState(), Qt::WindowNoState);
    }

    void dragMovesWindow()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.move(100, 100);
        QCoreApplication::processEvents();
        const QPoint start = window.frameGeometry().topLeft();
        QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, QPoint(600, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(600, 10), QPointF(window.mapToGlobal(QPoint(650, 40))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &move);
        QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, QPoint(650, 40));
        QCOMPARE(window.frameGeometry().topLeft(), start + QPoint(50, 30));
    }

    void titleBarMenuIsTrimmed()
    {
        MainWindow window;
        mvk::MenuButton *menu = window.ui()->m_WindowButtonBar->menuButton();
        QCOMPARE(menu->toolTip(), QStringLiteral("选项"));
        QVERIFY(!menu->settingAction());
        QVERIFY(!menu->themeAction());
        QVERIFY(!menu->assistAction());
        QStringList texts;
        for (QAction *action : menu->mainMenu()->actions())
            if (!action->isSeparator() && action->isVisible())
                texts << action->text();
        QCOMPARE(texts, (QStringList{QStringLiteral("关于"), QStringLiteral("意见反馈"), QStringLiteral("退出")}));
        QCOMPARE(window.ui()->m_WindowButtonBar->minimumButton()->toolTip(), QStringLiteral("最小化"));
        QCOMPARE(window.ui()->m_WindowButtonBar->closeButton()->toolTip(), QStringLiteral("关闭"));
    }

    void aboutShowsNameIconAndVersion()
    {
        MainWindow window;
        QString name, version;
        bool hasIcon = false;
        ModalAnswerer answer([&](QWidget *box) {
            auto *about = qobject_cast<mvk::AboutDialog *>(box);
            QVERIFY(about);
            name = about->appName();
            version = about->appVersion();
            hasIcon = !about->appIcon().isNull();
            ModalAnswerer::dismiss(box);
        });
        window.ui()->m_WindowButtonBar->menuButton()->aboutAction()->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(name, QStringLiteral("敏感信息扫描"));
        QCOMPARE(version, QStringLiteral("版本: 1.0"));
        QVERIFY(hasIcon);
        QVERIFY(window.findChildren<mvk::AboutDialog *>().isEmpty());
    }

    void pageRule_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<bool>("keywordTask");
        QTest::addColumn<bool>("privacyTask");
        QTest::addColumn<int>("page");
        QTest::newRow("privacy, no task") << "piiscan" << true << false << 2;
        QTest::newRow("privacy, task") << "piiscan" << false << true << 3;
        QTest::newRow("keyword, no task") << "keywordscan" << false << true << 0;
        QTest::newRow("keyword, task") << "keywordscan" << true << false << 1;
        QTest::newRow("unknown name is keyword") << "other" << true << true << 1;
    }
    void pageRule()
    {
        QFETCH(QString, module);
        QFETCH(bool, keywordTask);
        QFETCH(bool, privacyTask);
        QFETCH(int, page);
        MainWindow window;
        window.setKeywordPathList(keywordTask ? QStringLiteral("/home/a") : QString());
        window.setPrivacyPathList(privacyTask ? QStringLiteral("/home/b|/srv") : QString());
        // Leave the keyword module first so that every module is a change.
        window.onModuleSelected(QStringLiteral("piiscan"));
        window.onModuleSelected(QStringLiteral("nothing"));
        window.onModuleSelected(module);
        QCOMPARE(stack(window)->currentIndex(), page);
        QCOMPARE(window.currentModule(), module);

        // The navigation list applies the same rule.
        MainWindow other;
        other.setKeywordPathList(window.keywordPathList());
        other.setPrivacyPathList(window.privacyPathList());
        const int row = module == QLatin1String("piiscan") ? 1 : 0;
        const QModelIndex index = other.navigationBar()->model()->index(row, 0);
        if (module != QLatin1String("other")) {
            Q_EMIT other.navigationBar()->listview()->clicked(index);
            QCOMPARE(stack(other)->currentIndex(), page);
        }
    }

    void moduleButtonsCloseParentedWindowsNavigationDoesNot()
    {
        MainWindow window;
        window.show();
        auto *panel = new QWidget(&window, Qt::Window);
        panel->show();
        auto *loose = new QWidget(nullptr, Qt::Window);
        loose->setAttribute(Qt::WA_DeleteOnClose);
        loose->show();
        QPointer<QWidget> looseGuard(loose);

        const QModelIndex privacy = window.navigationBar()->model()->index(1, 0);
        Q_EMIT window.navigationBar()->listview()->clicked(privacy);
        QCOMPARE(stack(window)->currentIndex(), 2);
        QVERIFY(panel->isVisible());
        QCOMPARE(window.currentModule(), QStringLiteral("keywordscan"));
        QVERIFY(window.ui()->m_KeywordScanButton->isChecked());

        Q_EMIT window.navigationBar()->listview()->clicked(window.navigationBar()->model()->index(0, 0));
        QTest::mouseClick(window.ui()->m_PiiScanButton, Qt::LeftButton);
        QCOMPARE(window.currentModule(), QStringLiteral("piiscan"));
        QCOMPARE(stack(window)->currentIndex(), 2);
        QVERIFY(!panel->isVisible());
        QVERIFY(looseGuard && looseGuard->isVisible());
        QVERIFY(window.isVisible());
        QVERIFY(window.ui()->m_PiiScanButton->isChecked());
        QVERIFY(!window.ui()->m_KeywordScanButton->isChecked());
        delete looseGuard;
    }

    void selectingCurrentModuleChangesNothing()
    {
        MainWindow window;
        window.show();
        stack(window)->setCurrentIndex(3);
        auto *panel = new QWidget(&window, Qt::Window);
        panel->show();
        window.onModuleSelected(QStringLiteral("keywordscan"));
        QCOMPARE(stack(window)->currentIndex(), 3);
        QVERIFY(panel->isVisible());
    }

    // A language change re-applies the form's texts but a paused scan keeps
    // its "继续" button.
    void languageChangeKeepsPausedLabel()
    {
        MainWindow window;
        AcceptingTaskCalls service;
        window.keywordScan()->setTaskCalls(&service);
        window.setKeywordPathList(QStringLiteral("/srv"));
        QVERIFY(window.keywordScan()->start(QString(), 1));
        QVERIFY(window.keywordScan()->pauseOrContinue());
        QVERIFY(window.keywordTimer()->isPaused());
        QCOMPARE(window.ui()->m_KeywordScanPauseScanButton->text(), QStringLiteral("继续"));
        window.ui()->m_PiiScanPauseScanButton->setText(QStringLiteral("继续"));
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&window, &change);
        QCOMPARE(window.ui()->m_KeywordScanPauseScanButton->text(), QStringLiteral("继续"));
        // The privacy timer is not paused: its button is reset by the text step.
        QCOMPARE(window.ui()->m_PiiScanPauseScanButton->text(), QStringLiteral("暂停"));
        window.close();
    }

    void closeStopsBothTimers()
    {
        MainWindow window;
        window.show();
        window.keywordTimer()->start();
        window.privacyTimer()->start();
        QTRY_VERIFY(window.keywordTimer()->isRunning());
        QTRY_VERIFY(window.privacyTimer()->isRunning());
        // Closing waits for both runs to end.
        QVERIFY(window.close());
        QVERIFY(window.keywordTimer()->isFinished());
        QVERIFY(window.privacyTimer()->isFinished());
    }
};

QTEST_MAIN(TestMainWindowFrame)
#include "tst_mainwindowframe.moc"
