// Who may hear and call the scan service: the real service on a private bus
// with Debian's stock system-bus policy plus ours, a root client, and
// clients of another user (nobody) made by dropping root with setpriv.
#include "privatebus.h"
#include "sampledocuments.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <unistd.h>

namespace {
const QString Service = QStringLiteral("com.vorel.dlp.TransControl");
const QString Path = QStringLiteral("/com/vorel/dlp/TransControl");
const QString Interface = QStringLiteral("com.vorel.dlp.TransControlInterface");
const QString Nobody = QStringLiteral("65534");

// A policy document of one keyword rule over text files (type 3 reads the
// same document and looks for personal data).
QString policy(const QString &keyword)
{
    const QJsonObject rule{{"name", "r"}, {"description", "d"}, {"exception", false},
                           {"keywords", QJsonArray{QJsonObject{{"pattern", keyword}}}}};
    const QJsonObject detect{{"dataidentifier_detect_ruleset", true},
                             {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"filetypes", QJsonArray{"txt"}}}}},
                             {"keyword_detect_ruleset", QJsonArray{rule}}};
    const QJsonObject root{{"version", "1.0.0"},
                           {"policies", QJsonArray{QJsonObject{
                                            {"ruleset", QJsonObject{{"detect_ruleset", detect},
                                                                    {"response_ruleset", QJsonArray{QJsonObject{{"action", "WriteDatabase"}}}}}}}}}};
    return QString::fromLatin1(QJsonDocument(root).toJson().toBase64());
}
} // namespace

// The signals of the service's interface one connection heard, as
// "SENDER MEMBER FIRST-ARGUMENT" lines, read from a listener process.
class Listener
{
public:
    bool start(const QString &program, bool asNobody)
    {
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        if (asNobody)
            m_process.start(setpriv, {"--reuid=" + Nobody, "--regid=" + Nobody, "--clear-groups", program, "listen"});
        else
            m_process.start(program, {"listen"});
        if (!m_process.waitForStarted(10000))
            return false;
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return false;
        }
        return m_process.readLine().trimmed() == "ready";
    }
    QStringList heard()
    {
        while (m_process.canReadLine())
            m_lines.append(QString::fromUtf8(m_process.readLine().trimmed()).mid(int(qstrlen("signal "))));
        return m_lines;
    }
    bool heardFrom(const QString &sender, const QString &member)
    {
        for (const QString &line : heard()) {
            if (line.startsWith(sender + ' ' + member + ' '))
                return true;
        }
        return false;
    }
    ~Listener()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
    QStringList m_lines;
};

