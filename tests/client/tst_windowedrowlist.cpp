// The windowed row list: all rows counted in its height, widgets only for the
// rows in view of the scroll area around it, following scrolling, resizing,
// focus, growing and shrinking.

#include "scrollpage.h"
#include "windowedrowlist.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int Height = 48;
constexpr int Spacing = 4;

QString textOf(int row)
{
    return QStringLiteral("第 %1 行").arg(row);
}

WindowedRowList *buttonRows(int *made)
{
    auto *list = new WindowedRowList;
    list->setRowHeight(Height);
    list->setRowSpacing(Spacing);
    list->setRowFactory([made](int row, QWidget *parent) {
        ++*made;
        return new QPushButton(textOf(row), parent);
    });
    return list;
}

// Rows are buttons showing their number.
struct ListPage : ScrollPage<WindowedRowList>
{
    int made = 0;

    explicit ListPage(const QSize &size = QSize(700, 300))
        : ScrollPage(buttonRows(&made), size)
    {
    }

    void fill(int rows)
    {
        list->setRowCount(list->rowCount() + rows);
        settle();
    }

    // The rows the viewport shows at least a pixel of.
    QVector<int> rowsInView() const
    {
        const QRect view(list->mapFrom(area.viewport(), QPoint(0, 0)), area.viewport()->size());
        QVector<int> rows;
        for (int row = 0; row < list->rowCount(); ++row)
            if (QRect(0, row * (Height + Spacing), list->width(), Height).intersects(view))
                rows << row;
        return rows;
    }

    // Every row in view exists as a widget at its place, showing its own
    // row; no more widgets exist than a view's worth and the margin on
    // each side.
    void verify()
    {
        const QVector<int> inView = rowsInView();
        QVERIFY(!inView.isEmpty() || list->rowCount() == 0);
        for (int row : inView) {
            auto *button = qobject_cast<QPushButton *>(list->widgetAt(row));
            QVERIFY2(button, qPrintable(QStringLiteral("row %1 in view has no widget").arg(row)));
            QVERIFY(button->isVisible());
            QCOMPARE(button->geometry(), QRect(0, row * (Height + Spacing), list->width(), Height));
            QCOMPARE(button->text(), textOf(row));
        }
        const int bound = inView.size() + 2 * WindowedRowList::Overscan + 1;
        QVERIFY2(list->shownRows().size() <= bound,
                 qPrintable(QStringLiteral("%1 widgets for %2 rows in view").arg(list->shownRows().size()).arg(inView.size())));
        QCOMPARE(list->findChildren<QPushButton *>().size(), list->shownRows().size());
    }
};

} // namespace

