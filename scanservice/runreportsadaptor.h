// The reports interface com.vorel.dlp.TransControlReports on the service's
// object, beside the task interface (dbus/com.vorel.dlp.TransControlReports.xml
// describes it): the history of runs, deleting a run, and exporting one into
// a descriptor the caller passes.
#ifndef RUNREPORTSADAPTOR_H
#define RUNREPORTSADAPTOR_H

#include "callercheck.h"

#include <QDBusAbstractAdaptor>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>

class FindingsStore;
class RunHistory;

class RunReportsAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.vorel.dlp.TransControlReports")

public:
    static const char *interfaceName() { return "com.vorel.dlp.TransControlReports"; }

    // Made a child of the service's object before that is registered on the
    // bus. The bus sets the context of a call to an adaptor on its object,
    // so the call is known through the object's context.
    RunReportsAdaptor(QObject *serviceObject, const QDBusContext &context, FindingsStore *store, RunHistory *history);

public Q_SLOTS:
    int ListRuns(QString &runs);
    int GetRunSummary(qlonglong run, QString &summary);
    int GetRunFilesNotRead(qlonglong run, QString &files);
    int DeleteRun(qlonglong run);
    int ExportRun(qlonglong run, const QString &format, bool unmasked, const QDBusUnixFileDescriptor &file);

private:
    bool callerAllowed(const char *method);

    const QDBusContext &m_context;
    FindingsStore *m_store;
    RunHistory *m_history;
    CallerCheck m_callers;
};

#endif // RUNREPORTSADAPTOR_H
