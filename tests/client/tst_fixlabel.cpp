#include "fixlabel.h"

#include <QHBoxLayout>
#include <QTest>

class TestFixLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void elidesAndRestores_data()
    {
        QTest::addColumn<bool>("viaFullText");
        QTest::addColumn<bool>("showToolTip");
        QTest::newRow("full text, tooltip") << true << true;
        QTest::newRow("full text, no tooltip") << true << false;
        QTest::newRow("plain setText, tooltip") << false << true;
    }

    // In a row with a stretch after it, as in the sidebar's module buttons.
    void elidesAndRestores()
    {
        QFETCH(bool, viaFullText);
        QFETCH(bool, showToolTip);
        const QString whole = QStringLiteral("隐私信息扫描 with a rather long tail of words");

        QWidget window;
        auto *row = new QHBoxLayout(&window);
        row->setContentsMargins(0, 0, 0, 0);
        auto *label = new FixLabel(&window);
        label->setShowToolTip(showToolTip);
        row->addWidget(label);
        row->addStretch();
        if (viaFullText)
            label->setFullText(whole);
        else
            label->setText(whole);

        const int fullWidth = label->fontMetrics().horizontalAdvance(whole);
        window.resize(fullWidth / 2, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        label->grab(); // paints
        QVERIFY(label->width() < fullWidth);
        QVERIFY2(label->text().endsWith(QChar(0x2026)), qPrintable(label->text()));
        QVERIFY(label->text().length() < whole.length());
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        QCOMPARE(label->toolTip(), showToolTip ? whole : QString());

        window.resize(fullWidth + 100, 30);
        QTRY_VERIFY(label->width() >= fullWidth);
        label->grab();
        QCOMPARE(label->text(), whole);
        QCOMPARE(label->toolTip(), QString());
    }

    void newTextReplacesACutOne()
    {
        QWidget window;
        auto *label = new FixLabel(&window);
        label->setGeometry(0, 0, 40, 20);
        label->setText(QStringLiteral("a text far too long for forty pixels"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        label->grab();
        QVERIFY(label->text().endsWith(QChar(0x2026)));
        label->setText(QStringLiteral("ok"));
        label->grab();
        QCOMPARE(label->text(), QStringLiteral("ok"));
        QCOMPARE(label->toolTip(), QString());
    }
};

QTEST_MAIN(TestFixLabel)
#include "tst_fixlabel.moc"
