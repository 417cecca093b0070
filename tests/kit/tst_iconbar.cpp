#include "iconbar.h"

#include <QLabel>
#include <QTest>

using mvk::IconBar;

class TestIconBar : public QObject
{
    Q_OBJECT

private slots:
    void iconAndName();
    void iconAtLeftOfName();
};

void TestIconBar::iconAndName()
{
    IconBar bar;
    QVERIFY(bar.iconLabel()->pixmap(Qt::ReturnByValue).isNull());

    QPixmap source(64, 64);
    source.fill(Qt::darkRed);
    bar.setIcon(QIcon(source));
    bar.setWidgetName(QStringLiteral("扫描设置"));

    QCOMPARE(bar.widgetName(), QStringLiteral("扫描设置"));
    QCOMPARE(bar.nameLabel()->text(), QStringLiteral("扫描设置"));
    const QPixmap shown = bar.iconLabel()->pixmap(Qt::ReturnByValue);
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.size() / shown.devicePixelRatio(), QSize(24, 24));
    QCOMPARE(shown.toImage().pixelColor(12, 12), QColor(Qt::darkRed));
    QCOMPARE(bar.iconLabel()->size(), QSize(24, 24));
}

void TestIconBar::iconAtLeftOfName()
{
    IconBar bar;
    QPixmap source(24, 24);
    source.fill(Qt::darkBlue);
    bar.setIcon(QIcon(source));
    bar.setWidgetName(QStringLiteral("敏感数据发现"));
    bar.resize(240, 40);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    const QRect icon = bar.iconLabel()->geometry();
    const QRect name = bar.nameLabel()->geometry();
    QVERIFY(icon.right() < name.left());
    QVERIFY(icon.left() < 24);
    QVERIFY(qAbs(icon.center().y() - name.center().y()) <= 1);
}

QTEST_MAIN(TestIconBar)
#include "tst_iconbar.moc"
