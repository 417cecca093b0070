// A bus client for the policy test, run as another user: it asks the bus
// for every signal with an ordinary (not eavesdropping) match rule and
// prints one line for each signal of the scan service's interface that
// reaches it, whoever sent it; or it calls each method of the scan service
// and prints how each call was answered.
//
//   tst-bus-listener listen   prints "ready", then "signal SENDER MEMBER FIRST-ARGUMENT" lines
//   tst-bus-listener call     prints "call METHOD ok" or "call METHOD ERROR-NAME", one per method
//                             of both interfaces
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusError>
#include <QDBusUnixFileDescriptor>

#include <cstdio>

namespace {
const QString Service = QStringLiteral("com.vorel.dlp.TransControl");
const QString Path = QStringLiteral("/com/vorel/dlp/TransControl");
const QString Interface = QStringLiteral("com.vorel.dlp.TransControlInterface");
const QString Reports = QStringLiteral("com.vorel.dlp.TransControlReports");
} // namespace

class Listener : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void onSignal(const QDBusMessage &message)
    {
        std::printf("signal %s %s %s\n", qPrintable(message.service()), qPrintable(message.member()),
                    qPrintable(message.arguments().value(0).toString()));
        std::fflush(stdout);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString mode = app.arguments().value(1);
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "no bus: %s\n", qPrintable(bus.lastError().message()));
        return 2;
    }
    if (mode == QLatin1String("call")) {
        const QList<QPair<QString, QVariantList>> reportCalls{
            {"ListRuns", {}},
            {"GetRunSummary", {qlonglong(1)}},
            {"GetRunFilesNotRead", {qlonglong(1)}},
            {"DeleteRun", {qlonglong(1)}},
            {"ExportRun", {qlonglong(1), QStringLiteral("csv"), true, QVariant::fromValue(QDBusUnixFileDescriptor(1))}},
        };
        for (const auto &call : reportCalls) {
            QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Reports, call.first);
            message.setArguments(call.second);
            const QDBusMessage reply = bus.call(message, QDBus::Block, 20000);
            std::printf("call %s %s\n", qPrintable(call.first),
                        reply.type() == QDBusMessage::ReplyMessage ? "ok" : qPrintable(reply.errorName()));
        }
        const QList<QPair<QString, QVariantList>> calls{
            {"SensitiveDiscoverySetScanTask", {"/tmp", 1, 1, QString(), QString(), 0.5, QString()}},
            {"SensitiveDiscoveryGetScanTaskDetail", {"/tmp", 1}},
            {"SensitiveDiscoveryPauseScanTask", {"/tmp", 1}},
            {"SensitiveDiscoveryContinueScanTask", {"/tmp", 1}},
            {"SensitiveDiscoveryTerminateScanTask", {"/tmp", 1}},
            {"SensitiveDiscoveryGetKeywordDetectedDetail", {"/tmp", 1, "/tmp/a.txt"}},
            {"SensitiveDiscoveryGetDataIdDetectedDetail", {"/tmp", 3, QStringLiteral("身份标识")}},
        };
        for (const auto &call : calls) {
            QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Interface, call.first);
            message.setArguments(call.second);
            const QDBusMessage reply = bus.call(message, QDBus::Block, 20000);
            std::printf("call %s %s\n", qPrintable(call.first),
                        reply.type() == QDBusMessage::ReplyMessage ? "ok" : qPrintable(reply.errorName()));
        }
        return 0;
    }
    if (mode != QLatin1String("listen")) {
        std::fprintf(stderr, "usage: %s listen|call\n", argv[0]);
        return 64;
    }
    // Every signal of the bus is routed here; the hooks below pick those of
    // the service's interface from any sender.
    const QDBusMessage all = bus.call(QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "AddMatch") << QStringLiteral("type='signal'"));
    if (all.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "cannot subscribe: %s\n", qPrintable(all.errorMessage()));
        return 2;
    }
    Listener listener;
    for (const char *member : {"SensitiveDiscoveryKeywordScanningFile", "SensitiveDiscoveryKeywordDetected",
                               "SensitiveDiscoveryDataIdScanningFile", "SensitiveDiscoveryDataIdDetected"}) {
        if (!bus.connect(QString(), QString(), Interface, QLatin1String(member), &listener, SLOT(onSignal(QDBusMessage)))) {
            std::fprintf(stderr, "cannot subscribe to %s: %s\n", member, qPrintable(bus.lastError().message()));
            return 2;
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "buslistener.moc"
