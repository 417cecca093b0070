// scan_throughput: the service's keyword scan against ripgrep and against
// Hyperscan alone on a text corpus, against ripgrep and find on a tree of
// many small files, and against pdftotext on a PDF corpus; its privacy scan
// against ripgrep with the rule table's expressions on a corpus of Chinese
// text full of ordinary numbers. Wall and processor time, the median of
// several runs. See README.md.
#include "privacyrules.h"
#include "privacysamples.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <hs.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

QTextStream out(stdout);

const QStringList Keywords = {"机密文件", "内部资料", "绝密", "商业秘密", "身份证号码", "银行账户", "工资明细", "合同编号",
                              "confidential", "password", "internal only", "do not distribute", "secret key",
                              "customer list", "salary", "acquisition"};

// A small deterministic generator (64-bit LCG).
struct Random
{
    quint64 state;
    quint32 next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<quint32>(state >> 33);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<quint32>(n)); }
};

QStringList vocabulary()
{
    const QString chinese = QStringLiteral(
        "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处府");
    QStringList words;
    Random random{42};
    for (int i = 0; i < 4000; ++i) {
        QString word;
        const int length = 1 + random.below(3);
        for (int k = 0; k < length; ++k)
            word += chinese.at(random.below(chinese.size()));
        words.append(word);
    }
    const char *english[] = {"the", "report", "quarter", "market", "system", "data", "analysis", "project", "meeting",
                             "budget", "review", "update", "network", "service", "client", "office", "policy", "team",
                             "result", "process", "growth", "value", "design", "document", "schedule", "plan"};
    for (const char *word : english)
        for (int i = 0; i < 40; ++i)
            words.append(QString::fromLatin1(word));
    return words;
}

// One line of mixed text, sometimes with a planted keyword.
QByteArray line(Random &random, const QStringList &words, int *planted)
{
    QString text;
    const int count = 8 + random.below(20);
    for (int i = 0; i < count; ++i) {
        const QString &word = words.at(random.below(words.size()));
        if (!text.isEmpty() && word.at(0).unicode() < 128)
            text += QLatin1Char(' ');
        text += word;
        if (random.below(400) == 0) {
            text += Keywords.at(random.below(Keywords.size()));
            ++*planted;
        }
    }
    text += random.below(10) == 0 ? QStringLiteral("。\n") : QStringLiteral("，");
    return text.toUtf8();
}

