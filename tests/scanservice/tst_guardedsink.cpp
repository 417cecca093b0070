// The checks both collectors rely on before they take text: a piece that
// crosses the text limit is cut at the limit, nothing is taken after a stop
// (cancel, time, text limit), and the reason of the stop is the first one met.
#include "guardedsink.h"

#include <QTest>

Q_DECLARE_METATYPE(GuardedSink::Stop)

namespace {
// Keeps what it is given, and how it was given.
class RecordingSink : public GuardedSink
{
public:
    QByteArray text;
    int emptyPieces = 0;

protected:
    void take(const char *utf8, std::size_t length) override
    {
        if (length == 0)
            ++emptyPieces;
        text.append(utf8, static_cast<int>(length));
    }
};
} // namespace

class TestGuardedSink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void limits_data()
    {
        QTest::addColumn<qint64>("textLimit");
        QTest::addColumn<QList<int>>("pieces");        // sizes of the pieces written, in order
        QTest::addColumn<int>("cancelBefore");         // the cancel flag is set before this piece (-1: never)
        QTest::addColumn<bool>("expired");             // the file's time is used up from the start
        QTest::addColumn<QList<bool>>("accepted");     // what each write() returns
        QTest::addColumn<int>("taken");                // bytes taken
        QTest::addColumn<GuardedSink::Stop>("stop");

        QTest::newRow("no limit") << qint64(-1) << QList<int>{10, 10} << -1 << false
                                  << QList<bool>{true, true} << 20 << GuardedSink::Stop::None;
        QTest::newRow("piece across the limit cut at it") << qint64(15) << QList<int>{10, 10, 10} << -1 << false
                                                          << QList<bool>{true, false, false} << 15 << GuardedSink::Stop::TextLimit;
        QTest::newRow("limit met exactly, then one byte more") << qint64(20) << QList<int>{10, 10, 1} << -1 << false
                                                               << QList<bool>{true, true, false} << 20 << GuardedSink::Stop::TextLimit;
        QTest::newRow("empty piece at the limit") << qint64(10) << QList<int>{10, 0} << -1 << false
                                                  << QList<bool>{true, true} << 10 << GuardedSink::Stop::None;
        QTest::newRow("limit of nothing") << qint64(0) << QList<int>{5} << -1 << false
                                          << QList<bool>{false} << 0 << GuardedSink::Stop::TextLimit;
        QTest::newRow("cancelled between pieces") << qint64(-1) << QList<int>{10, 10, 10} << 1 << false
                                                  << QList<bool>{true, false, false} << 10 << GuardedSink::Stop::Cancelled;
        QTest::newRow("time used up") << qint64(-1) << QList<int>{10} << -1 << true
                                      << QList<bool>{false} << 0 << GuardedSink::Stop::TimeLimit;
        QTest::newRow("text limit stop not overridden by a later cancel") << qint64(5) << QList<int>{10, 10} << 1 << false
                                                                          << QList<bool>{false, false} << 5 << GuardedSink::Stop::TextLimit;
    }
    void limits()
    {
        QFETCH(qint64, textLimit);
        QFETCH(QList<int>, pieces);
        QFETCH(int, cancelBefore);
        QFETCH(bool, expired);
        QFETCH(QList<bool>, accepted);
        QFETCH(int, taken);
        QFETCH(GuardedSink::Stop, stop);

        QByteArray input;
        for (int size : pieces)
            input.append(QByteArray(size, 'x'));
        for (int i = 0; i < input.size(); ++i)
            input[i] = static_cast<char>('a' + i % 26); // a cut in the wrong place shows
        std::atomic<bool> cancelled{false};
        RecordingSink sink;
        sink.setTextLimit(textLimit);
        sink.setCancelFlag(&cancelled);
        if (expired)
            sink.setDeadline(QDeadlineTimer(0));
        int offset = 0;
        QList<bool> results;
        for (int i = 0; i < pieces.size(); ++i) {
            if (i == cancelBefore)
                cancelled = true;
            results << sink.write(input.constData() + offset, static_cast<std::size_t>(pieces.at(i)));
            offset += pieces.at(i);
        }
        QCOMPARE(results, accepted);
        QCOMPARE(sink.text, input.left(taken));
        QCOMPARE(sink.textBytes(), qint64(taken));
        QCOMPARE(sink.stopReason(), stop);
        QCOMPARE(sink.emptyPieces, 0);
    }
};

QTEST_MAIN(TestGuardedSink)
#include "tst_guardedsink.moc"
