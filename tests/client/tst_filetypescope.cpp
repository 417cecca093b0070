// The file-type help bubble: one pop-up for both pages' buttons, placed over
// the button that was clicked.

#include "borderlessbutton.h"
#include "bubblewidget.h"
#include "mainwindow.h"
#include "privatebus.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QWindow>

#include <memory>

class TestFileTypeScope : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;

    // The bubble of the test's one window.
    static mvk::BubbleWidget *bubbleOf(MainWindow &)
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("fileTypeHintBubble"))
                return qobject_cast<mvk::BubbleWidget *>(widget);
        return nullptr;
    }

    // Where the bubble belongs for this button: right edges aligned, its
    // bottom on the button's top.
    static QPoint expectedPlace(QWidget *button, QWidget *bubble)
    {
        const QPoint corner = button->mapToGlobal(QPoint(0, 0));
        return QPoint(corner.x() + button->width() - bubble->width(), corner.y() - bubble->height());
    }

    // Where the bubble was put (its position including any frame: a pop-up
    // has none on X11, the offscreen platform gives it one).
    static QPoint placeOf(QWidget *bubble)
    {
        return bubble->pos();
    }

    // Shows the window where asked and lets its geometry settle. The
    // bubble's native window is made first, so that the offscreen platform
    // knows its frame before the bubble is first moved.
    static bool showAt(MainWindow &window, const QPoint &position)
    {
        bubbleOf(window)->winId();
        window.setWindowFlag(Qt::FramelessWindowHint);
        window.move(position);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        QCoreApplication::processEvents();
        return window.pos() == position;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
    }
    void cleanupTestCase()
    {
        m_bus.reset();
    }

    void bubbleIsBuiltHidden()
    {
        MainWindow window;
        mvk::BubbleWidget *bubble = bubbleOf(window);
        QVERIFY(bubble);
        QVERIFY(!bubble->isVisible());
        QVERIFY(!bubble->parentWidget());
        QCOMPARE(bubble->windowFlags() & Qt::WindowType_Mask, Qt::Popup);
        QCOMPARE(bubble->size(), QSize(290, 135));
        QCOMPARE(bubble->tailSize(), QSize(20, 10));
        QCOMPARE(bubble->tailDirection(), 2);
        QCOMPARE(bubble->tailLocation(), 2);
        QCOMPARE(bubble->opacity(), 0.5);
        QVERIFY(bubble->enableBlur());
        auto *label = bubble->findChild<QLabel *>();
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("文档解析支持：\ntxt、pdf、doc(x)、xls(x)、ppt(x)、\nwps、et、dps以及常见的压缩包格式等"));
        QCOMPARE(bubble->layout()->contentsMargins(), QMargins());

    }

    // The window deletes its bubble (which has no parent) with itself.
    void windowDeletesItsBubble()
    {
        auto *window = new MainWindow;
        QPointer<mvk::BubbleWidget> bubble(bubbleOf(*window));
        QVERIFY(bubble);
        delete window;
        QVERIFY(bubble.isNull());
    }

    // The form's own buttons, connected by name.
    void bubbleSitsOverTheClickedButton_data()
    {
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<int>("page");
        QTest::addColumn<QPoint>("windowAt");
        QTest::newRow("keyword page") << "m_KeywordScanFiletypeConfigButton" << 0 << QPoint(300, 400);
        QTest::newRow("privacy page") << "m_PiiScanFiletypeConfigButton" << 2 << QPoint(120, 30);
        // Nothing keeps the bubble on the screen.
        QTest::newRow("near the screen's top") << "m_KeywordScanFiletypeConfigButton" << 0 << QPoint(0, -480);
    }
    void bubbleSitsOverTheClickedButton()
    {
        QFETCH(QString, buttonName);
        QFETCH(int, page);
        QFETCH(QPoint, windowAt);
        MainWindow window;
        window.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"))->setCurrentIndex(page);
        auto *button = window.findChild<mvk::BorderlessButton *>(buttonName);
        QVERIFY(button);
        QVERIFY(showAt(window, windowAt));
        QVERIFY(button->isVisible());

        button->click();
        mvk::BubbleWidget *bubble = bubbleOf(window);
        QVERIFY(bubble->isVisible());
        QCOMPARE(placeOf(bubble), expectedPlace(button, bubble));
        if (windowAt.y() < 0)
            QVERIFY(placeOf(bubble).y() < 0);
        bubble->hide();
    }

    // The privacy page's button moves the one bubble there.
    void bothButtonsShareTheBubble()
    {
        MainWindow window;
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
        auto *keyword = window.findChild<mvk::BorderlessButton *>(QStringLiteral("m_KeywordScanFiletypeConfigButton"));
        auto *privacy = window.findChild<mvk::BorderlessButton *>(QStringLiteral("m_PiiScanFiletypeConfigButton"));
        QVERIFY(keyword && privacy);
        QVERIFY(showAt(window, QPoint(100, 100)));

        keyword->click();
        mvk::BubbleWidget *bubble = bubbleOf(window);
        QCOMPARE(placeOf(bubble), expectedPlace(keyword, bubble));
        // A click outside the pop-up closes it.
        bubble->hide();
        stack->setCurrentIndex(2);
        QCoreApplication::processEvents();
        privacy->click();
        QCOMPARE(bubbleOf(window), bubble);
        QVERIFY(bubble->isVisible());
        QCOMPARE(placeOf(bubble), expectedPlace(privacy, bubble));
        QVERIFY(expectedPlace(privacy, bubble) != expectedPlace(keyword, bubble));
        bubble->hide();
    }

    // Only the kit's link button opens the bubble.
    void otherSendersDoNothing()
    {
        MainWindow window;
        auto *plain = new QPushButton(&window);
        // Wired to the slot directly, so that the slot sees it as the sender.
        QVERIFY(QObject::connect(plain, SIGNAL(clicked()), &window, SLOT(on_m_PiiScanFiletypeConfigButton_clicked())));
        QVERIFY(showAt(window, QPoint(100, 100)));
        mvk::BubbleWidget *bubble = bubbleOf(window);
        const QPoint before = bubble->pos();
        plain->click();
        QVERIFY(!bubble->isVisible());
        QCOMPARE(bubble->pos(), before);
        // No sender at all.
        QVERIFY(QMetaObject::invokeMethod(&window, "on_m_KeywordScanFiletypeConfigButton_clicked"));
        QVERIFY(!bubble->isVisible());
    }
};

QTEST_MAIN(TestFileTypeScope)
#include "tst_filetypescope.moc"
