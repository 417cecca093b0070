#ifndef SIGNALRECEIVER_H
#define SIGNALRECEIVER_H

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

// Subscribes to the scan service's four broadcast signals on the system bus,
// logs each one, and re-emits it as its own signal when its path list is
// exactly the current path list of that module ("Keyword" signals: the
// keyword task, "DataId" signals: the privacy task), as the two path-list
// functions tell. Signals of any other task are logged and dropped. Lives on
// the GUI thread, where the bus library delivers the signals one at a time.
class SignalReceiver : public QObject
{
    Q_OBJECT

public:
    // The current path list of a module; empty while it has no task.
    using PathListFunction = std::function<QString()>;

    // Subscribes at once; a subscription that fails is logged and skipped.
    SignalReceiver(PathListFunction keywordPathList, PathListFunction privacyPathList, const QString &service,
                   const QString &path, const QString &interface, QObject *parent = nullptr);
    ~SignalReceiver() override;

Q_SIGNALS:
    // The service's signals of the current tasks, arguments unchanged.
    void KeywordScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid);
    void KeywordSensitiveDetected(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives);
    void PiiScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid);
    void PiiSensitiveDetected(const QString &pathlist, const QVariantMap &sensitives);

public Q_SLOTS:
    // Their parameter types fix the accepted bus signatures: ssi, ssa{sv},
    // ssi, sa{sv}.
    void KeywordScanningFileSignalMatched(const QString &pathlist, const QString &filepath, int fileid);
    void KeywordDetectedSignalMatched(const QString &pathlist, const QString &filepath,
                                      const QVariantMap &sensitives);
    void DataIdScanningFileSignalMatched(const QString &pathlist, const QString &filepath, int fileid);
    void DataIdDetectedSignalMatched(const QString &pathlist, const QVariantMap &sensitives);

private:
    void subscribe(const char *signal, const char *signature, const char *slot);

    const PathListFunction m_keywordPathList;
    const PathListFunction m_privacyPathList;
    const QString m_service;
    const QString m_path;
    const QString m_interface;
};

#endif // SIGNALRECEIVER_H
