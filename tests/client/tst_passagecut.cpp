// Cutting a passage of a detail document around its hit: the hit in view,
// the piece bounded, no character split.

#include "passagecut.h"
#include "resultlimits.h"

#include <QTest>
#include <QTextDocument>

namespace {

const QChar Ellipsis(0x2026);

// A character outside the Basic Multilingual Plane (CJK Extension B).
const QString Astral = QString::fromUcs4(U"\U00020000");

bool splitsACharacter(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate()))
            return true;
        if (text.at(i).isLowSurrogate() && (i == 0 || !text.at(i - 1).isHighSurrogate()))
            return true;
    }
    return false;
}

} // namespace

class TestPassageCut : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cut_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("expected");

        QTest::newRow("fits: unchanged") << "ab 机密 cd" << "机密" << 3 << 3 << "ab 机密 cd";
        QTest::newRow("cut on both sides") << "0123456789机密abcdefghij" << "机密" << 3 << 4 << "…789机密abcd…";
        QTest::newRow("hit at the start") << "机密abcdefghij" << "机密" << 3 << 4 << "机密abcd…";
        QTest::newRow("hit at the end") << "0123456789机密" << "机密" << 3 << 4 << "…789机密";
        QTest::newRow("first occurrence kept") << "xx机密yyyyyyyy机密" << "机密" << 1 << 2 << "…x机密yy…";
        QTest::newRow("word not found: from the start") << "0123456789" << "机密" << 2 << 3 << "01234…";
        QTest::newRow("empty word") << "0123456789" << "" << 2 << 3 << "01234…";
        QTest::newRow("empty passage") << "" << "机密" << 2 << 3 << "";
        // A cut that would fall inside a surrogate pair at the piece's
        // outer end drops the half character.
        QTest::newRow("astral at the cut before the hit")
            << QStringLiteral("ab") + Astral + QStringLiteral("机密") << "机密" << 1 << 0 << QStringLiteral("…机密");
        QTest::newRow("astral inside the bound before the hit")
            << QStringLiteral("ab") + Astral + QStringLiteral("机密") << "机密" << 2 << 0
            << QStringLiteral("…") + Astral + QStringLiteral("机密");
        QTest::newRow("astral at the cut after the hit")
            << QStringLiteral("机密") + Astral + QStringLiteral("cd") << "机密" << 0 << 1 << QStringLiteral("机密…");
    }
    void cut()
    {
        QFETCH(QString, context);
        QFETCH(QString, word);
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(QString, expected);
        QCOMPARE(PassageCut::cut(context, word, before, after), expected);
    }

    // Wherever the bounds fall, no surrogate pair is split, the piece stays
    // within its bounds (plus the two ellipses) and the hit is in it whole.
    void noCharacterSplit_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("word");
        const QString astralRun = Astral.repeated(30);
        QTest::newRow("astral around a CJK hit") << astralRun + QStringLiteral("机密") + astralRun << "机密";
        QTest::newRow("astral hit") << QStringLiteral("前文").repeated(20) + Astral + QStringLiteral("后文").repeated(20)
                                    << Astral;
        QTest::newRow("astral and BMP mixed") << (QStringLiteral("a") + Astral).repeated(25) + QStringLiteral("机密")
                                                     + (Astral + QStringLiteral("b")).repeated(25)
                                              << "机密";
    }
    void noCharacterSplit()
    {
        QFETCH(QString, context);
        QFETCH(QString, word);
        for (int before = 0; before <= 9; ++before) {
            for (int after = 0; after <= 9; ++after) {
                const QString piece = PassageCut::cut(context, word, before, after);
                QVERIFY2(!splitsACharacter(piece), qPrintable(QStringLiteral("%1/%2").arg(before).arg(after)));
                QVERIFY(piece.contains(word));
                QVERIFY(piece.size() <= before + word.size() + after + 2);
                QVERIFY(piece.startsWith(Ellipsis) && piece.endsWith(Ellipsis));
            }
        }
    }

    // A megabyte passage without line breaks: the row shows a short piece
    // whose hit starts within the first characters, the tooltip a bounded one.
    void rowAndToolTipOfAHugePassage()
    {
        const QString half = QStringLiteral("没有换行的一段很长的文字 no line breaks ").repeated(20000);
        const QString context = half + QStringLiteral("机密") + half;
        QVERIFY(context.size() > 1000000);
        QTextDocument row;
        row.setHtml(PassageCut::rowHtml(context, QStringLiteral("机密")));
        const QString shown = row.toPlainText();
        QVERIFY(shown.indexOf(QStringLiteral("机密")) <= ResultLimits::RowCharsBefore + 1);
        QVERIFY(shown.size() <= ResultLimits::RowCharsBefore + ResultLimits::RowCharsAfter + 4);
        QVERIFY(PassageCut::rowHtml(context, QStringLiteral("机密")).contains(QStringLiteral(">机密</font>")));

        const QString kept = PassageCut::kept(context, QStringLiteral("机密"));
        QVERIFY(kept.size() <= ResultLimits::ToolTipCharsBefore + ResultLimits::ToolTipCharsAfter + 4);
        QTextDocument tip;
        tip.setHtml(PassageCut::toolTip(kept, QStringLiteral("机密")));
        QVERIFY(tip.toPlainText().contains(QStringLiteral("机密")));
        // The row cut from the kept piece is the row cut from the whole passage.
        QCOMPARE(PassageCut::rowHtml(kept, QStringLiteral("机密")), PassageCut::rowHtml(context, QStringLiteral("机密")));
    }

    // The tooltip is plain text: markup in a file shows as it is.
    void toolTipIsPlainText()
    {
        QTextDocument tip;
        tip.setHtml(PassageCut::toolTip(QStringLiteral("<b>机密</b> & <img src=x>"), QStringLiteral("机密")));
        QCOMPARE(tip.toPlainText(), QStringLiteral("<b>机密</b> & <img src=x>"));
    }
};

QTEST_MAIN(TestPassageCut)
#include "tst_passagecut.moc"
