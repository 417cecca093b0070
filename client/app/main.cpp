#include "catalogues.h"
#include "crashhandler.h"
#include "keywordtemplatelayout.h"
#include "logfile.h"
#include "mainwindow.h"
#include "windowdecoration.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    QApplication app(argc, argv);

    LogFile::setCurrent(LogFile::product());
    qInstallMessageHandler(logMessageHandler);
    CrashHandler::install(LogFile::current()->path());
    Catalogues::install(&app, QLocale::system().name(), QLibraryInfo::location(QLibraryInfo::TranslationsPath));

    KeywordTemplateLayout::useDatabasePath(KeywordTemplateLayout::productDatabasePath());
    MainWindow window;
    decorateMainWindow(&window);
    window.show();
    return app.exec();
}
