// The file-count worker against the fake scan service on the private bus.

#include "fakescanservice.h"
#include "getscantaskfilecountthread.h"
#include "privatebus.h"
#include "sensitivescaninterface.h"

#include <QMutex>
#include <QPointer>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QString Detail = QStringLiteral("SensitiveDiscoveryGetScanTaskDetail");
const QString DetailFailed = QStringLiteral("Method 'SensitiveDiscoveryGetScanTaskDetail' call failed:");
const QString DetailReceived = QStringLiteral("Method 'SensitiveDiscoveryGetScanTaskDetail' call successfully.");
const QString GaveUp = QStringLiteral("GetScanTaskFileCount: Exceeded maximum retry count ( 30 ), giving up.");

// What the worker did, in order: its sleeps ("sleep 100") and its log lines.
QMutex eventMutex;
QStringList events;
QtMessageHandler previousHandler = nullptr;

void record(const QString &event)
{
    QMutexLocker locker(&eventMutex);
    events << event;
}

QStringList takeEvents()
{
    QMutexLocker locker(&eventMutex);
    const QStringList out = events;
    events.clear();
    return out;
}

// The worker's lines are checked, not printed.
void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    record(message);
    if (type == QtFatalMsg && previousHandler)
        previousHandler(type, context, message);
}

} // namespace

