// The elapsed-time worker, driven by a clock and a sleep of the test's own:
// the test decides what time it is and when each one-second sleep ends.

#include "timerthread.h"

#include <QMutex>
#include <QSemaphore>
#include <QTest>

#include <atomic>
#include <functional>
#include <memory>

namespace {

// Time as the test sets it. A one-second sleep of the timer blocks until
// the test lets it go; the 10 ms sleeps of a paused timer only announce
// themselves.
class SteppedTime
{
public:
    std::atomic<qint64> now{0};

    TimerThread::Clock clock()
    {
        return [this] { return now.load(); };
    }
    TimerThread::SleepFunction sleep()
    {
        return [this](int ms) {
            if (ms >= 1000 && !m_free) {
                m_inLongSleep.release();
                m_wakeUp.acquire();
            } else {
                m_inShortSleep.release();
                QThread::msleep(1);
            }
        };
    }

    // Wait until the timer sits in its one-second sleep.
    bool waitForLongSleep() { return m_inLongSleep.tryAcquire(1, 10000); }
    // Wait until the timer loops while paused.
    bool waitForShortSleep()
    {
        m_inShortSleep.acquire(m_inShortSleep.available());
        return m_inShortSleep.tryAcquire(1, 10000);
    }
    // End the one-second sleep the timer is in.
    void wakeUp() { m_wakeUp.release(); }
    // From now on no sleep blocks (a test that failed half-way ends).
    void free()
    {
        m_free = true;
        m_wakeUp.release(1000);
    }

private:
    std::atomic<bool> m_free{false};
    QSemaphore m_inLongSleep;
    QSemaphore m_inShortSleep;
    QSemaphore m_wakeUp;
};

} // namespace

class TestTimerThread : public QObject
{
    Q_OBJECT

private:
    QMutex m_mutex;
    QList<int> m_keyword;
    QList<int> m_privacy;

    QList<int> keywordTicks()
    {
        QMutexLocker locker(&m_mutex);
        return m_keyword;
    }

    // A timer on the test's time. Deleting it frees the time first, so that
    // a test that fails half-way does not leave the run blocked in a sleep.
    using Timer = std::unique_ptr<TimerThread, std::function<void(TimerThread *)>>;
    Timer timerOn(SteppedTime &time, int taskType = 1)
    {
        Timer timer(newTimer(taskType), [&time](TimerThread *t) {
            time.free();
            delete t;
        });
        timer->setClock(time.clock());
        timer->setSleepFunction(time.sleep());
        return timer;
    }

    // A timer whose ticks are recorded as the keyword or privacy ticks by
    // its task type (any other type's, were there any, as privacy ticks).
    // Direct: recorded on the timer's thread, in emission order.
    TimerThread *newTimer(int taskType)
    {
        auto *timer = new TimerThread(taskType);
        QList<int> *ticks = taskType == 1 ? &m_keyword : &m_privacy;
        connect(timer, &TimerThread::TimeElapsed, timer,
                [this, ticks](int s) {
                    QMutexLocker locker(&m_mutex);
                    *ticks << s;
                },
                Qt::DirectConnection);
        return timer;
    }

    // A keyword timer started at `startAt` and already in its first sleep
    // (having emitted 0).
    Timer startedTimer(SteppedTime &time, qint64 startAt = 0)
    {
        Timer timer = timerOn(time);
        time.now = startAt;
        timer->start();
        if (!time.waitForLongSleep())
            return nullptr;
        return timer;
    }

    // Lets the timer finish (stop), whatever sleep it is in.
    static void finish(TimerThread *timer, SteppedTime &time)
    {
        timer->requestStop();
        time.wakeUp();
        QVERIFY(timer->wait(10000));
    }

private Q_SLOTS:
    void init()
    {
        QMutexLocker locker(&m_mutex);
        m_keyword.clear();
        m_privacy.clear();
    }
    void countsWholeSeconds_data()
    {
        QTest::addColumn<QList<qint64>>("tickTimes");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("one a second") << QList<qint64>{1000, 2000, 3000} << QList<int>{0, 1, 2, 3};
        QTest::newRow("a late tick repeats")
            << QList<qint64>{1000, 1999, 2000} << QList<int>{0, 1, 1, 2};
        QTest::newRow("a slow tick skips") << QList<qint64>{1000, 3001} << QList<int>{0, 1, 3};
    }
    void countsWholeSeconds()
    {
        QFETCH(QList<qint64>, tickTimes);
        QFETCH(QList<int>, expected);
        SteppedTime time;
        auto timer = startedTimer(time, 50000);
        QVERIFY(timer);
        for (qint64 t : tickTimes) {
            time.now = 50000 + t;
            time.wakeUp();
            QVERIFY(time.waitForLongSleep());
        }
        QCOMPARE(keywordTicks(), expected);
        finish(timer.get(), time);
    }