bool makeTextCorpus(const QString &dir, int files, qint64 totalBytes, int *planted)
{
    QDir().mkpath(dir);
    const QStringList words = vocabulary();
    Random random{2024};
    const qint64 perFile = totalBytes / files;
    for (int f = 0; f < files; ++f) {
        const QString sub = dir + QStringLiteral("/d%1").arg(f / 100, 2, 10, QLatin1Char('0'));
        QDir().mkpath(sub);
        QFile file(sub + QStringLiteral("/doc%1.txt").arg(f, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        QByteArray buffer;
        buffer.reserve(static_cast<int>(perFile + 4096));
        while (buffer.size() < perFile)
            buffer += line(random, words, planted);
        file.write(buffer);
    }
    return true;
}

// Many small files (1 to 4 KB of the text corpus's lines) in a deep tree:
// twenty files to a directory, five levels of directories below the top.
bool makeSmallCorpus(const QString &dir, int files, int *planted)
{
    QDir().mkpath(dir);
    const QStringList words = vocabulary();
    Random random{77};
    for (int f = 0; f < files; ++f) {
        const int leaf = f / 20;
        const QString sub = dir + QStringLiteral("/a%1/b%2/c%3/d%4/e%5")
                                      .arg(leaf / 10000)
                                      .arg(leaf / 1000 % 10)
                                      .arg(leaf / 100 % 10)
                                      .arg(leaf / 10 % 10)
                                      .arg(leaf % 10);
        if (f % 20 == 0)
            QDir().mkpath(sub);
        QFile file(sub + QStringLiteral("/note%1.txt").arg(f));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const int size = 1024 + random.below(3 * 1024);
        QByteArray buffer;
        while (buffer.size() < size)
            buffer += line(random, words, planted);
        file.write(buffer);
    }
    return true;
}

// One line of Chinese text with ordinary numbers: dates, amounts, counts, percentages, times.
QByteArray numberLine(Random &random, const QStringList &words)
{
    QString text;
    const int count = 6 + random.below(12);
    for (int i = 0; i < count; ++i) {
        text += words.at(random.below(words.size()));
        switch (random.below(8)) {
        case 0:
            text += QStringLiteral("%1年%2月%3日").arg(2000 + random.below(25)).arg(1 + random.below(12)).arg(1 + random.below(28));
            break;
        case 1:
            text += QStringLiteral("%1-%2-%3").arg(2000 + random.below(25)).arg(1 + random.below(12), 2, 10, QLatin1Char('0')).arg(1 + random.below(28), 2, 10, QLatin1Char('0'));
            break;
        case 2:
            text += QStringLiteral("%1,%2.%3元").arg(1 + random.below(999)).arg(random.below(1000), 3, 10, QLatin1Char('0')).arg(random.below(100), 2, 10, QLatin1Char('0'));
            break;
        case 3:
            text += QStringLiteral("共%1件").arg(random.below(100000));
            break;
        case 4:
            text += QStringLiteral("%1.%2%").arg(random.below(100)).arg(random.below(10));
            break;
        case 5:
            text += QStringLiteral("%1:%2").arg(random.below(24), 2, 10, QLatin1Char('0')).arg(random.below(60), 2, 10, QLatin1Char('0'));
            break;
        default:
            break;
        }
    }
    text += random.below(6) == 0 ? QStringLiteral("。\n") : QStringLiteral("，");
    return text.toUtf8();
}

// Chinese text full of ordinary numbers, with a sentence of personal data
// (a valid item of a random rule) about every 200 lines.
bool makePrivacyCorpus(const QString &dir, int files, qint64 totalBytes, int *planted)
{
    QDir().mkpath(dir);
    QStringList words = vocabulary();
    words.erase(std::remove_if(words.begin(), words.end(), [](const QString &w) { return w.at(0).unicode() < 128; }), words.end());
    Random random{99};
    PrivacySamples samples(99);
    const QStringList rules = PrivacySamples::rules();
    QList<PrivacySamples::Item> items;
    const qint64 perFile = totalBytes / files;
    for (int f = 0; f < files; ++f) {
        const QString sub = dir + QStringLiteral("/d%1").arg(f / 100, 2, 10, QLatin1Char('0'));
        QDir().mkpath(sub);
        QFile file(sub + QStringLiteral("/doc%1.txt").arg(f, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        QByteArray buffer;
        buffer.reserve(static_cast<int>(perFile + 4096));
        while (buffer.size() < perFile) {
            buffer += numberLine(random, words);
            if (random.below(200) == 0)
                buffer += samples.valid(rules.at(random.below(rules.size())), &items).toUtf8() + '\n';
        }
        file.write(buffer);
    }
    *planted = items.size();
    return true;
}

// The rule table's expressions for ripgrep in ASCII mode (--no-unicode):
// patterns as they are, runs as \b[0-9A-Za-z]{N,M}\b, dictionary words as literals, every byte of a
// Chinese character written as \xHH. Validators and context words (which
// the service looks for only around a candidate) are left out.
QByteArray ripgrepPatterns(const PrivacyRuleTable &table)
{
    auto bytes = [](const QByteArray &text, bool literal) {
        QByteArray out;
        for (char c : text) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u >= 0x80) {
                out += "\\x" + QByteArray::number(u, 16).toUpper();
            } else {
                if (literal && std::strchr("\\.+*?()|[]{}^$#&-~ /", c))
                    out += '\\';
                out += c;
            }
        }
        return out;
    };
    QByteArray patterns;
    for (const PrivacyRule &rule : table.rules()) {
        if (rule.runMin > 0)
            patterns += "\\b[0-9A-Za-z]{" + QByteArray::number(rule.runMin) + ',' + QByteArray::number(rule.runMax) + "}\\b\n";
        for (const QString &pattern : rule.patterns)
            patterns += bytes(pattern.toUtf8(), false) + '\n';
        for (const QString &word : rule.words)
            patterns += bytes(word.toUtf8(), true) + '\n';
    }
    return patterns;
}

bool makePdfCorpus(const QString &dir, int files, int *planted)
{
    QDir().mkpath(dir);
    const QStringList words = vocabulary();
    Random random{7};
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(9);
    for (int f = 0; f < files; ++f) {
        QPdfWriter writer(dir + QStringLiteral("/doc%1.pdf").arg(f, 4, 10, QLatin1Char('0')));
        writer.setResolution(150);
        QPainter painter(&writer);
        painter.setFont(font);
        for (int page = 0; page < 10; ++page) {
            if (page > 0)
                writer.newPage();
            QString text;
            while (text.size() < 2500)
                text += QString::fromUtf8(line(random, words, planted));
            painter.drawText(QRect(60, 60, writer.width() - 120, writer.height() - 120), Qt::TextWordWrap, text);
        }
    }
    return true;
}

QString privacyPolicy()
{
    const QJsonObject detect{{"dataidentifier_detect_ruleset", true},
                             {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"name", "n"}, {"description", "d"}, {"filetypes", QJsonArray{"txt", "pdf", "doc", "docx", "xls", "xlsx", "ppt", "pptx", "zip", "rar", "7z", "tar", "gz"}}, {"matchcondition", "ONEOF"}, {"exception", false}}}},
                             {"keyword_detect_ruleset", QJsonArray{}}};
    const QJsonObject root{{"version", "1.0.0"},
                           {"policies", QJsonArray{QJsonObject{{"name", "p"}, {"description", "d"},
                                                               {"ruleset", QJsonObject{{"detect_ruleset", detect}, {"response_ruleset", QJsonArray{QJsonObject{{"name", "n"}, {"description", "d"}, {"action", "WriteDatabase"}}}}}}}}}};
    return QString::fromLatin1(QJsonDocument(root).toJson().toBase64());
}

