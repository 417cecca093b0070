// The client's calls to the service's history of runs and its reports (fake
// scan service, private bus): the latest run of a path list and task type is
// found, an export writes through the descriptor of the file the client
// opened, and a failure comes back with its reason.

#include "fakescanservice.h"
#include "privatebus.h"
#include "runreports.h"
#include "transcontrolprotocol.h"

#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestRunReports : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
    }
    void init() { m_fake->reset(); }
    void cleanupTestCase()
    {
        m_fake.reset();
        m_bus.reset();
    }

    void latestRun_data()
    {
        QTest::addColumn<QString>("runs");
        QTest::addColumn<QString>("pathlist");
        QTest::addColumn<QString>("taskType");
        QTest::addColumn<qlonglong>("expected");

        // Newest first, as the service lists them.
        const QString runs = QStringLiteral(
            R"([{"run": 9, "path_list": "/home/a", "task_type": "privacy"},)"
            R"( {"run": 7, "path_list": "/home/a", "task_type": "keyword"},)"
            R"( {"run": 5, "path_list": "/home/a", "task_type": "keyword"},)"
            R"( {"run": 3, "path_list": "/home/b", "task_type": "keyword"}])");
        QTest::newRow("newest of the type") << runs << "/home/a" << "keyword" << 7LL;
        QTest::newRow("other type") << runs << "/home/a" << "privacy" << 9LL;
        QTest::newRow("other path list") << runs << "/home/b" << "keyword" << 3LL;
        QTest::newRow("none") << runs << "/home/c" << "keyword" << -1LL;
        QTest::newRow("not JSON") << "[{" << "/home/a" << "keyword" << -1LL;
    }
    void latestRun()
    {
        QFETCH(QString, runs);
        QFETCH(QString, pathlist);
        QFETCH(QString, taskType);
        QFETCH(qlonglong, expected);
        m_fake->setReply(QStringLiteral("ListRuns"), {0, runs});
        QString reason;
        const RunReports reports(QDBusConnection::systemBus());
        QCOMPARE(RunReports::latestRunIn(reports.listRuns(), pathlist, taskType, &reason), expected);
        QCOMPARE(reason.isEmpty(), expected >= 0);
    }

    void historyUnreadableSaysWhy()
    {
        m_fake->setReply(QStringLiteral("ListRuns"), {int(ReturnCode::InternalError), QString()});
        QString reason;
        const RunReports reports(QDBusConnection::systemBus());
        QCOMPARE(RunReports::latestRunIn(reports.listRuns(), QStringLiteral("/home/a"), QStringLiteral("keyword"), &reason),
                 -1LL);
        QCOMPARE(reason, RunReports::reasonOf(ReturnCode::InternalError));
    }

    void exportWritesIntoTheChosenFile()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("报告.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const RunReports reports(QDBusConnection::systemBus());
        QString reason;
        QVERIFY(RunReports::exportSucceeded(reports.exportRun(7, QStringLiteral("csv"), false, file), &reason));
        QVERIFY(reason.isEmpty());
        file.close();

        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("run=7 format=csv unmasked=false\n"));
        const QList<FakeScanService::Call> calls = m_fake->calls(QStringLiteral("ExportRun"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().signature, QStringLiteral("xsbh"));
    }

    void exportFailureSaysWhy_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("unknown run") << int(ReturnCode::UnknownRun);
        QTest::newRow("cannot write") << int(ReturnCode::ExportFailed);
        QTest::newRow("internal") << int(ReturnCode::InternalError);
    }
    void exportFailureSaysWhy()
    {
        QFETCH(int, code);
        m_fake->setReply(QStringLiteral("ExportRun"), {code});
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("r.html")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QString reason;
        QVERIFY(!RunReports::exportSucceeded(
            RunReports(QDBusConnection::systemBus()).exportRun(7, QStringLiteral("html"), true, file), &reason));
        QCOMPARE(reason, RunReports::reasonOf(code));
        QVERIFY(!reason.isEmpty());
    }

    void exportBusErrorSaysWhy()
    {
        m_fake->setError(QStringLiteral("ExportRun"), QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                         QStringLiteral("not allowed"));
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("r.jsonl")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QString reason;
        QVERIFY(!RunReports::exportSucceeded(
            RunReports(QDBusConnection::systemBus()).exportRun(7, QStringLiteral("jsonl"), false, file), &reason));
        QCOMPARE(reason, QStringLiteral("not allowed"));
    }
};

QTEST_GUILESS_MAIN(TestRunReports)
#include "tst_runreports.moc"
