// The reports interface com.vorel.dlp.TransControlReports on the service's
// object, beside the task interface (dbus/com.vorel.dlp.TransControlReports.xml
// describes it): the history of runs, deleting a run, and exporting one into
// a descriptor the caller passes.
#ifndef RUNREPORTSADAPTOR_H
#define RUNREPORTSADAPTOR_H

#include "callercheck.h"
#include "transcontrolprotocol.h"

#include <QDBusAbstractAdaptor>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>

#include <list>
#include <memory>
#include <thread>

class FindingsStore;
class RunHistory;

class RunReportsAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.vorel.dlp.TransControlReports")

public:
    static const char *interfaceName() { return TransControl::ReportsInterface; }

    // Made a child of the service's object before that is registered on the
    // bus. The bus sets the context of a call to an adaptor on its object,
    // so the call is known through the object's context.
    RunReportsAdaptor(QObject *serviceObject, const QDBusContext &context, FindingsStore *store, RunHistory *history);
    // Waits for the exports still being written.
    ~RunReportsAdaptor() override;

public Q_SLOTS:
    int ListRuns(QString &runs);
    int GetRunSummary(qlonglong run, QString &summary);
    int GetRunFilesNotRead(qlonglong run, QString &files);
    int DeleteRun(qlonglong run);
    int ExportRun(qlonglong run, const QString &format, bool unmasked, const QDBusUnixFileDescriptor &file);

private:
    struct Export;

    bool callerAllowed(const char *method);
    // Joins the threads of the exports that have been answered.
    void reapExports();

    const QDBusContext &m_context;
    FindingsStore *m_store;
    RunHistory *m_history;
    CallerCheck m_callers;
    // Exports are made and written in threads of their own, so that a large
    // run or a slow reader does not hold up the service's other calls.
    std::list<std::unique_ptr<Export>> m_exports;
};

#endif // RUNREPORTSADAPTOR_H