    // Paused stretches are left out; each one's final fraction of a second
    // is dropped.
    void pauseBanksWholeSeconds_data()
    {
        QTest::addColumn<qint64>("pauseAt");
        QTest::addColumn<int>("pauses");
        QTest::addColumn<qint64>("resumeAt");
        QTest::addColumn<qint64>("tickAfterResume");
        QTest::addColumn<int>("expected");
        QTest::newRow("3.7 s, then 2.5 s") << qint64(3700) << 1 << qint64(9000) << qint64(2500) << 5;
        QTest::newRow("paused twice banks once") << qint64(3700) << 2 << qint64(9000) << qint64(2500) << 5;
        QTest::newRow("under a second") << qint64(999) << 1 << qint64(1500) << qint64(1000) << 1;
        QTest::newRow("exact seconds") << qint64(2000) << 1 << qint64(60000) << qint64(2999) << 4;
    }
    void pauseBanksWholeSeconds()
    {
        QFETCH(qint64, pauseAt);
        QFETCH(int, pauses);
        QFETCH(qint64, resumeAt);
        QFETCH(qint64, tickAfterResume);
        QFETCH(int, expected);
        SteppedTime time;
        auto timer = startedTimer(time);
        QVERIFY(timer);

        time.now = pauseAt;
        timer->pause();
        QVERIFY(timer->isPaused());
        // The sleep in progress ends while paused: no value for it.
        time.wakeUp();
        QVERIFY(time.waitForShortSleep());
        for (int i = 1; i < pauses; ++i) {
            time.now = pauseAt + 800 * i;
            timer->pause();
        }
        QCOMPARE(keywordTicks(), QList<int>{0});

        time.now = resumeAt;
        timer->resume();
        QVERIFY(!timer->isPaused());
        QVERIFY(time.waitForLongSleep());
        time.now = resumeAt + tickAfterResume;
        time.wakeUp();
        QVERIFY(time.waitForLongSleep());
        QCOMPARE(keywordTicks(), (QList<int>{0, expected}));
        finish(timer.get(), time);
    }

    // A resume while counting does not restart the stopwatch.
    void resumeWhileCountingKeepsTheStretch()
    {
        SteppedTime time;
        auto timer = startedTimer(time);
        QVERIFY(timer);
        time.now = 1500;
        timer->resume();
        time.now = 2100;
        time.wakeUp();
        QVERIFY(time.waitForLongSleep());
        QCOMPARE(keywordTicks(), (QList<int>{0, 2}));
        finish(timer.get(), time);
    }

    // The stop flag is looked at before the paused one: a cancel while
    // paused ends the run without another one-second sleep, and the next
    // run counts from zero.
    void stopWhilePausedEndsAtOnce()
    {
        SteppedTime time;
        auto timer = startedTimer(time);
        QVERIFY(timer);
        time.now = 3700;
        timer->pause();
        time.wakeUp();
        QVERIFY(time.waitForShortSleep());

        timer->requestStop();
        QVERIFY(timer->wait(10000));
        QVERIFY(!timer->isPaused());
        QVERIFY(!timer->isStopRequested());
        QVERIFY(!timer->isCompleted());

        init();
        time.now = 20000;
        timer->start();
        QVERIFY(time.waitForLongSleep());
        time.now = 21000;
        time.wakeUp();
        QVERIFY(time.waitForLongSleep());
        QCOMPARE(keywordTicks(), (QList<int>{0, 1}));
        finish(timer.get(), time);
    }

    // Completion does not wait for the run; a start right after it waits
    // for the ending run and then counts from zero.
    void startRightAfterCompletionCountsFromZero()
    {
        SteppedTime time;
        auto timer = startedTimer(time);
        QVERIFY(timer);
        time.now = 5000;
        time.wakeUp();
        QVERIFY(time.waitForLongSleep());
        time.now = 5600;
        timer->pause();
        time.now = 7000;
        timer->resume();

        timer->markCompleted();
        QVERIFY(timer->isRunning());
        // The ending run is in its sleep; let that sleep end a little later,
        // from another thread, while start() waits for the run.
        std::unique_ptr<QThread> waker(QThread::create([&time] {
            QThread::msleep(50);
            time.wakeUp();
        }));
        waker->start();
        timer->start();
        QVERIFY(waker->wait(10000));

        QVERIFY(time.waitForLongSleep());
        time.now = 8000;
        time.wakeUp();
        QVERIFY(time.waitForLongSleep());
        QCOMPARE(keywordTicks(), (QList<int>{0, 5, 0, 1}));
        finish(timer.get(), time);
    }

    void completionEndsTheRun()
    {
        SteppedTime time;
        auto timer = startedTimer(time);
        QVERIFY(timer);
        timer->markCompleted();
        QVERIFY(timer->isCompleted());
        time.now = 1000;
        time.wakeUp();
        QVERIFY(timer->wait(10000));
        QVERIFY(!timer->isCompleted());
        // The tick of the sleep that ended after the completion is not shown.
        QCOMPARE(keywordTicks(), QList<int>{0});
    }

    void taskTypeChoosesTheSignal_data()
    {
        QTest::addColumn<int>("taskType");
        QTest::addColumn<QList<int>>("keyword");
        QTest::addColumn<QList<int>>("privacy");
        QTest::newRow("keyword") << 1 << QList<int>{0, 2} << QList<int>{};
        QTest::newRow("privacy") << 3 << QList<int>{} << QList<int>{0, 2};
        QTest::newRow("other") << 2 << QList<int>{} << QList<int>{};
    }
    void taskTypeChoosesTheSignal()
    {
        QFETCH(int, taskType);
        QFETCH(QList<int>, keyword);
        QFETCH(QList<int>, privacy);
        SteppedTime time;
        Timer timer = timerOn(time, taskType);
        timer->start();
        QVERIFY(time.waitForLongSleep());
        time.now = 2000;
        time.wakeUp();
        QVERIFY(time.waitForLongSleep());
        finish(timer.get(), time);
        QMutexLocker locker(&m_mutex);
        QCOMPARE(m_keyword, keyword);
        QCOMPARE(m_privacy, privacy);
    }

    // Deleting a timer that still counts (real clock and sleep) stops it
    // first instead of destroying a running thread.
    void deletingARunningTimerStopsIt()
    {
        auto *timer = newTimer(3);
        timer->start();
        QTRY_COMPARE_WITH_TIMEOUT([this] {
            QMutexLocker locker(&m_mutex);
            return m_privacy.size();
        }(), 1, 10000);
        delete timer;
    }
};

QTEST_MAIN(TestTimerThread)
#include "tst_timerthread.moc"
