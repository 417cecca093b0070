#include "borderlessbutton.h"

#include "kittesthelpers.h"

#include <QSignalSpy>
#include <QTest>

using mvk::BorderlessButton;

class TestBorderlessButton : public QObject
{
    Q_OBJECT

private slots:
    void stateColours_data();
    void stateColours();
    void paintsBlueTextWithoutBorder();
    void hoverChangesColour();
};

void TestBorderlessButton::stateColours_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("idle") << QStringLiteral("idle") << QColor(0x36, 0x76, 0xf5);
    QTest::newRow("pressed") << QStringLiteral("pressed") << QColor(0x2a, 0x5d, 0xc4);
    QTest::newRow("disabled") << QStringLiteral("disabled") << QColor(0xb0, 0xb4, 0xba);
}

void TestBorderlessButton::stateColours()
{
    QFETCH(QString, state);
    QFETCH(QColor, expected);

    BorderlessButton button(QStringLiteral("查看详情"));
    if (state == QLatin1String("pressed"))
        button.setDown(true);
    else if (state == QLatin1String("disabled"))
        button.setEnabled(false);
    QCOMPARE(button.textColor(), expected);
}

void TestBorderlessButton::paintsBlueTextWithoutBorder()
{
    BorderlessButton button(QStringLiteral("选择目录"));
    QVERIFY(button.isFlat());
    button.resize(button.sizeHint());
    QVERIFY(button.width() > button.fontMetrics().horizontalAdvance(button.text()));

    const QImage image = kittest::renderTransparent(&button);
    int blue = 0;
    int other = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() == 0)
                continue;
            // Text pixels are the accent blue, antialiased against transparency.
            if (c.blue() > c.red() + 60 && c.blue() > c.green())
                ++blue;
            else
                ++other;
        }
    }
    QVERIFY2(blue > 20, qPrintable(QString::number(blue)));
    QCOMPARE(other, 0); // no frame, no background
    // The edges stay empty: no border.
    for (int x = 0; x < image.width(); ++x)
        QCOMPARE(qAlpha(image.pixel(x, 0)), 0);
}

void TestBorderlessButton::hoverChangesColour()
{
    BorderlessButton button(QStringLiteral("帮助"));
    button.resize(button.sizeHint());
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    const QColor idle = button.textColor();

    QEvent enter(QEvent::Enter);
    button.setAttribute(Qt::WA_UnderMouse, true);
    QApplication::sendEvent(&button, &enter);
    QVERIFY(button.textColor() != idle);
    QCOMPARE(button.textColor(), QColor(0x5a, 0x8f, 0xf7));

    QEvent leave(QEvent::Leave);
    button.setAttribute(Qt::WA_UnderMouse, false);
    QApplication::sendEvent(&button, &leave);
    QCOMPARE(button.textColor(), idle);
}

QTEST_MAIN(TestBorderlessButton)
#include "tst_borderlessbutton.moc"
