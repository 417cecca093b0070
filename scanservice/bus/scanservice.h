#ifndef SCANSERVICE_H
#define SCANSERVICE_H

#include "callercheck.h"
#include "transcontrolprotocol.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QVariantMap>

#include <memory>

class FindingsStore;
class IdleMonitor;
class PrivacyMatcher;
class TaskManager;

// The bus object "/com/vorel/dlp/TransControl" of the scan service: the
// methods and signals of com.vorel.dlp.TransControlInterface (the adaptor is
// generated from the interface description). Callers other than root and the
// service's own user are answered with an access-denied error.
class ScanService : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    static const char *serviceName() { return TransControl::ServiceName; }
    static const char *objectPath() { return TransControl::ObjectPath; }

    ScanService(FindingsStore *store, std::shared_ptr<const PrivacyMatcher> privacy, QObject *parent = nullptr);
    ~ScanService() override;

    // Exports the object and takes the service name. Returns false with a
    // reason when the bus cannot be reached or the name is taken.
    bool registerOn(QDBusConnection connection, QString *error);
    // For tests: delays every task's counting walk.
    void setCountDelay(int ms);
    void setFileDelay(int ms);
    void setCompileDelay(int ms);
    // Where documents and archives are read: worker processes of this program, with these limits.
    // Scan mode 4 waits for idle time as this monitor sees it.
    void setIdleMonitor(std::shared_ptr<const IdleMonitor> idle);
    void setExtraction(const QString &workerProgram, qint64 workerMemoryBytes, int secondsPerFile);
    // The privacy rule table's version, recorded with each privacy run.
    void setRuleTableVersion(const QString &version);
    // The call being answered, for the adaptors of further interfaces on this object.
    const QDBusContext &busContext() const { return *this; }

public Q_SLOTS:
    int SensitiveDiscoverySetScanTask(const QString &pathlist, int tasktype, int scanmode, const QString &begintime,
                                      const QString &endtime, double batchsize, const QString &policy);
    ScanTaskDetailInfo SensitiveDiscoveryGetScanTaskDetail(const QString &pathlist, int tasktype);
    int SensitiveDiscoveryTerminateScanTask(const QString &pathlist, int tasktype);
    int SensitiveDiscoveryPauseScanTask(const QString &pathlist, int tasktype);
    int SensitiveDiscoveryContinueScanTask(const QString &pathlist, int tasktype);
    int SensitiveDiscoveryGetKeywordDetectedDetail(const QString &pathlist, int tasktype, const QString &filepath,
                                                   QString &detail);
    int SensitiveDiscoveryGetDataIdDetectedDetail(const QString &pathlist, int tasktype, const QString &groupname,
                                                  QString &detail);
    int SensitiveDiscoveryGetScanTaskFailure(const QString &pathlist, int tasktype, QString &reason);

Q_SIGNALS:
    void SensitiveDiscoveryKeywordScanningFile(const QString &pathlist, const QString &filepath, int fileid);
    // The two detection signals are declared for the adaptor; the tasks'
    // threads send them as messages (registerOn).
    void SensitiveDiscoveryKeywordDetected(const QString &pathlist, const QString &filepath,
                                           const QVariantMap &sensitives);
    void SensitiveDiscoveryDataIdScanningFile(const QString &pathlist, const QString &filepath, int fileid);
    void SensitiveDiscoveryDataIdDetected(const QString &pathlist, const QVariantMap &sensitives);

private:
    struct HeldReply
    {
        quint64 serial;
        QString pathlist;
        int tasktype;
        QDBusMessage message;
    };

    bool callerAllowed(const char *method);
    void answerHeld(const QString &pathlist, int tasktype);

    FindingsStore *m_store;
    TaskManager *m_tasks;
    CallerCheck m_callers;
    QList<HeldReply> m_held;
    quint64 m_nextSerial = 1;
};

#endif // SCANSERVICE_H
