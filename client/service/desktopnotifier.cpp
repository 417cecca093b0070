// A message to the user through the desktop's notification service.
#include "desktopnotifier.h"

#include "servicelog.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

namespace {
const char *const NotificationsService = "org.freedesktop.Notifications";
const char *const NotificationsPath = "/org/freedesktop/Notifications";
const char *const NotificationsInterface = "org.freedesktop.Notifications";
// The connection's name in this process.
const char *const ConnectionName = "discovery-notifications";
// The desktop entry and icon the notification is shown under.
const char *const AppIcon = "vorel-security-center";
// Let the notification service choose how long it stays.
constexpr int ServerDefaultTimeout = -1;
} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent)
    : QObject(parent)
{
}

QString DesktopNotifier::sessionBusAddress()
{
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return address;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return QString();
    const QString socket = runtime + QStringLiteral("/bus");
    return QFileInfo::exists(socket) ? QStringLiteral("unix:path=") + socket : QString();
}

void DesktopNotifier::notify(const QString &summary, const QString &body)
{
    const QString address = sessionBusAddress();
    if (address.isEmpty()) {
        m_connected = false;
        qCInfo(lcService) << "no session bus: the notification" << summary << "is not shown";
        return;
    }
    // One connection for the process's life; reconnected if it was lost.
    QDBusConnection bus{QString::fromLatin1(ConnectionName)};
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(QLatin1String(ConnectionName));
        bus = QDBusConnection::connectToBus(address, QLatin1String(ConnectionName));
    }
    m_connected = bus.isConnected();
    if (!m_connected) {
        qCInfo(lcService) << "the session bus cannot be reached:" << bus.lastError().message();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(NotificationsService),
                                                       QLatin1String(NotificationsPath),
                                                       QLatin1String(NotificationsInterface), QStringLiteral("Notify"));
    // The body may be read as markup by the service: it is escaped.
    call << QCoreApplication::applicationName() << 0u << QString::fromLatin1(AppIcon) << summary
         << body.toHtmlEscaped() << QStringList() << QVariantMap() << ServerDefaultTimeout;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        if (w->isError())
            qCInfo(lcService) << "the notification was not shown:" << w->error().name() << w->error().message();
    });
}
