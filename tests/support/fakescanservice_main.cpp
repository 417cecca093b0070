// A scriptable stand-in for the scan service, run as its own process on the
// test's private bus. It owns "com.vorel.dlp.TransControl", serves every
// method of "com.vorel.dlp.TransControlInterface" at
// "/com/vorel/dlp/TransControl" (introspection data read from the shared
// XML), records each call with its bus signature and arguments, and replies
// what the test has scripted through the control interface
// "com.vorel.dlp.FakeControl" at "/com/vorel/dlp/FakeControl".
//
// Usage: fake-scan-service <interface.xml>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QTimer>

#include <cstdio>

namespace {

const char *const ServiceName = "com.vorel.dlp.TransControl";
const char *const ServicePath = "/com/vorel/dlp/TransControl";
const char *const ServiceInterface = "com.vorel.dlp.TransControlInterface";
const char *const ReportsInterface = "com.vorel.dlp.TransControlReports";
const char *const ControlPath = "/com/vorel/dlp/FakeControl";
// The reports interface's code for a run it does not know.
constexpr int UnknownRunCode = 19;

struct Script
{
    enum Kind { Values, RawValues, Error, NoReply };
    Kind kind = Values;
    QVariantList values;
    QString errorName;
    QString errorMessage;
    int delayMs = 0;
    int times = -1; // -1: every call from now on
};

struct Call
{
    QString member;
    QString signature;
    QVariantList arguments;
};

// Turns bus-side containers (QDBusArgument) back into plain variants so that
// they can be sent again or returned to the test.
QVariant demarshal(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return demarshal(value.value<QDBusVariant>().variant());
    // A descriptor is recorded as whether it was valid: it means nothing in
    // the test's process.
    if (value.userType() == qMetaTypeId<QDBusUnixFileDescriptor>())
        return value.value<QDBusUnixFileDescriptor>().isValid();
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return value;
    const QDBusArgument arg = value.value<QDBusArgument>();
    switch (arg.currentType()) {
    case QDBusArgument::MapType: {
        QVariantMap map;
        arg.beginMap();
        while (!arg.atEnd()) {
            QString key;
            QVariant inner;
            arg.beginMapEntry();
            arg >> key >> inner;
            arg.endMapEntry();
            map.insert(key, demarshal(inner));
        }
        arg.endMap();
        return map;
    }
    case QDBusArgument::ArrayType: {
        QVariantList list;
        arg.beginArray();
        while (!arg.atEnd()) {
            QVariant inner;
            arg >> inner;
            list << demarshal(inner);
        }
        arg.endArray();
        return list;
    }
    default:
        return value;
    }
}

QVariantList demarshalAll(const QVariantList &values)
{
    QVariantList out;
    for (const QVariant &v : values)
        out << demarshal(v);
    return out;
}

class FakeService : public QDBusVirtualObject
{
public:
    explicit FakeService(const QString &introspection) : m_introspection(introspection) {}

    QString introspect(const QString &path) const override
    {
        return path == QLatin1String(ServicePath) ? m_introspection : QString();
    }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.type() != QDBusMessage::MethodCallMessage)
            return false;
        if (message.interface() != QLatin1String(ServiceInterface)
            && message.interface() != QLatin1String(ReportsInterface) && !message.interface().isEmpty())
            return false;
        if (message.member() == QLatin1String("ExportRun"))
            writeExport(message);
        m_calls.append({message.member(), message.signature(), demarshalAll(message.arguments())});