class TestWindowedRowList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsInViewOnly_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("position"); // of the scroll bar's range

        QTest::newRow("fewer rows than the view holds") << 3 << 0.0;
        QTest::newRow("top") << 1000 << 0.0;
        QTest::newRow("a row's height down") << 1000 << 52.0 / (1000 * 52 - 4 - 300);
        QTest::newRow("middle") << 1000 << 0.5;
        QTest::newRow("bottom") << 1000 << 1.0;
        QTest::newRow("bottom of many rows") << 100000 << 1.0;
    }

    void rowsInViewOnly()
    {
        QFETCH(int, rows);
        QFETCH(double, position);
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(rows);

        QCOMPARE(page.list->height(), rows * (Height + Spacing) - Spacing);
        QScrollBar *bar = page.area.verticalScrollBar();
        page.scrollTo(qRound(bar->maximum() * position));
        page.verify();
        if (position == 1.0)
            QVERIFY(page.list->widgetAt(rows - 1));
    }

    // The widgets made depend on the view, not on the rows behind it.
    void widgetsIndependentOfRowCount()
    {
        ListPage few;
        ListPage many;
        QVERIFY(QTest::qWaitForWindowExposed(&many.area));
        few.fill(100);
        many.fill(10000);
        QCOMPARE(many.list->shownRows(), few.list->shownRows());
        QCOMPARE(many.made, few.made);
    }

    // Rows added in many small steps, as detections arrive, end as one list.
    void rowsAddedOneByOne()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        for (int i = 0; i < 500; ++i) {
            page.list->setRowCount(page.list->rowCount() + 1);
            if (i % 37 == 0)
                page.settle();
        }
        page.settle();
        QCOMPARE(page.list->rowCount(), 500);
        page.verify();
        page.scrollTo(page.area.verticalScrollBar()->maximum());
        page.verify();
        QVERIFY(page.list->widgetAt(499));
    }

    // A wheel turned over the rows scrolls the list: the rows coming into
    // view are made, the ones leaving it dropped.
    void wheelOverRow()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(500);
        for (int turn = 0; turn < 15; ++turn) {
            QWidget *row = page.list->widgetAt(page.rowsInView().first());
            QVERIFY(row);
            const QPoint local(5, 5);
            QWheelEvent wheel(local, row->mapToGlobal(local), QPoint(), QPoint(0, -120 * 3), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            // As if it came from the window system (delivered as QTest delivers
            // keys): only then does it travel up from the row to the scroll area.
            QSpontaneKeyEvent::setSpontaneous(&wheel);
            QVERIFY(qApp->notify(row, &wheel));
            QVERIFY(wheel.isAccepted());
            page.settle();
            page.verify();
        }
        QVERIFY(page.area.verticalScrollBar()->value() > 15 * 52);
        QVERIFY(!page.list->widgetAt(0));
    }

    // The focus sits on a row when that row is scrolled away: the focus goes
    // to the scroll area, not to a row that would scroll the view back, and
    // the view stays where the user put it.
    void focusedRowScrolledAway()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.area.activateWindow();
        page.fill(300);
        QWidget *row = page.list->widgetAt(1);
        row->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(row->hasFocus());
        const int far = page.area.verticalScrollBar()->maximum() / 2;
        page.scrollTo(far);
        QCOMPARE(page.area.verticalScrollBar()->value(), far);
        QVERIFY(!page.list->widgetAt(1));
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(!focus || focus->isVisible());
        page.verify();
    }

    void followsResizing_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("taller") << QSize(700, 900);
        QTest::newRow("shorter") << QSize(700, 120);
        QTest::newRow("wider") << QSize(1200, 300);
        QTest::newRow("narrower") << QSize(520, 300);
    }

    void followsResizing()
    {
        QFETCH(QSize, size);
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(400);
        page.scrollTo(page.area.verticalScrollBar()->maximum() / 3);
        page.area.resize(size);
        page.settle();
        page.verify();
        QCOMPARE(page.list->width(), page.area.viewport()->width());
    }

    // A hidden list (another page of a stack) makes no widgets; showing it does.
    void hiddenListMakesNoWidgets()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.area.widget()->hide();
        page.fill(50);
        QVERIFY(page.list->shownRows().isEmpty());
        page.area.widget()->show();
        page.settle();
        QVERIFY(!page.list->shownRows().isEmpty());
        page.verify();
    }

    void clearAndShrink_data()
    {
        QTest::addColumn<int>("keep");
        QTest::newRow("clear") << -1;
        QTest::newRow("shrink to none") << 0;
        QTest::newRow("shrink below the view") << 2;
        QTest::newRow("shrink above the view") << 250;
    }

    // The bottom of a long list is in view when rows are removed: the widgets
    // of removed rows go, and rows appended afterwards are asked for anew.
    void clearAndShrink()
    {
        QFETCH(int, keep);
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(300);
        page.scrollTo(page.area.verticalScrollBar()->maximum());
        QList<QPointer<QWidget>> old;
        for (int row : page.list->shownRows())
            old << page.list->widgetAt(row);

        if (keep < 0)
            page.list->clear();
        else
            page.list->setRowCount(keep);
        page.settle();
        const int left = qMax(0, keep);
        QCOMPARE(page.list->rowCount(), left);
        QCOMPARE(page.list->height(), left ? left * (Height + Spacing) - Spacing : 0);
        for (const auto &widget : old)
            QVERIFY(widget.isNull());
        page.verify();

        const int madeBefore = page.made;
        page.fill(3);
        page.scrollTo(page.area.verticalScrollBar()->maximum());
        page.verify();
        QVERIFY(page.made > madeBefore);
    }

    // The content width keeps the list at least that wide, so the scroll
    // area scrolls sideways; the rows are as wide as the list.
    void contentWidth()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(5);
        page.list->setContentWidth(1500);
        page.settle();
        QCOMPARE(page.list->width(), 1500);
        QVERIFY(page.area.horizontalScrollBar()->maximum() > 0);
        QCOMPARE(page.list->widgetAt(0)->width(), 1500);
        page.list->setContentWidth(0);
        page.settle();
        QCOMPARE(page.list->width(), page.area.viewport()->width());
    }

    // The scroll area's view reports its children's removal to the list's
    // filter while the area is being destroyed, when only its QWidget part is
    // left: the filter must not treat it as a scroll area then (the sanitizer
    // build reports that as undefined behaviour).
    void destroyedWithItsScrollArea()
    {
        auto *page = new ListPage;
        page->list->setRowCount(500);
        ListPage::settle();
        page->scrollTo(page->area.verticalScrollBar()->maximum() / 2);
        QPointer<WindowedRowList> list = page->list;
        QVERIFY(!list->shownRows().isEmpty());
        delete page;
        QVERIFY(list.isNull());
    }

    // Outside a scroll area every row is in view.
    void withoutScrollArea()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *list = new WindowedRowList;
        list->setRowHeight(20);
        list->setRowFactory([](int row, QWidget *parent) { return new QPushButton(textOf(row), parent); });
        layout->addWidget(list);
        window.resize(400, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        list->setRowCount(30);
        ListPage::settle();
        QCOMPARE(list->shownRows().size(), 30);
        QCOMPARE(qobject_cast<QPushButton *>(list->widgetAt(29))->text(), textOf(29));
    }
};

QTEST_MAIN(TestWindowedRowList)
#include "tst_windowedrowlist.moc"
