// Who may call the service: root and the user the service runs as. The
// bus policy says the same; the service checks again itself.
#ifndef CALLERCHECK_H
#define CALLERCHECK_H

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QString>

class CallerCheck
{
public:
    // Whether the sender of the message may call; a refusal is logged with
    // the method and *why is set for the error reply.
    bool allowed(const QDBusConnection &connection, const QDBusMessage &message, const char *method, QString *why);

private:
    // Unique bus name -> user, so that each caller is asked for once.
    QHash<QString, uint> m_uids;
};

#endif // CALLERCHECK_H
