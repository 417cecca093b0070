#ifndef FAKESCANSERVICE_H
#define FAKESCANSERVICE_H

#include <QDBusInterface>
#include <QList>
#include <QProcess>
#include <QString>
#include <QVariantList>

// Drives the fake scan service, a process of its own on the test's private
// bus (create a PrivateBus first). The fake owns "com.vorel.dlp.TransControl"
// and answers every method of the service interface: by default 0 for the
// return-code methods, (0, 0, "", 0.0) for the task query and (0, "") for the
// detail queries. It answers the reports interface too: (0, "[]") for
// ListRuns and GetRunFilesNotRead, (0, "{}") for GetRunSummary, 0 for the
// others; ExportRun also writes "run=N format=F
// unmasked=B" and a line feed into the descriptor it is passed. A call's
// descriptor is recorded as whether it was valid. A test scripts other
// answers per method:
//
//     FakeScanService fake;
//     fake.setReply("SensitiveDiscoverySetScanTask", {1});           // every call replies 1
//     fake.setError("SensitiveDiscoveryGetScanTaskDetail",
//                   "org.freedesktop.DBus.Error.Failed", "busy", 0, 3); // the next 3 calls fail
//     fake.setReply("SensitiveDiscoveryGetScanTaskDetail", {120, 4096, "scanning", 0.5});
//     fake.emitSignal("SensitiveDiscoveryKeywordScanningFile", {"/home/a", "/home/a/x.txt", 1});
//     QCOMPARE(fake.calls("SensitiveDiscoverySetScanTask").first().signature, "siissds");
//
// Scripts with a count (times > 0) are used up first, in the order given; a
// script with times -1 replaces the standing answer. A task-query reply of
// four values is sent as the structure (iisd); setRawReply sends the values
// as they are (for replies of the wrong type). Calls are answered from the
// fake's own process, so a client blocking its GUI thread on a reply gets it.
class FakeScanService
{
public:
    struct Call
    {
        QString member;
        QString signature;
        QVariantList arguments;
    };

    FakeScanService();
    ~FakeScanService();

    FakeScanService(const FakeScanService &) = delete;
    FakeScanService &operator=(const FakeScanService &) = delete;

    bool isRunning() const;
    QString errorString() const { return m_error; }

    void setReply(const QString &member, const QVariantList &values, int delayMs = 0, int times = -1);
    void setRawReply(const QString &member, const QVariantList &values, int delayMs = 0, int times = -1);
    void setError(const QString &member, const QString &name, const QString &message, int delayMs = 0,
                  int times = -1);
    void setNoReply(const QString &member, int times = -1);
    // A detail document made by the fake itself as the standing answer of
    // `member` (a keyword or privacy detail query): `passages` hits of
    // `passageChars` characters, over `files` files (privacy only); the
    // keyword document carries "total", three times its passages.
    void setDetailDocument(const QString &member, int files, int passages, int passageChars);
    // The runs the reports interface keeps (a JSON array of run objects,
    // newest first): unless scripted otherwise, ListRuns lists them,
    // GetRunSummary answers one (with "hits" {} when it has none) and
    // DeleteRun removes one; an unknown run gets 19. reset() forgets them.
    // False when `json` is not an array.
    bool setRuns(const QString &json);

    // Every call received so far (of one member, when given), oldest first.
    QList<Call> calls(const QString &member = QString()) const;
    void clearCalls();
    // Forgets scripts and calls.
    void reset();

    // Emits one of the service's signals with exactly these arguments.
    bool emitSignal(const QString &name, const QVariantList &arguments);

    // Ends the fake: the service is then missing from the bus.
    void stop();

private:
    QProcess m_process;
    QDBusInterface *m_control = nullptr;
    QString m_error;
};

#endif // FAKESCANSERVICE_H