        Script script;
        if (!answerFromRuns(message, &script))
            script = takeScript(message.member());
        if (script.kind == Script::NoReply) {
            message.setDelayedReply(true);
            return true;
        }
        const QDBusMessage reply = buildReply(message, script);
        if (script.delayMs > 0) {
            message.setDelayedReply(true);
            QDBusConnection bus = connection;
            QTimer::singleShot(script.delayMs, [bus, reply]() mutable { bus.send(reply); });
        } else {
            connection.send(reply);
        }
        return true;
    }

    void script(const QString &member, const Script &s)
    {
        QList<Script> &queue = m_scripts[member];
        if (s.times < 0) {
            // A new standing answer replaces the old one; counted ones stay.
            for (int i = queue.size() - 1; i >= 0; --i) {
                if (queue.at(i).times < 0)
                    queue.removeAt(i);
            }
        }
        if (s.times != 0)
            queue.append(s);
    }
    void reset()
    {
        m_scripts.clear();
        m_calls.clear();
        m_runs = QJsonArray();
        m_runsSet = false;
    }
    void setRuns(const QJsonArray &runs)
    {
        m_runs = runs;
        m_runsSet = true;
    }
    QList<Call> &calls() { return m_calls; }

private:
    // Counted scripts first, oldest first; then the standing one; then the default.
    Script takeScript(const QString &member)
    {
        QList<Script> &queue = m_scripts[member];
        for (int i = 0; i < queue.size(); ++i) {
            Script &s = queue[i];
            if (s.times > 0) {
                const Script taken = s;
                if (--s.times == 0)
                    queue.removeAt(i);
                return taken;
            }
        }
        for (const Script &s : qAsConst(queue)) {
            if (s.times < 0)
                return s;
        }
        return defaultScript(member);
    }

    // Without a script, the reports interface answers from the runs the
    // test has set (when it has): ListRuns lists them, GetRunSummary gives
    // one, DeleteRun removes one; an unknown run gets 19.
    bool answerFromRuns(const QDBusMessage &message, Script *script)
    {
        if (!m_runsSet || m_scripts.value(message.member()).size() > 0)
            return false;
        const QString member = message.member();
        const qint64 wanted = message.arguments().value(0).toLongLong();
        int found = -1;
        for (int i = 0; i < m_runs.size(); ++i) {
            if (m_runs.at(i).toObject().value(QLatin1String("run")).toVariant().toLongLong() == wanted)
                found = i;
        }
        if (member == QLatin1String("ListRuns")) {
            script->values = {0, QString::fromUtf8(QJsonDocument(m_runs).toJson(QJsonDocument::Compact))};
        } else if (member == QLatin1String("GetRunSummary")) {
            if (found < 0) {
                script->values = {UnknownRunCode, QString()};
            } else {
                QJsonObject run = m_runs.at(found).toObject();
                if (!run.contains(QLatin1String("hits")))
                    run.insert(QLatin1String("hits"), QJsonObject());
                script->values = {0, QString::fromUtf8(QJsonDocument(run).toJson(QJsonDocument::Compact))};
            }
        } else if (member == QLatin1String("DeleteRun")) {
            if (found >= 0)
                m_runs.removeAt(found);
            script->values = {found < 0 ? UnknownRunCode : 0};
        } else {
            return false;
        }
        return true;
    }

    // ExportRun: a line naming the run, the format and the masking into the
    // caller's descriptor, so a test reads back what reached which file.
    static void writeExport(const QDBusMessage &message)
    {
        const QVariantList args = message.arguments();
        if (args.size() != 4 || !args.at(3).canConvert<QDBusUnixFileDescriptor>())
            return;
        const QDBusUnixFileDescriptor fd = args.at(3).value<QDBusUnixFileDescriptor>();
        QFile out;
        if (!fd.isValid() || !out.open(fd.fileDescriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            return;
        out.write(QStringLiteral("run=%1 format=%2 unmasked=%3\n")
                      .arg(args.at(0).toLongLong())
                      .arg(args.at(1).toString(), args.at(2).toBool() ? QStringLiteral("true") : QStringLiteral("false"))
                      .toUtf8());
    }

    static Script defaultScript(const QString &member)
    {
        Script s;
        if (member == QLatin1String("ListRuns") || member == QLatin1String("GetRunFilesNotRead"))
            s.values = {0, QStringLiteral("[]")};
        else if (member == QLatin1String("GetRunSummary"))
            s.values = {0, QStringLiteral("{}")};
        else if (member == QLatin1String("SensitiveDiscoveryGetScanTaskDetail"))
            s.values = {0, 0, QString(), 0.0};
        else if (member.endsWith(QLatin1String("DetectedDetail")) || member == QLatin1String("SensitiveDiscoveryGetScanTaskFailure"))
            s.values = {0, QString()};
        else
            s.values = {0};
        return s;
    }

    static QDBusMessage buildReply(const QDBusMessage &call, const Script &s)
    {
        if (s.kind == Script::Error)
            return call.createErrorReply(s.errorName, s.errorMessage);
        if (s.kind == Script::Values && call.member() == QLatin1String("SensitiveDiscoveryGetScanTaskDetail")
            && s.values.size() == 4) {
            QDBusArgument arg;
            arg.beginStructure();
            arg << s.values.at(0).toInt() << s.values.at(1).toInt() << s.values.at(2).toString()
                << s.values.at(3).toDouble();
            arg.endStructure();
            return call.createReply(QVariantList{QVariant::fromValue(arg)});
        }
        return call.createReply(demarshalAll(s.values));
    }

    QString m_introspection;
    QHash<QString, QList<Script>> m_scripts;
    QList<Call> m_calls;
    QJsonArray m_runs;
    bool m_runsSet = false;
};

// The test's remote control. Every method is answered at once.
class FakeControl : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.vorel.dlp.FakeControl")

public:
    FakeControl(FakeService *service, QDBusConnection bus) : m_service(service), m_bus(bus) {}

public Q_SLOTS:
    void SetReply(const QString &member, const QVariantList &values, int delayMs, int times)
    {
        Script s;
        s.values = values;
        s.delayMs = delayMs;
        s.times = times;
        m_service->script(member, s);
    }
    void SetRawReply(const QString &member, const QVariantList &values, int delayMs, int times)
    {
        Script s;
        s.kind = Script::RawValues;
        s.values = values;
        s.delayMs = delayMs;
        s.times = times;
        m_service->script(member, s);
    }
    void SetError(const QString &member, const QString &name, const QString &text, int delayMs, int times)
    {
        Script s;
        s.kind = Script::Error;
        s.errorName = name;
        s.errorMessage = text;
        s.delayMs = delayMs;
        s.times = times;
        m_service->script(member, s);
    }
    void SetNoReply(const QString &member, int times)
    {
        Script s;
        s.kind = Script::NoReply;
        s.times = times;
        m_service->script(member, s);
    }
    // Makes, here in the fake, a detail document of `passages` hits of
    // `passageChars` characters each (the hit in the middle) and scripts it
    // as the standing answer (0, document) of `member`. A keyword document
    // names one file and carries "total" (three hits for each passage kept);
    // a privacy document spreads the hits over `files` files under two rules.
    // Saves the test pushing a document of many megabytes through the bus twice.
    void SetDetailDocument(const QString &member, int files, int passages, int passageChars)
    {
        Script s;
        s.values = {0, detailDocument(member, qMax(1, files), qMax(0, passages), qMax(2, passageChars))};
        m_service->script(member, s);
    }
    // The runs the reports interface answers from, a JSON array of run
    // objects, newest first; false when it is not one.
    bool SetRuns(const QString &json)
    {
        const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8());
        if (!document.isArray())
            return false;
        m_service->setRuns(document.array());
        return true;
    }
    int CallCount() { return m_service->calls().size(); }
    QString Call(int index, QString &signature, QVariantList &arguments)
    {
        const auto &calls = m_service->calls();
        if (index < 0 || index >= calls.size())
            return QString();
        signature = calls.at(index).signature;
        arguments = calls.at(index).arguments;
        return calls.at(index).member;
    }
    void ClearCalls() { m_service->calls().clear(); }
    void Reset() { m_service->reset(); }
    bool Emit(const QString &name, const QVariantList &arguments)
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(QLatin1String(ServicePath), QLatin1String(ServiceInterface), name);
        signal.setArguments(demarshalAll(arguments));
        return m_bus.send(signal);
    }

