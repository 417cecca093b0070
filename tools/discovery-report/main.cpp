// tavex-discovery-report: the scan service's history of runs and their
// reports from the command line (see the man page tavex-discovery-report(1)).
#include "reportcommand.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavex-discovery-report"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    ReportCommand command(QDBusConnection::systemBus(), out, err);
    return command.run(app.arguments().mid(1));
}
