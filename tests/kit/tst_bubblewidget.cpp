#include "bubblewidget.h"

#include "kittesthelpers.h"

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

using mvk::BubbleWidget;

namespace {

// Records what the bubble asks of the compositor instead of asking it.
class RecordingBubble : public BubbleWidget
{
public:
    struct Call
    {
        bool enable;
        QRegion region;
    };
    QList<Call> calls;

protected:
    void applyBlurBehind(bool enable, const QRegion &region) override { calls.append({enable, region}); }
};

// Unit vector pointing from the tip back into the bubble.
QPointF inward(int direction)
{
    switch (direction) {
    case BubbleWidget::TopTail:
        return QPointF(0, 1);
    case BubbleWidget::LeftTail:
        return QPointF(1, 0);
    case BubbleWidget::BottomTail:
        return QPointF(0, -1);
    default:
        return QPointF(-1, 0);
    }
}

} // namespace

class TestBubbleWidget : public QObject
{
    Q_OBJECT

private slots:
    void marginsMakeRoomForTail_data();
    void marginsMakeRoomForTail();
    void tailPointsFromEdge_data();
    void tailPointsFromEdge();
    void opacityAppliesToPanel_data();
    void opacityAppliesToPanel();
    void blurRequestedWhenShown();
    void blurWithdrawnWhenDisabled();
};

void TestBubbleWidget::marginsMakeRoomForTail_data()
{
    QTest::addColumn<int>("direction");
    QTest::newRow("top") << int(BubbleWidget::TopTail);
    QTest::newRow("left") << int(BubbleWidget::LeftTail);
    QTest::newRow("bottom") << int(BubbleWidget::BottomTail);
    QTest::newRow("right") << int(BubbleWidget::RightTail);
}

void TestBubbleWidget::marginsMakeRoomForTail()
{
    QFETCH(int, direction);

    BubbleWidget bubble;
    bubble.setTailSize(QSize(18, 9));
    bubble.setTailPosition(direction, BubbleWidget::StartLocation);

    const QMargins m = bubble.contentsMargins();
    const int sides[4] = {m.top(), m.left(), m.bottom(), m.right()}; // indexed by direction
    const int opposite = sides[(direction + 2) % 4];
    QCOMPARE(sides[direction] - opposite, 9);
    for (int side = 0; side < 4; ++side)
        if (side != direction)
            QCOMPARE(sides[side], opposite);

    // As the client does: a label in a zero-margin layout stays clear of the tail.
    auto *layout = new QVBoxLayout(&bubble);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(QStringLiteral("仅扫描以下类型的文件"), &bubble);
    layout->addWidget(label);
    bubble.resize(bubble.sizeHint().expandedTo(QSize(160, 80)));
    layout->activate();
    const QRectF tailBox = bubble.tailPolygon().boundingRect().adjusted(0.5, 0.5, -0.5, -0.5);
    QVERIFY(!label->geometry().isEmpty());
    QVERIFY(!QRectF(label->geometry()).intersects(tailBox));
    QVERIFY(bubble.bodyRect().contains(QRectF(label->geometry())));
}

void TestBubbleWidget::tailPointsFromEdge_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("location");

    const char *directions[] = {"top", "left", "bottom", "right"};
    const char *locations[] = {"start", "middle", "end"};
    for (int d = 0; d < 4; ++d)
        for (int l = 0; l < 3; ++l)
            QTest::addRow("%s-%s", directions[d], locations[l]) << d << l;
}

