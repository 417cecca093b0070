// detection_corpus DIR [--seed N]: writes the labelled privacy corpus that
// bench/detection_quality measures the service on. See ../README.md.
#include "corpusgenerator.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes the labelled privacy corpus (documents and labels.tsv) into DIR.");
    parser.addHelpOption();
    parser.addOption({"seed", "Seed of the generator.", "N", "2026"});
    parser.addPositionalArgument("DIR", "Directory of the corpus (replaced when it holds an older corpus).");
    parser.process(app);
    QTextStream out(stdout);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(64);
    }
    CorpusGenerator generator(parser.value("seed").toULongLong());
    QString error;
    if (!generator.write(parser.positionalArguments().first(), &error)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    out << generator.files() << " files, " << generator.items() << " labelled items, " << generator.lookAlikes() << " look-alikes\n";
    const QMap<QString, int> perCategory = generator.itemsPerCategory();
    for (auto it = perCategory.constBegin(); it != perCategory.constEnd(); ++it)
        out << "  " << it.key() << ' ' << it.value() << '\n';
    return 0;
}
