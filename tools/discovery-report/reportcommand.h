// One command of tavex-discovery-report, carried out over the scan
// service's reports interface: list, show RUN, export RUN, delete RUN.
#ifndef REPORTCOMMAND_H
#define REPORTCOMMAND_H

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QStringList>
#include <QTextStream>

class ReportCommand
{
public:
    // Exit statuses, after sysexits.h where one fits.
    enum Exit : int {
        Success = 0,
        Refused = 1,          // the service answered with a code other than 0 (no such run, ...)
        Usage = 64,           // EX_USAGE
        ServiceMissing = 69,  // EX_UNAVAILABLE: no service on the bus, or no answer
        InternalError = 70,   // EX_SOFTWARE: an answer that cannot be read
        CannotCreate = 73,    // EX_CANTCREAT: the output file
        Denied = 77,          // EX_NOPERM: the caller is not allowed
    };

    ReportCommand(QDBusConnection bus, QTextStream &out, QTextStream &err);

    // Parses the arguments (without the program name) and carries the command out.
    int run(const QStringList &arguments);
    static QString usage();

private:
    int list(bool json);
    int show(qint64 run, bool json);
    int exportRun(qint64 run, const QString &format, bool unmasked, const QString &output);
    int deleteRun(qint64 run);

    // Calls a method of the reports interface; false (and the exit status in *exit) when no reply came.
    bool call(const QString &method, const QVariantList &arguments, QDBusMessage *reply, int *exit);
    // The message and exit status for a return code other than 0.
    int refused(int code, qint64 run);

    QDBusConnection m_bus;
    QTextStream &m_out;
    QTextStream &m_err;
};

#endif // REPORTCOMMAND_H
