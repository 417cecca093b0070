// detection_corpus DIR [--seed N] [--generator first|second]: writes the labelled privacy corpus that
// bench/detection_quality measures the service on. See ../README.md.
#include "corpusgenerator.h"
#include "secondcorpus.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

namespace {

// Both generators answer the same questions once written.
template<typename Generator>
int writeCorpus(Generator &&generator, const QString &dir)
{
    QTextStream out(stdout);
    QString error;
    if (!generator.write(dir, &error)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    out << generator.files() << " files, " << generator.items() << " labelled items, " << generator.lookAlikes() << " look-alikes\n";
    const QMap<QString, int> perCategory = generator.itemsPerCategory();
    for (auto it = perCategory.constBegin(); it != perCategory.constEnd(); ++it)
        out << "  " << it.key() << ' ' << it.value() << '\n';
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes the labelled privacy corpus (documents and labels.tsv) into DIR.");
    parser.addHelpOption();
    parser.addOption({"seed", "Seed of the generator.", "N", "2026"});
    parser.addOption({"generator", "Which corpus: first (the default) or second (other document kinds, written apart).", "NAME", "first"});
    parser.addPositionalArgument("DIR", "Directory of the corpus (replaced when it holds an older corpus).");
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(64);
    }
    const QString which = parser.value("generator");
    if (which != QLatin1String("first") && which != QLatin1String("second")) {
        QTextStream(stderr) << "unknown generator " << which << " (first or second)\n";
        return 64;
    }
    const quint64 seed = parser.value("seed").toULongLong();
    return which == QLatin1String("second") ? writeCorpus(SecondCorpus(seed), parser.positionalArguments().first())
                                            : writeCorpus(CorpusGenerator(seed), parser.positionalArguments().first());
}
