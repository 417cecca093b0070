// The subscriber of the scan service's broadcast signals.

#include "signalreceiver.h"

#include "servicelog.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDebug>

SignalReceiver::SignalReceiver(PathListFunction keywordPathList, PathListFunction privacyPathList,
                               const QString &service, const QString &path, const QString &interface, QObject *parent)
    : QObject(parent),
      m_keywordPathList(std::move(keywordPathList)),
      m_privacyPathList(std::move(privacyPathList)),
      m_service(service),
      m_path(path),
      m_interface(interface)
{
    subscribe("SensitiveDiscoveryKeywordScanningFile", "ssi",
              SLOT(KeywordScanningFileSignalMatched(QString, QString, int)));
    subscribe("SensitiveDiscoveryKeywordDetected", "ssa{sv}",
              SLOT(KeywordDetectedSignalMatched(QString, QString, QVariantMap)));
    subscribe("SensitiveDiscoveryDataIdScanningFile", "ssi",
              SLOT(DataIdScanningFileSignalMatched(QString, QString, int)));
    subscribe("SensitiveDiscoveryDataIdDetected", "sa{sv}", SLOT(DataIdDetectedSignalMatched(QString, QVariantMap)));
}

SignalReceiver::~SignalReceiver() = default;

// The signature is given explicitly, not only implied by the slot: the bus
// library checks plain argument types against the slot but would try to read
// any container (an array of numbers, say) as the slot's map, and such a
// signal must be dropped rather than read.
void SignalReceiver::subscribe(const char *signal, const char *signature, const char *slot)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    const QString name = QString::fromLatin1(signal);
    if (bus.connect(m_service, m_path, m_interface, name, QString::fromLatin1(signature), this, slot))
        qCDebug(lcService).noquote() << QStringLiteral("Success to connect to signal '%1'").arg(name);
    else
        qCCritical(lcService).noquote() << QStringLiteral("Failed to connect to signal '%1': ").arg(name)
                                     + bus.lastError().message();
}

void SignalReceiver::KeywordScanningFileSignalMatched(const QString &pathlist, const QString &filepath, int fileid)
{
    qCDebug(lcService) << "Received SensitiveDiscoveryKeywordScanningFile:" << pathlist << filepath << fileid;
    if (pathlist == m_keywordPathList()) {
        emit KeywordScanProgressValueChanged(pathlist, filepath, fileid);
        return;
    }
    qCWarning(lcService) << "~~~~~~~~~~~~~~~ signal: SensitiveDiscoveryKeywordScanningFile ignored.";
}

void SignalReceiver::KeywordDetectedSignalMatched(const QString &pathlist, const QString &filepath,
                                                  const QVariantMap &sensitives)
{
    qCDebug(lcService) << "Received SensitiveDiscoveryKeywordDetected:" << pathlist << filepath << sensitives;
    if (pathlist == m_keywordPathList()) {
        emit KeywordSensitiveDetected(pathlist, filepath, sensitives);
        return;
    }
    qCWarning(lcService) << "~~~~~~~~~~~~~~~ signal: SensitiveDiscoveryKeywordDetected ignored.";
}

void SignalReceiver::DataIdScanningFileSignalMatched(const QString &pathlist, const QString &filepath, int fileid)
{
    qCDebug(lcService) << "Received SensitiveDiscoveryDataIdScanningFile:" << pathlist << filepath << fileid;
    if (pathlist == m_privacyPathList()) {
        emit PiiScanProgressValueChanged(pathlist, filepath, fileid);
        return;
    }
    qCWarning(lcService) << "~~~~~~~~~~~~~~~ signal: SensitiveDiscoveryDataIdScanningFile ignored.";
}

void SignalReceiver::DataIdDetectedSignalMatched(const QString &pathlist, const QVariantMap &sensitives)
{
    qCDebug(lcService) << "Received SensitiveDiscoveryDataIdDetected with data:" << pathlist << sensitives;
    for (auto it = sensitives.constBegin(); it != sensitives.constEnd(); ++it)
        qCDebug(lcService) << "Key:" << it.key() << ", Value:" << it.value();
    if (pathlist == m_privacyPathList()) {
        emit PiiSensitiveDetected(pathlist, sensitives);
        return;
    }
    qCWarning(lcService) << "~~~~~~~~~~~~~~~ signal: SensitiveDiscoveryDataIdDetected ignored.";
}
