// Starting and stopping the real scan service on the test's private bus,
// shared by the tests that talk to it over the bus.
#ifndef SERVICERUN_H
#define SERVICERUN_H

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
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

// file -> reason of the files a task's latest run recorded as not read (in
// full), read from the findings database the service was started with.
inline QMap<QString, QString> failures(const QString &database, const QString &pathlist, int tasktype)
{
    QMap<QString, QString> found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("failures"));
        db.setDatabaseName(database);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            // The task's latest run: earlier ones stay in the history.
            query.prepare(QStringLiteral("SELECT path, reason FROM file_failures WHERE task_id = "
                                         "(SELECT MAX(id) FROM tasks WHERE pathlist = ? AND tasktype = ?)"));
            query.addBindValue(pathlist);
            query.addBindValue(tasktype);
            query.exec();
            while (query.next())
                found.insert(query.value(0).toString(), query.value(1).toString());
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("failures"));
    return found;
}

} // namespace ServiceRun

#endif // SERVICERUN_H
