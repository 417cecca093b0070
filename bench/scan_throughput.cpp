// scan_throughput: the service's keyword scan against ripgrep on a text
// corpus, and against pdftotext on a PDF corpus; its privacy scan against
// ripgrep with the rule table's expressions on a corpus of Chinese text full
// of ordinary numbers. See README.md.
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

#include <algorithm>
#include <cstdio>
#include <cstring>

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

struct Run
{
    double seconds = 0;
    qint64 peak = 0;
    int detections = 0;
    int hits = 0;
};

Run serviceScan(const QString &tree, const QString &work, int tasktype = 1)
{
    Run run;
    QProcess service;
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QFile::remove(work + "/findings.db");
    service.start(QStringLiteral(SCAN_SERVICE_BINARY), {"--findings-db", work + "/findings.db"});
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
    QElapsedTimer timer;
    timer.start();
    const QDBusMessage reply = bus.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().value(0).toInt() != 0) {
        out << "SetScanTask failed: " << reply.errorMessage() << reply.arguments().value(0).toInt() << "\n";
        out.flush();
        return run;
    }
    watcher.loop.exec();
    run.seconds = timer.elapsed() / 1000.0;
    run.peak = peakKiB(service.processId());
    run.detections = watcher.detections;
    run.hits = watcher.hits;
    service.terminate();
    service.waitForFinished();
    return run;
}

double timed(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    const double seconds = timer.elapsed() / 1000.0;
    if (output)
        *output = process.readAllStandardOutput();
    return seconds;
}

