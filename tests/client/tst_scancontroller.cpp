// A module's scan task state machine, on task calls of the test's own and a
// real timer thread: which calls each step makes, in which state it leaves
// the module, and what it does to the timer.

#include "scancontroller.h"
#include "scantaskcalls.h"
#include "timerthread.h"

#include <QTest>

#include <limits>

namespace {

// Records every call as "create /home 1 4 P" / "pause /home 1" and answers
// each with the next planned answer (accepted when none is left).
class FakeTaskCalls : public ScanTaskCalls
{
public:
    QStringList calls;
    QList<bool> answers;

    bool createTask(const QString &pathlist, int taskType, int scanMode, const QString &policy) override
    {
        return answer(QStringLiteral("create %1 %2 %3 %4").arg(pathlist).arg(taskType).arg(scanMode).arg(policy));
    }
    bool pauseTask(const QString &pathlist, int taskType) override
    {
        return answer(QStringLiteral("pause %1 %2").arg(pathlist).arg(taskType));
    }
    bool continueTask(const QString &pathlist, int taskType) override
    {
        return answer(QStringLiteral("continue %1 %2").arg(pathlist).arg(taskType));
    }
    bool terminateTask(const QString &pathlist, int taskType) override
    {
        return answer(QStringLiteral("terminate %1 %2").arg(pathlist).arg(taskType));
    }

private:
    bool answer(const QString &call)
    {
        calls << call;
        return answers.isEmpty() || answers.takeFirst();
    }
};

using State = ScanController::State;

} // namespace

Q_DECLARE_METATYPE(ScanController::State)