QString policy()
{
    QJsonArray rules;
    for (int i = 0; i < Keywords.size(); ++i)
        rules.append(QJsonObject{{"name", QStringLiteral("关键字检测规则%1").arg(i + 1)}, {"description", "d"}, {"exception", false},
                                 {"keywords", QJsonArray{QJsonObject{{"pattern", Keywords.at(i)}, {"maxmatches", -1}, {"distinct", false}, {"matchcondition", 1}}}}});
    const QJsonObject detect{{"dataidentifier_detect_ruleset", false},
                             {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"name", "n"}, {"description", "d"}, {"filetypes", QJsonArray{"txt", "pdf", "doc", "docx", "xls", "xlsx", "ppt", "pptx", "zip", "rar", "7z", "tar", "gz"}}, {"matchcondition", "ONEOF"}, {"exception", false}}}},
                             {"keyword_detect_ruleset", rules}};
    const QJsonObject root{{"version", "1.0.0"},
                           {"policies", QJsonArray{QJsonObject{{"name", "p"}, {"description", "d"},
                                                               {"ruleset", QJsonObject{{"detect_ruleset", detect}, {"response_ruleset", QJsonArray{QJsonObject{{"name", "n"}, {"description", "d"}, {"action", "WriteDatabase"}}}}}}}}}};
    return QString::fromLatin1(QJsonDocument(root).toJson().toBase64());
}

qint64 treeBytes(const QString &dir, int *files)
{
    qint64 bytes = 0;
    *files = 0;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += it.fileInfo().size();
        ++*files;
    }
    return bytes;
}

void warm(const QString &dir)
{
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            while (file.read(buffer.data(), buffer.size()) > 0) {
            }
    }
}

qint64 peakKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Receives the end marker of one path list.
class EndWatcher : public QObject
{
    Q_OBJECT
public:
    QString pathlist;
    QEventLoop loop;
    int detections = 0;
    int hits = 0;
public Q_SLOTS:
    void onScanning(const QString &list, const QString &path, int id)
    {
        if (list == pathlist && id == 0 && path.isEmpty())
            loop.quit();
    }
    void onDetected(const QString &list, const QString &, const QVariantMap &map)
    {
        if (list != pathlist)
            return;
        ++detections;
        for (const QVariant &count : map)
            hits += count.toInt();
    }
    void onPrivacy(const QString &list, const QVariantMap &map)
    {
        onDetected(list, QString(), map);
    }
};

// Wall and processor time of one run.
struct Cost
{
    double wall = 0;
    double cpu = 0;
};

struct Run
{
    Cost cost;
    qint64 peak = 0;
    int detections = 0;
    int hits = 0;
};

