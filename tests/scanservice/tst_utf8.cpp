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
    }
    void check()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, moreFollows);
        QFETCH(bool, valid);
        QCOMPARE(Utf8::isValid(bytes.constData(), static_cast<std::size_t>(bytes.size()), moreFollows), valid);
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
