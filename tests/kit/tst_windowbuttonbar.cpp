#include "windowbuttonbar.h"

#include "kittesthelpers.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using mvk::WindowButtonBar;

class TestWindowButtonBar : public QObject
{
    Q_OBJECT

private slots:
    void buttonsHaveIconAndTooltip_data();
    void buttonsHaveIconAndTooltip();
    void laidOutLeftToRightInFixedWidth();
    void clientCanReplaceIconAndConnect();
};

static QList<QToolButton *> buttonsOf(const WindowButtonBar &bar)
{
    return {bar.menuButton(), bar.minimumButton(), bar.maximumButton(), bar.closeButton()};
}

void TestWindowButtonBar::buttonsHaveIconAndTooltip_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("menu") << 0;
    QTest::newRow("minimum") << 1;
    QTest::newRow("maximum") << 2;
    QTest::newRow("close") << 3;
}

void TestWindowButtonBar::buttonsHaveIconAndTooltip()
{
    QFETCH(int, index);

    WindowButtonBar bar;
    QToolButton *button = buttonsOf(bar).at(index);
    QVERIFY(!button->toolTip().isEmpty());
    QVERIFY(!button->icon().isNull());
    const QImage glyph = button->icon().pixmap(QSize(16, 16)).toImage();
    QVERIFY(kittest::paintedPixels(glyph) > 10);

    // What the button paints on screen shows the glyph too.
    button->resize(button->sizeHint());
    QVERIFY(kittest::paintedPixels(kittest::renderTransparent(button)) > 10);
}

void TestWindowButtonBar::laidOutLeftToRightInFixedWidth()
{
    QWidget titleBar;
    WindowButtonBar *bar = new WindowButtonBar(&titleBar);
    bar->setFixedWidth(144);
    bar->setGeometry(400, 0, 144, 48);
    titleBar.resize(544, 48);
    titleBar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&titleBar));

    const QList<QToolButton *> buttons = buttonsOf(*bar);
    for (int i = 0; i < buttons.size(); ++i) {
        const QRect g = buttons.at(i)->geometry();
        QVERIFY(buttons.at(i)->isVisible());
        QVERIFY2(bar->rect().contains(g), qPrintable(QStringLiteral("button %1 outside the bar").arg(i)));
        QVERIFY(g.width() >= 24 && g.height() >= 24);
        if (i > 0)
            QVERIFY(buttons.at(i - 1)->geometry().right() < g.left());
    }
}

void TestWindowButtonBar::clientCanReplaceIconAndConnect()
{
    WindowButtonBar bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy closeClicks(bar.closeButton(), &QToolButton::clicked);
    QSignalSpy minimiseClicks(bar.minimumButton(), &QToolButton::clicked);

    QPixmap red(16, 16);
    red.fill(Qt::red);
    bar.closeButton()->setIcon(QIcon(red));
    bar.closeButton()->setToolTip(QStringLiteral("退出程序"));
    QTest::mouseClick(bar.closeButton(), Qt::LeftButton);
    QCOMPARE(closeClicks.count(), 1);
    QCOMPARE(minimiseClicks.count(), 0);
    QCOMPARE(bar.closeButton()->toolTip(), QStringLiteral("退出程序"));

    // The replaced icon is the one painted.
    const QImage shown = kittest::renderTransparent(bar.closeButton());
    QCOMPARE(shown.pixelColor(shown.rect().center()), QColor(Qt::red));
}

QTEST_MAIN(TestWindowButtonBar)
#include "tst_windowbuttonbar.moc"
