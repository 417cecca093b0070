// The detection signals written in the bus's wire form: the very bytes the
// bus library writes for the same signal, and, on a private bus, received
// as the client reads them, in the order readied, before what the
// connection sends after them.
#include "detectionsignals.h"
#include "privatebus.h"
#include "transcontrolprotocol.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTest>

#include <dbus/dbus.h>

#include <thread>

namespace {
const char *const ObjectPath = "/com/vorel/dlp/TransControl";
const char *const Interface = "com.vorel.dlp.TransControlInterface";

// The same signal as the bus library builds it, with the same serial.
QByteArray libraryMessage(const QString &member, const QStringList &texts, const QVariantMap &counts, quint32 serial)
{
    DBusMessage *message = dbus_message_new_signal(ObjectPath, Interface, member.toUtf8().constData());
    DBusMessageIter args;
    dbus_message_iter_init_append(message, &args);
    for (const QString &text : texts) {
        const QByteArray utf8 = text.toUtf8();
        const char *data = utf8.constData();
        dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &data);
    }
    DBusMessageIter map;
    dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sv}", &map);
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        DBusMessageIter entry;
        DBusMessageIter variant;
        dbus_message_iter_open_container(&map, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
        const QByteArray key = it.key().toUtf8();
        const char *keyData = key.constData();
        dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &keyData);
        if (it.value().userType() == QMetaType::LongLong) {
            dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, "x", &variant);
            const dbus_int64_t value = it.value().toLongLong();
            dbus_message_iter_append_basic(&variant, DBUS_TYPE_INT64, &value);
        } else {
            dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, "i", &variant);
            const dbus_int32_t value = it.value().toInt();
            dbus_message_iter_append_basic(&variant, DBUS_TYPE_INT32, &value);
        }
        dbus_message_iter_close_container(&entry, &variant);
        dbus_message_iter_close_container(&map, &entry);
    }
    dbus_message_iter_close_container(&args, &map);
    dbus_message_set_serial(message, serial);
    char *bytes = nullptr;
    int length = 0;
    dbus_message_marshal(message, &bytes, &length);
    const QByteArray result(bytes, length);
    dbus_free(bytes);
    dbus_message_unref(message);
    return result;
}
} // namespace

class Listener : public QObject
{
    Q_OBJECT
public:
    QStringList events; // "file:<path>:<counts>" or "marker"
public Q_SLOTS:
    void keyword(const QString &pathlist, const QString &filepath, const QVariantMap &counts)
    {
        QStringList parts;
        for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
            parts.append(QStringLiteral("%1=%2").arg(it.key()).arg(it.value().toInt()));
        events.append(QStringLiteral("%1|%2|%3").arg(pathlist, filepath, parts.join(',')));
    }
    void privacy(const QString &pathlist, const QVariantMap &counts)
    {
        keyword(pathlist, QStringLiteral("-"), counts);
    }
    void marker() { events.append(QStringLiteral("marker")); }
};

class TestDetectionSignals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every key length pads the next entry differently, a Chinese text is
    // longer in bytes than in characters, and a 64-bit count is aligned
    // to eight bytes: any slip gives other bytes than the library's.
    void wireFormAsTheBusLibraryWritesIt_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QVariantMap>("counts");
        QTest::newRow("keyword, one word") << "SensitiveDiscoveryKeywordDetected"
                                           << QStringList{"/home/a;/srv/b", "/home/a/x.txt"} << QVariantMap{{"机密", 3}};
        QVariantMap lengths;
        QString key;
        for (int i = 1; i <= 9; ++i) {
            key += QChar('a' + i);
            lengths.insert(key, i * 1000 + 7);
        }
        QTest::newRow("keys of every length modulo eight") << "SensitiveDiscoveryKeywordDetected"
                                                           << QStringList{"/p", "/p/文件 1.txt"} << lengths;
        QTest::newRow("privacy, one text") << "SensitiveDiscoveryDataIdDetected" << QStringList{"/home/user"}
                                           << QVariantMap{{"身份标识", 2}, {"金融账户", 40}};
        QTest::newRow("no counts") << "SensitiveDiscoveryDataIdDetected" << QStringList{"/h"} << QVariantMap{};
        QTest::newRow("a 64-bit count after an odd key") << "SensitiveDiscoveryKeywordDetected"
                                                         << QStringList{"/odd", "/odd/f"}
                                                         << QVariantMap{{"abc", qlonglong(1) << 40}, {"b", 1}};
    }
    void wireFormAsTheBusLibraryWritesIt()
    {
        QFETCH(QString, member);
        QFETCH(QStringList, texts);
        QFETCH(QVariantMap, counts);
        const QByteArray ours = DetectionSignals::wireMessage(ObjectPath, Interface, member, texts, counts, 7);
        QVERIFY(!ours.isEmpty());
        QCOMPARE(ours.toHex(), libraryMessage(member, texts, counts, 7).toHex());
    }

    // Readied and sent by another thread, in bursts the connection's thread
    // takes several at a time: each arrives whole, in the order sent, and a
    // message the connection sends afterwards (the task's end marker) comes
    // after all of them.
    void arriveInOrderBeforeWhatFollows()
    {
        PrivateBus bus;
        QVERIFY2(bus.isRunning(), qPrintable(bus.errorString()));
        QDBusConnection service = QDBusConnection::connectToBus(bus.address(), QStringLiteral("detections-service"));
        QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("detections-client"));
        QVERIFY(service.isConnected() && client.isConnected());
        Listener listener;
        const QString sender = service.baseService();
        QVERIFY(client.connect(sender, ObjectPath, Interface, "SensitiveDiscoveryKeywordDetected", &listener,
                               SLOT(keyword(QString, QString, QVariantMap))));
        QVERIFY(client.connect(sender, ObjectPath, Interface, "SensitiveDiscoveryDataIdDetected", &listener,
                               SLOT(privacy(QString, QVariantMap))));
        QVERIFY(client.connect(sender, ObjectPath, Interface, "Marker", &listener, SLOT(marker())));

        constexpr int Files = 300;
        QStringList expected;
        {
            DetectionSignals detections(service, ObjectPath, Interface);
            std::thread scanning([&] {
                for (int i = 0; i < Files; ++i) {
                    const bool keyword = i % 3 != 0;
                    const QString path = QStringLiteral("/tree/目录/%1.txt").arg(i);
                    detections.ready(QStringLiteral("/tree"), keyword ? KeywordScanTask : PrivacyScanTask, path,
                                     {{QStringLiteral("机密"), i}, {QStringLiteral("x"), 1}})();
                    if (i % 50 == 0)
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
            });
            scanning.join();
            for (int i = 0; i < Files; ++i)
                expected.append(QStringLiteral("/tree|%1|x=1,机密=%2")
                                    .arg(i % 3 != 0 ? QStringLiteral("/tree/目录/%1.txt").arg(i) : QStringLiteral("-"))
                                    .arg(i));
            service.send(QDBusMessage::createSignal(ObjectPath, Interface, QStringLiteral("Marker")));
        }
        expected.append(QStringLiteral("marker"));
        QTRY_COMPARE_WITH_TIMEOUT(listener.events.size(), expected.size(), 20000);
        QCOMPARE(listener.events, expected);
        QDBusConnection::disconnectFromBus(QStringLiteral("detections-client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("detections-service"));
    }
};

QTEST_MAIN(TestDetectionSignals)
#include "tst_detectionsignals.moc"
