// privacy_matching: the privacy collector alone over the text files of a
// tree, fed in pieces as the plain-text reader feeds it, without the bus,
// the walk's threads or the store: its processor time and its hits per
// rule, to profile the matcher and to see that a change keeps every hit.
// See README.md.
#include "privacycollector.h"
#include "privacymatcher.h"
#include "privacyrules.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDirIterator>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <time.h>
#include <vector>

namespace {

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("The privacy collector alone over the text files of a tree.");
    parser.addHelpOption();
    parser.addPositionalArgument("DIR", "The tree of text files (UTF-8).");
    parser.addOption({"privacy-rules", "The rule table.", "PATH",
                      QCoreApplication::applicationDirPath() + "/../scanservice/privacy-rules.conf"});
    parser.addOption({"megabytes", "Read at most this much of the tree.", "MB", "0"});
    parser.addOption({"piece", "Bytes handed to the collector at a time.", "BYTES", "65536"});
    parser.addOption({"runs", "Scans of the text (the median time is printed).", "N", "3"});
    parser.addOption({"hits", "Print each kept hit: its file, rule and value."});
    parser.process(app);
    QTextStream out(stdout);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(2);
    }
    PrivacyRuleTable table;
    QString error;
    if (!table.load(parser.value("privacy-rules"), &error)) {
        out << "The privacy rules: " << error << "\n";
        return 1;
    }
    const std::shared_ptr<const PrivacyMatcher> matcher = PrivacyMatcher::compile(table, &error);
    if (!matcher) {
        out << "The privacy rules: " << error << "\n";
        return 1;
    }
    const qint64 limit = parser.value("megabytes").toLongLong() << 20;
    const std::size_t piece = std::max(1, parser.value("piece").toInt());
    // The files are read into memory first, so that only matching is timed.
    std::vector<QByteArray> texts;
    qint64 bytes = 0;
    QStringList paths;
    QDirIterator it(parser.positionalArguments().first(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    QStringList read;
    for (const QString &path : paths) {
        if (limit > 0 && bytes >= limit)
            break;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        texts.push_back(file.readAll());
        read.append(path);
        bytes += texts.back().size();
    }
    const QDate today = QDate::currentDate();
    PrivacyMatcher::Scratch scratch(*matcher);
    std::vector<double> times;
    QVector<qint64> counts(matcher->ruleCount(), 0);
    for (int run = 0; run < std::max(1, parser.value("runs").toInt()); ++run) {
        std::fill(counts.begin(), counts.end(), 0);
        const double start = processorSeconds();
        for (std::size_t f = 0; f < texts.size(); ++f) {
            const QByteArray &text = texts[f];
            PrivacyCollector collector(*matcher, scratch, today);
            for (std::size_t at = 0; at < static_cast<std::size_t>(text.size()); at += piece)
                collector.write(text.constData() + at, std::min(piece, static_cast<std::size_t>(text.size()) - at));
            collector.finish();
            for (int rule : collector.foundRules())
                counts[rule] += collector.hits(rule);
            if (run == 0 && parser.isSet("hits")) {
                for (const PrivacyCollector::Passage &passage : collector.passages())
                    out << read.at(static_cast<int>(f)) << "\t" << matcher->rule(passage.rule).id << "\t"
                        << QString::fromUtf8(passage.value) << "\n";
            }
        }
        times.push_back(processorSeconds() - start);
    }
    std::sort(times.begin(), times.end());
    qint64 total = 0;
    for (int rule = 0; rule < matcher->ruleCount(); ++rule) {
        if (counts.at(rule) > 0)
            out << matcher->rule(rule).id << "\t" << counts.at(rule) << "\n";
        total += counts.at(rule);
    }
    out << QStringLiteral("%1 files, %2 MB, %3 hits; processor %4 s (median of %5), %6 MB/s\n")
               .arg(texts.size())
               .arg(bytes / 1e6, 0, 'f', 1)
               .arg(total)
               .arg(times[times.size() / 2], 0, 'f', 3)
               .arg(times.size())
               .arg(bytes / 1e6 / times[times.size() / 2], 0, 'f', 1);
    return 0;
}
