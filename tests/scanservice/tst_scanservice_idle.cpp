// Scan mode 4 of the real scan service on a private bus: the task waits
// while the machine is busy and runs when it is idle. The first case fakes
// the load reading through a file the service reads instead of /proc/stat;
// the second keeps the processors busy for real and checks only the order
// of events. This test runs alone (RUN_SERIAL): other tests would load the machine.
#include "privacysamples.h"
#include "privatebus.h"
#include "sampledocuments.h"
#include "servicerun.h"
#include "transcontrolprotocol.h"
#include "sensitivescaninterface.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {
const QString Service = QStringLiteral("com.vorel.dlp.TransControl");
const QString Path = QStringLiteral("/com/vorel/dlp/TransControl");
const QString Interface = QStringLiteral("com.vorel.dlp.TransControlInterface");

QString privacyPolicy()
{
    const QJsonObject detect{{"dataidentifier_detect_ruleset", true},
                             {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"filetypes", QJsonArray{"txt"}}}}},
                             {"keyword_detect_ruleset", QJsonArray{}}};
    const QJsonObject root{{"version", "1.0.0"},
                           {"policies", QJsonArray{QJsonObject{{"ruleset", QJsonObject{{"detect_ruleset", detect},
                                                                                       {"response_ruleset", QJsonArray{QJsonObject{{"action", "WriteDatabase"}}}}}}}}}};
    return QString::fromLatin1(QJsonDocument(root).toJson().toBase64());
}
} // namespace

// The privacy signals of one path list; counts what arrived while the test kept the machine busy.
class Events : public QObject
{
    Q_OBJECT
public:
    QString pathlist;
    const std::atomic<bool> *busy = nullptr;
    int scanning = 0;
    int scanningWhileBusy = 0;
    int detections = 0;
    bool ended = false;

    explicit Events(const QString &list)
        : pathlist(list)
    {
        QDBusConnection::systemBus().connect(Service, Path, Interface, "SensitiveDiscoveryDataIdScanningFile", this,
                                             SLOT(onScanning(QString, QString, int)));
        QDBusConnection::systemBus().connect(Service, Path, Interface, "SensitiveDiscoveryDataIdDetected", this,
                                             SLOT(onDetected(QString, QVariantMap)));
    }
public Q_SLOTS:
    void onScanning(const QString &list, const QString &path, int id)
    {
        if (list != pathlist)
            return;
        if (id == 0 && path.isEmpty()) {
            ended = true;
            return;
        }
        ++scanning;
        if (busy && busy->load())
            ++scanningWhileBusy;
    }
    void onDetected(const QString &list, const QVariantMap &)
    {
        if (list == pathlist)
            ++detections;
    }
};

// Threads that keep every processor busy until stopped (also when a check fails).
struct Burners
{
    std::atomic<bool> busy{true};
    std::vector<std::thread> threads;
    Burners()
    {
        for (int i = 0; i < qMax(1, QThread::idealThreadCount()); ++i) {
            threads.emplace_back([this] {
                volatile unsigned long spin = 0;
                while (busy.load(std::memory_order_relaxed))
                    ++spin;
            });
        }
    }
    void stop()
    {
        busy = false;
        for (std::thread &thread : threads) {
            if (thread.joinable())
                thread.join();
        }
    }
    ~Burners() { stop(); }
};