class TestScanServiceBusPolicy : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    QTemporaryDir m_work;
    QTemporaryDir m_programs; // readable by nobody, unlike the build tree perhaps
    QString m_listener;
    QProcess m_service;
    QString m_serviceName; // its unique name on the bus
    int m_tree = 0;

    int setTask(const QString &tree, int tasktype)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "SensitiveDiscoverySetScanTask");
        call << tree << tasktype << 1 << QString() << QString() << 0.5 << policy(QStringLiteral("机密"));
        const QDBusMessage reply = QDBusConnection::systemBus().call(call, QDBus::Block, 20000);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toInt() : -1;
    }
    // Sends a signal that looks like the service's from the test's own
    // connection: every listener may hear that one.
    void sendLookAlike(const QString &tag)
    {
        QDBusMessage look = QDBusMessage::createSignal(Path, Interface, "SensitiveDiscoveryKeywordScanningFile");
        look << tag << QString() << 0;
        QVERIFY(QDBusConnection::systemBus().send(look));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("the bus policy is tested as root: the service runs as root and the test drops to user nobody with setpriv");
        if (QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("setpriv (util-linux) is needed to connect as another user");
        QVERIFY(m_work.isValid());
        QVERIFY(m_programs.isValid());
        QVERIFY(QFile::setPermissions(m_programs.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                                             | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
        m_listener = m_programs.path() + "/tst-bus-listener";
        QVERIFY(QFile::copy(BUS_LISTENER_BINARY, m_listener));
        QVERIFY(QFile::setPermissions(m_listener, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther
                                                      | QFile::ReadGroup | QFile::ExeGroup));

        m_bus = std::make_unique<PrivateBus>(QStringLiteral(STOCK_BUS_CONFIG));
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_service.start(SCAN_SERVICE_BINARY, {"--findings-db", m_work.path() + "/db/findings.db"});
        QVERIFY(m_service.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::systemBus().interface()->isServiceRegistered(Service), 10000);
        m_serviceName = QDBusConnection::systemBus().interface()->serviceOwner(Service);
        QVERIFY(m_serviceName.startsWith(':'));
    }
    void cleanupTestCase()
    {
        if (m_service.state() != QProcess::NotRunning) {
            m_service.terminate();
            if (!m_service.waitForFinished(10000))
                m_service.kill();
        }
        m_bus.reset();
    }

    // Root's scans work and root hears them; nobody, listening to every
    // signal on the bus, hears none of the service's, though it hears the
    // very same signal from anyone else.
    void onlyRootHearsTheService()
    {
        Listener nobody;
        QVERIFY2(nobody.start(m_listener, true), "the listener did not start as nobody");
        Listener root;
        QVERIFY2(root.start(m_listener, false), "the listener did not start as root");

        const QString tree = m_work.path() + QStringLiteral("/tree%1").arg(++m_tree);
        QVERIFY(QDir().mkpath(tree));
        QVERIFY(QFile::setPermissions(tree, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(SampleDocuments::writeFile(tree + "/secret.txt", QStringLiteral("机密 手机13812345678\n").toUtf8()));
        QCOMPARE(setTask(tree, 1), 0);
        QCOMPARE(setTask(tree, 3), 0);
        const QStringList members{"SensitiveDiscoveryKeywordScanningFile", "SensitiveDiscoveryKeywordDetected",
                                  "SensitiveDiscoveryDataIdScanningFile", "SensitiveDiscoveryDataIdDetected"};
        for (const QString &member : members)
            QTRY_VERIFY2_WITH_TIMEOUT(root.heardFrom(m_serviceName, member), qPrintable(member), 30000);
        // Both end markers: every signal of both tasks has been sent.
        QTRY_VERIFY_WITH_TIMEOUT(root.heard().count(m_serviceName + " SensitiveDiscoveryKeywordScanningFile " + tree) >= 2
                                     && root.heard().count(m_serviceName + " SensitiveDiscoveryDataIdScanningFile " + tree) >= 2,
                                 30000);

        // Sent after the service's last signal, so a listener that hears
        // this one would have heard those before it.
        sendLookAlike(QStringLiteral("look-alike"));
        const QString self = QDBusConnection::systemBus().baseService();
        QTRY_VERIFY_WITH_TIMEOUT(nobody.heardFrom(self, "SensitiveDiscoveryKeywordScanningFile"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(root.heardFrom(self, "SensitiveDiscoveryKeywordScanningFile"), 10000);
        for (const QString &line : nobody.heard())
            QVERIFY2(!line.startsWith(m_serviceName + ' ') && !line.contains(tree), qPrintable("nobody heard: " + line));
    }

    // Every method call of another user, of either interface, is refused by the bus itself.
    void otherUsersCallsRefused()
    {
        QProcess caller;
        caller.start(QStandardPaths::findExecutable("setpriv"),
                     {"--reuid=" + Nobody, "--regid=" + Nobody, "--clear-groups", m_listener, "call"});
        QVERIFY(caller.waitForFinished(60000));
        QCOMPARE(caller.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(caller.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 12); // the task interface's seven methods and the reports interface's five
        for (const QString &line : lines)
            QVERIFY2(line.endsWith(" org.freedesktop.DBus.Error.AccessDenied"), qPrintable(line));
        // The service still serves root.
        QDBusMessage ping = QDBusMessage::createMethodCall(Service, Path, "org.freedesktop.DBus.Peer", "Ping");
        QCOMPARE(QDBusConnection::systemBus().call(ping, QDBus::Block, 5000).type(), QDBusMessage::ReplyMessage);
    }
};

QTEST_MAIN(TestScanServiceBusPolicy)
#include "tst_scanservice_buspolicy.moc"
