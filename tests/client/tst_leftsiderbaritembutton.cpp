#include "fixlabel.h"
#include "leftsiderbaritembutton.h"

#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString Normal = QStringLiteral(":/SensitiveDiscovery/images/siderbar/piiscan-symbolic.png");
const QString Pressed = QStringLiteral(":/SensitiveDiscovery/images/siderbar/piiscan-pressed-symbolic.png");

QImage shownIcon(const LeftSiderbarItemButton &button)
{
    return button.iconLabel()->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32);
}
QImage iconImage(const QString &path)
{
    return QIcon(path).pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}
} // namespace

class TestLeftSiderbarItemButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selection_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("textStyle");
        QTest::newRow("selected") << true << Pressed << QStringLiteral("color:white");
        QTest::newRow("unselected") << false << Normal << QStringLiteral("color:palette(windowText)");
    }

    void selection()
    {
        QFETCH(bool, selected);
        QFETCH(QString, icon);
        QFETCH(QString, textStyle);

        LeftSiderbarItemButton button;
        button.setModule(QStringLiteral("piiscan"), Normal, Pressed, QStringLiteral("隐私信息扫描"));
        QCOMPARE(shownIcon(button), iconImage(Normal));
        QCOMPARE(button.textLabel()->text(), QStringLiteral("隐私信息扫描"));

        button.setSelected(!selected);
        button.setSelected(selected);
        QCOMPARE(button.isChecked(), selected);
        QCOMPARE(shownIcon(button), iconImage(icon));
        QCOMPARE(button.textLabel()->styleSheet(), textStyle);
        QCOMPARE(button.size(), QSize(181, 36));
    }

    void clickSelects()
    {
        QWidget window;
        auto *button = new LeftSiderbarItemButton(&window);
        button->setModule(QStringLiteral("piiscan"), Normal, Pressed, QStringLiteral("隐私信息扫描"));
        button->setSelected(false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy selected(button, &LeftSiderbarItemButton::ModuleSelected);

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.first().first().toString(), QStringLiteral("piiscan"));
        QVERIFY(button->isChecked());

        // The selected entry stays selected when clicked again.
        button->setSelected(true);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(selected.count(), 1);
        QVERIFY(button->isChecked());
        QCOMPARE(shownIcon(*button), iconImage(Pressed));
    }

    void deletedWhenClosed()
    {
        QWidget window;
        QPointer<LeftSiderbarItemButton> button = new LeftSiderbarItemButton(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        button->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(button.isNull());
    }
};

QTEST_MAIN(TestLeftSiderbarItemButton)
#include "tst_leftsiderbaritembutton.moc"