private:
    static QString detailDocument(const QString &member, int files, int passages, int passageChars)
    {
        const QByteArray word = "机密";
        const QByteArray filler = "样本文本 sample，";
        const int side = (passageChars - 2) / 2;
        const QString fillerText = QString::fromUtf8(filler);
        QString text;
        text.reserve(side + fillerText.size());
        while (text.size() < side)
            text += fillerText;
        text.truncate(side);
        const QByteArray half = text.toUtf8();
        QByteArray hit = "{\"sensitive\":\"" + word + "\",\"sensitive_ctx\":\"" + half + word + half + "\"}";
        QByteArray json;
        if (member == QLatin1String("SensitiveDiscoveryGetKeywordDetectedDetail")) {
            json.reserve(passages * (hit.size() + 1) + 100);
            json = "{\"filepath\":\"/srv/fake/大文件.txt\",\"total\":" + QByteArray::number(qint64(passages) * 3)
                   + ",\"sensitives\":[";
            for (int i = 0; i < passages; ++i)
                json += (i ? "," : "") + hit;
            json += "]}";
            return QString::fromUtf8(json);
        }
        // Privacy: hits dealt out to the files in turn, each file under
        // one of the two rules by its number.
        json.reserve(passages * (hit.size() + 1) + files * 80 + 100);
        json = "{\"groupname\":\"身份标识\",\"groupsensitives\":[";
        for (int rule = 0; rule < 2; ++rule) {
            json += rule ? "," : "";
            json += "{\"rulename\":\"" + QByteArray(rule ? "护照号" : "身份证号") + "\",\"rulesensitives\":[";
            bool firstFile = true;
            for (int file = rule; file < files; file += 2) {
                const int hits = passages / files + (file < passages % files ? 1 : 0);
                if (hits == 0)
                    continue;
                json += firstFile ? "" : ",";
                firstFile = false;
                json += "{\"filepath\":\"/srv/fake/目录" + QByteArray::number(file % 97) + "/文件"
                        + QByteArray::number(file) + ".txt\",\"sensitives\":[";
                for (int i = 0; i < hits; ++i)
                    json += (i ? "," : "") + hit;
                json += "]}";
            }
            json += "]}";
        }
        json += "]}";
        return QString::fromUtf8(json);
    }

    FakeService *m_service;
    QDBusConnection m_bus;
};

