// The client executable in a process of its own on the X display, talking to
// the fake scan service on a private bus. The test moves the pointer and
// presses keys through xdotool, the way a user would, and reads back the
// service calls and screenshots of the client's window. Where the controls
// are is taken from a main window built in this process (never shown on
// screen): the client's own form, at the client's fixed size.
#include "fakescanservice.h"
#include "mainwindow.h"
#include "privatebus.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

const char SetScanTask[] = "SensitiveDiscoverySetScanTask";
const char PauseScanTask[] = "SensitiveDiscoveryPauseScanTask";
const char TerminateScanTask[] = "SensitiveDiscoveryTerminateScanTask";
const int KeywordScanTask = 1;
const int PrivacyScanTask = 3;

QByteArray run(const QString &program, const QStringList &arguments, int timeoutMs = 20000)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return QByteArray();
    }
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void privacyScanPausedAndCancelled();
    void keywordScanToCompletion();

private:
    // Where a control of the form sits in the window, with the given pages shown.
    void measure(MainWindow &window, const QString &name, const QList<QPair<QString, int>> &pages,
                 QWidget *root = nullptr);
    bool click(const QString &control);
    bool xdotool(const QStringList &arguments);
    QStringList clientWindows() const;
    QByteArray screenshot() const;
    int callCount(const char *member) const { return m_fake->calls(QLatin1String(member)).size(); }

    PrivateBus m_bus;
    FakeScanService *m_fake = nullptr;
    QProcess m_client;
    QTemporaryDir m_home;
    QString m_window;
    QHash<QString, QPoint> m_points;
};

void TestEndToEnd::measure(MainWindow &window, const QString &name, const QList<QPair<QString, int>> &pages,
                           QWidget *root)
{
    for (const auto &page : pages) {
        auto *stack = window.findChild<QStackedWidget *>(page.first);
        QVERIFY2(stack, qPrintable(page.first));
        stack->setCurrentIndex(page.second);
    }
    QCoreApplication::processEvents();
    QWidget *widget = (root ? root : static_cast<QWidget *>(&window))->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QVERIFY2(widget->isVisible(), qPrintable(name));
    m_points.insert(name, widget->mapTo(&window, widget->rect().center()));
}

void TestEndToEnd::initTestCase()
{
    if (geteuid() != 0)
        QSKIP("The client refuses to run without root; run this test as root.");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xwd")).isEmpty())
        QSKIP("xdotool and xwd are needed to drive the client (scripts/deps installs them).");
    QVERIFY2(m_bus.isRunning(), qPrintable(m_bus.errorString()));
    QVERIFY(m_home.isValid());

    const QString schemas = qEnvironmentVariable("DISCOVERY_BINARY_DIR") + QStringLiteral("/schemas");
    qputenv("GSETTINGS_SCHEMA_DIR", schemas.toLocal8Bit());
    qputenv("GSETTINGS_BACKEND", "memory");

    m_fake = new FakeScanService;
    QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));

    {
        MainWindow reference;
        reference.setEffectiveUidFunction([] { return 0u; });
        reference.setAttribute(Qt::WA_DontShowOnScreen);
        reference.resize(960, 580);
        reference.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reference) || reference.isVisible());
        const QString main = QStringLiteral("stackedWidget");
        measure(reference, QStringLiteral("m_KeywordScanButton"), {});
        measure(reference, QStringLiteral("m_PiiScanButton"), {});
        measure(reference, QStringLiteral("m_KeywordScanComboBoxLikeDisplayButton"), {{main, 0}});
        measure(reference, QStringLiteral("m_KeywordConfigButton"), {{main, 0}});
        measure(reference, QStringLiteral("m_KeywordScanPauseScanButton"),
                {{main, 1}, {QStringLiteral("stackedWidget_2"), 0}});
        // The completed page's layout follows its texts: let the window fill
        // them as it does when a scan without hits completes.
        Q_EMIT reference.KeywordScanCompleted();
        measure(reference, QStringLiteral("m_KeywordScanCompleteReturnButton"), {{main, 1}});
        measure(reference, QStringLiteral("m_PiiScanComboBoxLikeDisplayButton"), {{main, 2}});
        measure(reference, QStringLiteral("m_PiiScanPauseScanButton"),
                {{main, 3}, {QStringLiteral("stackedWidget_3"), 0}});
        measure(reference, QStringLiteral("m_PiiScanCancelScanButton"),
                {{main, 3}, {QStringLiteral("stackedWidget_3"), 0}});
        measure(reference, QStringLiteral("m_PiiScanCancelReturnButton"),
                {{main, 3}, {QStringLiteral("stackedWidget_3"), 1}});
        auto *panel = reference.findChild<QWidget *>(QStringLiteral("KeywordConfigAllinoneWidget"));
        QVERIFY(panel);
        reference.findChild<QStackedWidget *>(main)->setCurrentIndex(0);
        panel->show();
        // The panel opens on the tab it was built with; the keyword tab is chosen by its tab.
        auto *tabs = panel->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
        QVERIFY(tabs);
        const int keywordTab = tabs->indexOf(panel->findChild<QWidget *>(QStringLiteral("m_KeywordConfigWidget")));
        QVERIFY(keywordTab >= 0);
        QCoreApplication::processEvents();
        m_points.insert(QStringLiteral("keywordTab"),
                        tabs->tabBar()->mapTo(&reference, tabs->tabBar()->tabRect(keywordTab).center()));
        tabs->setCurrentIndex(keywordTab);
        measure(reference, QStringLiteral("m_KeywordLineEdit"), {}, panel);
        measure(reference, QStringLiteral("m_ConfirmButton"), {}, panel);
        panel->close();
    }
    QCoreApplication::processEvents();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("GSETTINGS_SCHEMA_DIR"), schemas);
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    m_client.setProcessEnvironment(env);
    m_client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The client's log and checklist database have fixed places under /opt:
    // where the test may make a mount namespace of its own, the client sees
    // an empty /opt there, so the run neither reads nor writes the real ones.
    // The namespace is entered by exec, so the client keeps the started pid.
    const bool privateOpt = QProcess::execute(QStringLiteral("unshare"),
                                              {QStringLiteral("--mount"), QStringLiteral("--propagation"),
                                               QStringLiteral("private"), QStringLiteral("true")}) == 0;
    if (privateOpt) {
        m_client.start(QStringLiteral("unshare"),
                       {QStringLiteral("--mount"), QStringLiteral("--propagation"), QStringLiteral("private"),
                        QStringLiteral("sh"), QStringLiteral("-c"),
                        QStringLiteral("mount -t tmpfs tmpfs /opt && exec \"$0\""),
                        QStringLiteral(DISCOVERY_CLIENT_EXECUTABLE)});
    } else {
        qWarning("cannot make a mount namespace: the client uses the real /opt");
        m_client.start(QStringLiteral(DISCOVERY_CLIENT_EXECUTABLE), QStringList());
    }
    QVERIFY2(m_client.waitForStarted(), qPrintable(m_client.errorString()));

    QTRY_VERIFY_WITH_TIMEOUT(!clientWindows().isEmpty(), 30000);
    m_window = clientWindows().first();
    const QByteArray geometry = run(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", m_window});
    QVERIFY2(geometry.contains("WIDTH=960") && geometry.contains("HEIGHT=580"), geometry.constData());
    m_fake->clearCalls();
}

