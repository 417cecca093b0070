#include "flowlayout.h"

#include <QStyle>
#include <QTest>
#include <QWidget>

Q_DECLARE_METATYPE(QList<QPoint>)

class TestFlowLayout : public QObject
{
    Q_OBJECT

private:
    // Widgets of fixed sizes in a FlowLayout laid out over the given width.
    static QList<QWidget *> addFixed(QWidget *parent, FlowLayout *layout, const QList<QSize> &sizes)
    {
        QList<QWidget *> widgets;
        for (const QSize &size : sizes) {
            auto *w = new QWidget(parent);
            w->setFixedSize(size);
            layout->addWidget(w);
            widgets.append(w);
        }
        return widgets;
    }

private Q_SLOTS:
    void placesItems_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<QList<QPoint>>("positions");
        QTest::addColumn<int>("height");

        // Spacing 10 horizontally, 5 vertically, no margins.
        QTest::newRow("one line") << 300 << QList<QSize>{{50, 20}, {60, 20}, {70, 20}}
                                  << QList<QPoint>{{0, 0}, {60, 0}, {130, 0}} << 20;
        QTest::newRow("just fits") << 201 << QList<QSize>{{95, 20}, {95, 20}}
                                           << QList<QPoint>{{0, 0}, {105, 0}} << 20;
        QTest::newRow("wraps") << 150 << QList<QSize>{{60, 20}, {60, 30}, {60, 20}, {60, 20}}
                               << QList<QPoint>{{0, 0}, {70, 0}, {0, 35}, {70, 35}} << 55;
        QTest::newRow("too wide first stays on first line")
            << 100 << QList<QSize>{{300, 20}, {40, 20}} << QList<QPoint>{{0, 0}, {0, 25}} << 45;
        QTest::newRow("too wide later item opens a line of its own")
            << 100 << QList<QSize>{{40, 20}, {300, 20}, {40, 20}}
            << QList<QPoint>{{0, 0}, {0, 25}, {0, 50}} << 70;
    }

    void placesItems()
    {
        QFETCH(int, width);
        QFETCH(QList<QSize>, sizes);
        QFETCH(QList<QPoint>, positions);
        QFETCH(int, height);

        QWidget parent;
        auto *layout = new FlowLayout(&parent, 0, 10, 5);
        const QList<QWidget *> widgets = addFixed(&parent, layout, sizes);
        layout->setGeometry(QRect(0, 0, width, 400));
        for (int i = 0; i < widgets.size(); ++i) {
            QCOMPARE(widgets[i]->pos(), positions[i]);
            QCOMPARE(widgets[i]->size(), sizes[i]);
        }
        QCOMPARE(layout->heightForWidth(width), height);
        QVERIFY(layout->hasHeightForWidth());
    }

    void marginsShiftItemsAndCount()
    {
        QWidget parent;
        auto *layout = new FlowLayout(&parent, 0, 14, 2);
        layout->setContentsMargins(0, 0, 0, 16);
        const QList<QWidget *> w = addFixed(&parent, layout, {{120, 110}, {120, 110}, {120, 110}});
        layout->setGeometry(QRect(0, 0, 260, 400));
        QCOMPARE(w[1]->pos(), QPoint(134, 0));
        QCOMPARE(w[2]->pos(), QPoint(0, 112));
        QCOMPARE(layout->heightForWidth(260), 110 + 2 + 110 + 16);
        // The minimum holds the widest item and the margins on each side.
        QCOMPARE(layout->minimumSize(), QSize(120, 110 + 16));

        auto *uniform = new FlowLayout(nullptr, 7, 3, 3);
        QWidget other;
        other.setLayout(uniform);
        addFixed(&other, uniform, {{30, 40}, {50, 10}});
        QCOMPARE(uniform->minimumSize(), QSize(50 + 14, 40 + 14));
        QCOMPARE(uniform->sizeHint(), uniform->minimumSize());
        uniform->setGeometry(QRect(0, 0, 200, 200));
        QCOMPARE(other.findChildren<QWidget *>().first()->pos(), QPoint(7, 7));
    }

    void negativeSpacingFollowsTheParent()
    {
        QWidget parent;
        auto *layout = new FlowLayout(&parent, 0, -1, -1);
        const QList<QWidget *> w = addFixed(&parent, layout, {{40, 20}, {40, 20}});
        const int h = parent.style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, &parent);
        const int v = parent.style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, &parent);
        QCOMPARE(layout->horizontalSpacing(), h);
        QCOMPARE(layout->verticalSpacing(), v);
        layout->setGeometry(QRect(0, 0, 300, 100));
        const int expected = h >= 0 ? h
                                    : w[0]->style()->layoutSpacing(QSizePolicy::PushButton,
                                                                   QSizePolicy::PushButton, Qt::Horizontal);
        QCOMPARE(w[1]->x(), 40 + expected);

        FlowLayout orphan(0, -1, -1);
        QCOMPARE(orphan.horizontalSpacing(), -1);
    }

    void hiddenItemsLeaveNoGap()
    {
        QWidget parent;
        auto *layout = new FlowLayout(&parent, 0, 6, 6);
        const QList<QWidget *> w = addFixed(&parent, layout, {{40, 20}, {40, 20}, {40, 20}});
        w[1]->hide();
        layout->setGeometry(QRect(0, 0, 300, 100));
        QCOMPARE(w[2]->pos(), QPoint(46, 0));
    }

    void takeAtHandsItemsOver()
    {
        QWidget parent;
        auto *layout = new FlowLayout(&parent, 0, 6, 6);
        const QList<QWidget *> w = addFixed(&parent, layout, {{40, 20}, {50, 20}});
        QCOMPARE(layout->count(), 2);
        QLayoutItem *item = layout->takeAt(0);
        QVERIFY(item);
        QCOMPARE(item->widget(), w[0]);
        delete item;
        QCOMPARE(layout->count(), 1);
        QCOMPARE(layout->itemAt(0)->widget(), w[1]);
        QVERIFY(!layout->itemAt(1));
        QVERIFY(!layout->takeAt(5));
        // A deleted widget leaves the layout.
        delete w[1];
        QCOMPARE(layout->count(), 0);
    }
};

QTEST_MAIN(TestFlowLayout)
#include "tst_flowlayout.moc"