QString interfaceElement(const QString &xmlPath)
{
    QFile file(xmlPath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString xml = QString::fromUtf8(file.readAll());
    const QRegularExpression re(QStringLiteral("<interface name=\"com\\.vorel\\.dlp\\.TransControlInterface\">.*</interface>"),
                                QRegularExpression::DotMatchesEverythingOption);
    return re.match(xml).captured(0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString xmlPath = argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("DISCOVERY_DBUS_XML");
    const QString introspection = interfaceElement(xmlPath);
    if (introspection.isEmpty()) {
        std::fprintf(stderr, "fake-scan-service: cannot read the interface from %s\n", qPrintable(xmlPath));
        return 2;
    }

    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "fake-scan-service: no bus: %s\n", qPrintable(bus.lastError().message()));
        return 2;
    }
    FakeService service(introspection);
    FakeControl control(&service, bus);
    if (!bus.registerVirtualObject(QLatin1String(ServicePath), &service)
        || !bus.registerObject(QLatin1String(ControlPath), &control, QDBusConnection::ExportAllSlots)) {
        std::fprintf(stderr, "fake-scan-service: cannot register objects\n");
        return 2;
    }
    if (!bus.registerService(QLatin1String(ServiceName))) {
        std::fprintf(stderr, "fake-scan-service: cannot own %s\n", ServiceName);
        return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "fakescanservice_main.moc"