void report(const char *name, qint64 bytes, int files, double seconds)
{
    out << QStringLiteral("  %1 %2 s, %3 MB/s, %4 files/s\n")
               .arg(QLatin1String(name), -34)
               .arg(seconds, 7, 'f', 2)
               .arg(bytes / 1e6 / seconds, 8, 'f', 1)
               .arg(files / seconds, 8, 'f', 1);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Keyword scan throughput of the scan service against ripgrep and pdftotext.");
    parser.addHelpOption();
    parser.addOption({"work", "Working directory (corpus, database).", "DIR", "/var/tmp/tavex-scan-bench"});
    parser.addOption({"megabytes", "Size of the text corpus.", "MB", "1024"});
    parser.addOption({"files", "Files of the text corpus.", "N", "1000"});
    parser.addOption({"pdfs", "Files of the PDF corpus.", "N", "200"});
    parser.addOption({"privacy-megabytes", "Size of the privacy corpus.", "MB", "1024"});
    parser.addOption({"parts", "What to measure: text, pdf, privacy (comma-separated).", "LIST", "text,pdf,privacy"});
    parser.process(app);
    const QString work = parser.value("work");
    const int files = parser.value("files").toInt();
    const qint64 size = parser.value("megabytes").toLongLong() << 20;
    const int pdfs = parser.value("pdfs").toInt();
    const QString textDir = work + QStringLiteral("/text-%1x%2").arg(files).arg(size >> 20);
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

    int textFiles = 0, pdfFiles = 0, privacyFiles = 0;
    const qint64 textBytes = parts.contains("text") ? treeBytes(textDir, &textFiles) : 0;
    const qint64 pdfBytes = parts.contains("pdf") ? treeBytes(pdfDir, &pdfFiles) : 0;
    const qint64 privacyBytes = parts.contains("privacy") ? treeBytes(privacyDir, &privacyFiles) : 0;
    out << QStringLiteral("Machine: %1 cores. Text corpus: %2 files, %3 MB. PDF corpus: %4 files, %5 MB, 10 pages each. "
                          "Privacy corpus: %6 files, %7 MB.\n")
               .arg(QThread::idealThreadCount())
               .arg(textFiles)
               .arg(textBytes / 1e6, 0, 'f', 0)
               .arg(pdfFiles)
               .arg(pdfBytes / 1e6, 0, 'f', 1)
               .arg(privacyFiles)
               .arg(privacyBytes / 1e6, 0, 'f', 0);

    if (parts.contains("privacy")) {
        warm(privacyDir);
        QFile patternFile(work + "/privacy-patterns.txt");
        patternFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
        patternFile.write(ripgrepPatterns(rules));
        patternFile.close();
        out << "Privacy (warm cache):\n";
        const Run privacyRun = serviceScan(privacyDir, work, 3);
        report("service (task to end marker)", privacyBytes, privacyFiles, privacyRun.seconds);
        QByteArray rgPrivacy;
        const double rgp = timed("rg", {"--no-unicode", "--count-matches", "-f", work + "/privacy-patterns.txt", privacyDir}, &rgPrivacy);
        report("rg --no-unicode --count-matches -f", privacyBytes, privacyFiles, rgp);
        qint64 rgMatches = 0;
        for (const QByteArray &line : rgPrivacy.split('\n'))
            rgMatches += line.mid(line.lastIndexOf(':') + 1).toLongLong();
        out << QStringLiteral("  service/ripgrep throughput ratio: %1; service peak memory %2 MB; service: %3 hits in %4 files "
                              "(validated); ripgrep: %5 matches (unvalidated)\n")
                   .arg(rgp / privacyRun.seconds, 0, 'f', 2)
                   .arg(privacyRun.peak / 1024.0, 0, 'f', 1)
                   .arg(privacyRun.hits)
                   .arg(privacyRun.detections)
                   .arg(rgMatches);
        out.flush();
    }
    if (!parts.contains("text") && !parts.contains("pdf")) {
        daemon.terminate();
        daemon.waitForFinished();
        return 0;
    }
    warm(textDir);
    warm(pdfDir);

    out << "Text (warm cache):\n";
    const Run textRun = serviceScan(textDir, work);
    report("service (task to end marker)", textBytes, textFiles, textRun.seconds);
    QByteArray rgOutput;
    const double rg = timed("rg", {"--count-matches", "-F", "-f", work + "/keywords.txt", textDir}, &rgOutput);
    report("rg --count-matches -F -f", textBytes, textFiles, rg);
    qint64 rgHits = 0;
    for (const QByteArray &line : rgOutput.split('\n'))
        rgHits += line.mid(line.lastIndexOf(':') + 1).toLongLong();
    out << QStringLiteral("  service/ripgrep throughput ratio: %1; service peak memory %2 MB; hits: service %3 in %4 files, ripgrep %5\n")
               .arg(rg / textRun.seconds, 0, 'f', 2)
               .arg(textRun.peak / 1024.0, 0, 'f', 1)
               .arg(textRun.hits)
               .arg(textRun.detections)
               .arg(rgHits);

    out << "PDF (warm cache):\n";
    const Run pdfRun = serviceScan(pdfDir, work);
    report("service (task to end marker)", pdfBytes, pdfFiles, pdfRun.seconds);
    QStringList pdfList;
    QDirIterator it(pdfDir, {"*.pdf"}, QDir::Files);
    while (it.hasNext())
        pdfList.append(it.next());
    pdfList.sort();
    QElapsedTimer sequential;
    sequential.start();
    for (const QString &pdf : pdfList)
        timed("pdftotext", {pdf, "/dev/null"});
    const double pdfSeq = sequential.elapsed() / 1000.0;
    report("pdftotext, one file at a time", pdfBytes, pdfList.size(), pdfSeq);
    const double pdfPar = timed("sh", {"-c", QStringLiteral("ls %1/*.pdf | xargs -P %2 -I{} pdftotext {} /dev/null").arg(pdfDir).arg(QThread::idealThreadCount())});
    report("pdftotext, one per core (xargs -P)", pdfBytes, pdfList.size(), pdfPar);
    out << QStringLiteral("  service/pdftotext rate ratio: %1 (one at a time), %2 (one per core); service peak memory %3 MB; hits %4 in %5 files\n")
               .arg(pdfSeq / pdfRun.seconds, 0, 'f', 2)
               .arg(pdfPar / pdfRun.seconds, 0, 'f', 2)
               .arg(pdfRun.peak / 1024.0, 0, 'f', 1)
               .arg(pdfRun.hits)
               .arg(pdfRun.detections);
    out.flush();
    daemon.terminate();
    daemon.waitForFinished();
    return 0;
}

#include "scan_throughput.moc"
