// Who may call the service (see callercheck.h).
#include "callercheck.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QtDebug>

#include <unistd.h>

namespace {
// Names of connections that have gone are dropped wholesale beyond this many.
constexpr int MaxRememberedCallers = 1000;
} // namespace

bool CallerCheck::allowed(const QDBusConnection &connection, const QDBusMessage &message, const char *method, QString *why)
{
    const QString sender = message.service();
    auto it = m_uids.constFind(sender);
    if (it == m_uids.constEnd()) {
        const QDBusReply<uint> uid = connection.interface()->serviceUid(sender);
        if (!uid.isValid()) {
            *why = QStringLiteral("the caller cannot be identified");
            return false;
        }
        if (m_uids.size() > MaxRememberedCallers)
            m_uids.clear();
        it = m_uids.insert(sender, uid.value());
    }
    if (*it == 0 || *it == ::getuid())
        return true;
    qWarning().noquote() << QStringLiteral("Method '%1' refused to %2 (user %3)").arg(QLatin1String(method), sender).arg(*it);
    *why = QStringLiteral("only root may use the scan service");
    return false;
}
