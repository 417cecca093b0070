#include "documentreader.h"
#include "filewalker.h"
#include "sampledocuments.h"
#include "hitcollector.h"
#include "keywordmatcher.h"
#include "keywordpassages.h"
#include "plaintextextractor.h"
#include "transcontrolprotocol.h"
#include "scanlimits.h"
#include "scanpolicy.h"
#include "taskmanager.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Keeps the text a reader hands on.
struct TextCollector : TextSink
{
    QByteArray text;
    QStringList labelled; // "label=value"
    bool write(const char *utf8, std::size_t length) override
    {
        text.append(utf8, static_cast<int>(length));
        return true;
    }
    void labelledValue(const QByteArray &label, const QByteArray &value) override
    {
        labelled.append(QString::fromUtf8(label + "=" + value));
    }
};

struct ScanResult
{
    QMap<QString, int> counts;
    QStringList words;    // word of each kept passage, in order
    QStringList contexts; // the passages
};

ScanResult resultOf(const KeywordMatcher *matcher, HitCollector &collector)
{
    ScanResult result;
    collector.finish();
    for (int keyword : collector.foundKeywords())
        result.counts.insert(matcher->word(keyword), collector.occurrences(keyword));
    // The passages as the findings store gets them, and as their JSON is made when asked for.
    const QJsonArray passages = QJsonDocument::fromJson(KeywordPassages::toJson(collector.passages())).array();
    if (passages.size() != collector.passageCount())
        result.contexts.append(QStringLiteral("(the passages' JSON does not read)"));
    for (const QJsonValue &passage : passages) {
        result.words.append(passage[QLatin1String("sensitive")].toString());
        result.contexts.append(passage[QLatin1String("sensitive_ctx")].toString());
    }
    return result;
}

ScanResult scanText(const QStringList &keywords, const QByteArray &utf8, int pieceSize)
{
    QString error;
    const auto matcher = KeywordMatcher::compile(keywords, &error);
    if (!matcher)
        return ScanResult();
    KeywordMatcher::Stream stream(*matcher);
    HitCollector collector(*matcher, stream);
    for (int at = 0; at < utf8.size(); at += pieceSize)
        collector.write(utf8.constData() + at, static_cast<std::size_t>(qMin(pieceSize, utf8.size() - at)));
    return resultOf(matcher.get(), collector);
}

// Text of `size` bytes, ASCII lines with "机密" at each of the offsets.
QByteArray plantedText(int size, const QList<int> &offsets)
{
    QByteArray text;
    text.reserve(size);
    while (text.size() < size)
        text.append("public notes, nothing to see here; line ").append(QByteArray::number(text.size())).append('\n');
    text.truncate(size);
    const QByteArray word = QStringLiteral("机密").toUtf8();
    for (int at : offsets)
        text.replace(at, word.size(), word);
    return text;
}

// A policy document shaped as the client builds it.
QJsonObject policyObject(const QStringList &fileTypes, const QStringList &keywords, bool dataIdentifiers = false)
{
    QJsonArray rules;
    for (int i = 0; i < keywords.size(); ++i) {
        rules.append(QJsonObject{
            {"name", QStringLiteral("关键字检测规则%1").arg(i + 1)},
            {"description", "可配置一个或者多个关键字"},
            {"exception", false},
            {"keywords", QJsonArray{QJsonObject{{"pattern", keywords.at(i)}, {"maxmatches", -1}, {"distinct", false}, {"matchcondition", 1}}}}});
    }
    const QJsonObject detect{
        {"dataidentifier_detect_ruleset", dataIdentifiers},
        {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"name", "文件类型检测规则"}, {"description", "d"},
                                                           {"filetypes", QJsonArray::fromStringList(fileTypes)},
                                                           {"matchcondition", "ONEOF"}, {"exception", false}}}},
        {"keyword_detect_ruleset", rules}};
    return QJsonObject{
        {"version", "1.0.0"},
        {"policies", QJsonArray{QJsonObject{
                         {"name", "敏感信息扫描策略"},
                         {"description", "d"},
                         {"ruleset", QJsonObject{{"detect_ruleset", detect},
                                                 {"response_ruleset", QJsonArray{QJsonObject{{"name", "事件写入数据库"}, {"description", "d"}, {"action", "WriteDatabase"}}}}}}}}}};
}

QString encode(const QJsonObject &object)
{
    return QString::fromLatin1(QJsonDocument(object).toJson(QJsonDocument::Indented).toBase64());
}

QString fixture(const QString &name)
{
    return qEnvironmentVariable("DISCOVERY_SOURCE_DIR") + "/tests/scanservice/fixtures/" + name;
}

} // namespace

