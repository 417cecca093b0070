// The service's broadcast signals, sent by the fake scan service over the
// private bus, reach the real MainWindow only for the current task.

#include "fakescanservice.h"
#include "logcapture.h"
#include "mainwindow.h"
#include "privatebus.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace {

const QString KeywordScanning = QStringLiteral("SensitiveDiscoveryKeywordScanningFile");
const QString KeywordDetected = QStringLiteral("SensitiveDiscoveryKeywordDetected");
const QString DataIdScanning = QStringLiteral("SensitiveDiscoveryDataIdScanningFile");
const QString DataIdDetected = QStringLiteral("SensitiveDiscoveryDataIdDetected");
// A file path no test uses: scanning signals with it only mark the end of
// what a test has sent.
const QString MarkerFile = QStringLiteral("\x01marker");


struct Forwarded
{
    QString signal;
    QVariantList arguments;
};

} // namespace

class TestSignalReceiver : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<LogCapture> m_log;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<MainWindow> m_window;
    QList<Forwarded> m_forwarded;
    int m_markersSeen = 0;

    // Sends a marker after the test's signals and waits until it is
    // forwarded: the bus keeps the order, so every signal sent before it
    // has then been handled.
    bool flush()
    {
        const int before = m_markersSeen;
        if (!m_fake->emitSignal(DataIdScanning, {m_window->privacyPathList(), MarkerFile, 0}))
            return false;
        // Signals are delivered from the event loop.
        QElapsedTimer timer;
        timer.start();
        while (m_markersSeen == before && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return m_markersSeen > before;
    }

    static QString moduleOf(const QString &signal)
    {
        return signal.contains(QLatin1String("Keyword")) ? QStringLiteral("keyword") : QStringLiteral("privacy");
    }

    static QString forwardedNameOf(const QString &signal)
    {
        if (signal == KeywordScanning)
            return QStringLiteral("KeywordScanProgressValueChanged");
        if (signal == KeywordDetected)
            return QStringLiteral("KeywordSensitiveDetected");
        if (signal == DataIdScanning)
            return QStringLiteral("PiiScanProgressValueChanged");
        return QStringLiteral("PiiSensitiveDetected");
    }

    static QVariantList argumentsFor(const QString &signal, const QString &pathlist)
    {
        if (signal == KeywordScanning || signal == DataIdScanning)
            return {pathlist, QStringLiteral("/srv/数据/报告 1.docx"), 42};
        if (signal == KeywordDetected)
            return {pathlist, QStringLiteral("/srv/数据/报告 1.docx"),
                    QVariantMap{{QStringLiteral("机密"), 2}, {QStringLiteral("secret"), 5}}};
        return {pathlist, QVariantMap{{QStringLiteral("身份标识"), 3}}};
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
        m_log = std::make_unique<LogCapture>();
        m_window = std::make_unique<MainWindow>();

        // The four subscriptions, in their order, all made.
        const QStringList subscribed = LogCapture::take().filter(QStringLiteral("connect to signal"));
        QCOMPARE(subscribed, (QStringList{QStringLiteral("Success to connect to signal '%1'").arg(KeywordScanning),
                                          QStringLiteral("Success to connect to signal '%1'").arg(KeywordDetected),
                                          QStringLiteral("Success to connect to signal '%1'").arg(DataIdScanning),
                                          QStringLiteral("Success to connect to signal '%1'").arg(DataIdDetected)}));

        MainWindow *w = m_window.get();
        connect(w, &MainWindow::KeywordScanProgressValueChanged, this,
                [this](const QString &p, const QString &f, int id) {
                    m_forwarded.append({QStringLiteral("KeywordScanProgressValueChanged"), {p, f, id}});
                });
        connect(w, &MainWindow::KeywordSensitiveDetected, this,
                [this](const QString &p, const QString &f, const QVariantMap &m) {
                    m_forwarded.append({QStringLiteral("KeywordSensitiveDetected"), {p, f, m}});
                });
        connect(w, &MainWindow::PiiScanProgressValueChanged, this,
                [this](const QString &p, const QString &f, int id) {
                    if (f == MarkerFile) {
                        ++m_markersSeen;
                        return;
                    }
                    m_forwarded.append({QStringLiteral("PiiScanProgressValueChanged"), {p, f, id}});
                });
        connect(w, &MainWindow::PiiSensitiveDetected, this, [this](const QString &p, const QVariantMap &m) {
            m_forwarded.append({QStringLiteral("PiiSensitiveDetected"), {p, m}});
        });
    }
    void init()
    {
        m_window->setKeywordPathList(QString());
        m_window->setPrivacyPathList(QString());
        QVERIFY(flush());
        m_forwarded.clear();
        LogCapture::take();
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_log.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void passesOnlyTheCurrentPathList_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("received");
        QTest::addColumn<bool>("forwarded");
        struct Case
        {
            const char *name;
            QString current, received;
            bool forwarded;
        };
        const QList<Case> cases{
            {"same directory", "/home/user", "/home/user", true},
            {"other letter case", "/home/user", "/home/User", false},
            {"trailing slash", "/home/user", "/home/user/", false},
            {"slash missing", "/home/user/", "/home/user", false},
            {"several directories", "/home/a|/srv/数据 b|/opt/x", "/home/a|/srv/数据 b|/opt/x", true},
            {"several, other order", "/home/a|/srv/b", "/srv/b|/home/a", false},
            {"whole disk", "/", "/", true},
            {"no task, foreign task", "", "/home/user", false},
            {"no task, empty path list", "", "", true},
            {"task, empty path list", "/home/user", "", false},
        };
        for (const QString &signal : {KeywordScanning, KeywordDetected, DataIdScanning, DataIdDetected})
            for (const Case &c : cases)
                QTest::addRow("%s: %s", qPrintable(signal.mid(19)), c.name)
                    << signal << c.current << c.received << c.forwarded;
    }
    void passesOnlyTheCurrentPathList()
    {
        QFETCH(QString, signal);
        QFETCH(QString, current);
        QFETCH(QString, received);
        QFETCH(bool, forwarded);
        if (moduleOf(signal) == QLatin1String("keyword"))
            m_window->setKeywordPathList(current);
        else
            m_window->setPrivacyPathList(current);

        const QVariantList arguments = argumentsFor(signal, received);
        QVERIFY(m_fake->emitSignal(signal, arguments));
        QVERIFY(flush());

        const QString ignored = QStringLiteral("~~~~~~~~~~~~~~~ signal: %1 ignored.").arg(signal);
        const QStringList log = LogCapture::take();
        if (forwarded) {
            QCOMPARE(m_forwarded.size(), 1);
            QCOMPARE(m_forwarded.first().signal, forwardedNameOf(signal));
            // Unchanged, the path list string included.
            QCOMPARE(m_forwarded.first().arguments, arguments);
            QVERIFY(!log.contains(ignored));
        } else {
            QCOMPARE(m_forwarded.size(), 0);
            QCOMPARE(log.count(ignored), 1);
        }
    }

    // Both modules scanning the same directories: the signal's name alone
    // decides where it goes.
    void signalNameDecidesTheModule_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QString>("expected");
        for (const QString &signal : {KeywordScanning, KeywordDetected, DataIdScanning, DataIdDetected})
            QTest::newRow(qPrintable(signal)) << signal << forwardedNameOf(signal);
    }
    void signalNameDecidesTheModule()
    {
        QFETCH(QString, signal);
        QFETCH(QString, expected);
        const QString same = QStringLiteral("/home/a|/home/b");
        m_window->setKeywordPathList(same);
        m_window->setPrivacyPathList(same);
        QVERIFY(m_fake->emitSignal(signal, argumentsFor(signal, same)));
        QVERIFY(flush());
        QCOMPARE(m_forwarded.size(), 1);
        QCOMPARE(m_forwarded.first().signal, expected);
    }

    // A privacy signal is compared with the privacy path list only: with
    // the keyword module on that path list and the privacy module elsewhere
    // it is dropped, and the other way round.
    void otherModulesPathListDoesNotCount_data()
    {
        QTest::addColumn<QString>("signal");
        for (const QString &signal : {KeywordScanning, KeywordDetected, DataIdScanning, DataIdDetected})
            QTest::newRow(qPrintable(signal)) << signal;
    }
    void otherModulesPathListDoesNotCount()
    {
        QFETCH(QString, signal);
        const QString sent = QStringLiteral("/home/a");
        const bool keyword = moduleOf(signal) == QLatin1String("keyword");
        m_window->setKeywordPathList(keyword ? QStringLiteral("/home/b") : sent);
        m_window->setPrivacyPathList(keyword ? sent : QStringLiteral("/home/b"));
        QVERIFY(m_fake->emitSignal(signal, argumentsFor(signal, sent)));
        QVERIFY(flush());
        QCOMPARE(m_forwarded.size(), 0);
        QCOMPARE(LogCapture::take().filter(QStringLiteral("ignored.")).size(), 1);
    }

    void forwardedUnchanged_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QVariantList>("arguments");
        QTest::newRow("end of a keyword task") << KeywordScanning << QVariantList{QStringLiteral("/"), QString(), 0};
        QTest::newRow("privacy file 0 with a path")
            << DataIdScanning << QVariantList{QStringLiteral("/"), QStringLiteral("/etc/a.txt"), 0};
        QTest::newRow("empty privacy map") << DataIdDetected << QVariantList{QStringLiteral("/"), QVariantMap()};
        QTest::newRow("empty keyword map")
            << KeywordDetected << QVariantList{QStringLiteral("/"), QStringLiteral("/a"), QVariantMap()};
        // Values that are not numbers pass as they are; their readers take them as 0.
        QTest::newRow("keyword map of texts")
            << KeywordDetected
            << QVariantList{QStringLiteral("/"), QStringLiteral("/a"),
                            QVariantMap{{QStringLiteral("甲"), QStringLiteral("many")}, {QStringLiteral("乙"), true}}};
        QTest::newRow("privacy map of texts")
            << DataIdDetected
            << QVariantList{QStringLiteral("/"), QVariantMap{{QStringLiteral("身份标识"), QStringLiteral("x")},
                                                             {QStringLiteral("金融消费"), 1.5}}};
    }
    void forwardedUnchanged()
    {
        QFETCH(QString, signal);
        QFETCH(QVariantList, arguments);
        m_window->setKeywordPathList(QStringLiteral("/"));
        m_window->setPrivacyPathList(QStringLiteral("/"));
        QVERIFY(m_fake->emitSignal(signal, arguments));
        QVERIFY(flush());
        QCOMPARE(m_forwarded.size(), 1);
        QCOMPARE(m_forwarded.first().arguments, arguments);
    }

    // Signatures the receiver does not know: not forwarded, nothing breaks,
    // and the next proper signal still passes.
    void foreignSignaturesAreNotDelivered_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QVariantList>("arguments");
        QTest::newRow("file id as text")
            << KeywordScanning << QVariantList{QStringLiteral("/"), QStringLiteral("/a"), QStringLiteral("1")};
        QTest::newRow("file id as double") << DataIdScanning << QVariantList{QStringLiteral("/"), QStringLiteral("/a"), 1.0};
        QTest::newRow("argument missing") << KeywordScanning << QVariantList{QStringLiteral("/"), QStringLiteral("/a")};
        QTest::newRow("argument too many")
            << DataIdScanning << QVariantList{QStringLiteral("/"), QStringLiteral("/a"), 1, 2};
        QTest::newRow("map as list")
            << DataIdDetected << QVariantList{QStringLiteral("/"), QVariantList{1, 2}};
        QTest::newRow("map as number") << KeywordDetected << QVariantList{QStringLiteral("/"), QStringLiteral("/a"), 3};
    }
    void foreignSignaturesAreNotDelivered()
    {
        QFETCH(QString, signal);
        QFETCH(QVariantList, arguments);
        m_window->setKeywordPathList(QStringLiteral("/"));
        m_window->setPrivacyPathList(QStringLiteral("/"));
        QVERIFY(m_fake->emitSignal(signal, arguments));
        QVERIFY(flush());
        QCOMPARE(m_forwarded.size(), 0);

        QVERIFY(m_fake->emitSignal(KeywordScanning, {QStringLiteral("/"), QStringLiteral("/b"), 7}));
        QVERIFY(flush());
        QCOMPARE(m_forwarded.size(), 1);
    }

    void receivedSignalsAreLogged()
    {
        m_window->setPrivacyPathList(QStringLiteral("/p"));
        const QVariantMap map{{QStringLiteral("金融消费"), 1}, {QStringLiteral("身份标识"), 2}, {QStringLiteral("a"), 3}};
        QVERIFY(m_fake->emitSignal(DataIdDetected, {QStringLiteral("/p"), map}));
        QVERIFY(flush());
        const QStringList log = LogCapture::take();
        const int received = log.indexOf(QRegularExpression(
            QStringLiteral("^Received SensitiveDiscoveryDataIdDetected with data: \"/p\" QMap\\(.*\\)$")));
        QVERIFY2(received >= 0, qPrintable(log.join('\n')));
        // One line per key, in ascending key order, right after it.
        QVERIFY(log.value(received + 1).startsWith(QStringLiteral("Key: \"a\" , Value: QVariant(int, 3)")));
        QVERIFY(log.value(received + 2).startsWith(QStringLiteral("Key: \"身份标识\"")));
        QVERIFY(log.value(received + 3).startsWith(QStringLiteral("Key: \"金融消费\"")));
    }
};

QTEST_MAIN(TestSignalReceiver)
#include "tst_signalreceiver.moc"
