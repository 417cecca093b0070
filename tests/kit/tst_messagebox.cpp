#include "messagebox.h"

#include "kittesthelpers.h"
#include "titlebutton.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using mvk::MessageBox;

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void buttonRoleClosesBox_data();
    void buttonRoleClosesBox();
    void closeButtonAndEscapeReject_data();
    void closeButtonAndEscapeReject();
    void returnActivatesDefaultButton_data();
    void returnActivatesDefaultButton();
    void iconKinds_data();
    void iconKinds();
    void modalAndCentredOverParent();
    void styleHints_data();
    void styleHints();
};

void TestMessageBox::buttonRoleClosesBox_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("expectedResult");

    QTest::newRow("accept") << int(MessageBox::AcceptRole) << int(QDialog::Accepted);
    QTest::newRow("reject") << int(MessageBox::RejectRole) << int(QDialog::Rejected);
}

void TestMessageBox::buttonRoleClosesBox()
{
    QFETCH(int, role);
    QFETCH(int, expectedResult);

    QWidget parent;
    parent.resize(600, 400);
    parent.show();
    MessageBox box(&parent);
    box.setIcon(MessageBox::Warning);
    box.setText(QStringLiteral("扫描失败"));
    QPushButton *ok = box.addButton(QStringLiteral("确认"), MessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("取消"), MessageBox::RejectRole);
    QPushButton *target = role == MessageBox::AcceptRole ? ok : cancel;
    QSignalSpy clicked(&box, &MessageBox::buttonClicked);

    bool wasVisible = false;
    kittest::whileModal(&box, [&] {
        wasVisible = box.isVisible() && target->isVisible();
        QTest::mouseClick(target, Qt::LeftButton);
    });
    const int result = box.exec();

    QVERIFY(wasVisible);
    QCOMPARE(result, expectedResult);
    QCOMPARE(box.clickedButton(), target);
    QVERIFY(!box.isVisible());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).value<QPushButton *>(), target);
}

void TestMessageBox::closeButtonAndEscapeReject_data()
{
    QTest::addColumn<bool>("useEscape");
    QTest::newRow("close button") << false;
    QTest::newRow("escape key") << true;
}

void TestMessageBox::closeButtonAndEscapeReject()
{
    QFETCH(bool, useEscape);

    MessageBox box;
    box.setText(QStringLiteral("请选择目录"));
    QPushButton *ok = box.addButton(QStringLiteral("确认"), MessageBox::AcceptRole);
    box.setDefaultButton(ok);

    // A previous answer must not leak into the next showing.
    kittest::whileModal(&box, [&] { ok->click(); });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QCOMPARE(box.clickedButton(), ok);

    kittest::whileModal(&box, [&] {
        if (useEscape)
            QTest::keyClick(&box, Qt::Key_Escape);
        else
            QTest::mouseClick(box.closeButton(), Qt::LeftButton);
    });
    QCOMPARE(box.exec(), int(QDialog::Rejected));
    QCOMPARE(box.clickedButton(), static_cast<QPushButton *>(nullptr));
}

void TestMessageBox::returnActivatesDefaultButton_data()
{
    QTest::addColumn<int>("defaultRole");
    QTest::newRow("default accepts") << int(MessageBox::AcceptRole);
    QTest::newRow("default rejects") << int(MessageBox::RejectRole);
}

void TestMessageBox::returnActivatesDefaultButton()
{
    QFETCH(int, defaultRole);

    MessageBox box;
    box.setText(QStringLiteral("是否继续？"));
    QPushButton *ok = box.addButton(QStringLiteral("确认"), MessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("取消"), MessageBox::RejectRole);
    QPushButton *chosen = defaultRole == MessageBox::AcceptRole ? ok : cancel;
    box.setDefaultButton(chosen);

    kittest::whileModal(&box, [&] { QTest::keyClick(&box, Qt::Key_Return); });
    const int result = box.exec();

    QCOMPARE(result, defaultRole == MessageBox::AcceptRole ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(box.clickedButton(), chosen);
}

void TestMessageBox::iconKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QColor>("badge");

    QTest::newRow("none") << 0 << false << QColor();
    QTest::newRow("information") << 1 << true << QColor(0x36, 0x76, 0xf5);
    QTest::newRow("warning") << 2 << true << QColor(0xf7, 0xa2, 0x1b);
    QTest::newRow("error") << 3 << true << QColor(0xf0, 0x47, 0x3c);
    QTest::newRow("question") << 4 << true << QColor(0x36, 0x76, 0xf5);
    QTest::newRow("unknown") << 9 << false << QColor();
}

