#include "titlebarbutton.h"

#include <QTest>

class TestTitleBarButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsThePointer_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");

        QTest::newRow("set") << QStringList() << QStringLiteral("normal");
        QTest::newRow("enter") << QStringList{"enter"} << QStringLiteral("hover");
        QTest::newRow("enter, leave") << QStringList{"enter", "leave"} << QStringLiteral("normal");
        QTest::newRow("left press") << QStringList{"enter", "left-press"} << QStringLiteral("pressed");
        QTest::newRow("pressed stays after release")
            << QStringList{"enter", "left-press", "left-release"} << QStringLiteral("pressed");
        QTest::newRow("leave after press")
            << QStringList{"enter", "left-press", "left-release", "leave"} << QStringLiteral("normal");
        QTest::newRow("right press") << QStringList{"enter", "right-press"} << QStringLiteral("hover");
    }

    void followsThePointer()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);

        const QString base = QStringLiteral(":/SensitiveDiscovery/images/titlebar/");
        const QHash<QString, QString> icons{{"normal", base + "close.png"},
                                            {"hover", base + "closeWhite.png"},
                                            {"pressed", base + "max.png"}};
        QWidget window;
        auto *button = new TitleBarButton(&window);
        button->setFixedSize(30, 30);
        button->setIcons(icons["normal"], icons["hover"], icons["pressed"]);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        for (const QString &step : steps) {
            if (step == QLatin1String("enter")) {
                QEvent e(QEvent::Enter);
                QCoreApplication::sendEvent(button, &e);
            } else if (step == QLatin1String("leave")) {
                QEvent e(QEvent::Leave);
                QCoreApplication::sendEvent(button, &e);
            } else if (step == QLatin1String("left-press")) {
                QTest::mousePress(button, Qt::LeftButton);
            } else if (step == QLatin1String("left-release")) {
                QTest::mouseRelease(button, Qt::LeftButton);
            } else if (step == QLatin1String("right-press")) {
                QTest::mousePress(button, Qt::RightButton);
            }
        }
        QCOMPARE(button->currentIconPath(), icons[shown]);
        QCOMPARE(button->icon().pixmap(16).toImage(), QIcon(icons[shown]).pixmap(16).toImage());
    }
};

QTEST_MAIN(TestTitleBarButton)
#include "tst_titlebarbutton.moc"
