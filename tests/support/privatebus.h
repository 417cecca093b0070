#ifndef PRIVATEBUS_H
#define PRIVATEBUS_H

#include <QProcess>
#include <QString>

// A dbus-daemon of the test's own that stands in for the system bus. The
// constructor starts it and points DBUS_SYSTEM_BUS_ADDRESS at it, so it must
// exist before the first QDBusConnection::systemBus() of the process; the
// destructor stops it. Child processes started afterwards inherit the address.
// A test of the bus policy gives a configuration of its own.
class PrivateBus
{
public:
    PrivateBus();
    explicit PrivateBus(const QString &configFile);
    ~PrivateBus();

    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    QString errorString() const { return m_error; }

private:
    QProcess m_daemon;
    QString m_address;
    QString m_error;
};

#endif // PRIVATEBUS_H
