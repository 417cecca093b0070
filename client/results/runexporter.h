// The export of a run of the service's history into a file the user picks.
#ifndef RUNEXPORTER_H
#define RUNEXPORTER_H

#include "runreports.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QFile;
class QWidget;

// The whole flow of an export, for any page that shows a run:
//   a save dialog (CSV, JSON Lines or HTML by its filter, the extension
//   added when missing, a check box for full values), a confirmation
//   before values leave unmasked, the file opened by the client and its
//   descriptor passed to the service (which never opens a path for a
//   caller), then a message: where the file went, with a button to open
//   its folder, or the service's reason, the file removed.
// The service is never waited for: its answers arrive through watchers.
// The dialogs are the Qt ones: the client runs as root, outside the user's
// desktop session and its file-chooser portal.
class RunExporter : public QObject
{
    Q_OBJECT

public:
    // Dialogs and messages open over `parent`, which owns the exporter.
    RunExporter(const QDBusConnection &bus, QWidget *parent);

    // The formats, in the order of the dialog's filters.
    struct Format
    {
        const char *name;   // as the service names it
        const char *suffix; // of the file, without the dot
    };
    static const QList<Format> &formats();

    // Exports under way.
    int pending() const { return m_pending; }

public Q_SLOTS:
    // The flow for run `run`; the dialog proposes `suggestedBaseName` plus
    // the extension of the chosen format.
    void exportRun(qint64 run, const QString &suggestedBaseName);
    // The same for the newest run of `pathlist` with `taskType` ("keyword"
    // or "privacy"), looked up first; a run not found is said in a message.
    void exportLatestRun(const QString &pathlist, const QString &taskType, const QString &suggestedBaseName);

Q_SIGNALS:
    // The service has written the run into `filepath`.
    void exported(const QString &filepath);
    // The export did not happen, for `reason`; nothing is left on disk.
    void exportFailed(const QString &reason);
    // The number of exports under way has changed.
    void pendingChanged(int pending);

private:
    // The save dialog; false when the user cancelled.
    bool chooseFile(const QString &suggestedBaseName, QString *filepath, int *format, bool *unmasked);
    bool confirmUnmasked();
    bool confirmReplace(const QString &filepath);
    static void restrictToFolderOwner(QFile &file);
    void start(qint64 run, const QString &filepath, int format, bool unmasked);
    void finish(QFile *file, bool succeeded, const QString &reason);
    void showExported(const QString &filepath);
    void showFailure(const QString &reason);
    void setPending(int pending);

    RunReports m_reports;
    QPointer<QWidget> m_parent;
    QString m_directory;
    int m_pending = 0;
};

#endif // RUNEXPORTER_H