void TestEndToEnd::cleanupTestCase()
{
    if (m_client.state() != QProcess::NotRunning) {
        m_client.terminate();
        if (!m_client.waitForFinished(5000)) {
            m_client.kill();
            m_client.waitForFinished();
        }
    }
    delete m_fake;
    m_fake = nullptr;
}

QStringList TestEndToEnd::clientWindows() const
{
    const QString pid = QString::number(m_client.processId());
    const QString out = QString::fromLocal8Bit(
        run(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", pid}));
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool TestEndToEnd::xdotool(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool TestEndToEnd::click(const QString &control)
{
    if (!m_points.contains(control))
        return false;
    const QPoint at = m_points.value(control);
    return xdotool({"mousemove", "--window", m_window, "--sync", QString::number(at.x()), QString::number(at.y()),
                    "click", "1"});
}

QByteArray TestEndToEnd::screenshot() const
{
    return run(QStringLiteral("xwd"), {"-silent", "-id", m_window});
}

void TestEndToEnd::privacyScanPausedAndCancelled()
{
    const QString home = QDir::cleanPath(m_home.path());
    const QByteArray startPage = screenshot();
    QVERIFY(!startPage.isEmpty());

    QVERIFY(click(QStringLiteral("m_PiiScanButton")));
    QTRY_VERIFY_WITH_TIMEOUT(screenshot() != startPage, 10000);
    const QByteArray privacyStartPage = screenshot();

    QVERIFY(click(QStringLiteral("m_PiiScanComboBoxLikeDisplayButton")));
    QTRY_COMPARE_WITH_TIMEOUT(callCount(SetScanTask), 1, 10000);
    const FakeScanService::Call start = m_fake->calls(QLatin1String(SetScanTask)).first();
    QCOMPARE(start.signature, QStringLiteral("siissds"));
    QCOMPARE(start.arguments.value(0).toString(), home);
    QCOMPARE(start.arguments.value(1).toInt(), PrivacyScanTask);
    QTRY_VERIFY_WITH_TIMEOUT(screenshot() != privacyStartPage, 10000);

    QVERIFY(m_fake->emitSignal(QStringLiteral("SensitiveDiscoveryDataIdScanningFile"),
                               {home, home + QStringLiteral("/notes.txt"), 1}));

    QVERIFY(click(QStringLiteral("m_PiiScanPauseScanButton")));
    QTRY_COMPARE_WITH_TIMEOUT(callCount(PauseScanTask), 1, 10000);
    const FakeScanService::Call pause = m_fake->calls(QLatin1String(PauseScanTask)).first();
    QCOMPARE(pause.arguments.value(0).toString(), home);
    QCOMPARE(pause.arguments.value(1).toInt(), PrivacyScanTask);

    // Cancelling asks first; the question is a window of its own.
    QVERIFY(click(QStringLiteral("m_PiiScanCancelScanButton")));
    QTRY_VERIFY_WITH_TIMEOUT(clientWindows().size() >= 2, 10000);
    QCOMPARE(callCount(TerminateScanTask), 0);
    const QStringList windows = clientWindows();
    QString question;
    for (const QString &w : windows) {
        if (w != m_window)
            question = w;
    }
    QVERIFY(!question.isEmpty());
    QVERIFY(xdotool({"windowfocus", "--sync", question}));
    QVERIFY(xdotool({"key", "--clearmodifiers", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(callCount(TerminateScanTask), 1, 10000);
    const FakeScanService::Call terminate = m_fake->calls(QLatin1String(TerminateScanTask)).first();
    QCOMPARE(terminate.arguments.value(0).toString(), home);
    QCOMPARE(terminate.arguments.value(1).toInt(), PrivacyScanTask);
    QTRY_COMPARE_WITH_TIMEOUT(clientWindows().size(), 1, 10000);

    // The cancelled page's "返回" leads back to the privacy start page.
    QVERIFY(click(QStringLiteral("m_PiiScanCancelReturnButton")));
    QTRY_COMPARE_WITH_TIMEOUT(screenshot(), privacyStartPage, 10000);
    QCOMPARE(callCount(SetScanTask), 1);
    QCOMPARE(callCount(PauseScanTask), 1);
}

void TestEndToEnd::keywordScanToCompletion()
{
    const QString home = QDir::cleanPath(m_home.path());
    m_fake->clearCalls();

    const QByteArray privacyStartPage = screenshot();
    QVERIFY(click(QStringLiteral("m_KeywordScanButton")));
    QTRY_VERIFY_WITH_TIMEOUT(screenshot() != privacyStartPage, 10000);
    const QByteArray withoutKeywords = screenshot();

    // Without keywords the start control does nothing.
    QVERIFY(click(QStringLiteral("m_KeywordScanComboBoxLikeDisplayButton")));
    QVERIFY(click(QStringLiteral("m_KeywordConfigButton")));
    QTRY_VERIFY_WITH_TIMEOUT(screenshot() != withoutKeywords, 10000);
    const QByteArray panelOpen = screenshot();
    QCOMPARE(callCount(SetScanTask), 0);

    QVERIFY(click(QStringLiteral("keywordTab")));
    QVERIFY(click(QStringLiteral("m_KeywordLineEdit")));
    QVERIFY(xdotool({"windowfocus", "--sync", m_window}));
    QVERIFY(xdotool({"type", "--delay", "20", "secret"}));
    QVERIFY(xdotool({"key", "--clearmodifiers", "Return"}));
    QVERIFY(click(QStringLiteral("m_ConfirmButton")));
    // The panel is gone and the start control no longer looks disabled.
    QTRY_VERIFY_WITH_TIMEOUT(screenshot() != panelOpen && screenshot() != withoutKeywords, 10000);

    QVERIFY(click(QStringLiteral("m_KeywordScanComboBoxLikeDisplayButton")));
    QTRY_COMPARE_WITH_TIMEOUT(callCount(SetScanTask), 1, 10000);
    const FakeScanService::Call start = m_fake->calls(QLatin1String(SetScanTask)).first();
    QCOMPARE(start.signature, QStringLiteral("siissds"));
    QCOMPARE(start.arguments.value(0).toString(), home);
    QCOMPARE(start.arguments.value(1).toInt(), KeywordScanTask);
    QVERIFY(!start.arguments.value(6).toString().isEmpty()); // the policy with the keyword

    QVERIFY(m_fake->emitSignal(QStringLiteral("SensitiveDiscoveryKeywordScanningFile"),
                               {home, home + QStringLiteral("/notes.txt"), 1}));
    const QByteArray scanning = screenshot();
    // The end marker: no file, number 0.
    QVERIFY(m_fake->emitSignal(QStringLiteral("SensitiveDiscoveryKeywordScanningFile"), {home, QString(), 0}));
    QTRY_VERIFY_WITH_TIMEOUT(screenshot() != scanning, 10000);

    // The completed page's "返回" leads back to the start control, which starts
    // the next scan; the pause control of the scanning page is gone.
    QVERIFY(click(QStringLiteral("m_KeywordScanCompleteReturnButton")));
    QVERIFY(click(QStringLiteral("m_KeywordScanComboBoxLikeDisplayButton")));
    QTRY_COMPARE_WITH_TIMEOUT(callCount(SetScanTask), 2, 10000);
    QCOMPARE(callCount(PauseScanTask), 0);
    QCOMPARE(m_fake->calls(QLatin1String(SetScanTask)).at(1).arguments.value(1).toInt(), KeywordScanTask);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