// Processor seconds of a process, its living children (the extraction
// workers) and the children it has reaped.
double processSeconds(qint64 pid)
{
    const double tick = double(::sysconf(_SC_CLK_TCK));
    auto fields = [](qint64 id) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(id));
        if (!stat.open(QIODevice::ReadOnly))
            return QList<QByteArray>();
        const QByteArray text = stat.readAll();
        // Fields after the command name, which may hold spaces: state is [0], ppid [1], utime [11].
        return text.mid(text.lastIndexOf(')') + 2).split(' ');
    };
    const QList<QByteArray> own = fields(pid);
    if (own.size() < 15)
        return 0;
    qint64 ticks = own.at(11).toLongLong() + own.at(12).toLongLong() + own.at(13).toLongLong() + own.at(14).toLongLong();
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        bool number = false;
        const qint64 child = it.next().section('/', -1).toLongLong(&number);
        if (!number || child == pid)
            continue;
        const QList<QByteArray> f = fields(child);
        if (f.size() >= 13 && f.at(1).toLongLong() == pid)
            ticks += f.at(11).toLongLong() + f.at(12).toLongLong();
    }
    return ticks / tick;
}

double childrenSeconds()
{
    struct rusage usage;
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double threadSeconds()
{
    timespec now;
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

QString servicePath;

Run serviceScan(const QString &tree, const QString &work, int tasktype = 1)
{
    Run run;
    QProcess service;
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QFile::remove(work + "/findings.db");
    QFile::remove(work + "/findings.db-wal");
    QFile::remove(work + "/findings.db-shm");
    service.start(servicePath, {"--findings-db", work + "/findings.db"});
    service.waitForStarted();
    QDBusConnection bus = QDBusConnection::systemBus();
    for (int i = 0; i < 200 && !bus.interface()->isServiceRegistered("com.vorel.dlp.TransControl"); ++i)
        QThread::msleep(25);
    EndWatcher watcher;
    watcher.pathlist = tree;
    bus.connect("com.vorel.dlp.TransControl", "/com/vorel/dlp/TransControl", "com.vorel.dlp.TransControlInterface",
                "SensitiveDiscoveryKeywordScanningFile", &watcher, SLOT(onScanning(QString, QString, int)));
    bus.connect("com.vorel.dlp.TransControl", "/com/vorel/dlp/TransControl", "com.vorel.dlp.TransControlInterface",
                "SensitiveDiscoveryKeywordDetected", &watcher, SLOT(onDetected(QString, QString, QVariantMap)));
    bus.connect("com.vorel.dlp.TransControl", "/com/vorel/dlp/TransControl", "com.vorel.dlp.TransControlInterface",
                "SensitiveDiscoveryDataIdScanningFile", &watcher, SLOT(onScanning(QString, QString, int)));
    bus.connect("com.vorel.dlp.TransControl", "/com/vorel/dlp/TransControl", "com.vorel.dlp.TransControlInterface",
                "SensitiveDiscoveryDataIdDetected", &watcher, SLOT(onPrivacy(QString, QVariantMap)));
    QDBusMessage call = QDBusMessage::createMethodCall("com.vorel.dlp.TransControl", "/com/vorel/dlp/TransControl",
                                                       "com.vorel.dlp.TransControlInterface", "SensitiveDiscoverySetScanTask");
    call << tree << tasktype << 1 << QString() << QString() << 0.75 << (tasktype == 3 ? privacyPolicy() : policy());
    // The service's start-up (the rule table compiled) is not the scan's.
    const double cpuBefore = processSeconds(service.processId());
    QElapsedTimer timer;
    timer.start();
    const QDBusMessage reply = bus.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().value(0).toInt() != 0) {
        out << "SetScanTask failed: " << reply.errorMessage() << reply.arguments().value(0).toInt() << "\n";
        out.flush();
        return run;
    }
    watcher.loop.exec();
    run.cost.wall = timer.elapsed() / 1000.0;
    run.cost.cpu = processSeconds(service.processId()) - cpuBefore;
    run.peak = peakKiB(service.processId());
    run.detections = watcher.detections;
    run.hits = watcher.hits;
    service.terminate();
    service.waitForFinished();
    return run;
}

Cost timed(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    QElapsedTimer timer;
    const double cpuBefore = childrenSeconds();
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    Cost cost;
    cost.wall = timer.elapsed() / 1000.0;
    cost.cpu = childrenSeconds() - cpuBefore;
    if (output)
        *output = process.readAllStandardOutput();
    return cost;
}

// Hyperscan alone: the same literals over the same files, read in 1 MiB
// pieces and scanned in streaming mode by as many threads as the service's
// scan uses; the file list is made beforehand and not timed.
Cost hyperscanFloor(const QStringList &files, const QStringList &keywords, int threads, qint64 *matches)
{
    std::vector<QByteArray> literals;
    for (const QString &keyword : keywords)
        literals.push_back(keyword.toUtf8());
    std::vector<const char *> expressions;
    std::vector<std::size_t> lengths;
    std::vector<unsigned> flags(literals.size(), 0u), ids;
    for (std::size_t i = 0; i < literals.size(); ++i) {
        expressions.push_back(literals[i].constData());
        lengths.push_back(static_cast<std::size_t>(literals[i].size()));
        ids.push_back(static_cast<unsigned>(i));
    }
    hs_database_t *database = nullptr;
    hs_compile_error_t *error = nullptr;
    if (hs_compile_lit_multi(expressions.data(), flags.data(), ids.data(), lengths.data(), static_cast<unsigned>(literals.size()),
                             HS_MODE_STREAM, nullptr, &database, &error)
        != HS_SUCCESS) {
        out << "Hyperscan: " << (error ? error->message : "no database") << "\n";
        hs_free_compile_error(error);
        return Cost();
    }
    std::vector<QByteArray> paths;
    for (const QString &file : files)
        paths.push_back(QFile::encodeName(file));
    std::atomic<std::size_t> next{0};
    std::atomic<qint64> found{0};
    std::vector<double> cpu(static_cast<std::size_t>(threads), 0.0);
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            const double start = threadSeconds();
            hs_scratch_t *scratch = nullptr;
            hs_stream_t *stream = nullptr;
            hs_alloc_scratch(database, &scratch);
            hs_open_stream(database, 0, &stream);
            std::unique_ptr<char[]> buffer(new char[1 << 20]);
            qint64 count = 0;
            auto onMatch = [](unsigned, unsigned long long, unsigned long long, unsigned, void *context) -> int {
                ++*static_cast<qint64 *>(context);
                return 0;
            };
            for (std::size_t i = next++; i < paths.size(); i = next++) {
                const int fd = ::open(paths[i].constData(), O_RDONLY | O_CLOEXEC);
                if (fd < 0)
                    continue;
                ssize_t got;
                while ((got = ::read(fd, buffer.get(), 1 << 20)) > 0)
                    hs_scan_stream(stream, buffer.get(), static_cast<unsigned>(got), 0, scratch, onMatch, &count);
                ::close(fd);
                hs_reset_stream(stream, 0, scratch, onMatch, &count);
            }
            hs_close_stream(stream, scratch, nullptr, nullptr);
            hs_free_scratch(scratch);
            found += count;
            cpu[static_cast<std::size_t>(t)] = threadSeconds() - start;
        });
    }
    for (std::thread &thread : pool)
        thread.join();
    Cost cost;
    cost.wall = timer.elapsed() / 1000.0;
    for (double seconds : cpu)
        cost.cpu += seconds;
    hs_free_database(database);
    *matches = found;
    return cost;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The median wall time and the median processor time of several runs.
