// The text width estimate against the laid-out width of the same text.

#include "textwidthestimate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QTest>

class TestTextWidthEstimate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closeToLaidOutWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("latin") << QStringLiteral("/home/user/Documents/Quarterly report (final).docx");
        QTest::newRow("kerning pairs") << QStringLiteral("AVATAR WAVE Tokyo LTA");
        QTest::newRow("chinese") << QStringLiteral("这是一段包含敏感词的上下文内容，机密内容以及更多的文字");
        QTest::newRow("mixed with digits") << QStringLiteral("/srv/合同/采购合同-2026 第3版.pdf");
        QTest::newRow("repeated spaces") << QStringLiteral("a    b  c");
        QTest::newRow("outside the basic plane") << QStringLiteral("𠀀𠀁 emoji 😀 end");
        QTest::newRow("one character") << QStringLiteral("机");
    }

    // Never narrower than the text laid out (a cut-off row), and not much
    // wider (kerning pairs close up a few per cent).
    void closeToLaidOutWidth()
    {
        QFETCH(QString, text);
        const QFont font = QApplication::font();
        const qreal exact = QFontMetricsF(font).horizontalAdvance(text);
        TextWidthEstimate estimate(font);
        const qreal first = estimate.width(text);
        QVERIFY2(first >= exact - 0.5, qPrintable(QStringLiteral("%1 < %2").arg(first).arg(exact)));
        QVERIFY2(first <= exact * 1.1 + 1, qPrintable(QStringLiteral("%1 > %2").arg(first).arg(exact)));
        // Measured again from the cache: the same.
        QCOMPARE(estimate.width(text), first);
    }

    void emptyAndAdditive()
    {
        TextWidthEstimate estimate(QApplication::font());
        QCOMPARE(estimate.width(QString()), qreal(0));
        const QString a = QStringLiteral("机密 ");
        const QString b = QStringLiteral("secret😀");
        QCOMPARE(estimate.width(a + b), estimate.width(a) + estimate.width(b));
        // A lone surrogate still counts as a character.
        QVERIFY(estimate.width(QString(QChar(0xD840))) >= 0);
    }
};

QTEST_MAIN(TestTextWidthEstimate)
#include "tst_textwidthestimate.moc"
