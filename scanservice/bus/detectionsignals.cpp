// Detection signals written in the bus's wire form and sent by the bus
// connection's thread (see the header for why).
#include "detectionsignals.h"

#include "transcontrolprotocol.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <QtDebug>
#include <QtEndian>

#include <dbus/dbus.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace {
// The fixed parts of a message in the bus's wire form.
constexpr char LittleEndian = 'l';
constexpr char SignalMessage = 4;
constexpr char NoReplyExpected = 0x1; // as the bus library marks every signal
constexpr char ProtocolVersion = 1;
constexpr char PathField = 1;
constexpr char InterfaceField = 2;
constexpr char MemberField = 3;
constexpr char SignatureField = 8;
// Where the header keeps its numbers.
constexpr int BodyLengthOffset = 4;
constexpr int SerialOffset = 8;

// Appends values aligned as the wire form wants them, counted from the
// message's first byte.
struct Wire
{
    QByteArray bytes;

    void pad(int alignment)
    {
        const int extra = (alignment - bytes.size() % alignment) % alignment;
        bytes.append(extra, '\0');
    }
    void uint32(quint32 value)
    {
        pad(4);
        const quint32 little = qToLittleEndian(value);
        bytes.append(reinterpret_cast<const char *>(&little), 4);
    }
    void uint64(quint64 value)
    {
        pad(8);
        const quint64 little = qToLittleEndian(value);
        bytes.append(reinterpret_cast<const char *>(&little), 8);
    }
    // Room for a length known later; where it is.
    int reserve32()
    {
        pad(4);
        const int at = bytes.size();
        uint32(0);
        return at;
    }
    void patch32(int at, quint32 value)
    {
        const quint32 little = qToLittleEndian(value);
        std::memcpy(bytes.data() + at, &little, 4);
    }
    void string(const QByteArray &utf8)
    {
        uint32(quint32(utf8.size()));
        bytes.append(utf8);
        bytes.append('\0');
    }
    void signature(const QByteArray &types)
    {
        bytes.append(char(types.size()));
        bytes.append(types);
        bytes.append('\0');
    }
    // A count as a variant, in the form the bus gives its type.
    bool variant(const QVariant &value)
    {
        switch (value.userType()) {
        case QMetaType::Int:
            signature("i");
            uint32(quint32(value.toInt()));
            return true;
        case QMetaType::UInt:
            signature("u");
            uint32(value.toUInt());
            return true;
        case QMetaType::LongLong:
            signature("x");
            uint64(quint64(value.toLongLong()));
            return true;
        case QMetaType::ULongLong:
            signature("t");
            uint64(value.toULongLong());
            return true;
        case QMetaType::Bool:
            signature("b");
            uint32(value.toBool() ? 1 : 0);
            return true;
        case QMetaType::Double: {
            signature("d");
            const double number = value.toDouble();
            quint64 bits;
            std::memcpy(&bits, &number, sizeof bits);
            uint64(bits);
            return true;
        }
        case QMetaType::QString:
            signature("s");
            string(value.toString().toUtf8());
            return true;
        default:
            return false;
        }
    }
};

// The header of a signal with an empty body, padded for the body that follows.
QByteArray signalHeader(const QString &objectPath, const QString &interface, const QString &member,
                        const QByteArray &bodySignature)
{
    Wire wire;
    wire.bytes.append(LittleEndian).append(SignalMessage).append(NoReplyExpected).append(ProtocolVersion);
    wire.uint32(0); // the body's length
    wire.uint32(1); // the serial
    const int fieldsLength = wire.reserve32();
    wire.pad(8);
    const int fieldsStart = wire.bytes.size();
    auto field = [&wire](char code, const QByteArray &type, const QByteArray &value) {
        wire.pad(8);
        wire.bytes.append(code);
        wire.signature(type);
        if (type == "g")
            wire.signature(value);
        else
            wire.string(value);
    };
    field(PathField, "o", objectPath.toUtf8());
    field(InterfaceField, "s", interface.toUtf8());
    field(MemberField, "s", member.toUtf8());
    field(SignatureField, "g", bodySignature);
    wire.patch32(fieldsLength, quint32(wire.bytes.size() - fieldsStart));
    wire.pad(8);
    return wire.bytes;
}

// Appends the body (the texts, then the counts as a{sv}) to a header and
// sets the body's length and the serial: false when a count has no form here.
bool appendBody(Wire &wire, const QString *const *texts, int textCount, const QVariantMap &counts, quint32 serial)
{
    const int bodyStart = wire.bytes.size();
    for (int i = 0; i < textCount; ++i)
        wire.string(texts[i]->toUtf8());
    const int arrayLength = wire.reserve32();
    // The entries start at an eight-byte boundary, which the array's length does not count.
    wire.pad(8);
    const int arrayStart = wire.bytes.size();
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        wire.pad(8);
        wire.string(it.key().toUtf8());
        if (!wire.variant(it.value()))
            return false;
    }
    wire.patch32(arrayLength, quint32(wire.bytes.size() - arrayStart));
    wire.patch32(BodyLengthOffset, quint32(wire.bytes.size() - bodyStart));
    wire.patch32(SerialOffset, serial);
    return true;
}