void TestMessageBox::iconKinds()
{
    QFETCH(int, kind);
    QFETCH(bool, shown);
    QFETCH(QColor, badge);

    MessageBox box;
    box.setIcon(MessageBox::Critical); // start from a different state
    box.setIcon(kind);
    QCOMPARE(box.icon(), kind);

    auto *label = box.findChild<QLabel *>(QStringLiteral("iconLabel"));
    QVERIFY(label);
    QCOMPARE(!label->isHidden(), shown);
    QCOMPARE(!box.iconPixmap().isNull(), shown);
    if (!shown)
        return;

    const QImage image = box.iconPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal dpr = box.iconPixmap().devicePixelRatio();
    QCOMPARE(qRound(image.width() / dpr), int(MessageBox::IconSize));
    // Near the top of the round badge, clear of the glyph, the badge colour shows.
    const QColor sample = image.pixelColor(image.width() / 2, qRound(image.height() * 0.1));
    QVERIFY2(kittest::near(sample, badge, 16), qPrintable(kittest::describe(sample)));
    // A white glyph is drawn on the badge.
    int white = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (kittest::near(image.pixelColor(x, y), Qt::white, 40))
                ++white;
    QVERIFY2(white > image.width() * image.height() / 60, qPrintable(QString::number(white)));
    // Each kind has its own picture (information and question share a colour, not a glyph).
    MessageBox other;
    other.setIcon(kind == MessageBox::Question ? MessageBox::Information : MessageBox::Question);
    QVERIFY(other.iconPixmap().toImage().convertToFormat(QImage::Format_ARGB32) != image);
}

void TestMessageBox::modalAndCentredOverParent()
{
    QWidget parent;
    parent.setGeometry(100, 80, 900, 600);
    auto *probe = new QPushButton(QStringLiteral("probe"), &parent);
    probe->setGeometry(20, 20, 120, 40);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QSignalSpy probeClicks(probe, &QPushButton::clicked);
    const QPoint probePoint = probe->geometry().center();

    MessageBox box(&parent);
    box.setText(QStringLiteral("请设置关键字"));
    box.setIcon(MessageBox::Question);
    box.addButton(QStringLiteral("确认"), MessageBox::AcceptRole);

    QWidget *modalDuringExec = nullptr;
    int clicksWhileModal = -1;
    QRect geometryDuringExec;
    kittest::whileModal(&box, [&] {
        modalDuringExec = QApplication::activeModalWidget();
        geometryDuringExec = box.frameGeometry();
        // A real (window-system) click on the parent must not get through.
        QTest::mouseClick(parent.windowHandle(), Qt::LeftButton, Qt::NoModifier, probePoint);
        clicksWhileModal = probeClicks.count();
        box.buttons().first()->click();
    });
    box.exec();

    QCOMPARE(modalDuringExec, static_cast<QWidget *>(&box));
    QCOMPARE(clicksWhileModal, 0);
    QVERIFY(box.windowModality() != Qt::NonModal);
    QVERIFY(box.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(box.testAttribute(Qt::WA_TranslucentBackground));
    const QPoint offset = geometryDuringExec.center() - parent.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));

    // Once the box is gone the same click reaches the parent.
    QTest::mouseClick(parent.windowHandle(), Qt::LeftButton, Qt::NoModifier, probePoint);
    QCOMPARE(probeClicks.count(), 1);
}

void TestMessageBox::styleHints_data()
{
    QTest::addColumn<QByteArray>("hint");
    QTest::addColumn<bool>("afterShow");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");

    const QColor blue(0x36, 0x76, 0xf5);
    const QColor grey(0xe7, 0xe7, 0xe7);
    QTest::newRow("important") << QByteArray("isImportant") << false << blue << QColor(Qt::white);
    QTest::newRow("important, set while shown") << QByteArray("isImportant") << true << blue << QColor(Qt::white);
    QTest::newRow("secondary") << QByteArray("useButtonPalette") << false << grey << QColor(0x1f, 0x23, 0x29);
}

void TestMessageBox::styleHints()
{
    QFETCH(QByteArray, hint);
    QFETCH(bool, afterShow);
    QFETCH(QColor, background);
    QFETCH(QColor, text);

    MessageBox box;
    box.setText(QStringLiteral("提示"));
    QPushButton *button = box.addButton(QStringLiteral("确认"), MessageBox::AcceptRole);
    box.addButton(QStringLiteral("取消"), MessageBox::RejectRole);
    if (!afterShow)
        button->setProperty(hint.constData(), true);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    if (afterShow)
        button->setProperty(hint.constData(), true);

    const QImage image = button->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal dpr = image.devicePixelRatio();
    const QColor sample = image.pixelColor(qRound(8 * dpr), image.height() / 2);
    QVERIFY2(kittest::near(sample, background), qPrintable(kittest::describe(sample)));
    QCOMPARE(button->palette().color(QPalette::ButtonText).rgb(), text.rgb());
    box.close();
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
