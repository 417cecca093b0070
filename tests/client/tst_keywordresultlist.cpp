// The keyword result list: every detection kept as a row, only the rows in
// view made into widgets, the widgets following scrolling and resizing, the
// totals, and clearing.

#include "keywordresultlist.h"
#include "keywordsensitiveframe.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <memory>

namespace {

QString pathOf(int row)
{
    return QStringLiteral("/srv/结果/文件%1.txt").arg(row);
}

// The page the main window's form gives the list: a resizable scroll area
// whose content holds the list above a spacer.
struct ListPage
{
    QScrollArea area;
    KeywordResultList *list = nullptr;

    explicit ListPage(const QSize &size = QSize(700, 300))
    {
        auto *content = new QWidget;
        auto *layout = new QVBoxLayout(content);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(4);
        list = new KeywordResultList;
        layout->addWidget(list);
        layout->addStretch();
        area.setWidgetResizable(true);
        area.setWidget(content);
        area.resize(size);
        area.show();
    }

    void fill(int rows, int from = 0)
    {
        for (int row = from; row < from + rows; ++row)
            list->appendRow(QStringLiteral("/srv"), pathOf(row), {{QStringLiteral("机密"), row % 7}});
        settle();
    }

    static void settle()
    {
        // Layout requests, queued row updates and deferred deletions.
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // The rows the viewport shows at least a pixel of.
    QVector<int> rowsInView() const
    {
        const QRect view(list->mapFrom(area.viewport(), QPoint(0, 0)), area.viewport()->size());
        QVector<int> rows;
        for (int row = 0; row < list->count(); ++row)
            if (KeywordResultList::rowRect(row, list->width()).intersects(view))
                rows << row;
        return rows;
    }

    void scrollTo(int value)
    {
        area.verticalScrollBar()->setValue(value);
        settle();
    }
};

QString labelText(QWidget *frame, const char *name)
{
    return frame->findChild<QLabel *>(QLatin1String(name))->text();
}

} // namespace

class TestKeywordResultList : public QObject
{
    Q_OBJECT

private:
    // Every row in view exists as a widget at its place, showing its own
    // file and count; no more widgets exist than a view's worth and the
    // margin on each side.
    void verifyRowsInView(ListPage &page)
    {
        const QVector<int> inView = page.rowsInView();
        QVERIFY(!inView.isEmpty() || page.list->count() == 0);
        for (int row : inView) {
            KeywordSensitiveFrame *frame = page.list->frameAt(row);
            QVERIFY2(frame, qPrintable(QStringLiteral("row %1 in view has no widget").arg(row)));
            QVERIFY(frame->isVisible());
            QCOMPARE(frame->geometry(), KeywordResultList::rowRect(row, page.list->width()));
            QCOMPARE(labelText(frame, "m_SensitiveFilepathLabel"), pathOf(row));
            QCOMPARE(frame->sensitiveCount(), row % 7);
            QCOMPARE(frame->findChild<QPushButton *>(QStringLiteral("m_LookSensitiveDetailButton"))
                         ->property("filepath")
                         .toString(),
                     pathOf(row));
        }
        const int bound = inView.size() + 2 * KeywordResultList::Overscan + 1;
        QVERIFY2(page.list->shownRows().size() <= bound,
                 qPrintable(QStringLiteral("%1 widgets for %2 rows in view").arg(page.list->shownRows().size()).arg(inView.size())));
    }

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
        QTest::newRow("bottom of many rows") << 20000 << 1.0;
    }

    void rowsInViewOnly()
    {
        QFETCH(int, rows);
        QFETCH(double, position);
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(rows);

        QCOMPARE(page.list->count(), rows);
        QCOMPARE(page.list->height(), rows * 52 - 4);
        QScrollBar *bar = page.area.verticalScrollBar();
        page.scrollTo(qRound(bar->maximum() * position));
        verifyRowsInView(page);
        if (position == 1.0)
            QVERIFY(page.list->frameAt(rows - 1));
    }

    // The number of widgets depends on the view, not on the rows behind it.
    void widgetsIndependentOfRowCount()
    {
        ListPage few;
        ListPage many;
        QVERIFY(QTest::qWaitForWindowExposed(&many.area));
        few.fill(100);
        many.fill(10000);
        QCOMPARE(many.list->shownRows(), few.list->shownRows());
        QCOMPARE(many.list->findChildren<KeywordSensitiveFrame *>().size(),
                 few.list->findChildren<KeywordSensitiveFrame *>().size());
    }

    // A wheel turned over the rows scrolls the list: the rows coming into
    // view are made, the ones leaving it dropped.
    void wheelOverRow()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(500);
        for (int turn = 0; turn < 15; ++turn) {
            const QVector<int> inView = page.rowsInView();
            KeywordSensitiveFrame *frame = page.list->frameAt(inView.first());
            QVERIFY(frame);
            QPointer<QLabel> pathLabel = frame->findChild<QLabel *>(QStringLiteral("m_SensitiveFilepathLabel"));
            const QPoint local(5, 5);
            QWheelEvent wheel(local, pathLabel->mapToGlobal(local), QPoint(), QPoint(0, -120 * 3), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            // As if it came from the window system (delivered as QTest delivers
            // keys): only then does it travel up from the label to the scroll area.
            QSpontaneKeyEvent::setSpontaneous(&wheel);
            QVERIFY(qApp->notify(pathLabel, &wheel));
            QVERIFY(wheel.isAccepted());
            page.settle();
            verifyRowsInView(page);
        }
        QVERIFY(page.area.verticalScrollBar()->value() > 15 * 52);
        QVERIFY(!page.list->frameAt(0));
    }

