// Starting and stopping the real scan service on the test's private bus,
// shared by the tests that talk to it over the bus.
#ifndef SERVICERUN_H
#define SERVICERUN_H

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QStringList>
#include <QTest>

namespace ServiceRun {

inline const QString &busName()
{
    static const QString name = QStringLiteral("com.vorel.dlp.TransControl");
    return name;
}

// Starts `program` with its findings in `database` and waits until it owns
// its name on the bus; false when it does not start or never gets there.
inline bool start(QProcess &service, const QString &program, const QString &database, const QStringList &extra = {})
{
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service.start(program, QStringList{QStringLiteral("--findings-db"), database} + extra);
    if (!service.waitForStarted(10000))
        return false;
    for (int i = 0; i < 200; ++i) {
        if (QDBusConnection::systemBus().interface()->isServiceRegistered(busName()))
            return true;
        QTest::qWait(50);
    }
    return false;
}

// Ends the service (SIGTERM, then SIGKILL after 10 s) and waits until its
// name is free again, so that the next start can own it.
inline void stop(QProcess &service)
{
    service.terminate();
    if (!service.waitForFinished(10000))
        service.kill();
    for (int i = 0; i < 100 && QDBusConnection::systemBus().interface()->isServiceRegistered(busName()); ++i)
        QTest::qWait(50);
}

} // namespace ServiceRun

#endif // SERVICERUN_H
