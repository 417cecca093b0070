#include "piicategories.h"
#include "piiscangroupframe.h"
#include "piiscangroupwidget.h"

#include <QIcon>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

// A group frame filled as the main window fills it, with the given counts.
PiiScanGroupFrame *buildGroup(QWidget *parent, const PiiCategories::Group &group, int firstCount)
{
    auto *frame = new PiiScanGroupFrame(parent);
    frame->setTitle(group.iconPath, PiiCategories::translatedTitle(group));
    int count = firstCount;
    for (const PiiCategories::Category &c : group.categories) {
        auto *tile = new PiiScanGroupWidget;
        frame->addGroupWidget(tile);
        tile->setIcon(c.iconPath);
        tile->setName(c.name);
        tile->setDescribe(QString::number(count++));
    }
    return frame;
}

QImage labelImage(QLabel *label)
{
    return label->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage iconImage(const char *path, QSize size)
{
    return QIcon(QString::fromUtf8(path)).pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestPiiScanGroup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void categoriesTable()
    {
        const QList<PiiCategories::Group> &groups = PiiCategories::groups();
        QCOMPARE(groups.size(), 2);
        QCOMPARE(QString::fromUtf8(groups[0].title), QStringLiteral("隐私信息"));
        QCOMPARE(QString::fromUtf8(groups[1].title), QStringLiteral("疑似隐私信息"));
        const QStringList names = PiiCategories::names();
        QCOMPARE(names.size(), 14);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 14);
        for (const PiiCategories::Group &group : groups) {
            QCOMPARE(group.categories.size(), 7);
            QCOMPARE(QImage(group.iconPath).size(), QSize(24, 24));
            for (const PiiCategories::Category &c : group.categories) {
                QVERIFY2(QImage(c.iconPath).size() == QSize(40, 40), qPrintable(c.iconPath));
                QVERIFY(c.iconPath.contains(c.name));
            }
        }
    }

    void tilesFlowAndFit()
    {
        QWidget window;
        auto *frame = buildGroup(&window, PiiCategories::groups()[0], 0);
        frame->setGeometry(0, 0, 681, 400);
        window.resize(681, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QList<PiiScanGroupWidget *> tiles = frame->groupWidgets();
        QCOMPARE(tiles.size(), 7);
        // 120-pixel tiles, 14 apart: five to a line of 681 pixels, then two.
        for (int i = 0; i < tiles.size(); ++i) {
            QCOMPARE(tiles[i]->size(), QSize(120, 110));
            QCOMPARE(tiles[i]->x(), (i % 5) * 134);
            QCOMPARE(tiles[i]->y(), i < 5 ? tiles[0]->y() : tiles[0]->y() + 112);
        }
        // The icon, name and count all lie inside the tile.
        for (PiiScanGroupWidget *tile : tiles) {
            for (QLabel *label : tile->findChildren<QLabel *>()) {
                QVERIFY2(QRect(QPoint(0, 0), tile->size()).contains(label->geometry()),
                         qPrintable(tile->name()));
                QVERIFY(label->height() >= label->sizeHint().height()
                        || label->objectName() == QLatin1String("m_GroupIconLabel"));
            }
        }
        QCOMPARE(tiles[0]->findChild<QLabel *>(QStringLiteral("m_GroupIconLabel"))->size(), QSize(40, 40));
    }

    void collapsing_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
    }

    void collapsing()
    {
        QFETCH(int, button);
        QWidget window;
        auto *frame = buildGroup(&window, PiiCategories::groups()[1], 3);
        window.resize(681, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        auto *arrow = frame->findChild<QLabel *>(QStringLiteral("m_ScanGroupShrinkLabel"));
        QVERIFY(arrow);
        const QList<PiiScanGroupWidget *> tiles = frame->groupWidgets();
        QStringList counts;
        for (PiiScanGroupWidget *t : tiles)
            counts.append(t->describe());
        QVERIFY(frame->isExpanded());
        QVERIFY(tiles.first()->isVisible());
        QCOMPARE(labelImage(arrow), iconImage(PiiScanGroupFrame::UpArrow, QSize(24, 24)));

        QTest::mousePress(arrow, Qt::MouseButton(button));
        QVERIFY(!frame->isExpanded());
        for (PiiScanGroupWidget *t : tiles)
            QVERIFY(!t->isVisible());
        QCOMPARE(labelImage(arrow), iconImage(PiiScanGroupFrame::DownArrow, QSize(24, 24)));
        QStringList after;
        for (PiiScanGroupWidget *t : tiles)
            after.append(t->describe());
        QCOMPARE(after, counts);

        // Counts that change while collapsed show once expanded again.
        tiles.first()->setDescribe(QStringLiteral("42"));
        QTest::mousePress(arrow, Qt::MouseButton(button));
        QVERIFY(frame->isExpanded());
        for (PiiScanGroupWidget *t : tiles)
            QVERIFY(t->isVisible());
        QCOMPARE(tiles.first()->describe(), QStringLiteral("42"));
        QCOMPARE(labelImage(arrow), iconImage(PiiScanGroupFrame::UpArrow, QSize(24, 24)));
    }

    void titleShowsIconAndText()
    {
        PiiScanGroupFrame frame;
        const PiiCategories::Group &group = PiiCategories::groups()[0];
        frame.setTitle(group.iconPath, QStringLiteral("隐私信息"));
        auto *logo = frame.findChild<QLabel *>(QStringLiteral("m_ScanGroupLogoLabel"));
        QCOMPARE(logo->size(), QSize(24, 24));
        QCOMPARE(labelImage(logo), iconImage(group.iconPath.toUtf8().constData(), QSize(24, 24)));
        QCOMPARE(logo->property("useIconHighlightEffect").toInt(), 2);
        QCOMPARE(frame.title(), QStringLiteral("隐私信息"));
    }

    void pressEmitsNameAndCount_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }

    void pressEmitsNameAndCount()
    {
        QFETCH(int, button);
        QWidget window;
        auto *frame = buildGroup(&window, PiiCategories::groups()[0], 0);
        window.resize(681, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        PiiScanGroupWidget *tile = frame->groupWidgets().at(2);
        tile->setDescribe(QStringLiteral("3"));
        QSignalSpy clicked(tile, &PiiScanGroupWidget::PiiScanGroupWidgetClicked);
        QTest::mousePress(tile, Qt::MouseButton(button), Qt::NoModifier, QPoint(60, 20));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().at(0).toString(), QStringLiteral("医疗健康"));
        QCOMPARE(clicked.first().at(1).toString(), QStringLiteral("3"));
    }

    void outlineOnlyWhileHovered()
    {
        PiiScanGroupWidget tile;
        tile.setName(QStringLiteral("金融消费"));
        tile.setDescribe(QStringLiteral("0"));
        const QColor highlight = QPalette().color(QPalette::Highlight);
        const QColor grey(246, 246, 246);
        // A point on the left edge, halfway down: outline when hovered,
        // the tile's grey otherwise.
        auto edge = [&tile]() { return QColor(tile.grab().toImage().pixel(0, 55)); };
        auto inside = [&tile]() { return QColor(tile.grab().toImage().pixel(10, 55)); };
        QCOMPARE(edge(), grey);

        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(&tile, &enter);
        QVERIFY(tile.isHovered());
        const QColor outline = edge();
        QVERIFY2(qAbs(outline.red() - highlight.red()) < 40 && qAbs(outline.blue() - highlight.blue()) < 40,
                 qPrintable(outline.name()));
        QVERIFY(inside() != grey);

        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&tile, &leave);
        QVERIFY(!tile.isHovered());
        QCOMPARE(edge(), grey);
        QCOMPARE(inside(), grey);
    }
};

QTEST_MAIN(TestPiiScanGroup)
#include "tst_piiscangroup.moc"