class TestFileCountThread : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<SensitiveScanInterface> m_proxy;

    static std::unique_ptr<SensitiveScanInterface> newProxy()
    {
        return std::make_unique<SensitiveScanInterface>(
            QStringLiteral("com.vorel.dlp.TransControl"), QStringLiteral("/com/vorel/dlp/TransControl"),
            QStringLiteral("com.vorel.dlp.TransControlInterface"), QDBusConnection::systemBus());
    }

    // Runs one worker to its end with recorded sleeps; returns the range
    // signals it emitted as "range 0 120".
    QStringList runWorker(const QString &pathlist, int taskType)
    {
        QStringList ranges;
        auto *worker = new GetScanTaskFileCountThread(m_proxy.get(), pathlist);
        worker->setTaskType(taskType);
        connect(worker, &GetScanTaskFileCountThread::ProgressRangeGenerated, this,
                [&](int min, int max) { ranges << QStringLiteral("range %1 %2").arg(min).arg(max); });
        worker->setSleepFunction([](int ms) { record(QStringLiteral("sleep %1").arg(ms)); });
        QPointer<GetScanTaskFileCountThread> alive(worker);
        worker->start(QThread::InheritPriority);
        // It deletes itself once finished; the queued range signals have
        // been delivered by then.
        [&] { QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 60000); }();
        QCoreApplication::processEvents();
        return ranges;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
        m_proxy = newProxy();
        previousHandler = qInstallMessageHandler(captureMessage);
    }
    void init()
    {
        m_fake->reset();
        takeEvents();
    }
    void cleanupTestCase()
    {
        qInstallMessageHandler(previousHandler);
        m_proxy.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void failingServiceIsAskedThirtyTimes_data()
    {
        QTest::addColumn<QString>("pathlist");
        QTest::addColumn<int>("taskType");
        QTest::addColumn<int>("delay");
        QTest::newRow("whole disk, keyword") << "/" << 1 << 1000;
        QTest::newRow("home, privacy") << "/home/user" << 3 << 100;
        QTest::newRow("several directories") << "/|/home" << 1 << 100;
    }
    void failingServiceIsAskedThirtyTimes()
    {
        QFETCH(QString, pathlist);
        QFETCH(int, taskType);
        QFETCH(int, delay);
        m_fake->setError(Detail, QStringLiteral("org.freedesktop.DBus.Error.Failed"), QStringLiteral("busy"));

        QCOMPARE(runWorker(pathlist, taskType), QStringList());

        const auto calls = m_fake->calls(Detail);
        QCOMPARE(calls.size(), 30);
        for (const auto &call : calls) {
            QCOMPARE(call.signature, QStringLiteral("si"));
            QCOMPARE(call.arguments, (QVariantList{pathlist, taskType}));
        }
        // Every query comes after its sleep, the first one included; the
        // failure lines carry the error but not the path list.
        QStringList expected;
        for (int i = 0; i < 30; ++i)
            expected << QStringLiteral("sleep %1").arg(delay)
                     << DetailFailed + QStringLiteral(" \"org.freedesktop.DBus.Error.Failed\" \"busy\"");
        expected << GaveUp;
        QCOMPARE(takeEvents(), expected);
    }

    void successEndsTheQueries_data()
    {
        QTest::addColumn<int>("failuresFirst");
        QTest::addColumn<int>("taskType");
        QTest::addColumn<int>("total");
        QTest::addColumn<QStringList>("ranges");
        QTest::newRow("keyword total") << 0 << 1 << 120 << QStringList{"range 0 120"};
        QTest::newRow("privacy total") << 0 << 3 << 7 << QStringList{"range 0 7"};
        QTest::newRow("after 29 bus errors") << 29 << 1 << 5 << QStringList{"range 0 5"};
        QTest::newRow("total of one file") << 0 << 3 << 1 << QStringList{"range 0 1"};
        // A successful reply is never asked again, whatever its total.
        QTest::newRow("total still unknown") << 0 << 1 << 0 << QStringList();
        QTest::newRow("negative total") << 2 << 3 << -1 << QStringList();
        QTest::newRow("unknown task type") << 0 << 2 << 9 << QStringList();
    }
    void successEndsTheQueries()
    {
        QFETCH(int, failuresFirst);
        QFETCH(int, taskType);
        QFETCH(int, total);
        QFETCH(QStringList, ranges);
        if (failuresFirst > 0)
            m_fake->setError(Detail, QStringLiteral("org.freedesktop.DBus.Error.NoReply"), QStringLiteral("late"), 0,
                             failuresFirst);
        m_fake->setReply(Detail, {total, 4096, QStringLiteral("counting"), 0.25}, 0, 1);

        QCOMPARE(runWorker(QStringLiteral("/home/user"), taskType), ranges);
        QCOMPARE(m_fake->calls(Detail).size(), failuresFirst + 1);

        const QStringList log = takeEvents();
        QCOMPARE(log.count(DetailReceived), 1);
        QVERIFY(log.contains(QStringLiteral("TotalCount: %1").arg(total)));
        QVERIFY(log.contains(QStringLiteral("Status: \"counting\"")));
        QCOMPARE(log.contains(QStringLiteral("total file count of directory: %1").arg(total)), total >= 1);
        QVERIFY(!log.contains(GaveUp));
    }

    // The first query waits for the delay: while the worker sleeps the
    // service has not been asked yet.
    void firstQueryComesAfterTheDelay_data()
    {
        QTest::addColumn<QString>("pathlist");
        QTest::addColumn<int>("delay");
        QTest::newRow("whole disk") << "/" << 1000;
        QTest::newRow("home") << "/home/user" << 100;
        QTest::newRow("root twice") << "//" << 100;
        QTest::newRow("root among others") << "/|/srv" << 100;
    }
    void firstQueryComesAfterTheDelay()
    {
        QFETCH(QString, pathlist);
        QFETCH(int, delay);
        m_fake->setReply(Detail, {3, 1, QString(), 0.0});
        QSemaphore sleeping, wakeUp;
        QList<int> sleeps;
        auto *worker = new GetScanTaskFileCountThread(m_proxy.get(), pathlist);
        worker->setTaskType(1);
        worker->setSleepFunction([&](int ms) {
            sleeps << ms;
            sleeping.release();
            wakeUp.acquire();
        });
        QPointer<GetScanTaskFileCountThread> alive(worker);
        worker->start();
        QVERIFY(sleeping.tryAcquire(1, 10000));
        QCOMPARE(m_fake->calls(Detail).size(), 0);
        wakeUp.release();
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 10000);
        QCOMPARE(sleeps, QList<int>{delay});
        QCOMPARE(m_fake->calls(Detail).size(), 1);
    }

    // A reply that is not the (iisd) structure reads as all zero: no range,
    // and no point asking again.
    void wrongTypedReplyReadsAsZero_data()
    {
        QTest::addColumn<QVariantList>("reply");
        QTest::newRow("four loose values") << QVariantList{12, 34, QStringLiteral("s"), 0.5};
        QTest::newRow("a number") << QVariantList{12};
        QTest::newRow("nothing") << QVariantList{};
    }
    void wrongTypedReplyReadsAsZero()
    {
        QFETCH(QVariantList, reply);
        m_fake->setRawReply(Detail, reply);
        QCOMPARE(runWorker(QStringLiteral("/home/user"), 1), QStringList());
        QCOMPARE(m_fake->calls(Detail).size(), 1);
        QVERIFY(!takeEvents().contains(GaveUp));
    }

    // The owner of a proxy that goes away while a worker on it still waits
    // for the service ends the worker first; nothing is emitted after.
    void cancelAllEndsTheProxysWorkers()
    {
        m_fake->setNoReply(Detail);
        std::unique_ptr<SensitiveScanInterface> proxy = newProxy();
        bool emitted = false;
        auto *worker = new GetScanTaskFileCountThread(proxy.get(), QStringLiteral("/home/user"));
        worker->setTaskType(1);
        connect(worker, &GetScanTaskFileCountThread::ProgressRangeGenerated, this, [&] { emitted = true; });
        QPointer<GetScanTaskFileCountThread> alive(worker);
        worker->start();
        QTRY_COMPARE_WITH_TIMEOUT(m_fake->calls(Detail).size(), 1, 10000);

        // Waits for the worker, which must not hang in its query.
        GetScanTaskFileCountThread::cancelAll(proxy.get());
        proxy.reset();
        if (alive)
            QVERIFY(alive->isFinished());
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 10000);
        QVERIFY(!emitted);
        QCOMPARE(m_fake->calls(Detail).size(), 1);
    }
};

QTEST_MAIN(TestFileCountThread)
#include "tst_filecountthread.moc"
