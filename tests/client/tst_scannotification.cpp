// The desktop notification of a completed scan: the real MainWindow against
// the fake scan service (private system bus) and a notification service of
// the test's own on a private session bus. A scan that completes while the
// window is not active is told with its counts; one that completes in the
// active window is not; with no session bus nothing is sent and nothing is
// asked.

#include "scancontrollertest.h"

#include "desktopnotifier.h"
#include "fakescanservice.h"
#include "mainwindow.h"
#include "privatebus.h"

#include <QDBusConnection>
#include <QDir>
#include <QTest>

#include <memory>

using namespace ScanControllerTest;

namespace {
const QString Scanning = QStringLiteral("SensitiveDiscoveryKeywordScanningFile");
const QString Detected = QStringLiteral("SensitiveDiscoveryKeywordDetected");
const QString PrivacyScanning = QStringLiteral("SensitiveDiscoveryDataIdScanningFile");
enum Flow { ScanningFlow = 0, CancelledFlow = 1, CompletedFlow = 2 };
} // namespace

// Stands in for the desktop's notification service.
class NotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification
    {
        QString summary;
        QString body;
    };
    QList<Notification> received;

public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        Q_UNUSED(appName)
        Q_UNUSED(replacesId)
        Q_UNUSED(appIcon)
        Q_UNUSED(actions)
        Q_UNUSED(hints)
        Q_UNUSED(timeout)
        received.append({summary, body});
        return uint(received.size());
    }
};

class TestScanNotification : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateBus> m_sessionBus;
    std::unique_ptr<PrivateBus> m_systemBus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<MainWindow> m_window;
    NotificationService m_notifications;

    void emitSignal(const QString &name, const QVariantList &arguments) { QVERIFY(m_fake->emitSignal(name, arguments)); }

    // A keyword scan of the home directory with hits in two files (3 in
    // all) over 5 files; endScan() ends it.
    void startKeywordScan()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        configureKeywords(*m_window, {QStringLiteral("机密")});
        click(m_window.get(), "m_KeywordScanComboBoxLikeDisplayButton");
        QCOMPARE(page(*m_window, "stackedWidget_2"), int(ScanningFlow));
        emitSignal(Scanning, {m_window->keywordPathList(), QStringLiteral("/srv/a.txt"), 5});
        emitSignal(Detected, {m_window->keywordPathList(), QStringLiteral("/srv/a.txt"),
                              QVariantMap{{QStringLiteral("机密"), 2}}});
        emitSignal(Detected, {m_window->keywordPathList(), QStringLiteral("/srv/b.txt"),
                              QVariantMap{{QStringLiteral("机密"), 1}}});
    }
    void endScan()
    {
        emitSignal(Scanning, {m_window->keywordPathList(), QString(), 0});
        QTRY_COMPARE(page(*m_window, "stackedWidget_2"), int(CompletedFlow));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The session bus first: each private bus points the system bus's
        // variable at itself, the last one made is the system bus.
        m_sessionBus = std::make_unique<PrivateBus>();
        QVERIFY2(m_sessionBus->isRunning(), qPrintable(m_sessionBus->errorString()));
        m_systemBus = std::make_unique<PrivateBus>();
        QVERIFY2(m_systemBus->isRunning(), qPrintable(m_systemBus->errorString()));
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_sessionBus->address().toUtf8());

        QDBusConnection session = QDBusConnection::connectToBus(m_sessionBus->address(), QStringLiteral("test-session"));
        QVERIFY(session.isConnected());
        QVERIFY(session.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_notifications,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(session.registerService(QStringLiteral("org.freedesktop.Notifications")));

        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
    }
    void init()
    {
        m_fake->reset();
        m_notifications.received.clear();
        m_window = std::make_unique<MainWindow>();
        m_window->setEffectiveUidFunction([] { return 0u; });
    }
    void cleanup() { m_window.reset(); }
    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("test-session"));
        m_fake.reset();
        m_systemBus.reset();
        m_sessionBus.reset();
    }

    void completedWhileAwayIsTold()
    {
        startKeywordScan();
        // The user turns to another window.
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        QVERIFY(!m_window->isActiveWindow());
        endScan();
        QTRY_COMPARE(m_notifications.received.size(), 1);
        const auto notification = m_notifications.received.first();
        QCOMPARE(notification.summary, QStringLiteral("敏感词扫描已完成"));
        QVERIFY2(notification.body.contains(QLatin1String("3")), qPrintable(notification.body));
        QVERIFY2(notification.body.contains(QLatin1String("5")), qPrintable(notification.body));
        QVERIFY(m_window->desktopNotifier()->hasSessionBus());
    }

    void completedInActiveWindowIsNotTold()
    {
        startKeywordScan();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        endScan();
        // A marker sent after the end on the same connection arrives after
        // any notification the end would have sent.
        m_window->desktopNotifier()->notify(QStringLiteral("marker"), QString());
        QTRY_COMPARE(m_notifications.received.size(), 1);
        QCOMPARE(m_notifications.received.first().summary, QStringLiteral("marker"));
    }

    // Root's usual case: no session bus to reach. Nothing is sent and no
    // box is shown; the scan's page is as always.
    void noSessionBusIsQuiet()
    {
        const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("XDG_RUNTIME_DIR");
        startKeywordScan();
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        BoxScript boxes;
        endScan();
        QVERIFY(!m_window->desktopNotifier()->hasSessionBus());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        if (!runtime.isEmpty())
            qputenv("XDG_RUNTIME_DIR", runtime);
        m_window->desktopNotifier()->notify(QStringLiteral("marker"), QString());
        QTRY_COMPARE(m_notifications.received.size(), 1);
        QCOMPARE(m_notifications.received.first().summary, QStringLiteral("marker"));
        QCOMPARE(boxes.boxes().size(), 0);
    }
};

QTEST_MAIN(TestScanNotification)
#include "tst_scannotification.moc"