Cost medianCost(const std::vector<Cost> &costs)
{
    std::vector<double> wall, cpu;
    for (const Cost &cost : costs) {
        wall.push_back(cost.wall);
        cpu.push_back(cost.cpu);
    }
    return {median(wall), median(cpu)};
}

// Several runs of the service on one tree: medians, the highest peak, the hits of the last run
// (a run with other hits is reported).
Run serviceRuns(const QString &tree, const QString &work, int tasktype, int runs, std::vector<Cost> *costs)
{
    Run result;
    for (int i = 0; i < runs; ++i) {
        const Run run = serviceScan(tree, work, tasktype);
        costs->push_back(run.cost);
        if (i > 0 && (run.hits != result.hits || run.detections != result.detections))
            out << QStringLiteral("  run %1 differs: %2 hits in %3 files, before %4 in %5\n")
                       .arg(i + 1).arg(run.hits).arg(run.detections).arg(result.hits).arg(result.detections);
        result.hits = run.hits;
        result.detections = run.detections;
        result.peak = std::max(result.peak, run.peak);
    }
    result.cost = medianCost(*costs);
    return result;
}

void report(const char *name, qint64 bytes, int files, const Cost &cost)
{
    out << QStringLiteral("  %1 %2 s wall, %3 s processor, %4 MB/s, %5 files/s, %6 µs processor per file\n")
               .arg(QLatin1String(name), -38)
               .arg(cost.wall, 7, 'f', 2)
               .arg(cost.cpu, 7, 'f', 2)
               .arg(bytes / 1e6 / cost.wall, 8, 'f', 1)
               .arg(files / cost.wall, 9, 'f', 1)
               .arg(cost.cpu * 1e6 / qMax(1, files), 6, 'f', 1);
    out.flush();
}