class TestScanServiceIdle : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    QTemporaryDir m_work;
    QProcess m_service;
    std::unique_ptr<SensitiveScanInterface> m_proxy;

    bool startService(const QStringList &extra)
    {
        return ServiceRun::start(m_service, SCAN_SERVICE_BINARY, m_work.path() + "/findings.db", extra);
    }
    void stopService() { ServiceRun::stop(m_service); }
    QString tree(const QString &name, int files)
    {
        const QString dir = m_work.path() + "/" + name;
        QDir().mkpath(dir);
        PrivacySamples samples(files);
        for (int i = 0; i < files; ++i)
            SampleDocuments::writeFile(dir + QStringLiteral("/f%1.txt").arg(i), ("证件 " + samples.idNumber(QDate(1980, 1, 1).addDays(i))).toUtf8());
        return dir;
    }
    int setTask(const QString &pathlist, int scanmode)
    {
        QDBusPendingReply<int> reply = m_proxy->SensitiveDiscoverySetScanTask(pathlist, 3, scanmode, QString(), QString(), 0.75, privacyPolicy());
        reply.waitForFinished();
        return reply.isError() ? -1 : reply.value();
    }
    QString status(const QString &pathlist)
    {
        QDBusPendingReply<ScanTaskDetailInfo> reply = m_proxy->SensitiveDiscoveryGetScanTaskDetail(pathlist, 3);
        reply.waitForFinished();
        return reply.isError() ? reply.error().name() : reply.value().Status;
    }
    // The machine's idle share over two seconds, in percent.
    static int machineIdlePercent()
    {
        auto read = [] {
            QFile stat("/proc/stat");
            stat.open(QIODevice::ReadOnly);
            const QList<QByteArray> cpu = stat.readLine().simplified().split(' ');
            qint64 total = 0;
            for (int i = 1; i < cpu.size() && i <= 8; ++i)
                total += cpu.at(i).toLongLong();
            return qMakePair(total, cpu.value(4).toLongLong() + cpu.value(5).toLongLong());
        };
        const auto before = read();
        QTest::qWait(2000);
        const auto after = read();
        return after.first > before.first ? int((after.second - before.second) * 100 / (after.first - before.first)) : 0;
    }
    static void writeIdle(const QString &file, int percent)
    {
        SampleDocuments::writeFile(file, QByteArray::number(percent));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_proxy = std::make_unique<SensitiveScanInterface>(Service, Path, Interface, QDBusConnection::systemBus());
    }
    void cleanup()
    {
        if (m_service.state() != QProcess::NotRunning)
            stopService();
    }
    void cleanupTestCase()
    {
        m_proxy.reset();
        m_bus.reset();
    }

    void waitsWhileBusyRunsWhenIdle()
    {
        const QString load = m_work.path() + "/idle-percent";
        writeIdle(load, 10);
        QVERIFY(startService({"--fake-cpu-idle", load}));
        const QString idleTask = tree("idle", 20);
        const QString normalTask = tree("normal", 5);
        Events idleEvents(idleTask);
        Events normalEvents(normalTask);
        QCOMPARE(setTask(idleTask, 4), 0);
        QCOMPARE(setTask(normalTask, 1), 0);
        QCOMPARE(status(idleTask), QStringLiteral("waiting"));
        // A normal task runs whatever the load; the idle-time task still waits when it has ended.
        QTRY_VERIFY_WITH_TIMEOUT(normalEvents.ended, 30000);
        QCOMPARE(normalEvents.detections, 5);
        QCOMPARE(idleEvents.scanning, 0);
        QCOMPARE(idleEvents.detections, 0);
        QCOMPARE(status(idleTask), QStringLiteral("waiting"));
        // Pause and continue keep it waiting.
        QCOMPARE(m_proxy->SensitiveDiscoveryPauseScanTask(idleTask, 3).value(), 0);
        QCOMPARE(status(idleTask), QStringLiteral("paused"));
        QCOMPARE(m_proxy->SensitiveDiscoveryContinueScanTask(idleTask, 3).value(), 0);
        QCOMPARE(status(idleTask), QStringLiteral("waiting"));
        QVERIFY(!idleEvents.ended);
        // Idle: it runs to its end.
        writeIdle(load, 95);
        QTRY_VERIFY_WITH_TIMEOUT(idleEvents.ended, 30000);
        QCOMPARE(idleEvents.detections, 20);
        QCOMPARE(status(idleTask), QStringLiteral("completed"));
    }

    void realLoadHoldsTheTask()
    {
        // The task can only run once the machine is idle; on a machine busy with other work it never would.
        const int idle = machineIdlePercent();
        if (idle < 90)
            QSKIP(qPrintable(QStringLiteral("the machine is busy with other work (%1% idle); the faked load covers the rule").arg(idle)));
        QVERIFY(startService({}));
        // Keep every processor busy, long enough to fill the service's window.
        Burners burners;
        QTest::qWait(4000);
        const QString dir = tree("real", 10);
        Events events(dir);
        events.busy = &burners.busy;
        QCOMPARE(setTask(dir, 4), 0);
        QTRY_COMPARE_WITH_TIMEOUT(status(dir), QStringLiteral("waiting"), 10000);
        QTest::qWait(1500);
        burners.stop();
        // Once the load is gone the task runs; nothing was scanned while the processors were busy.
        QTRY_VERIFY_WITH_TIMEOUT(events.ended, 120000);
        QCOMPARE(events.detections, 10);
        QVERIFY(events.scanning > 0);
        QCOMPARE(events.scanningWhileBusy, 0);
    }
};

QTEST_MAIN(TestScanServiceIdle)
#include "tst_scanservice_idle.moc"
