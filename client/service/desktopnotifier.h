// A message to the user through the desktop's notification service.
#ifndef DESKTOPNOTIFIER_H
#define DESKTOPNOTIFIER_H

#include <QObject>
#include <QString>

// Sends "org.freedesktop.Notifications.Notify" on the session bus. The
// client runs as root, often with no session bus of its own: then, or when
// the bus has no notification service, nothing is shown and nothing is
// asked of the user; the failure is only logged. The bus is found from
// DBUS_SESSION_BUS_ADDRESS or the user's runtime directory, never started:
// the notifier must not launch a bus of its own for root.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    explicit DesktopNotifier(QObject *parent = nullptr);

    // Whether a session bus could be reached (at the last notify()).
    bool hasSessionBus() const { return m_connected; }

public Q_SLOTS:
    // Sends a notification; returns at once, the service's reply is not
    // waited for.
    void notify(const QString &summary, const QString &body);

private:
    // The session bus's address, or empty when there is none to reach.
    static QString sessionBusAddress();

    bool m_connected = false;
};

#endif // DESKTOPNOTIFIER_H
