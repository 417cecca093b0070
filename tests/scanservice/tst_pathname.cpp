// The escaped text of file names: names that are UTF-8 unchanged, every
// other byte kept, and no two names alike.
#include "pathname.h"

#include <QHash>
#include <QTest>

class TestPathName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 name unchanged") << QByteArray("/home/王/报告 (1).txt") << QStringLiteral("/home/王/报告 (1).txt");
        QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x98\x80.txt") << QString::fromUtf8("\xF0\x9F\x98\x80.txt");
        QTest::newRow("Latin-1 byte") << QByteArray("caf\xE9.txt") << QStringLiteral("caf\\xE9.txt");
        QTest::newRow("GBK name") << QByteArray("\xB1\xA8\xB8\xE6.txt") << QStringLiteral("\\xB1\\xA8\\xB8\\xE6.txt");
        QTest::newRow("lead byte cut by the end") << QByteArray("a\xE6\x9C") << QStringLiteral("a\\xE6\\x9C");
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QStringLiteral("\\xC0\\xAF");
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << QStringLiteral("\\xED\\xA0\\x80");
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << QStringLiteral("\\xF4\\x90\\x80\\x80");
        QTest::newRow("backslash, x and two hex digits escaped") << QByteArray("caf\\xE9.txt") << QStringLiteral("caf\\x5CxE9.txt");
        QTest::newRow("lower-case hex digits too") << QByteArray("\\xab") << QStringLiteral("\\x5Cxab");
        QTest::newRow("other backslashes unchanged") << QByteArray("a\\b\\x4\\xZZ\\") << QStringLiteral("a\\b\\x4\\xZZ\\");
    }
    void toText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(PathName::toText(bytes), text);
        QCOMPARE(PathName::fromText(text), bytes);
    }

    // Every name of up to four bytes from an alphabet chosen to collide if
    // anything can (the escape's own characters, a backslash, bytes that
    // start, continue or break UTF-8) gives its own text, and that text
    // gives the name back.
    void noTwoNamesAlike()
    {
        const QByteArray alphabet("\\xE9\xE9\xC3\xA9", 6);
        QHash<QString, QByteArray> seen;
        QList<QByteArray> names{QByteArray()};
        for (int length = 1; length <= 4; ++length) {
            QList<QByteArray> longer;
            for (const QByteArray &name : names) {
                for (char c : alphabet)
                    longer.append(name + c);
            }
            for (const QByteArray &name : longer) {
                const QString text = PathName::toText(name);
                QVERIFY2(!seen.contains(text), qPrintable(text));
                seen.insert(text, name);
                QCOMPARE(PathName::fromText(text), name);
                QCOMPARE(QString::fromUtf8(text.toUtf8()), text); // no lone surrogate: the bus takes it as it is
            }
            names = longer;
        }
        QCOMPARE(seen.size(), 6 + 36 + 216 + 1296);
    }

    // A NUL never comes out of a client's text.
    void noNulFromText()
    {
        QCOMPARE(PathName::fromText(QStringLiteral("/tmp/a\\x00b")), QByteArray("/tmp/a\\x00b"));
    }
};

QTEST_MAIN(TestPathName)
#include "tst_pathname.moc"
