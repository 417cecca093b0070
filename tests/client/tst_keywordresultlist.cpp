// The keyword result list: every detection kept as a row whose frame, when
// in view, shows its own file and count; the hit total; long paths.

#include "keywordresultlist.h"
#include "keywordsensitiveframe.h"
#include "elidedpathlabel.h"
#include "scrollpage.h"

#include <QLocale>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

QString pathOf(int row)
{
    return QStringLiteral("/srv/结果/文件%1.txt").arg(row);
}

struct ListPage : ScrollPage<KeywordResultList>
{
    explicit ListPage(const QSize &size = QSize(700, 300))
        : ScrollPage(new KeywordResultList, size)
    {
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

private Q_SLOTS:
    // Wherever the view is, the frames made show their own row: path, count
    // and the path the detail button asks for.
    void framesShowTheirRows_data()
    {
        QTest::addColumn<double>("position");
        QTest::newRow("top") << 0.0;
        QTest::newRow("middle") << 0.5;
        QTest::newRow("bottom") << 1.0;
    }

    void framesShowTheirRows()
    {
        QFETCH(double, position);
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        for (int row = 0; row < 2000; ++row)
            page.list->appendRow(QStringLiteral("/srv"), pathOf(row), {{QStringLiteral("机密"), row % 7}});
        page.settle();
        page.scrollTo(qRound(page.area.verticalScrollBar()->maximum() * position));

        const QVector<int> shown = page.list->shownRows();
        QVERIFY(!shown.isEmpty());
        QVERIFY(shown.size() < 20);
        for (int row : shown) {
            KeywordSensitiveFrame *frame = page.list->frameAt(row);
            QVERIFY(frame);
            QCOMPARE(frame->height(), KeywordResultList::RowHeight);
            QCOMPARE(frame->y(), row * (KeywordResultList::RowHeight + KeywordResultList::RowSpacing));
            QCOMPARE(labelText(frame, "m_SensitiveFilepathLabel"), pathOf(row));
            QCOMPARE(frame->sensitiveCount(), row % 7);
            QCOMPARE(page.list->hitCount(row), row % 7);
            QCOMPARE(frame->pathList(), QStringLiteral("/srv"));
            QCOMPARE(frame->findChild<QPushButton *>(QStringLiteral("m_LookSensitiveDetailButton"))
                         ->property("filepath")
                         .toString(),
                     pathOf(row));
        }
        if (position == 1.0)
            QVERIFY(page.list->frameAt(1999));
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
        QCOMPARE(page.list->count(), detections.size());
        QCOMPARE(page.list->hitTotal(), total);
        // The same figures the frames show.
        qint64 shown = 0;
        for (int row = 0; row < detections.size(); ++row) {
            QVERIFY(page.list->frameAt(row));
            QCOMPARE(page.list->hitCount(row), page.list->frameAt(row)->sensitiveCount());
            shown += page.list->frameAt(row)->sensitiveCount();
        }
        QCOMPARE(shown, total);
    }

    void clearForgetsRowsAndTotal()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        for (int row = 0; row < 50; ++row)
            page.list->appendRow(QStringLiteral("/srv"), pathOf(row), {{QStringLiteral("a"), 2}});
        page.settle();
        page.list->clear();
        page.settle();
        QCOMPARE(page.list->count(), 0);
        QCOMPARE(page.list->hitTotal(), qint64(0));
        QVERIFY(page.list->findChildren<KeywordSensitiveFrame *>().isEmpty());
        page.list->appendRow(QStringLiteral("/srv"), QStringLiteral("/srv/新.txt"), {{QStringLiteral("a"), 4}});
        page.settle();
        QCOMPARE(labelText(page.list->frameAt(0), "m_SensitiveFilepathLabel"), QStringLiteral("/srv/新.txt"));
        QCOMPARE(page.list->hitTotal(), qint64(4));
    }

    // A path longer than the view is elided in the middle of its row, whole
    // in the tooltip: the list never grows wider than the view, and the
    // count and the button keep their places at the right of every row.
    void longPathIsElidedInItsRow()
    {
        ListPage page;
        QVERIFY(QTest::qWaitForWindowExposed(&page.area));
        for (int row = 0; row < 5; ++row)
            page.list->appendRow(QStringLiteral("/srv"), pathOf(row), {{QStringLiteral("a"), 1}});
        page.settle();
        const QString longPath = QStringLiteral("/srv/") + QStringLiteral("很长的目录名/").repeated(40) + QStringLiteral("x.txt");
        page.list->appendRow(QStringLiteral("/srv"), longPath, {{QStringLiteral("a"), 1234567}});
        page.settle();
        KeywordSensitiveFrame *frame = page.list->frameAt(5);
        QVERIFY(frame);
        auto *path = frame->findChild<ElidedPathLabel *>(QStringLiteral("m_SensitiveFilepathLabel"));
        QVERIFY(path);
        QCOMPARE(path->text(), longPath);
        QVERIFY(path->toolTip().contains(QStringLiteral("很长的目录名/很长的目录名/")));
        const QString shown = path->elidedText();
        QVERIFY2(shown.startsWith(QStringLiteral("/srv/")) && shown.endsWith(QStringLiteral("x.txt"))
                     && shown.contains(QChar(0x2026)),
                 qPrintable(shown));
        QCOMPARE(page.list->width(), page.area.viewport()->width());
        QCOMPARE(page.area.horizontalScrollBar()->maximum(), 0);
        auto *button = frame->findChild<QPushButton *>(QStringLiteral("m_LookSensitiveDetailButton"));
        QVERIFY(button->geometry().right() < frame->width());
        QVERIFY(button->geometry().left() > path->geometry().right());
        // The large count shows whole.
        QLabel *count = frame->findChild<QLabel *>(QStringLiteral("m_SensitiveCountLabel"));
        QCOMPARE(count->text(), QLocale().toString(1234567));
        QVERIFY(count->width() >= count->sizeHint().width());
        QVERIFY(count->geometry().right() < button->geometry().left());
        // Its button is where a short path's row has it.
        QCOMPARE(button->geometry(),
                 page.list->frameAt(0)->findChild<QPushButton *>(QStringLiteral("m_LookSensitiveDetailButton"))->geometry());
    }
};

QTEST_MAIN(TestKeywordResultList)
#include "tst_keywordresultlist.moc"
