#include "hiddencombobox.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QTest>

class TestHiddenComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void popupUnderTheAnchor()
    {
        QWidget window;
        window.setGeometry(100, 80, 500, 300);
        auto *anchor = new QPushButton(QStringLiteral("用户家目录扫描"), &window);
        anchor->setGeometry(40, 120, 179, 52);
        auto *combo = new HiddenComboBox(&window);
        combo->addItems({QStringLiteral("用户家目录扫描"), QStringLiteral("自定义扫描")});
        combo->setAnchorWidget(anchor);
        combo->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        combo->showPopup();
        QWidget *popup = combo->view()->window();
        QVERIFY(popup->isVisible());
        const QPoint corner = anchor->mapToGlobal(QPoint(0, anchor->height()));
        QCOMPARE(popup->pos(), corner + QPoint(0, 10));
        QCOMPARE(popup->width(), 179 + 37);
        combo->hidePopup();
    }

    void popupUnderTheParentWithoutAnchor()
    {
        QWidget window;
        window.setGeometry(100, 80, 500, 300);
        auto *split = new QWidget(&window);
        split->setGeometry(60, 100, 216, 52);
        auto *combo = new HiddenComboBox(split);
        combo->addItems({QStringLiteral("用户家目录扫描"), QStringLiteral("自定义扫描")});
        combo->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        combo->showPopup();
        QWidget *container = combo->view()->parentWidget();
        QVERIFY(container->isVisible());
        QCOMPARE(container->pos(), combo->mapToGlobal(QPoint(0, split->height() + 10)));
        QCOMPARE(container->width(), 216);
        combo->hidePopup();
    }
};

QTEST_MAIN(TestHiddenComboBox)
#include "tst_hiddencombobox.moc"
