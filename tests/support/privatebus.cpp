#include "privatebus.h"

#include <QStandardPaths>

PrivateBus::PrivateBus()
    : PrivateBus(QStringLiteral(TESTSUPPORT_DIR "/private-bus.conf"))
{
}

PrivateBus::PrivateBus(const QString &configFile)
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) {
        m_error = QStringLiteral("dbus-daemon is not installed");
        return;
    }
    m_daemon.setProcessChannelMode(QProcess::SeparateChannels);
    m_daemon.start(daemon, {QStringLiteral("--config-file=") + configFile,
                            QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(10000)) {
        m_error = m_daemon.errorString();
        return;
    }
    while (!m_daemon.canReadLine()) {
        if (!m_daemon.waitForReadyRead(10000)) {
            m_error = QStringLiteral("dbus-daemon printed no address: ")
                      + QString::fromLocal8Bit(m_daemon.readAllStandardError());
            m_daemon.kill();
            m_daemon.waitForFinished();
            return;
        }
    }
    m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toLocal8Bit());
}

PrivateBus::~PrivateBus()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished();
        }
    }
}
