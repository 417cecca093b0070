#include "mainwindow.h"
#include "modalanswerer.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class TestRootCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nonRootIsWarnedAndWindowCloses_data()
    {
        QTest::addColumn<unsigned int>("uid");
        QTest::newRow("ordinary user") << 1000u;
        QTest::newRow("uid 1") << 1u;
    }
    void nonRootIsWarnedAndWindowCloses()
    {
        QFETCH(unsigned int, uid);
        MainWindow window;
        window.setEffectiveUidFunction([uid] { return uid; });
        QString title = QStringLiteral("unset");
        int icon = -1;
        bool important = false, isDefault = false;
        int buttonCount = 0;
        ModalAnswerer answer([&](QWidget *box) {
            auto *messageBox = qobject_cast<QMessageBox *>(box);
            QVERIFY(messageBox);
            title = messageBox->windowTitle();
            icon = messageBox->icon();
            buttonCount = messageBox->buttons().size();
            QPushButton *button = qobject_cast<QPushButton *>(messageBox->buttons().value(0));
            important = button && button->property("isImportant").toBool();
            isDefault = button && messageBox->defaultButton() == button;
            QVERIFY(box->parentWidget() == &window);
            QVERIFY(ModalAnswerer::clickButton(box, QStringLiteral("确认")));
        });
        window.show();
        // The check runs once the window is on screen, from the event loop.
        QTRY_VERIFY(answer.answered());
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(answer.text(), QStringLiteral("普通用户没有使用此应用的权限。"));
        QCOMPARE(title, QString());
        QCOMPARE(icon, int(QMessageBox::Warning));
        QCOMPARE(buttonCount, 1);
        QVERIFY(important);
        QVERIFY(isDefault);
    }

    void dismissingTheBoxAlsoCloses()
    {
        MainWindow window;
        window.setEffectiveUidFunction([] { return 1000u; });
        ModalAnswerer answer([](QWidget *box) { ModalAnswerer::dismiss(box); });
        window.show();
        QTRY_VERIFY(answer.answered());
        QTRY_VERIFY(!window.isVisible());
    }

    void rootRunsNormally()
    {
        MainWindow window;
        window.setEffectiveUidFunction([] { return 0u; });
        ModalAnswerer answer([](QWidget *box) { ModalAnswerer::dismiss(box); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Run the scheduled check, then call it again directly: neither asks anything.
        QCoreApplication::processEvents();
        window.checkPermissionAfterShow();
        QCoreApplication::processEvents();
        QVERIFY(!answer.answered());
        QVERIFY(window.isVisible());
    }

    void checkRunsOnlyAfterFirstShow()
    {
        MainWindow window;
        int asked = 0;
        window.setEffectiveUidFunction([&asked] { ++asked; return 0u; });
        window.show();
        QTRY_COMPARE(asked, 1);
        window.hide();
        window.show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(asked, 1);
    }
};

QTEST_MAIN(TestRootCheck)
#include "tst_rootcheck.moc"
