#include "removablebutton.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

class TestRemovableButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void press_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<bool>("onCloseMark");

        QTest::newRow("middle of the mark") << QSize(120, 34) << QPoint(120 - 24, 17) << true;
        QTest::newRow("mark's top-left pixel") << QSize(120, 34) << QPoint(88, 9) << true;
        QTest::newRow("mark's bottom-right pixel") << QSize(120, 34) << QPoint(103, 24) << true;
        QTest::newRow("left of the mark") << QSize(120, 34) << QPoint(87, 17) << false;
        QTest::newRow("right of the mark") << QSize(120, 34) << QPoint(110, 17) << false;
        QTest::newRow("on the text") << QSize(120, 34) << QPoint(20, 17) << false;
        QTest::newRow("mark follows a resize") << QSize(200, 40) << QPoint(200 - 24, 20) << true;
        QTest::newRow("old mark place after resize") << QSize(200, 40) << QPoint(120 - 24, 20) << false;
    }

    void press()
    {
        QFETCH(QSize, size);
        QFETCH(QPoint, pos);
        QFETCH(bool, onCloseMark);

        QWidget window;
        QPointer<RemovableButton> chip = new RemovableButton(&window);
        chip->setText(QStringLiteral("机密"));
        chip->resize(120, 34);
        chip->resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(chip->closeRect(), QRect(size.width() - 32, (size.height() - 16) / 2, 16, 16));

        QSignalSpy closed(chip.data(), &RemovableButton::closeClicked);
        QSignalSpy clicked(chip.data(), &QPushButton::clicked);
        QTest::mouseClick(chip, Qt::LeftButton, Qt::NoModifier, pos);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        if (onCloseMark) {
            QCOMPARE(closed.count(), 1);
            QCOMPARE(clicked.count(), 0);
            QVERIFY(chip.isNull());
        } else {
            QCOMPARE(closed.count(), 0);
            QCOMPARE(clicked.count(), 1);
            QVERIFY(!chip.isNull());
        }
    }

    void drawsTheCloseMark()
    {
        RemovableButton chip;
        chip.setText(QStringLiteral("x"));
        chip.resize(120, 34);
        const QImage image = chip.grab().toImage();
        const QImage mark(QStringLiteral(":/SensitiveDiscovery/images/titlebar/window-close-symbolic@1x.png"));
        QVERIFY(!mark.isNull());
        // The cross in the middle of the mark is white, well above the chip beside it.
        const QRect r = chip.closeRect();
        const int cross = QColor(image.pixel(r.left() + 8, r.top() + 8)).lightness();
        const int beside = QColor(image.pixel(r.left() - 6, r.top() + 8)).lightness();
        QVERIFY2(cross > 235 && cross > beside + 30, qPrintable(QStringLiteral("%1 %2").arg(cross).arg(beside)));
    }
};

QTEST_MAIN(TestRemovableButton)
#include "tst_removablebutton.moc"
