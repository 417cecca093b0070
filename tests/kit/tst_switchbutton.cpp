#include "switchbutton.h"

#include "kittesthelpers.h"

#include <QSignalSpy>
#include <QTest>

using mvk::SwitchButton;

class TestSwitchButton : public QObject
{
    Q_OBJECT

private slots:
    void clickToggles();
    void keysToggle_data();
    void keysToggle();
    void knobSlidesToEnd_data();
    void knobSlidesToEnd();
    void trackColourFollowsState();
};

void TestSwitchButton::clickToggles()
{
    SwitchButton sw;
    sw.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sw));
    QSignalSpy changed(&sw, &SwitchButton::checkedChanged);
    QVERIFY(!sw.isChecked());

    QTest::mouseClick(&sw, Qt::LeftButton);
    QVERIFY(sw.isChecked());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), true);

    QTest::mouseClick(&sw, Qt::LeftButton);
    QVERIFY(!sw.isChecked());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toBool(), false);
}

void TestSwitchButton::keysToggle_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("enter") << int(Qt::Key_Enter);
}

void TestSwitchButton::keysToggle()
{
    QFETCH(int, key);

    SwitchButton sw;
    sw.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sw));
    sw.setFocus();
    QSignalSpy changed(&sw, &SwitchButton::checkedChanged);

    QTest::keyClick(&sw, Qt::Key(key));
    QVERIFY(sw.isChecked());
    QTest::keyClick(&sw, Qt::Key(key));
    QVERIFY(!sw.isChecked());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).toBool(), true);
    QCOMPARE(changed.at(1).at(0).toBool(), false);

    // Other keys leave it alone; setting the current state again emits nothing.
    QTest::keyClick(&sw, Qt::Key_A);
    sw.setChecked(false);
    QCOMPARE(changed.count(), 2);
}

void TestSwitchButton::knobSlidesToEnd_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("switch on") << true;
    QTest::newRow("switch off") << false;
}

void TestSwitchButton::knobSlidesToEnd()
{
    QFETCH(bool, on);

    SwitchButton sw;
    sw.setChecked(!on);
    sw.resize(sw.sizeHint());
    sw.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sw));
    QCOMPARE(sw.knobPosition(), on ? 0.0 : 1.0);

    sw.setAnimationDuration(120);
    QCOMPARE(sw.animationDuration(), 120);
    QTest::mouseClick(&sw, Qt::LeftButton);
    QCOMPARE(sw.isChecked(), on);
    QVERIFY(sw.isAnimating()); // the knob does not jump while visible

    QTRY_VERIFY(!sw.isAnimating());
    QCOMPARE(sw.knobPosition(), on ? 1.0 : 0.0);

    const QRectF track = sw.trackRect();
    const QRectF knob = sw.knobRect();
    QVERIFY(track.contains(knob));
    if (on)
        QVERIFY(track.right() - knob.right() < knob.left() - track.left());
    else
        QVERIFY(knob.left() - track.left() < track.right() - knob.right());
}

void TestSwitchButton::trackColourFollowsState()
{
    SwitchButton sw;
    sw.resize(sw.sizeHint());
    const QRectF track = sw.trackRect();
    // Points on the track at the end the knob leaves.
    const QPoint leftEnd(qRound(track.left() + 5), qRound(track.center().y()));
    const QPoint rightEnd(qRound(track.right() - 5), qRound(track.center().y()));
    const QColor blue(0x36, 0x76, 0xf5);

    sw.setChecked(false);
    const QImage off = kittest::renderTransparent(&sw);
    QVERIFY(sw.knobRect().contains(leftEnd));
    QVERIFY(!sw.knobRect().contains(rightEnd));
    sw.setChecked(true);
    const QImage on = kittest::renderTransparent(&sw);
    QVERIFY(sw.knobRect().contains(rightEnd));

    QVERIFY2(kittest::near(on.pixelColor(leftEnd), blue, 6), qPrintable(kittest::describe(on.pixelColor(leftEnd))));
    QVERIFY2(!kittest::near(off.pixelColor(rightEnd), blue, 40), qPrintable(kittest::describe(off.pixelColor(rightEnd))));
    QCOMPARE(off.pixelColor(rightEnd).alpha(), 255);

    // The white knob covers the end it rests at.
    QCOMPARE(on.pixelColor(rightEnd), QColor(Qt::white));
    QCOMPARE(off.pixelColor(leftEnd), QColor(Qt::white));
}

QTEST_MAIN(TestSwitchButton)
#include "tst_switchbutton.moc"
