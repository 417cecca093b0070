// The UTF-8 check the readers and the detail documents share: what it
// refuses (overlong forms, surrogates, code points above U+10FFFF, stray
// bytes), the end of a chunk in the middle of a character, and agreement
// with Qt's own decoder on text made of valid and broken pieces.
#include "utf8.h"

#include <QTest>
#include <QTextCodec>

class TestUtf8 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void check_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("moreFollows");
        QTest::addColumn<bool>("valid");
        const QByteArray ascii(20, 'a'); // longer than the sixteen-byte fast path
        QTest::newRow("ascii") << ascii << false << true;
        QTest::newRow("chinese") << QByteArray("机密文件 secret") << false << true;
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << false << true;
        QTest::newRow("highest code point") << QByteArray("\xF4\x8F\xBF\xBF") << false << true;
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false << false;
        QTest::newRow("overlong two bytes") << QByteArray("\xC0\xAF") << false << false;
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << false << false;
        QTest::newRow("overlong four bytes") << QByteArray("\xF0\x80\x80\xAF") << false << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false << false;
        QTest::newRow("last before surrogates") << QByteArray("\xED\x9F\xBF") << false << true;
        QTest::newRow("stray continuation") << QByteArray("a\x80") << false << false;
        QTest::newRow("bad byte after the fast path") << ascii + QByteArray("\xFF") << false << false;
        QTest::newRow("bad byte inside the fast path") << QByteArray(7, 'a') + QByteArray("\xFF") + ascii << false << false;
        QTest::newRow("cut character, more follows") << ascii + QByteArray("\xE6\x9C") << true << true;
        QTest::newRow("cut character at the end") << ascii + QByteArray("\xE6\x9C") << false << false;
        QTest::newRow("cut character, broken") << ascii + QByteArray("\xE6" "a") << true << false;

        // The sixteen-byte blocks of the vector check: characters across the
        // ends of the first and second block, faults in the middle of one,
        // and a character the last whole block leaves open.
        const QByteArray chinese = QByteArray("\xE6\x9C\xBA").repeated(12); // 36 bytes, characters across both block ends
        QTest::newRow("chinese across block ends") << chinese << false << true;
        QTest::newRow("four bytes across the first block end") << QByteArray(14, 'a') + "\xF0\x9F\x98\x80" + ascii << false << true;
        QTest::newRow("two bytes across the second block end") << QByteArray(31, 'a') + "\xC3\xA9" + ascii << false << true;
        QTest::newRow("character open at the block end, ascii after") << QByteArray(15, 'a') + "\xE6" + ascii << false << false;
        QTest::newRow("character open at the block end, more follows") << QByteArray(14, 'a') + "\xE6\x9C" << true << true;
        QTest::newRow("character open at the block end, no more") << QByteArray(14, 'a') + "\xE6\x9C" << false << false;
        QTest::newRow("four bytes open at the second block end") << QByteArray(29, 'a') + "\xF0\x9F\x98" << true << true;
        QTest::newRow("overlong two bytes in a block") << QByteArray(5, 'a') + "\xC1\xBF" + ascii << false << false;
        QTest::newRow("overlong three bytes in a block") << chinese.left(6) + "\xE0\x9F\xBF" + chinese << false << false;
        QTest::newRow("overlong four bytes in a block") << QByteArray(8, 'a') + "\xF0\x8F\xBF\xBF" + ascii << false << false;
        QTest::newRow("surrogate in a block") << chinese.left(9) + "\xED\xBF\xBF" + chinese << false << false;
        QTest::newRow("surrogate across a block end") << QByteArray(15, 'a') + "\xED\xA0\x80" + ascii << false << false;
        QTest::newRow("above U+10FFFF in a block") << QByteArray(3, 'a') + "\xF4\x90\x80\x80" + ascii << false << false;
        QTest::newRow("F5 in a block") << QByteArray(3, 'a') + "\xF5\x80\x80\x80" + ascii << false << false;
        QTest::newRow("continuation missing in chinese") << chinese.left(19) + "a" + chinese << false << false;
        QTest::newRow("continuation too many in chinese") << chinese.left(18) + "\x80" + chinese << false << false;
        QTest::newRow("lead byte where a continuation belongs") << chinese.left(16) + "\xE6" + chinese.mid(17) << false << false;
    }
    void check()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, moreFollows);
        QFETCH(bool, valid);
        QCOMPARE(Utf8::isValid(bytes.constData(), static_cast<std::size_t>(bytes.size()), moreFollows), valid);
    }

    // Each valid and broken sequence at every place of two blocks, between
    // ASCII and between Chinese characters: the check agrees with Qt's decoder
    // wherever a block end cuts it.
    void everyPlace_data()
    {
        QTest::addColumn<QByteArray>("sequence");
        QTest::newRow("two bytes") << QByteArray("\xC3\xA9");
        QTest::newRow("three bytes") << QByteArray("\xE6\x9C\xBA");
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("highest") << QByteArray("\xF4\x8F\xBF\xBF");
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80");
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x9F\xBF");
        QTest::newRow("overlong four bytes") << QByteArray("\xF0\x8F\xBF\xBF");
        QTest::newRow("C0") << QByteArray("\xC0\x80");
        QTest::newRow("stray continuation") << QByteArray("\x80");
        QTest::newRow("cut three bytes") << QByteArray("\xE6\x9C");
        QTest::newRow("cut four bytes") << QByteArray("\xF0\x9F\x98");
    }
    void everyPlace()
    {
        QFETCH(QByteArray, sequence);
        QTextCodec *codec = QTextCodec::codecForName("UTF-8");
        QVERIFY(codec);
        const QByteArray fillers[] = {QByteArray(48, 'a'), QByteArray("\xE6\x9C\xBA").repeated(16)};
        for (const QByteArray &filler : fillers) {
            for (int place = 0; place <= 36; ++place) {
                for (const int tail : {0, 1, 20}) {
                    // The filler cut at a character boundary before the place.
                    const int cut = filler.at(0) == 'a' ? place : place - place % 3;
                    const QByteArray text = filler.left(cut) + sequence + filler.left(tail * (filler.at(0) == 'a' ? 1 : 3));
                    QTextCodec::ConverterState converter;
                    codec->toUnicode(text.constData(), text.size(), &converter);
                    const bool qtValid = converter.invalidChars == 0 && converter.remainingChars == 0;
                    QVERIFY2(Utf8::isValid(text.constData(), static_cast<std::size_t>(text.size()), false) == qtValid,
                             text.toHex(' ').constData());
                }
            }
        }
    }

    // Text pieced together from valid characters and broken sequences: the
    // check agrees with Qt's decoder on every one.
    void agreesWithQt()
    {
        const QByteArray pieces[] = {"a", "0123456789abcdef", "\xC3\xA9", "\xE6\x9C\xBA", "\xF0\x9F\x98\x80", "\xEF\xBF\xBD",
                                     "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xFF", "\xE6\x9C", "\xF0\x9F"};
        QTextCodec *codec = QTextCodec::codecForName("UTF-8");
        QVERIFY(codec);
        quint32 state = 2026;
        for (int round = 0; round < 5000; ++round) {
            QByteArray text;
            const int count = 1 + round % 12;
            for (int i = 0; i < count; ++i) {
                state = state * 1664525u + 1013904223u;
                text += pieces[(state >> 16) % (sizeof(pieces) / sizeof(pieces[0]))];
            }
            QTextCodec::ConverterState converter;
            codec->toUnicode(text.constData(), text.size(), &converter);
            const bool qtValid = converter.invalidChars == 0 && converter.remainingChars == 0;
            QVERIFY2(Utf8::isValid(text.constData(), static_cast<std::size_t>(text.size()), false) == qtValid,
                     text.toHex(' ').constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestUtf8)
#include "tst_utf8.moc"
