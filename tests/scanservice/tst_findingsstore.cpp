// The store stage on its own: text written as JSON strings reads back the
// same whatever it holds and wherever its escapes fall, and findings handed
// over faster than the writer commits them (more than its queue holds) are
// all committed, announced in order and readable.
#include "detaildocument.h"
#include "findingsstore.h"
#include "keywordpassages.h"
#include "scanlimits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

class TestFindingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jsonStrings_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QByteArray("机密文件 secret") << QStringLiteral("机密文件 secret");
        QTest::newRow("escapes at every place of eight")
            << QByteArray("a\"bc\\defgh\nijklmnop\x01qrstuvw\t\"") << QStringLiteral("a\"bc\\defgh\nijklmnop\x01qrstuvw\t\"");
        QTest::newRow("control after a long plain run")
            << QByteArray("0123456789abcdef0123456789\x1f") << QStringLiteral("0123456789abcdef0123456789\x1f");
        QTest::newRow("invalid bytes repaired") << QByteArray("ab\xFF" "cd") << QStringLiteral("ab\uFFFDcd");
    }
    void jsonStrings()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QString, expected);
        QByteArray json("[");
        DetailDocument::appendString(json, utf8);
        json.append(']');
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json, &error);
        QVERIFY2(error.error == QJsonParseError::NoError, json.constData());
        QCOMPARE(document.array().at(0).toString(), expected);
    }

    // A file's passages as the store keeps them, and the detail document's
    // JSON made from them: words written once, passages in their order,
    // damaged text repaired and escaped, a cut or foreign value read no further.
    void compactPassages_data()
    {
        QTest::addColumn<int>("cut");       // bytes taken off the end
        QTest::addColumn<char>("version");  // the first byte
        QTest::addColumn<QStringList>("expected"); // word, passage, word, passage, ...
        const QStringList all{"机密", "ab\uFFFDcd \"q\"", "salary", "x\n", "机密", QString(300, QChar(0x5B57))};
        QTest::newRow("whole") << 0 << KeywordPassages::Version << all;
        QTest::newRow("cut inside the last passage") << 3 << KeywordPassages::Version << QStringList(all.mid(0, 4));
        QTest::newRow("another layout") << 0 << char(KeywordPassages::Version + 1) << QStringList();
    }
    void compactPassages()
    {
        QFETCH(int, cut);
        QFETCH(char, version);
        QFETCH(QStringList, expected);
        const QByteArray words[] = {"机密", "salary"};
        const QByteArray passages[] = {"ab\xFF" "cd \"q\"", "x\n", QString(300, QChar(0x5B57)).toUtf8()};
        int numbers[] = {0, 0};
        int written = 0;
        QByteArray blob;
        const std::pair<int, int> hits[] = {{0, 0}, {1, 1}, {0, 2}}; // word, passage
        for (const auto &hit : hits) {
            const QByteArray &word = words[hit.first];
            const QByteArray &passage = passages[hit.second];
            KeywordPassages::append(blob, &numbers[hit.first], &written, word.constData(), std::size_t(word.size()),
                                    passage.constData(), std::size_t(passage.size()));
        }
        blob.chop(cut);
        blob[0] = version;
        QStringList got;
        QJsonParseError error;
        const QByteArray json = KeywordPassages::toJson(blob);
        for (const QJsonValue &hit : QJsonDocument::fromJson(json, &error).array())
            got << hit[QLatin1String("sensitive")].toString() << hit[QLatin1String("sensitive_ctx")].toString();
        QVERIFY2(json.isEmpty() || error.error == QJsonParseError::NoError, json.constData());
        QCOMPARE(got, expected);
    }

    // Text of every escape at every offset: what goes in comes out.
    void jsonStringsAtEveryOffset()
    {
        const QByteArray pieces[] = {"x", "机", "\"", "\\", "\n", "\x02", "\x7f", "01234567"};
        quint32 state = 7;
        for (int round = 0; round < 2000; ++round) {
            QByteArray text;
            for (int i = 0; i < 1 + round % 20; ++i) {
                state = state * 1664525u + 1013904223u;
                text += pieces[(state >> 16) % (sizeof(pieces) / sizeof(pieces[0]))];
            }
            QByteArray json("[");
            DetailDocument::appendString(json, text);
            json.append(']');
            QCOMPARE(QJsonDocument::fromJson(json).array().at(0).toString(), QString::fromUtf8(text));
        }
    }

    // Two threads hand over more findings than the writer's queue holds:
    // none is lost, each thread's are announced in the order handed over,
    // and every file reads back.
    void backPressureKeepsEveryFinding()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        FindingsStore store(dir.filePath("findings.db"));
        QString error;
        QVERIFY2(store.open(&error), qPrintable(error));
        store.beginTask(1, "/tree", 1);
        const QByteArray passage = QByteArray(1000, 'x');
        const int perThread = static_cast<int>(Limits::StoreQueueBytes / 100000) + 50; // well over the queue's bytes
        std::atomic<int> committed{0};
        std::atomic<int> refused{0};
        std::vector<int> lastSeen(2, -1);
        std::atomic<bool> ordered{true};
        std::vector<std::thread> threads;
        for (int t = 0; t < 2; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < perThread; ++i) {
                    FindingsStore::FileFindings findings;
                    findings.path = QStringLiteral("/tree/t%1/f%2.txt").arg(t).arg(i);
                    findings.counts = "{\"x\":100}";
                    for (int k = 0; k < 100; ++k)
                        DetailDocument::appendHit(findings.hits, "x", passage);
                    findings.hits.append(']');
                    store.addFile(1, std::move(findings), [&, t, i](bool ok, const QString &) {
                        (ok ? committed : refused)++;
                        if (lastSeen[t] + 1 != i)
                            ordered = false;
                        lastSeen[t] = i;
                    });
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        store.flush();
        QCOMPARE(refused.load(), 0);
        QCOMPARE(committed.load(), 2 * perThread);
        QVERIFY(ordered);
        for (int t = 0; t < 2; ++t) {
            for (int i : {0, perThread / 2, perThread - 1}) {
                QByteArray hits;
                QCOMPARE(store.keywordHits("/tree", 1, QStringLiteral("/tree/t%1/f%2.txt").arg(t).arg(i), &hits),
                         FindingsStore::Lookup::Found);
                QCOMPARE(QJsonDocument::fromJson(hits).array().size(), 100);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFindingsStore)
#include "tst_findingsstore.moc"
