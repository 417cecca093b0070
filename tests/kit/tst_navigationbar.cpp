#include "navigationbar.h"

#include <QListView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

using mvk::NavigationBar;

class TestNavigationBar : public QObject
{
    Q_OBJECT

private slots:
    void addItemAppearsInModel();
    void clickEmitsIndex_data();
    void clickEmitsIndex();
    void rowsAreRoundedHighlights();
};

static QStringList modules()
{
    return {QStringLiteral("敏感扫描"), QStringLiteral("扫描结果"), QStringLiteral("设置")};
}

static void fill(NavigationBar &bar)
{
    for (const QString &name : modules()) {
        QPixmap pm(16, 16);
        pm.fill(Qt::darkGreen);
        bar.addItem(new QStandardItem(QIcon(pm), name));
    }
}

void TestNavigationBar::addItemAppearsInModel()
{
    NavigationBar bar;
    QVERIFY(bar.model());
    QVERIFY(bar.listview());
    QCOMPARE(bar.listview()->model(), static_cast<QAbstractItemModel *>(bar.model()));
    QCOMPARE(bar.model()->rowCount(), 0);
    QCOMPARE(bar.currentRow(), -1);

    fill(bar);
    QCOMPARE(bar.model()->rowCount(), modules().size());
    for (int row = 0; row < modules().size(); ++row) {
        QCOMPARE(bar.model()->item(row)->text(), modules().at(row));
        QVERIFY(!bar.model()->item(row)->isEditable());
        QVERIFY(!bar.model()->item(row)->icon().isNull());
    }
    QCOMPARE(bar.currentRow(), 0); // the first module is current

    QStandardItem *extra = bar.addItem(QIcon(), QStringLiteral("关于"));
    QCOMPARE(extra->row(), modules().size());
    QCOMPARE(bar.currentRow(), 0);
}

void TestNavigationBar::clickEmitsIndex_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < modules().size(); ++row)
        QTest::addRow("%d", row) << row;
}

void TestNavigationBar::clickEmitsIndex()
{
    QFETCH(int, row);

    NavigationBar bar;
    fill(bar);
    bar.resize(200, 300);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy clicked(bar.listview(), &QListView::clicked);
    QSignalSpy currentChanged(&bar, &NavigationBar::currentRowChanged);

    const QModelIndex index = bar.model()->index(row, 0);
    const QRect rect = bar.listview()->visualRect(index);
    QVERIFY(rect.height() >= 32);
    QTest::mouseClick(bar.listview()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());

    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toModelIndex(), index);
    QCOMPARE(bar.currentRow(), row);
    QCOMPARE(currentChanged.count(), row == 0 ? 0 : 1);
}

void TestNavigationBar::rowsAreRoundedHighlights()
{
    NavigationBar bar;
    fill(bar);
    bar.resize(200, 300);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    const QImage image = bar.listview()->viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal dpr = image.devicePixelRatio();
    const QRect current = bar.listview()->visualRect(bar.model()->index(0, 0));
    const QColor blue(0x36, 0x76, 0xf5);
    // The current row is highlighted in blue, with rounded (unpainted) corners.
    const QColor inside = image.pixelColor(QPoint(current.right() - 20, current.center().y()) * dpr);
    QCOMPARE(inside.rgb(), blue.rgb());
    const QColor corner = image.pixelColor(QPoint(current.left() + 8, current.top() + 2) * dpr);
    QVERIFY(corner.rgb() != blue.rgb());
    // Another row is not.
    const QRect other = bar.listview()->visualRect(bar.model()->index(1, 0));
    QVERIFY(image.pixelColor(QPoint(other.right() - 20, other.center().y()) * dpr).rgb() != blue.rgb());
}

QTEST_MAIN(TestNavigationBar)
#include "tst_navigationbar.moc"
