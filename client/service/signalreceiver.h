#ifndef SIGNALRECEIVER_H
#define SIGNALRECEIVER_H

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

class MainWindow;

// Subscribes to the scan service's four broadcast signals on the system bus,
// logs each one, and re-emits it on the main window when its path list is
// exactly the window's current path list of that module ("Keyword" signals:
// the keyword task, "DataId" signals: the privacy task). Signals of any other
// task are logged and dropped. Lives on the GUI thread, where the bus library
// delivers the signals one at a time.
class SignalReceiver : public QObject
{
    Q_OBJECT

public:
    // Subscribes at once; a subscription that fails is logged and skipped.
    SignalReceiver(MainWindow *mainWindow, const QString &service, const QString &path, const QString &interface,
                   QObject *parent = nullptr);
    ~SignalReceiver() override;

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

    QPointer<MainWindow> m_mainWindow;
    const QString m_service;
    const QString m_path;
    const QString m_interface;
};

#endif // SIGNALRECEIVER_H