const QEvent::Type SendEventType = QEvent::Type(QEvent::registerEventType());

// Asks the connection's thread to send what waits; holds the waiting
// messages' owner until then, so that what was handed over is sent.
struct SendEvent : QEvent
{
    explicit SendEvent(std::function<void()> send) : QEvent(SendEventType), sendWaiting(std::move(send)) {}
    std::function<void()> sendWaiting;
};

// Lives in the connection's thread and sends there what waits.
class WaitingSender : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() != SendEventType)
            return QObject::event(event);
        static_cast<SendEvent *>(event)->sendWaiting();
        return true;
    }
};

const char *const KeywordSignal = "SensitiveDiscoveryKeywordDetected";
const char *const PrivacySignal = "SensitiveDiscoveryDataIdDetected";
} // namespace

struct DetectionSignals::Shared : std::enable_shared_from_this<Shared>
{
    QDBusConnection connection; // held: the bus library's connection lives as long
    DBusConnection *bus = nullptr;
    QByteArray keywordHeader;
    QByteArray privacyHeader;
    QObject *sender = nullptr; // in the connection's thread

    std::mutex mutex;
    std::vector<DBusMessage *> waiting; // each with a reference of its own

    explicit Shared(const QDBusConnection &c) : connection(c) {}
    ~Shared()
    {
        for (DBusMessage *message : waiting)
            dbus_message_unref(message);
        if (sender)
            sender->deleteLater();
    }

    // Any thread: queued for the connection's thread, woken only when nothing waited.
    void send(DBusMessage *message)
    {
        bool wake;
        {
            std::lock_guard<std::mutex> lock(mutex);
            wake = waiting.empty();
            waiting.push_back(dbus_message_ref(message));
        }
        if (wake)
            QCoreApplication::postEvent(sender, new SendEvent([self = shared_from_this()] { self->sendWaiting(); }));
    }
    // The connection's thread: everything that waits, in order.
    void sendWaiting()
    {
        std::vector<DBusMessage *> batch;
        {
            std::lock_guard<std::mutex> lock(mutex);
            batch.swap(waiting);
        }
        for (DBusMessage *message : batch) {
            dbus_connection_send(bus, message, nullptr);
            dbus_message_unref(message);
        }
    }
};

DetectionSignals::DetectionSignals(const QDBusConnection &connection, const QString &objectPath, const QString &interface)
    : m_shared(std::make_shared<Shared>(connection))
{
    m_shared->bus = static_cast<DBusConnection *>(connection.internalPointer());
    m_shared->keywordHeader = signalHeader(objectPath, interface, QLatin1String(KeywordSignal), "ssa{sv}");
    m_shared->privacyHeader = signalHeader(objectPath, interface, QLatin1String(PrivacySignal), "sa{sv}");
    auto *sender = new WaitingSender;
    // The connection's interface object lives in the thread that serves the connection.
    if (QDBusConnectionInterface *served = connection.interface())
        sender->moveToThread(served->thread());
    m_shared->sender = sender;
}

DetectionSignals::~DetectionSignals() = default;

QByteArray DetectionSignals::wireMessage(const QString &objectPath, const QString &interface, const QString &member,
                                         const QStringList &texts, const QVariantMap &counts, quint32 serial)
{
    QByteArray signature;
    for (int i = 0; i < texts.size(); ++i)
        signature.append('s');
    signature.append("a{sv}");
    Wire wire{signalHeader(objectPath, interface, member, signature)};
    std::vector<const QString *> pointers;
    for (const QString &text : texts)
        pointers.push_back(&text);
    if (!appendBody(wire, pointers.data(), int(pointers.size()), counts, serial))
        return QByteArray();
    return wire.bytes;
}

std::function<void()> DetectionSignals::ready(const QString &pathlist, int tasktype, const QString &filepath,
                                              const QVariantMap &counts) const
{
    const bool keyword = tasktype == KeywordScanTask;
    Wire wire{keyword ? m_shared->keywordHeader : m_shared->privacyHeader};
    const QString *const texts[] = {&pathlist, &filepath};
    const bool built = appendBody(wire, texts, keyword ? 2 : 1, counts, 1);
    DBusMessage *message = nullptr;
    QString why = QStringLiteral("a count of a type the signal has no form for");
    if (built) {
        DBusError error;
        dbus_error_init(&error);
        DBusMessage *parsed = dbus_message_demarshal(wire.bytes.constData(), wire.bytes.size(), &error);
        if (parsed) {
            // A copy has no serial: the connection numbers it as it numbers its other messages.
            message = dbus_message_copy(parsed);
            dbus_message_unref(parsed);
        } else {
            why = QString::fromUtf8(error.message);
            dbus_error_free(&error);
        }
    }
    if (!message) {
        qWarning().noquote() << QStringLiteral("A detection signal cannot be sent (%1): %2").arg(why, filepath);
        return [] {};
    }
    std::shared_ptr<DBusMessage> held(message, dbus_message_unref);
    return [shared = m_shared, held] { shared->send(held.get()); };
}
