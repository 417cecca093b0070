#include "centercheckboxdelegate.h"
#include "nohoverdelegate.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

class TestCenterCheckBoxDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void togglesOnRelease_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("after");

        QTest::newRow("ticked, left") << 2 << int(Qt::LeftButton) << 0;
        QTest::newRow("unticked, left") << 0 << int(Qt::LeftButton) << 2;
        QTest::newRow("partial, left") << 1 << int(Qt::LeftButton) << 2;
        QTest::newRow("unticked, right") << 0 << int(Qt::RightButton) << 2;
    }

    void togglesOnRelease()
    {
        QFETCH(int, before);
        QFETCH(int, button);
        QFETCH(int, after);

        QStandardItemModel model(2, 2);
        for (int row = 0; row < 2; ++row) {
            auto *item = new QStandardItem;
            item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
            item->setData(before, Qt::CheckStateRole);
            model.setItem(row, 0, item);
        }
        QTableView view;
        view.setModel(&model);
        view.setItemDelegateForColumn(0, new CenterCheckBoxDelegate(&view));
        view.setItemDelegate(new NoHoverDelegate(&view));
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        const QRect cell = view.visualRect(model.index(1, 0));
        // A press alone changes nothing.
        QTest::mousePress(view.viewport(), Qt::MouseButton(button), Qt::NoModifier, cell.center());
        QCOMPARE(model.index(1, 0).data(Qt::CheckStateRole).toInt(), before);
        QTest::mouseRelease(view.viewport(), Qt::MouseButton(button), Qt::NoModifier, cell.center());
        QCOMPARE(model.index(1, 0).data(Qt::CheckStateRole).toInt(), after);
        // Anywhere in the cell, not only on the box.
        QTest::mouseClick(view.viewport(), Qt::MouseButton(button), Qt::NoModifier,
                          cell.topLeft() + QPoint(1, 1));
        QCOMPARE(model.index(1, 0).data(Qt::CheckStateRole).toInt(), after == 2 ? 0 : 2);
        QCOMPARE(model.index(0, 0).data(Qt::CheckStateRole).toInt(), before);
    }

    void paintsTheStateCentred()
    {
        QStandardItemModel model(2, 1);
        model.setData(model.index(0, 0), 2, Qt::CheckStateRole);
        model.setData(model.index(1, 0), 0, Qt::CheckStateRole);
        QTableView view;
        view.setModel(&model);
        view.setItemDelegateForColumn(0, new CenterCheckBoxDelegate(&view));
        view.horizontalHeader()->resizeSection(0, 80);
        view.resize(200, 150);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        const QImage image = view.viewport()->grab().toImage();
        const QRect ticked = view.visualRect(model.index(0, 0));
        const QRect unticked = view.visualRect(model.index(1, 0));
        // The two cells differ only by the box's state, and only near the
        // middle: the outer quarters of a cell are left untouched.
        int differing = 0;
        int outside = 0;
        for (int y = 0; y < ticked.height(); ++y) {
            for (int x = 0; x < ticked.width(); ++x) {
                if (image.pixel(ticked.topLeft() + QPoint(x, y))
                    != image.pixel(unticked.topLeft() + QPoint(x, y))) {
                    ++differing;
                    if (x < ticked.width() / 4 || x >= ticked.width() * 3 / 4)
                        ++outside;
                }
            }
        }
        QVERIFY(differing > 0);
        QCOMPARE(outside, 0);
    }
};

QTEST_MAIN(TestCenterCheckBoxDelegate)
#include "tst_centercheckboxdelegate.moc"