class TestScanServiceMatching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countsEveryOccurrence_data()
    {
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // "word=count"
        QTest::newRow("overlapping occurrences") << QStringList{"aa"} << "aaaa" << QStringList{"aa=3"};
        QTest::newRow("word inside a word") << QStringList{"机密", "密"} << "绝密机密文件" << QStringList{"机密=1", "密=2"};
        QTest::newRow("case-sensitive") << QStringList{"Secret"} << "secret SECRET Secret" << QStringList{"Secret=1"};
        QTest::newRow("empty pattern matches nothing") << QStringList{"", "x"} << "xx" << QStringList{"x=2"};
        QTest::newRow("repeated keyword counted once") << QStringList{"甲", "甲"} << "甲乙甲" << QStringList{"甲=2"};
        QTest::newRow("no hit") << QStringList{"机密"} << "公开资料" << QStringList{};
        QTest::newRow("regex characters are literal") << QStringList{"a.b", "(x)"} << "aXb a.b (x) x" << QStringList{"a.b=1", "(x)=1"};
    }
    void countsEveryOccurrence()
    {
        QFETCH(QStringList, keywords);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        // Whole, and byte by byte (every character cut): the same counts.
        for (int piece : {1 << 20, 1}) {
            const ScanResult result = scanText(keywords, text.toUtf8(), piece);
            QStringList got;
            for (auto it = result.counts.constBegin(); it != result.counts.constEnd(); ++it)
                got.append(QStringLiteral("%1=%2").arg(it.key()).arg(it.value()));
            QStringList want = expected;
            std::sort(got.begin(), got.end());
            std::sort(want.begin(), want.end());
            QCOMPARE(got, want);
        }
    }

    void keepsPassagesAroundHits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("contexts");
        const QString before(60, QChar(0x524D)); // 前
        const QString after(60, QChar(0x540E));  // 后
        QTest::newRow("forty characters on each side")
            << before + "机密" + after << QStringList{before.right(40) + "机密" + after.left(40)};
        // Characters of one, two and three bytes: counted by their first bytes, many at a time.
        const QString mixedBefore = QString::fromUtf8("a\xC3\xA9\xE4\xB8\xAD").repeated(20); // aé中
        const QString mixedAfter = QString::fromUtf8("\xE4\xB8\xAD\xC3\xA9" "a").repeated(20);  // 中éa
        QTest::newRow("characters of mixed widths")
            << mixedBefore + "机密" + mixedAfter << QStringList{mixedBefore.right(40) + "机密" + mixedAfter.left(40)};
        QTest::newRow("line breaks kept") << "第一行\r\n机密\n第三行" << QStringList{"第一行\r\n机密\n第三行"};
        QTest::newRow("at the very start and end") << "机密" << QStringList{"机密"};
        QTest::newRow("two hits in text order")
            << "A机密B" + QString(50, 'x') + "C机密D"
            << QStringList{"A机密B" + QString(39, 'x'), QString(39, 'x') + "C机密D"};
    }
    void keepsPassagesAroundHits()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, contexts);
        for (int piece : {1 << 20, 7, 1}) {
            const ScanResult result = scanText({"机密"}, text.toUtf8(), piece);
            QCOMPARE(result.contexts, contexts);
        }
    }

    void passagesCappedCountsExact()
    {
        QString text;
        for (int i = 0; i < 150; ++i)
            text += QStringLiteral("机密 第%1处\n").arg(i);
        const ScanResult result = scanText({"机密", "处"}, text.toUtf8(), 4096);
        QCOMPARE(result.counts.value("机密"), 150);
        QCOMPARE(result.counts.value("处"), 150);
        QCOMPARE(result.words.count("机密"), Limits::MaxPassagesPerWord);
        QCOMPARE(result.words.count("处"), Limits::MaxPassagesPerWord);
        QVERIFY(result.contexts.first().startsWith("机密 第0处"));
    }

    void manyKeywordsCompile()
    {
        QStringList words;
        for (int i = 0; i < 10000; ++i)
            words.append(QStringLiteral("词%1号").arg(i, 5, 10, QLatin1Char('0')));
        const ScanResult result = scanText(words, QStringLiteral("前词09999号后 词00000号").toUtf8(), 1 << 20);
        QCOMPARE(result.counts.size(), 2);
        QCOMPARE(result.counts.value("词09999号"), 1);
    }

    void detectsEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("moreFollows");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<int>("bom");
        QTextCodec *gb = QTextCodec::codecForName("GB18030");
        QTest::newRow("utf-8") << QStringLiteral("机密 text").toUtf8() << false << int(PlainTextExtractor::Encoding::Utf8) << 0;
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + QStringLiteral("机密").toUtf8() << false
                                   << int(PlainTextExtractor::Encoding::Utf8) << 3;
        QTest::newRow("utf-16le bom") << QByteArray("\xFF\xFE" "a\0", 4) << false << int(PlainTextExtractor::Encoding::Utf16LE) << 2;
        QTest::newRow("utf-16be bom") << QByteArray("\xFE\xFF\0a", 4) << false << int(PlainTextExtractor::Encoding::Utf16BE) << 2;
        QTest::newRow("gbk") << gb->fromUnicode(QStringLiteral("机密文件")) << false << int(PlainTextExtractor::Encoding::Gb18030) << 0;
        QTest::newRow("utf-8 cut by the chunk end") << QStringLiteral("机密").toUtf8().left(5) << true
                                                    << int(PlainTextExtractor::Encoding::Utf8) << 0;
        QTest::newRow("utf-8 cut at the file end") << QStringLiteral("机密").toUtf8().left(5) << false
                                                   << int(PlainTextExtractor::Encoding::Gb18030) << 0;
        QTest::newRow("overlong form") << QByteArray("\xC0\xAF") << false << int(PlainTextExtractor::Encoding::Gb18030) << 0;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false << int(PlainTextExtractor::Encoding::Gb18030) << 0;
        const QByteArray chinese = QStringLiteral("身份证号码与家庭住址都属于个人信息，请妥善保管。").toUtf8();
        QTest::newRow("utf-8 with a stray byte") << chinese + "\xff" + chinese << false << int(PlainTextExtractor::Encoding::Utf8) << 0;
        QTest::newRow("gbk with many characters") << gb->fromUnicode(QStringLiteral("身份证号码与家庭住址都属于个人信息，请妥善保管。").repeated(4))
                                                  << false << int(PlainTextExtractor::Encoding::Gb18030) << 0;
        QTest::newRow("more stray bytes than a slip") << chinese.left(30) + QByteArray("\xff\xfe\xfd\xfc") << false
                                                      << int(PlainTextExtractor::Encoding::Gb18030) << 0;
    }
    void detectsEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, moreFollows);
        QFETCH(int, encoding);
        QFETCH(int, bom);
        std::size_t bomLength = 99;
        QCOMPARE(int(PlainTextExtractor::detect(bytes.constData(), static_cast<std::size_t>(bytes.size()), moreFollows, &bomLength)),
                 encoding);
        QCOMPARE(int(bomLength), bom);
    }

    // Text above one chunk is read a chunk at a time: every byte once, in
    // order, a character or a word cut by a chunk's end still whole, as when
    // the same text is handed on in small pieces.
    void largeTextReadWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("utf8"); // the text the file holds
        QTest::addColumn<int>("planted");
        const int chunk = Limits::ReadChunkBytes;
        const QList<int> offsets{10, chunk - 3, 2 * chunk - 2, 3 * chunk + 7 - 6};
        const QByteArray utf8 = plantedText(3 * chunk + 7, offsets);
        QTest::newRow("utf-8, words across chunk ends, one at the end") << utf8 << utf8 << offsets.size();
        QTest::newRow("one byte above a chunk") << plantedText(chunk + 1, {chunk + 1 - 6}) << plantedText(chunk + 1, {chunk + 1 - 6}) << 1;
        // GB18030 with an odd lead: every chunk's end cuts a character in two.
        QString chinese = QStringLiteral("x");
        int planted = 0;
        while (chinese.size() < 3 * chunk / 2) {
            chinese += QStringLiteral("公开资料与会议纪要，");
            if (chinese.size() % 7 == 0) {
                chinese += QStringLiteral("机密");
                ++planted;
            }
        }
        const QByteArray gb = QTextCodec::codecForName("GB18030")->fromUnicode(chinese);
        QTest::newRow("gb18030, characters across chunk ends") << gb << chinese.toUtf8() << planted;
    }
    void largeTextReadWhole()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, utf8);
        QFETCH(int, planted);
        QVERIFY(bytes.size() > Limits::ReadChunkBytes);
        QTemporaryDir dir;
        const QString path = dir.path() + "/large.txt";
        QVERIFY(SampleDocuments::writeFile(path, bytes));
        QString error;
        const auto matcher = KeywordMatcher::compile({"机密"}, &error);
        KeywordMatcher::Stream stream(*matcher);
        HitCollector collector(*matcher, stream);
        QCOMPARE(int(DocumentReader::read(QFile::encodeName(path), DocumentReader::Kind::PlainText, collector)),
                 int(ExtractStatus::Ok));
        QCOMPARE(collector.textBytes(), qint64(utf8.size()));
        const ScanResult read = resultOf(matcher.get(), collector);
        QCOMPARE(read.counts.value(QStringLiteral("机密")), planted);
        const ScanResult inPieces = scanText({"机密"}, utf8, 4096);
        QCOMPARE(read.contexts, inPieces.contexts);
    }

    // A text file cut shorter after it was opened and its size taken (an
    // editor saving it anew, a log rotated) is read as far as it now goes:
    // the size is no promise, and the service never reads past the end
    // (a file read through a mapping would fault there).
    void textCutShorterAfterOpening_data()
    {
        QTest::addColumn<int>("cutTo");
        QTest::addColumn<int>("hits");
        const int chunk = Limits::ReadChunkBytes;
        QTest::newRow("to nothing") << 0 << 0;
        QTest::newRow("inside the first chunk") << chunk / 2 << 1;
        QTest::newRow("inside a later chunk") << chunk + chunk / 2 << 1;
        QTest::newRow("at a chunk's end") << 2 * chunk << 1;
    }
    void textCutShorterAfterOpening()
    {
        QFETCH(int, cutTo);
        QFETCH(int, hits);
        const int size = 3 * Limits::ReadChunkBytes;
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.path() + "/rotated.log");
        QVERIFY(SampleDocuments::writeFile(QFile::decodeName(path), plantedText(size, {100, size - 6})));
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        QVERIFY(::truncate(path.constData(), cutTo) == 0);
        QString error;
        const auto matcher = KeywordMatcher::compile({"机密"}, &error);
        KeywordMatcher::Stream stream(*matcher);
        HitCollector collector(*matcher, stream);
        const ExtractStatus status = DocumentReader::readOpen(fd, size, "rotated.log", DocumentReader::Kind::PlainText, collector);
        ::close(fd);
        QCOMPARE(int(status), int(ExtractStatus::Ok));
        QCOMPARE(collector.textBytes(), qint64(cutTo));
        QCOMPARE(resultOf(matcher.get(), collector).counts.value(QStringLiteral("机密")), hits);
    }

    // A source of known size is read to its end with no read past it when
    // the last read stops short right at that size, but a size that is no
    // longer true (the file grew or shrank after it was taken) or reads that
    // come in short pieces never cut the text.
    void textReadToItsEnd_data()
    {
        QTest::addColumn<int>("length");    // what the source holds
        QTest::addColumn<qint64>("known");  // the size the caller passes
        QTest::addColumn<int>("piece");     // the most one read gives
        QTest::addColumn<int>("reads");
        const int all = Limits::ReadChunkBytes;
        QTest::newRow("small file in one read") << 5000 << qint64(5000) << all << 1;
        QTest::newRow("in short pieces") << 5000 << qint64(5000) << 1000 << 5;
        QTest::newRow("grew after its size was taken") << 6000 << qint64(100) << all << 2;
        QTest::newRow("shrank after its size was taken") << 2000 << qint64(5000) << all << 2;
        QTest::newRow("size unknown") << 5000 << qint64(-1) << all << 2;
        QTest::newRow("empty") << 0 << qint64(0) << all << 1;
        QTest::newRow("exactly one chunk") << all << qint64(all) << all << 2;
        QTest::newRow("one chunk and a byte") << all + 1 << qint64(all + 1) << all << 2;
    }
    void textReadToItsEnd()
    {
        QFETCH(int, length);
        QFETCH(qint64, known);
        QFETCH(int, piece);
        QFETCH(int, reads);
        QByteArray text(length, 'a');
        for (int i = 0; i < length; ++i)
            text[i] = char('a' + i % 23);
        struct Collected : TextSink
        {
            QByteArray text;
            bool write(const char *utf8, std::size_t size) override
            {
                text.append(utf8, int(size));
                return true;
            }
        } sink;
        int position = 0;
        int calls = 0;
        const PlainTextExtractor::Read read = [&](char *buffer, std::size_t size) -> ssize_t {
            ++calls;
            const int n = std::min({int(size), piece, length - position});
            std::memcpy(buffer, text.constData() + position, std::size_t(n));
            position += n;
            return n;
        };
        QCOMPARE(int(PlainTextExtractor::extract(read, sink, known)), int(ExtractStatus::Ok));
        QCOMPARE(sink.text, text);
        QCOMPARE(calls, reads);
    }

    void walkSelectsRegularFilesByExtension()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString root = dir.path();
        QVERIFY(QDir(root).mkpath("sub/deeper"));
        for (const char *name : {"a.TXT", "b.tar.gz", "c.md", ".txt", "noext", "sub/d.txt", "sub/deeper/e.Txt", "f.tx",
                                 "g.txtx", "h.Ätxt"})
            QVERIFY(SampleDocuments::writeFile(root + "/" + name, "x"));
        QVERIFY(QFile::link(root + "/a.TXT", root + "/link.txt"));
        QVERIFY(QFile::link(root, root + "/sub/loop"));
        QCOMPARE(::mkfifo(QFile::encodeName(root + "/pipe.txt").constData(), 0600), 0);

        FileWalker walker({QFile::encodeName(root)}, {"txt", "gz"});
        walker.setWantSizes(true);
        QStringList seen;
        QVERIFY(walker.walk([&](const FileWalker::File &file) {
            seen.append(QString::fromUtf8(file.path).mid(root.size() + 1));
            return file.size == 1;
        }));
        QCOMPARE(seen, (QStringList{"a.TXT", "b.tar.gz", "sub/d.txt", "sub/deeper/e.Txt"}));
        QCOMPARE(walker.skipped(FileWalker::SymbolicLink), 2);
        QCOMPARE(walker.skipped(FileWalker::SpecialFile), 1);

        // A walk that only counts selects the same files.
        FileWalker counting({QFile::encodeName(root)}, {"txt", "gz"});
        counting.setWantSizes(true);
        counting.setWantPaths(false);
        int files = 0;
        qint64 bytes = 0;
        QVERIFY(counting.walk([&](const FileWalker::File &file) {
            ++files;
            bytes += file.size;
            return true;
        }));
        QCOMPARE(files, seen.size());
        QCOMPARE(bytes, qint64(seen.size()));
    }

    void walkLeavesPseudoFileSystems()
    {
        FileWalker walker({"/proc/self"}, {"txt", "status", "maps"});
        int selected = 0;
        walker.walk([&](const FileWalker::File &) { return ++selected < 1000; });
        QCOMPARE(selected, 0);
        QCOMPARE(walker.skipped(FileWalker::PseudoFileSystem), 1);
    }

    void pathListRoots_data()
    {
        QTest::addColumn<QString>("pathlist");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("roots"); // relative to the temporary directory
        QTest::newRow("one directory") << "@" << int(ReturnCode::Ok) << QStringList{""};
        QTest::newRow("trailing slash cleaned") << "@/sub/" << int(ReturnCode::Ok) << QStringList{"/sub"};
        QTest::newRow("repeat and nested entry dropped") << "@/sub|@|@/sub/f.txt|@" << int(ReturnCode::Ok) << QStringList{""};
        QTest::newRow("siblings kept in order") << "@/sub2|@/sub" << int(ReturnCode::Ok) << QStringList{"/sub2", "/sub"};
        QTest::newRow("same prefix is not nesting") << "@/sub|@/sub2" << int(ReturnCode::Ok) << QStringList{"/sub", "/sub2"};
        QTest::newRow("a file") << "@/sub/f.txt" << int(ReturnCode::Ok) << QStringList{"/sub/f.txt"};
        QTest::newRow("relative") << "sub" << int(ReturnCode::InvalidPathList) << QStringList{};
        QTest::newRow("missing") << "@/nothing" << int(ReturnCode::InvalidPathList) << QStringList{};
        QTest::newRow("empty entry") << "@||@/sub" << int(ReturnCode::InvalidPathList) << QStringList{};
        QTest::newRow("empty") << "" << int(ReturnCode::InvalidPathList) << QStringList{};
        QTest::newRow("a fifo") << "@/fifo" << int(ReturnCode::InvalidPathList) << QStringList{};
    }
    void pathListRoots()
    {
        QFETCH(QString, pathlist);
        QFETCH(int, code);
        QFETCH(QStringList, roots);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("sub"));
        QVERIFY(QDir(dir.path()).mkpath("sub2"));
        QVERIFY(SampleDocuments::writeFile(dir.path() + "/sub/f.txt", "x"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.path() + "/fifo").constData(), 0600), 0);
        QList<QByteArray> got;
        QString reason;
        QCOMPARE(TaskManager::parsePathList(pathlist.replace("@", dir.path()), &got, &reason), code);
        if (code != ReturnCode::Ok) {
            QVERIFY(!reason.isEmpty());
            return;
        }
        QStringList relative;
        for (const QByteArray &root : got)
            relative.append(QString::fromUtf8(root).mid(dir.path().size()));
        QCOMPARE(relative, roots);
    }

    void policyFromClientDocument()
    {
        QJsonObject document = policyObject({"txt", "PDF", ".docx"}, {"甲", "乙", "甲", "", "say \"hi\"\\"});
        // An exception rule names what is allowed: its words are not sought.
        QJsonObject policy = document["policies"].toArray().first().toObject();
        QJsonObject ruleset = policy["ruleset"].toObject();
        QJsonObject detect = ruleset["detect_ruleset"].toObject();
        QJsonArray rules = detect["keyword_detect_ruleset"].toArray();
        rules.append(QJsonObject{{"exception", true}, {"keywords", QJsonArray{QJsonObject{{"pattern", "丙"}}}}});
        detect["keyword_detect_ruleset"] = rules;
        ruleset["detect_ruleset"] = detect;
        policy["ruleset"] = ruleset;
        document["policies"] = QJsonArray{policy};

        ScanPolicy parsed;
        QString reason;
        QCOMPARE(ScanPolicy::parse(encode(document), 1, &parsed, &reason), int(ReturnCode::Ok));
        QCOMPARE(parsed.keywords(), (QStringList{"甲", "乙", "say \"hi\"\\"}));
        QCOMPARE(parsed.fileTypes(), (QSet<QString>{"txt", "pdf", "docx"}));
        QVERIFY(parsed.writeDatabase());
        QVERIFY(!parsed.dataIdentifiers());
    }

    void policyRefusals_data()
    {
        QTest::addColumn<QString>("policy");
        QTest::addColumn<int>("tasktype");
        QTest::addColumn<int>("code");
        const QJsonObject good = policyObject({"txt"}, {"甲"});
        auto without = [&](const QStringList &path) {
            // Removes the member at the end of path (objects, first array element).
            std::function<QJsonValue(QJsonValue, int)> strip = [&](QJsonValue value, int depth) -> QJsonValue {
                if (value.isArray()) {
                    QJsonArray array = value.toArray();
                    array[0] = strip(array[0], depth);
                    return array;
                }
                QJsonObject object = value.toObject();
                if (depth == path.size() - 1)
                    object.remove(path.last());
                else
                    object[path[depth]] = strip(object[path[depth]], depth + 1);
                return object;
            };
            return encode(strip(good, 0).toObject());
        };
        QTest::newRow("not base64") << "@@not base64@@" << 1 << int(ReturnCode::PolicyNotBase64);
        QTest::newRow("base64 of non-json") << QString::fromLatin1(QByteArray("hello").toBase64()) << 1 << int(ReturnCode::PolicyNotJson);
        QTest::newRow("json array") << QString::fromLatin1(QByteArray("[1,2]").toBase64()) << 1 << int(ReturnCode::PolicyNotJson);
        QTest::newRow("no version") << without({"version"}) << 1 << int(ReturnCode::PolicyInvalid);
        QTest::newRow("no ruleset") << without({"policies", "ruleset"}) << 1 << int(ReturnCode::PolicyInvalid);
        QTest::newRow("no file types") << without({"policies", "ruleset", "detect_ruleset", "filetype_detect_ruleset"}) << 1
                                       << int(ReturnCode::PolicyInvalid);
        QTest::newRow("no data identifier flag")
            << without({"policies", "ruleset", "detect_ruleset", "dataidentifier_detect_ruleset"}) << 1 << int(ReturnCode::PolicyInvalid);
        QJsonObject wrong = good;
        wrong["policies"] = QJsonObject{};
        QTest::newRow("policies not an array") << encode(wrong) << 1 << int(ReturnCode::PolicyInvalid);
        QTest::newRow("no keyword for a keyword task") << encode(policyObject({"txt"}, {})) << 1 << int(ReturnCode::PolicyNoKeywords);
        QTest::newRow("only empty keywords") << encode(policyObject({"txt"}, {""})) << 1 << int(ReturnCode::PolicyNoKeywords);
        QTest::newRow("privacy task needs none") << encode(policyObject({"txt"}, {}, true)) << 3 << int(ReturnCode::Ok);
        QTest::newRow("no file type at all") << encode(policyObject({}, {"甲"})) << 1 << int(ReturnCode::PolicyInvalid);
    }
    void policyRefusals()
    {
        QFETCH(QString, policy);
        QFETCH(int, tasktype);
        QFETCH(int, code);
        ScanPolicy parsed;
        QString reason;
        QCOMPARE(ScanPolicy::parse(policy, tasktype, &parsed, &reason), code);
        QCOMPARE(reason.isEmpty(), code == ReturnCode::Ok);
    }

    void hostileContainersStopped_data()
    {
        QTest::addColumn<QByteArray>("documentXml");
        QTest::addColumn<int>("status");
        const QByteArray w = "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
        QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"机密机密机密机密机密机密机密机密\">";
        char previous = 'a';
        for (char e = 'b'; e <= 'j'; ++e, ++previous) {
            bomb += QByteArray("<!ENTITY ") + e + " \"";
            for (int i = 0; i < 10; ++i)
                bomb += QByteArray("&") + previous + ";";
            bomb += "\">";
        }
        bomb += "]>" + w + "<w:p><w:r><w:t>&j;</w:t></w:r></w:p></w:body></w:document>";
        QTest::newRow("entity expansion bomb") << bomb << int(ExtractStatus::Corrupt);
        QByteArray huge = w + "<w:p><w:r><w:t>";
        huge += QByteArray(40 << 20, ' ');
        huge += "机密</w:t></w:r></w:p></w:body></w:document>";
        QTest::newRow("compression ratio bomb") << huge << int(ExtractStatus::LimitExceeded);
        QTest::newRow("broken xml") << w + "<w:p><w:t>机密</w:p>" << int(ExtractStatus::Corrupt);
    }
    void hostileContainersStopped()
    {
        QFETCH(QByteArray, documentXml);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString path = dir.path() + "/hostile.docx";
        QVERIFY(SampleDocuments::writeZip(path, {{"word/document.xml", documentXml}}));
        QString error;
        const auto matcher = KeywordMatcher::compile({"机密"}, &error);
        KeywordMatcher::Stream stream(*matcher);
        HitCollector collector(*matcher, stream);
        collector.setTextLimit(Limits::MaxExtractedTextBytes);
        QCOMPARE(int(DocumentReader::read(QFile::encodeName(path), DocumentReader::Kind::Docx, collector)), status);
        collector.finish();
        QVERIFY(collector.textBytes() < 1 << 20);
    }

    void legacyOfficeText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("fragments"); // in reading order
        QTest::newRow("doc") << "legacy.doc"
                             << QStringList{"机密文件：第一季度客户资料\n", "身份证号：11010519491231002X\n", "联系手机", "13912345678",
                                            "绝密", "English text stays readable."};
        QTest::newRow("xls") << "legacy.xls" << QStringList{"客户名单", "身份证号 11010519491231002X", "机密", "绝密", "13912345678"};
        QTest::newRow("ppt") << "legacy.ppt" << QStringList{"季度汇报 机密", "联系人：张三 手机 13912345678", "讲稿绝密"};
    }
    void legacyOfficeText()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, fragments);
        const QString path = qEnvironmentVariable("DISCOVERY_SOURCE_DIR") + "/tests/scanservice/fixtures/" + file;
        TextCollector text;
        const QByteArray native = QFile::encodeName(path);
        QCOMPARE(int(DocumentReader::read(native, DocumentReader::kindOf(DocumentReader::extensionOf(native)), text)),
                 int(ExtractStatus::Ok));
        const QString got = QString::fromUtf8(text.text);
        int at = 0;
        for (const QString &fragment : fragments) {
            const int found = got.indexOf(fragment, at);
            QVERIFY2(found >= 0, qPrintable(QStringLiteral("%1 not after %2 in: %3").arg(fragment).arg(at).arg(got)));
            at = found + fragment.size();
        }
    }

    void damagedCompoundFilesRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("damage");
        for (const char *file : {"legacy.doc", "legacy.xls", "legacy.ppt"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 cut in half").arg(file))) << file << "truncate";
            QTest::newRow(qPrintable(QStringLiteral("%1 with a loop in its sector table").arg(file))) << file << "loop";
            QTest::newRow(qPrintable(QStringLiteral("%1 with random bytes after the header").arg(file))) << file << "noise";
        }
    }
    void damagedCompoundFilesRefused()
    {
        QFETCH(QString, file);
        QFETCH(QString, damage);
        QByteArray bytes = SampleDocuments::readFile(qEnvironmentVariable("DISCOVERY_SOURCE_DIR") + "/tests/scanservice/fixtures/" + file);
        QVERIFY(bytes.size() > 4096);
        if (damage == "truncate") {
            bytes.truncate(bytes.size() / 2);
        } else if (damage == "loop") {
            // Every entry of the first sector of the allocation table points to sector 0.
            const quint32 fatSector = qFromLittleEndian<quint32>(bytes.constData() + 0x4C);
            char *fat = bytes.data() + (fatSector + 1) * 512;
            for (int i = 0; i < 128; ++i)
                qToLittleEndian<quint32>(0, fat + 4 * i);
        } else {
            quint32 state = 7;
            for (int i = 512; i < bytes.size(); ++i) {
                state = state * 1103515245u + 12345u;
                bytes[i] = static_cast<char>(state >> 24);
            }
        }
        QTemporaryDir dir;
        const QString path = dir.path() + "/" + file;
        QVERIFY(SampleDocuments::writeFile(path, bytes));
        TextCollector text;
        const QByteArray native = QFile::encodeName(path);
        const ExtractStatus status = DocumentReader::read(native, DocumentReader::kindOf(DocumentReader::extensionOf(native)), text);
        // Damage is reported, or what could be read is read; nothing hangs or crashes.
        QVERIFY2(status == ExtractStatus::Corrupt || status == ExtractStatus::Ok, qPrintable(QString::number(int(status))));
        QVERIFY(text.text.size() < bytes.size() * 4);
    }

    // Word keeps a document edited in several sessions, or mixing Latin and
    // Chinese text, as many pieces, some 8-bit and some UTF-16, stored out of
    // order. Every piece's text must be read.
    void multiPieceWordDocument()
    {
        TextCollector text;
        const QByteArray native = QFile::encodeName(fixture("multipiece.doc"));
        QCOMPARE(int(DocumentReader::read(native, DocumentReader::Kind::Doc, text)), int(ExtractStatus::Ok));
        const QString got = QString::fromUtf8(text.text);
        QCOMPARE(got.count(QStringLiteral("confidential")), 200);
        QCOMPARE(got.count(QStringLiteral("机密")), 100);
        const int first = got.indexOf(QStringLiteral("Paragraph 0 is confidential.\n第1段：机密 and confidential\n"));
        QVERIFY2(first == 0, qPrintable(got.left(200)));
        QVERIFY(got.endsWith(QStringLiteral("Paragraph 198 is confidential.\n第199段：机密 and confidential\n")));
    }

    // A crafted piece table is refused cleanly, never read past its stream.
    void craftedPieceTableRefused_data()
    {
        QTest::addColumn<quint32>("offset"); // from the start of the piece table's length field
        QTest::addColumn<quint32>("value");
        // A length that wraps a 32-bit bounds check: position 12 in the Clx plus 2^32 - 12.
        QTest::newRow("length wrapping 32 bits") << 0u << 0xFFFFFFF4u;
        QTest::newRow("length past the Clx") << 0u << 4u + 12u * 201u;
        QTest::newRow("length not a whole number of pieces") << 0u << 4u + 12u * 200u - 8u;
        // The first piece's text offset (UTF-16) beyond the stream.
        QTest::newRow("piece past the stream") << 4u + 4u * 201u + 2u << 0x3FFFFFF0u;
        QTest::newRow("compressed piece past the stream") << 4u + 4u * 201u + 2u << 0x7FFFFFF0u;
        // Character positions going backwards.
        QTest::newRow("positions backwards") << 4u + 4u * 2u << 1u;
    }
    void craftedPieceTableRefused()
    {
        QFETCH(quint32, offset);
        QFETCH(quint32, value);
        QByteArray bytes = SampleDocuments::readFile(fixture("multipiece.doc"));
        // The Clx: a 4-byte property run, then the piece table of 200 pieces (4 + 12 * 200 bytes).
        const QByteArray clx = QByteArray::fromHex("0104003508010002") + QByteArray::fromHex("64090000");
        const int at = bytes.indexOf(clx);
        QVERIFY(at > 0);
        qToLittleEndian<quint32>(value, bytes.data() + at + 8 + offset);
        QTemporaryDir dir;
        const QString path = dir.path() + "/crafted.doc";
        QVERIFY(SampleDocuments::writeFile(path, bytes));
        TextCollector text;
        QCOMPARE(int(DocumentReader::read(QFile::encodeName(path), DocumentReader::Kind::Doc, text)), int(ExtractStatus::Corrupt));
    }

    void notAZipIsCorrupt()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/fake.xlsx";
        QVERIFY(SampleDocuments::writeFile(path, "机密 but plain text"));
        QString error;
        const auto matcher = KeywordMatcher::compile({"机密"}, &error);
        KeywordMatcher::Stream stream(*matcher);
        HitCollector collector(*matcher, stream);
        QCOMPARE(int(DocumentReader::read(QFile::encodeName(path), DocumentReader::Kind::Xlsx, collector)),
                 int(ExtractStatus::Corrupt));
    }

    // Number cells read as the sheet shows them: a mobile or card number
    // stored as a number keeps every digit and never appears in exponent
    // form; a shared string's index is not taken for a number.
    void xlsxNumberCellsAsShown_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("mobile") << "13912345678" << "13912345678";
        QTest::newRow("mobile in exponent form") << "1.3912345678E10" << "13912345678";
        QTest::newRow("card number beyond a double's digits") << "6.2220212345678901E+18" << "6222021234567890100";
        QTest::newRow("amount") << "8500.5" << "8500.5";
        QTest::newRow("binary fraction") << "0.30000000000000004" << "0.3";
        QTest::newRow("small fraction in exponent form") << "1.5E-3" << "0.0015";
        QTest::newRow("negative with trailing zeros") << "-12.50" << "-12.5";
    }
    void xlsxNumberCellsAsShown()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        const QString path = dir.path() + "/numbers.xlsx";
        QVERIFY(SampleDocuments::writeXlsxSheets(path, {{"Sheet1", {{{"手机", false}, {stored, true}}}}}));
        TextCollector text;
        QCOMPARE(int(DocumentReader::read(QFile::encodeName(path), DocumentReader::Kind::Xlsx, text)), int(ExtractStatus::Ok));
        QCOMPARE(QString::fromUtf8(text.text), QStringLiteral("手机\n%1\n").arg(shown));
    }

    // A sheet's cells go to the sink with their column header (the first row
    // of two cells or more, a title row above it left out), shared strings
    // resolved, numbers as shown, empty cells and the header row itself not;
    // the text is what it was without them.
    void xlsxCellsWithTheirHeaders()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/roster.xlsx";
        using C = SampleDocuments::Cell;
        QVERIFY(SampleDocuments::writeXlsxSheets(path, {{"Sheet1", {{C{"员工花名册", false}},
                                                                    {C{"工号", false}, C{"姓名", false}, C{"手机", false}},
                                                                    {C{"4860", true}, C{"刘洁", false}, C{"13912345678", true}},
                                                                    {C{"", false}, C{"姓名", false}, C{"1.3912345679E10", true}}}}}));
        TextCollector text;
        QCOMPARE(int(DocumentReader::read(QFile::encodeName(path), DocumentReader::Kind::Xlsx, text)), int(ExtractStatus::Ok));
        QCOMPARE(text.labelled, (QStringList{"工号=4860", "姓名=刘洁", "手机=13912345678", "姓名=姓名", "手机=13912345679"}));
        QVERIFY2(!text.text.contains("工号=") && text.text.contains("刘洁"), text.text.constData());
    }

    // Tables of documents and slides give their cells with the column header
    // too; a paragraph outside the table gives none.
    void documentTablesWithTheirHeaders_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("docx") << int(DocumentReader::Kind::Docx);
        QTest::newRow("pptx") << int(DocumentReader::Kind::Pptx);
    }
    void documentTablesWithTheirHeaders()
    {
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QList<SampleDocuments::Block> blocks{{"花名册 工号 4860", {}},
                                                   {QString(), {{"工号", "姓名", "职务"}, {"4860", "刘洁", "人力资源主管"}, {"4861", "", "会计"}}}};
        const QString path = dir.path() + (kind == int(DocumentReader::Kind::Docx) ? "/t.docx" : "/t.pptx");
        QVERIFY(kind == int(DocumentReader::Kind::Docx) ? SampleDocuments::writeDocxBlocks(path, blocks)
                                                        : SampleDocuments::writePptxBlocks(path, {blocks}));
        TextCollector text;
        QCOMPARE(int(DocumentReader::read(QFile::encodeName(path), static_cast<DocumentReader::Kind>(kind), text)), int(ExtractStatus::Ok));
        QCOMPARE(text.labelled, (QStringList{"工号=4860", "姓名=刘洁", "职务=人力资源主管", "工号=4861", "职务=会计"}));
    }
};

QTEST_GUILESS_MAIN(TestScanServiceMatching)
#include "tst_scanservice_matching.moc"
