// kwtemplate-import [--db PATH] NAME FILE
//
// Imports the keywords of FILE (UTF-8 text, one keyword per line) as the
// keyword checklist NAME into the checklist database. Exit status: 0 when
// imported, 1 when the input or the database is refused, 2 on a usage error.

#include "keywordtemplateimporter.h"
#include "keywordtemplatelayout.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kwtemplate-import"));

    QTextStream err(stderr);
    QTextStream out(stdout);
    err.setCodec("UTF-8");
    out.setCodec("UTF-8");

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Imports a keyword checklist into the checklist database. Each keyword is stored\n"
        "encrypted with AES-256-GCM. A checklist imported again under the same name\n"
        "replaces the earlier one."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"),
                                      QStringLiteral("The checklist database (default: %1).")
                                          .arg(KeywordTemplateLayout::productDatabasePath()),
                                      QStringLiteral("PATH"), KeywordTemplateLayout::productDatabasePath());
    parser.addOption(dbOption);
    parser.addPositionalArgument(QStringLiteral("NAME"), QStringLiteral("The checklist's name."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A UTF-8 text file with one keyword per line."));

    const QString usage = QStringLiteral("usage: kwtemplate-import [--db PATH] NAME FILE");
    if (!parser.parse(QCoreApplication::arguments())) {
        err << "kwtemplate-import: " << parser.errorText() << '\n' << usage << '\n';
        return 2;
    }
    if (parser.isSet(helpOption)) {
        out << parser.helpText();
        return 0;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        err << "kwtemplate-import: expected a checklist name and a keyword file\n" << usage << '\n';
        return 2;
    }
    const QString name = args.at(0);
    const QString file = args.at(1);
    const QString db = parser.value(dbOption);
    if (db.isEmpty()) {
        err << "kwtemplate-import: the database path is empty\n";
        return 2;
    }

    QString error;
    if (name.trimmed().isEmpty()) {
        err << "kwtemplate-import: the checklist name is empty\n";
        return 1;
    }
    QStringList keywords;
    if (!KeywordTemplateImporter::readKeywordFile(file, &keywords, &error)) {
        err << "kwtemplate-import: " << error << '\n';
        return 1;
    }
    QString table;
    if (!KeywordTemplateImporter::importChecklist(db, name, keywords, QDateTime::currentDateTime(), &table, &error)) {
        err << "kwtemplate-import: " << error << '\n';
        return 1;
    }
    out << "Imported " << keywords.size() << (keywords.size() == 1 ? " keyword" : " keywords")
        << " as checklist \"" << name << "\" into " << db << " (table " << table << ").\n";
    return 0;
}