class TestScanController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each step is an operation, with "!" when the service refuses it:
    // start, rescan, pause (pause or continue), terminate, cancelled,
    // completed, reset. The start takes policy "P" and scan mode 1, a
    // rescan scan mode 4.
    void steps_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>("pathlist");
        QTest::addColumn<bool>("timerPaused");

        QTest::newRow("start") << QStringList{"start"} << QStringList{"create /home 3 1 P"} << State::Scanning
                               << "/home" << false;
        QTest::newRow("refused start forgets the target")
            << QStringList{"start!"} << QStringList{"create /home 3 1 P"} << State::Configuring << "" << false;
        QTest::newRow("pause") << QStringList{"start", "pause"}
                               << QStringList{"create /home 3 1 P", "pause /home 3"} << State::Paused << "/home"
                               << true;
        QTest::newRow("refused pause") << QStringList{"start", "pause!"}
                                       << QStringList{"create /home 3 1 P", "pause /home 3"} << State::Scanning
                                       << "/home" << false;
        QTest::newRow("continue") << QStringList{"start", "pause", "pause"}
                                  << QStringList{"create /home 3 1 P", "pause /home 3", "continue /home 3"}
                                  << State::Scanning << "/home" << false;
        QTest::newRow("refused continue")
            << QStringList{"start", "pause", "pause!"}
            << QStringList{"create /home 3 1 P", "pause /home 3", "continue /home 3"} << State::Paused << "/home"
            << true;
        QTest::newRow("terminate alone changes no state")
            << QStringList{"start", "terminate"} << QStringList{"create /home 3 1 P", "terminate /home 3"}
            << State::Scanning << "/home" << false;
        QTest::newRow("cancel while paused")
            << QStringList{"start", "pause", "terminate", "cancelled"}
            << QStringList{"create /home 3 1 P", "pause /home 3", "terminate /home 3"} << State::Cancelled
            << "/home" << false;
        QTest::newRow("nothing to pause once cancelled")
            << QStringList{"start", "terminate", "cancelled", "pause"}
            << QStringList{"create /home 3 1 P", "terminate /home 3"} << State::Cancelled << "/home" << false;
        QTest::newRow("rescan keeps target and policy, takes the new mode")
            << QStringList{"start", "terminate", "cancelled", "rescan"}
            << QStringList{"create /home 3 1 P", "terminate /home 3", "create /home 3 4 P"} << State::Scanning
            << "/home" << false;
        QTest::newRow("refused rescan stays cancelled")
            << QStringList{"start", "terminate", "cancelled", "rescan!"}
            << QStringList{"create /home 3 1 P", "terminate /home 3", "create /home 3 4 P"} << State::Cancelled
            << "/home" << false;
        QTest::newRow("completion while paused")
            << QStringList{"start", "pause", "completed"} << QStringList{"create /home 3 1 P", "pause /home 3"}
            << State::Completed << "/home" << false;
        QTest::newRow("return forgets the task")
            << QStringList{"start", "completed", "reset"} << QStringList{"create /home 3 1 P"} << State::Configuring
            << "" << false;
    }
    void steps()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, calls);
        QFETCH(State, state);
        QFETCH(QString, pathlist);
        QFETCH(bool, timerPaused);

        FakeTaskCalls service;
        TimerThread timer(3);
        timer.setSleepFunction([](int) { QThread::msleep(1); });
        ScanController scan(3, &service, &timer);
        QList<State> changes;
        connect(&scan, &ScanController::StateChanged, this, [&](State s) { changes << s; });
        scan.setPathList(QStringLiteral("/home"));

        for (QString step : steps) {
            const bool refused = step.endsWith(QLatin1Char('!'));
            if (refused)
                step.chop(1);
            service.answers = {!refused};
            bool accepted = true;
            if (step == QLatin1String("start"))
                accepted = scan.start(QStringLiteral("P"), 1);
            else if (step == QLatin1String("rescan"))
                accepted = scan.rescan(4);
            else if (step == QLatin1String("pause"))
                accepted = scan.pauseOrContinue();
            else if (step == QLatin1String("terminate"))
                accepted = scan.terminate();
            else if (step == QLatin1String("cancelled"))
                scan.markCancelled();
            else if (step == QLatin1String("completed"))
                scan.markCompleted();
            else if (step == QLatin1String("reset"))
                scan.reset();
            if (refused)
                QVERIFY2(!accepted, qPrintable(step));
        }

        QCOMPARE(service.calls, calls);
        QCOMPARE(scan.state(), state);
        QCOMPARE(scan.pathList(), pathlist);
        QCOMPARE(scan.isRunning(), state == State::Scanning || state == State::Paused);
        QCOMPARE(changes.isEmpty() ? State::Configuring : changes.last(), state);
        // A cancel waits for the timer's run to end, a completion lets it end
        // by itself; a scan still running keeps it counting.
        if (state == State::Cancelled)
            QVERIFY(!timer.isRunning());
        if (state == State::Completed)
            QVERIFY(timer.wait(10000));
        if (scan.isRunning())
            QVERIFY(timer.isRunning());
        QCOMPARE(timer.isPaused(), timerPaused);
        timer.requestStop();
        QVERIFY(timer.wait(10000));
    }

    // The share done and the time left from the files examined, the total
    // and the time run so far; -1 where they cannot be told.
    void progress_data()
    {
        QTest::addColumn<int>("scanned");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("left");
        QTest::newRow("total not known yet") << 50 << -1 << 10 << -1 << -1;
        QTest::newRow("nothing to scan") << 0 << 0 << 10 << 100 << -1;
        QTest::newRow("a quarter in 10 s") << 25 << 100 << 10 << 25 << 30;
        QTest::newRow("too early to tell") << 25 << 100 << 2 << 25 << -1;
        QTest::newRow("no file yet") << 0 << 100 << 10 << 0 << -1;
        QTest::newRow("more than counted") << 120 << 100 << 10 << 100 << 0;
        QTest::newRow("counts past 2^31 / 100") << 2000000000 << 2100000000 << 2000 << 95 << 100;
        QTest::newRow("slow and large") << 1 << 2100000000 << 100000 << 0 << std::numeric_limits<int>::max();
    }
    void progress()
    {
        QFETCH(int, scanned);
        QFETCH(int, total);
        QFETCH(int, seconds);
        QFETCH(int, percent);
        QFETCH(int, left);
        FakeTaskCalls service;
        TimerThread timer(3);
        ScanController scan(3, &service, &timer);
        scan.setFilesScanned(scanned);
        scan.setFileTotal(total);
        scan.setElapsedSeconds(seconds);
        QCOMPARE(scan.percentDone(), percent);
        QCOMPARE(scan.secondsLeft(), left);
    }

    // A new task starts counting from none; the last task's count stays
    // until then, for its ended page.
    void progressStartsAnew()
    {
        FakeTaskCalls service;
        TimerThread timer(3);
        timer.setSleepFunction([](int) { QThread::msleep(1); });
        ScanController scan(3, &service, &timer);
        scan.setPathList(QStringLiteral("/home"));
        QVERIFY(scan.start(QStringLiteral("P"), 1));
        scan.setFilesScanned(7);
        scan.setFileTotal(9);
        scan.setElapsedSeconds(5);
        QVERIFY(scan.terminate());
        scan.markCancelled();
        QCOMPARE(scan.filesScanned(), 7);
        QCOMPARE(scan.fileTotal(), 9);
        QVERIFY(scan.rescan(1));
        QCOMPARE(scan.filesScanned(), 0);
        QCOMPARE(scan.fileTotal(), -1);
        QCOMPARE(scan.elapsedSeconds(), 0);
        QVERIFY(scan.terminate());
        scan.markCancelled();
    }
};

QTEST_MAIN(TestScanController)
#include "tst_scancontroller.moc"