// The service's throughput over a peer's, by wall and by processor time.
QString ratio(const Cost &service, const Cost &peer)
{
    return QStringLiteral("%1 wall, %2 processor")
        .arg(peer.wall / service.wall, 0, 'f', 2)
        .arg(service.cpu > 0 ? peer.cpu / service.cpu : 0.0, 0, 'f', 2);
}

qint64 countSum(const QByteArray &output)
{
    qint64 total = 0;
    for (const QByteArray &line : output.split('\n'))
        total += line.mid(line.lastIndexOf(':') + 1).toLongLong();
    return total;
}

QStringList treeFiles(const QString &dir)
{
    QStringList files;
    QDirIterator it(dir, {"*.txt"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

int serviceThreads()
{
    // As ScanTask::workerCount at batch size 0.75.
    const int cores = qMax(1, QThread::idealThreadCount());
    return qBound(1, static_cast<int>(std::lround(0.75 * cores)), cores);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Scan throughput of the scan service against ripgrep, Hyperscan alone, find and pdftotext.");
    parser.addHelpOption();
    parser.addOption({"work", "Working directory (corpus, database).", "DIR", "/var/tmp/tavex-scan-bench"});
    parser.addOption({"megabytes", "Size of the text corpus.", "MB", "1024"});
    parser.addOption({"files", "Files of the text corpus.", "N", "1000"});
    parser.addOption({"pdfs", "Files of the PDF corpus.", "N", "200"});
    parser.addOption({"privacy-megabytes", "Size of the privacy corpus.", "MB", "1024"});
    parser.addOption({"small-files", "Files of the many-small-files corpus.", "N", "200000"});
    parser.addOption({"runs", "Runs of each side; the median is reported.", "N", "3"});
    parser.addOption({"service", "The service program to measure (another build of it).", "PATH", SCAN_SERVICE_BINARY});
    parser.addOption({"parts", "What to measure: text, small, pdf, privacy (comma-separated).", "LIST", "text,small,pdf,privacy"});
    parser.process(app);
    const QString work = parser.value("work");
    const int files = parser.value("files").toInt();
    const qint64 size = parser.value("megabytes").toLongLong() << 20;
    const int pdfs = parser.value("pdfs").toInt();
    const int smallCount = parser.value("small-files").toInt();
    const int runs = qMax(1, parser.value("runs").toInt());
    servicePath = parser.value("service");
    const QString textDir = work + QStringLiteral("/text-%1x%2").arg(files).arg(size >> 20);
    const QString smallDir = work + QStringLiteral("/small-%1").arg(smallCount);
    const QString pdfDir = work + QStringLiteral("/pdf-%1").arg(pdfs);
    const qint64 privacySize = parser.value("privacy-megabytes").toLongLong() << 20;
    const QString privacyDir = work + QStringLiteral("/privacy-%1x%2").arg(files).arg(privacySize >> 20);
    const QStringList parts = parser.value("parts").split(',');
    PrivacyRuleTable rules;
    QString rulesError;
    if (parts.contains("privacy")
        && !rules.load(QCoreApplication::applicationDirPath() + "/../scanservice/privacy-rules.conf", &rulesError)) {
        out << "The privacy rules: " << rulesError << "\n";
        return 1;
    }
    for (const char *tool : {"rg", "pdftotext", "dbus-daemon"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            out << tool << " is missing (apt-get install ripgrep poppler-utils dbus-daemon)\n";
            return 1;
        }
    }

    int planted = 0;
    if (parts.contains("privacy") && !QFile::exists(privacyDir + "/.complete")) {
        out << "Making the privacy corpus in " << privacyDir << " ...\n";
        out.flush();
        QDir(privacyDir).removeRecursively();
        int items = 0;
        if (!makePrivacyCorpus(privacyDir, files, privacySize, &items))
            return 1;
        QFile(privacyDir + "/.complete").open(QIODevice::WriteOnly);
        out << "  " << items << " items of personal data planted\n";
    }
    if (parts.contains("text") && !QFile::exists(textDir + "/.complete")) {
        out << "Making the text corpus in " << textDir << " ...\n";
        out.flush();
        QDir(textDir).removeRecursively();
        if (!makeTextCorpus(textDir, files, size, &planted))
            return 1;
        QFile(textDir + "/.complete").open(QIODevice::WriteOnly);
    }
    if (parts.contains("small") && !QFile::exists(smallDir + "/.complete")) {
        out << "Making the many-small-files corpus in " << smallDir << " ...\n";
        out.flush();
        QDir(smallDir).removeRecursively();
        if (!makeSmallCorpus(smallDir, smallCount, &planted))
            return 1;
        QFile(smallDir + "/.complete").open(QIODevice::WriteOnly);
    }
    if (parts.contains("pdf") && !QFile::exists(pdfDir + "/.complete")) {
        out << "Making the PDF corpus in " << pdfDir << " ...\n";
        out.flush();
        QDir(pdfDir).removeRecursively();
        makePdfCorpus(pdfDir, pdfs, &planted);
        QFile(pdfDir + "/.complete").open(QIODevice::WriteOnly);
    }
    QFile keywordFile(work + "/keywords.txt");
    keywordFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
    keywordFile.write(Keywords.join('\n').toUtf8() + '\n');
    keywordFile.close();

    QProcess daemon;
    daemon.start("dbus-daemon", {"--config-file=" PRIVATE_BUS_CONF, "--nofork", "--print-address=1"});
    daemon.waitForReadyRead(10000);
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", daemon.readLine().trimmed());

    out << QStringLiteral("Machine: %1 cores. Service: %2. Median of %3 runs of each side, warm cache.\n")
               .arg(QThread::idealThreadCount())
               .arg(servicePath)
               .arg(runs);

    if (parts.contains("privacy")) {
        int privacyFiles = 0;
        const qint64 privacyBytes = treeBytes(privacyDir, &privacyFiles);
        warm(privacyDir);
        QFile patternFile(work + "/privacy-patterns.txt");
        patternFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
        patternFile.write(ripgrepPatterns(rules));
        patternFile.close();
        out << QStringLiteral("Privacy (%1 files, %2 MB):\n").arg(privacyFiles).arg(privacyBytes / 1e6, 0, 'f', 0);
        std::vector<Cost> serviceCosts, rgCosts;
        QByteArray rgPrivacy;
        const Run privacyRun = serviceRuns(privacyDir, work, 3, runs, &serviceCosts);
        for (int i = 0; i < runs; ++i)
            rgCosts.push_back(timed("rg", {"--no-unicode", "--count-matches", "-f", work + "/privacy-patterns.txt", privacyDir}, &rgPrivacy));
        report("service (task to end marker)", privacyBytes, privacyFiles, privacyRun.cost);
        report("rg --no-unicode --count-matches -f", privacyBytes, privacyFiles, medianCost(rgCosts));
        out << QStringLiteral("  service/ripgrep: %1; service peak memory %2 MB; service: %3 hits in %4 files "
                              "(validated); ripgrep: %5 matches (unvalidated)\n")
                   .arg(ratio(privacyRun.cost, medianCost(rgCosts)))
                   .arg(privacyRun.peak / 1024.0, 0, 'f', 1)
                   .arg(privacyRun.hits)
                   .arg(privacyRun.detections)
                   .arg(countSum(rgPrivacy));
        out.flush();
    }
    if (parts.contains("text")) {
        int textFiles = 0;
        const qint64 textBytes = treeBytes(textDir, &textFiles);
        warm(textDir);
        out << QStringLiteral("Keyword text (%1 files, %2 MB):\n").arg(textFiles).arg(textBytes / 1e6, 0, 'f', 0);
        std::vector<Cost> serviceCosts, rgCosts, floorCosts;
        const Run textRun = serviceRuns(textDir, work, 1, runs, &serviceCosts);
        QByteArray rgOutput;
        qint64 floorMatches = 0;
        const QStringList list = treeFiles(textDir);
        for (int i = 0; i < runs; ++i) {
            rgCosts.push_back(timed("rg", {"--count-matches", "-F", "-f", work + "/keywords.txt", textDir}, &rgOutput));
            floorCosts.push_back(hyperscanFloor(list, Keywords, serviceThreads(), &floorMatches));
        }
        report("service (task to end marker)", textBytes, textFiles, textRun.cost);
        report("rg --count-matches -F -f", textBytes, textFiles, medianCost(rgCosts));
        report("Hyperscan alone (same literals)", textBytes, textFiles, medianCost(floorCosts));
        out << QStringLiteral("  service/ripgrep: %1; service/Hyperscan: %2; service peak memory %3 MB; "
                              "hits: service %4 in %5 files, ripgrep %6, Hyperscan %7\n")
                   .arg(ratio(textRun.cost, medianCost(rgCosts)))
                   .arg(ratio(textRun.cost, medianCost(floorCosts)))
                   .arg(textRun.peak / 1024.0, 0, 'f', 1)
                   .arg(textRun.hits)
                   .arg(textRun.detections)
                   .arg(countSum(rgOutput))
                   .arg(floorMatches);
        out.flush();
    }
    if (parts.contains("small")) {
        int smallFiles = 0;
        const qint64 smallBytes = treeBytes(smallDir, &smallFiles);
        warm(smallDir);
        out << QStringLiteral("Many small files (%1 files, %2 MB):\n").arg(smallFiles).arg(smallBytes / 1e6, 0, 'f', 0);
        std::vector<Cost> serviceCosts, rgCosts, findCosts;
        const Run smallRun = serviceRuns(smallDir, work, 1, runs, &serviceCosts);
        QByteArray rgOutput, findOutput;
        for (int i = 0; i < runs; ++i) {
            rgCosts.push_back(timed("rg", {"-c", "-F", "-f", work + "/keywords.txt", smallDir}, &rgOutput));
            findCosts.push_back(timed("sh", {"-c", QStringLiteral("find '%1' -type f | wc -l").arg(smallDir)}, &findOutput));
        }
        report("service (task to end marker)", smallBytes, smallFiles, smallRun.cost);
        report("rg -c -F -f", smallBytes, smallFiles, medianCost(rgCosts));
        report("find | wc -l", smallBytes, smallFiles, medianCost(findCosts));
        out << QStringLiteral("  service/ripgrep: %1; service/find: %2; service peak memory %3 MB; "
                              "service: %4 hits in %5 files; ripgrep: %6 files with hits; find: %7 files\n")
                   .arg(ratio(smallRun.cost, medianCost(rgCosts)))
                   .arg(ratio(smallRun.cost, medianCost(findCosts)))
                   .arg(smallRun.peak / 1024.0, 0, 'f', 1)
                   .arg(smallRun.hits)
                   .arg(smallRun.detections)
                   .arg(rgOutput.count('\n'))
                   .arg(QString::fromUtf8(findOutput.trimmed()));
        out.flush();
    }
    if (parts.contains("pdf")) {
        int pdfFiles = 0;
        const qint64 pdfBytes = treeBytes(pdfDir, &pdfFiles);
        warm(pdfDir);
        out << QStringLiteral("PDF (%1 files, %2 MB, 10 pages each):\n").arg(pdfFiles).arg(pdfBytes / 1e6, 0, 'f', 1);
        std::vector<Cost> serviceCosts, seqCosts, parCosts;
        const Run pdfRun = serviceRuns(pdfDir, work, 1, runs, &serviceCosts);
        QStringList pdfList;
        QDirIterator it(pdfDir, {"*.pdf"}, QDir::Files);
        while (it.hasNext())
            pdfList.append(it.next());
        pdfList.sort();
        for (int i = 0; i < runs; ++i) {
            Cost sequential;
            for (const QString &pdf : pdfList) {
                const Cost one = timed("pdftotext", {pdf, "/dev/null"});
                sequential.wall += one.wall;
                sequential.cpu += one.cpu;
            }
            seqCosts.push_back(sequential);
            parCosts.push_back(timed("sh", {"-c", QStringLiteral("ls %1/*.pdf | xargs -P %2 -I{} pdftotext {} /dev/null").arg(pdfDir).arg(QThread::idealThreadCount())}));
        }
        report("service (task to end marker)", pdfBytes, pdfFiles, pdfRun.cost);
        report("pdftotext, one file at a time", pdfBytes, pdfList.size(), medianCost(seqCosts));
        report("pdftotext, one per core (xargs -P)", pdfBytes, pdfList.size(), medianCost(parCosts));
        out << QStringLiteral("  service/pdftotext: %1 (one at a time), %2 (one per core); service peak memory %3 MB; hits %4 in %5 files\n")
                   .arg(ratio(pdfRun.cost, medianCost(seqCosts)))
                   .arg(ratio(pdfRun.cost, medianCost(parCosts)))
                   .arg(pdfRun.peak / 1024.0, 0, 'f', 1)
                   .arg(pdfRun.hits)
                   .arg(pdfRun.detections);
        out.flush();
    }
    daemon.terminate();
    daemon.waitForFinished();
    return 0;
}

#include "scan_throughput.moc"
