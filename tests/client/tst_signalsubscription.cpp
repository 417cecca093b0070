// Without a reachable system bus the subscriptions fail one by one, each
// with its log line, and the window is still built.

#include "mainwindow.h"
#include "sensitivescaninterface.h"

#include <QTest>

namespace {

QStringList criticalLines;
QtMessageHandler previousHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg)
        criticalLines << message;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

class TestSignalSubscription : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Before the process's first use of the system bus.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/discovery-test/system_bus_socket");
    }

    void failedSubscriptionsAreLoggedAndSkipped()
    {
        previousHandler = qInstallMessageHandler(captureMessage);
        MainWindow window;
        qInstallMessageHandler(previousHandler);

        const QStringList names{QStringLiteral("SensitiveDiscoveryKeywordScanningFile"),
                                QStringLiteral("SensitiveDiscoveryKeywordDetected"),
                                QStringLiteral("SensitiveDiscoveryDataIdScanningFile"),
                                QStringLiteral("SensitiveDiscoveryDataIdDetected")};
        const QStringList failures = criticalLines.filter(QStringLiteral("connect to signal"));
        QCOMPARE(failures.size(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            const QString prefix = QStringLiteral("Failed to connect to signal '%1': ").arg(names.at(i));
            QVERIFY2(failures.at(i).startsWith(prefix), qPrintable(failures.at(i)));
            // Followed by the bus connection's reason.
            QVERIFY2(failures.at(i).size() > prefix.size(), qPrintable(failures.at(i)));
        }
        QVERIFY(window.sensitiveScanInterface());
        QVERIFY(!window.sensitiveScanInterface()->isValid());
    }
};

QTEST_MAIN(TestSignalSubscription)
#include "tst_signalsubscription.moc"