void TestBubbleWidget::tailPointsFromEdge()
{
    QFETCH(int, direction);
    QFETCH(int, location);

    BubbleWidget bubble;
    bubble.setTailSize(QSize(20, 10));
    bubble.setTailPosition(direction, location);
    bubble.resize(240, 120);

    // The tip lies on the widget's edge named by the direction...
    const QPointF tip = bubble.tailTip();
    const QPointF in = inward(direction);
    const QPointF edgePoint(in.x() < 0 ? bubble.width() : 0, in.y() < 0 ? bubble.height() : 0);
    if (in.x() != 0)
        QCOMPARE(tip.x(), edgePoint.x());
    else
        QCOMPARE(tip.y(), edgePoint.y());

    // ...at the start, the middle or the end of it, clear of the rounded corners.
    const bool horizontalEdge = in.x() == 0;
    const qreal edgeLength = horizontalEdge ? bubble.width() : bubble.height();
    const qreal along = horizontalEdge ? tip.x() : tip.y();
    const qreal clearance = bubble.radius() + bubble.tailSize().width() / 2.0 - 0.01;
    if (location == BubbleWidget::StartLocation)
        QVERIFY(along >= clearance && along < edgeLength / 3);
    else if (location == BubbleWidget::MiddleLocation)
        QCOMPARE(along, edgeLength / 2);
    else
        QVERIFY(along <= edgeLength - clearance && along > edgeLength * 2 / 3);

    // Painted: just inside the tip there is panel, at the same depth elsewhere nothing.
    const QImage image = kittest::renderTransparent(&bubble);
    const QPoint inside = (tip + in * 4).toPoint() - QPoint(in.x() < 0 ? 1 : 0, in.y() < 0 ? 1 : 0);
    QVERIFY2(qAlpha(image.pixel(inside)) > 200, qPrintable(QStringLiteral("at %1,%2").arg(inside.x()).arg(inside.y())));
    const qreal elsewhere = along < edgeLength / 2 ? along + edgeLength / 3 : along - edgeLength / 3;
    const QPoint away = horizontalEdge ? QPoint(qRound(elsewhere), inside.y()) : QPoint(inside.x(), qRound(elsewhere));
    QCOMPARE(qAlpha(image.pixel(away)), 0);
    const QColor centre = image.pixelColor(bubble.bodyRect().center().toPoint());
    QVERIFY2(kittest::near(centre, Qt::white, 2), qPrintable(kittest::describe(centre)));
}

void TestBubbleWidget::opacityAppliesToPanel_data()
{
    QTest::addColumn<qreal>("opacity");
    QTest::newRow("opaque") << qreal(1.0);
    QTest::newRow("half") << qreal(0.5);
    QTest::newRow("faint") << qreal(0.2);
}

void TestBubbleWidget::opacityAppliesToPanel()
{
    QFETCH(qreal, opacity);

    BubbleWidget bubble;
    bubble.setOpacity(opacity);
    QCOMPARE(bubble.opacity(), opacity);
    auto *layout = new QVBoxLayout(&bubble);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(QStringLiteral("帮助"), &bubble);
    label->setStyleSheet(QStringLiteral("QLabel { background: #ff0000; }"));
    layout->addWidget(label);
    bubble.resize(200, 100);
    layout->activate();

    const QImage image = kittest::renderTransparent(&bubble);
    // The panel (outside the label) takes the opacity...
    const QPoint panel(bubble.width() / 2, bubble.contentsMargins().top() / 2 + bubble.tailSize().height() / 2 + 1);
    QVERIFY(!label->geometry().contains(panel));
    QVERIFY2(qAbs(qAlpha(image.pixel(panel)) - qRound(opacity * 255)) <= 2,
             qPrintable(QString::number(qAlpha(image.pixel(panel)))));
    // ...the content stays opaque.
    QCOMPARE(qAlpha(image.pixel(label->geometry().center())), 255);
}

void TestBubbleWidget::blurRequestedWhenShown()
{
    RecordingBubble bubble;
    bubble.setTailPosition(BubbleWidget::TopTail, BubbleWidget::StartLocation);
    bubble.setEnableBlur(true);
    QVERIFY(bubble.enableBlur());
    bubble.resize(200, 90);
    QVERIFY(bubble.calls.isEmpty()); // nothing to blur while hidden

    bubble.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bubble));
    QVERIFY(!bubble.calls.isEmpty());
    const RecordingBubble::Call last = bubble.calls.last();
    QVERIFY(last.enable);
    // The region follows the bubble's shape: body and tail, not the corners.
    QVERIFY(last.region.contains(bubble.bodyRect().center().toPoint()));
    QVERIFY(last.region.contains((bubble.tailTip() + QPointF(0, 3)).toPoint()));
    QVERIFY(!last.region.contains(QPoint(1, bubble.tailSize().height() + 1)));
    QVERIFY(!last.region.contains(QPoint(bubble.width() - 2, 2)));

    // Growing the bubble updates the region.
    bubble.calls.clear();
    bubble.resize(300, 90);
    QVERIFY(!bubble.calls.isEmpty());
    QVERIFY(bubble.calls.last().region.contains(QPoint(280, 50)));
    bubble.close();
}

void TestBubbleWidget::blurWithdrawnWhenDisabled()
{
    RecordingBubble bubble;
    bubble.setEnableBlur(true);
    bubble.resize(200, 90);
    bubble.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bubble));
    bubble.calls.clear();

    bubble.setEnableBlur(false);
    QCOMPARE(bubble.calls.size(), 1);
    QVERIFY(!bubble.calls.first().enable);

    // Shown again without blur: the compositor is not asked at all.
    bubble.close();
    bubble.calls.clear();
    bubble.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bubble));
    QVERIFY(bubble.calls.isEmpty());
    bubble.close();
}

QTEST_MAIN(TestBubbleWidget)
#include "tst_bubblewidget.moc"