    // The focus sits on a row's button when that row is scrolled away: the
    // focus goes to the scroll area, not to a row that would scroll the
    // view back, and the view stays where the user put it.
    void focusedRowScrolledAway()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.area.activateWindow();
        page.fill(300);
        auto *button = page.list->frameAt(1)->findChild<QPushButton *>(QStringLiteral("m_LookSensitiveDetailButton"));
        button->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(button->hasFocus());
        const int far = page.area.verticalScrollBar()->maximum() / 2;
        page.scrollTo(far);
        QCOMPARE(page.area.verticalScrollBar()->value(), far);
        QVERIFY(!page.list->frameAt(1));
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(!focus || focus->isVisible());
        verifyRowsInView(page);
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
        verifyRowsInView(page);
        QCOMPARE(page.list->width(), page.area.viewport()->width());
    }

    // A hidden list (another page of the stack) makes no widgets; showing it does.
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
        verifyRowsInView(page);
    }

    void clearAndRefill()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(300);
        page.scrollTo(page.area.verticalScrollBar()->maximum());
        QList<QPointer<KeywordSensitiveFrame>> old;
        for (int row : page.list->shownRows())
            old << page.list->frameAt(row);

        page.list->clear();
        page.settle();
        QCOMPARE(page.list->count(), 0);
        QCOMPARE(page.list->hitTotal(), qint64(0));
        QCOMPARE(page.list->height(), 0);
        QVERIFY(page.list->shownRows().isEmpty());
        for (const auto &frame : old)
            QVERIFY(frame.isNull());

        page.list->appendRow(QStringLiteral("/srv"), QStringLiteral("/srv/新.txt"), {{QStringLiteral("a"), 4}});
        page.settle();
        QCOMPARE(page.list->shownRows(), QVector<int>{0});
        QCOMPARE(labelText(page.list->frameAt(0), "m_SensitiveFilepathLabel"), QStringLiteral("/srv/新.txt"));
        QCOMPARE(page.list->hitTotal(), qint64(4));
    }

    // The total is what the rows show, added up: a value that is not a number
    // counts as 0, repeated files count twice, and it does not wrap.
    void hitTotal_data()
    {
        QTest::addColumn<QList<QVariantMap>>("detections");
        QTest::addColumn<qint64>("total");

        QTest::newRow("none") << QList<QVariantMap>{} << qint64(0);
        QTest::newRow("empty map") << QList<QVariantMap>{{}} << qint64(0);
        QTest::newRow("two, five and one")
            << QList<QVariantMap>{{{"机密", 2}}, {{"机密", 1}, {"secret", 4}}, {{"secret", 1}}} << qint64(8);
        QTest::newRow("not a number") << QList<QVariantMap>{{{"a", "many"}, {"b", 3}}} << qint64(3);
        QTest::newRow("numeric string") << QList<QVariantMap>{{{"a", "12"}}} << qint64(12);
        QTest::newRow("same file twice") << QList<QVariantMap>{{{"a", 2}}, {{"a", 2}}} << qint64(4);
        QTest::newRow("rows beyond int") << QList<QVariantMap>{{{"a", 2147483647}}, {{"a", 2147483647}}}
                                         << qint64(2) * 2147483647;
    }

    void hitTotal()
    {
        QFETCH(QList<QVariantMap>, detections);
        QFETCH(qint64, total);
        ListPage page(QSize(700, 600));
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        for (const QVariantMap &hits : detections)
            page.list->appendRow(QStringLiteral("/srv"), QStringLiteral("/srv/x"), hits);
        page.settle();
        QCOMPARE(page.list->hitTotal(), total);
        // The same figures the row widgets show.
        qint64 shown = 0;
        for (int row = 0; row < detections.size(); ++row) {
            QVERIFY(page.list->frameAt(row));
            QCOMPARE(page.list->rowCount(row), page.list->frameAt(row)->sensitiveCount());
            shown += page.list->frameAt(row)->sensitiveCount();
        }
        QCOMPARE(shown, total);
    }

    // A path longer than the view is shown whole: the list grows wider and the
    // scroll area scrolls sideways, so the count and the button stay inside
    // their row.
    void longPathWidensTheList()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        page.fill(5);
        const QString longPath = QStringLiteral("/srv/") + QStringLiteral("很长的目录名/").repeated(40) + QStringLiteral("x.txt");
        page.list->appendRow(QStringLiteral("/srv"), longPath, {{QStringLiteral("a"), 1}});
        page.settle();
        KeywordSensitiveFrame *frame = page.list->frameAt(5);
        QVERIFY(frame);
        QCOMPARE(labelText(frame, "m_SensitiveFilepathLabel"), longPath);
        QVERIFY(page.list->width() > page.area.viewport()->width());
        QVERIFY(page.list->width() >= frame->minimumSizeHint().width());
        QVERIFY(page.area.horizontalScrollBar()->maximum() > 0);
        auto *button = frame->findChild<QPushButton *>(QStringLiteral("m_LookSensitiveDetailButton"));
        QVERIFY(button->geometry().right() < frame->width());
        QVERIFY(button->geometry().left()
                > frame->findChild<QLabel *>(QStringLiteral("m_SensitiveFilepathLabel"))->geometry().right());
    }
};

QTEST_MAIN(TestKeywordResultList)
#include "tst_keywordresultlist.moc"
