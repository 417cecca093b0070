#include "underlinetabbar.h"
#include "underlinetabwidget.h"

#include <QTest>

class TestUnderlineTabWidget : public QObject
{
    Q_OBJECT

private:
    // Columns of the tab bar that carry the underline colour.
    static QList<int> underlinedColumns(QTabBar *bar, int *row)
    {
        const QImage image = bar->grab().toImage();
        const QRgb blue = UnderlineTabBar::underlineColor().rgb();
        QList<int> columns;
        *row = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == blue) {
                    columns.append(x);
                    *row = y;
                }
            }
        }
        return columns;
    }

private Q_SLOTS:
    void underlinesTheCurrentTab_data()
    {
        QTest::addColumn<int>("current");
        QTest::newRow("first") << 0;
        QTest::newRow("second") << 1;
    }

    void underlinesTheCurrentTab()
    {
        QFETCH(int, current);
        UnderlineTabWidget tabs;
        QVERIFY(dynamic_cast<UnderlineTabBar *>(tabs.tabBar()));
        tabs.addTab(new QWidget, QStringLiteral("敏感词配置"));
        tabs.addTab(new QWidget, QStringLiteral("敏感词自查清单配置"));
        tabs.setCurrentIndex(current);
        tabs.resize(500, 300);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));

        QTabBar *bar = tabs.tabBar();
        int row = -1;
        const QList<int> columns = underlinedColumns(bar, &row);
        QVERIFY(!columns.isEmpty());
        const QRect tab = bar->tabRect(current);
        const int textWidth = bar->fontMetrics().horizontalAdvance(bar->tabText(current));
        // One line of the text's width (plus its end pixel), inside the current tab.
        QCOMPARE(columns.size(), textWidth + 1);
        QVERIFY(tab.contains(columns.first(), row));
        QVERIFY(tab.contains(columns.last(), row));
        const int middle = (columns.first() + columns.last()) / 2;
        QVERIFY(qAbs(middle - tab.center().x()) <= 2);
    }
};

QTEST_MAIN(TestUnderlineTabWidget)
#include "tst_underlinetabwidget.moc"
