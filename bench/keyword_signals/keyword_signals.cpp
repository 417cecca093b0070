// keyword_signals: how fast the main window drains the scan service's
// keyword signals, against a bare receiver of the same stream. See
// bench/README.md.
//
// Run without arguments it starts a private bus, then twice runs this same
// executable as the sender ("--send"): once to a plain QtDBus object that
// does nothing with the signals, once to the real MainWindow with a keyword
// task started against the fake scan service. The sender owns the service's
// name (the window takes signals only from the name's owner), so the fake is
// stopped once the task is running.
#include "benchoutput.h"
#include "fakescanservice.h"
#include "keywordconfigallinonewidget.h"
#include "keywordresultlist.h"
#include "keywordsensitiveframe.h"
#include "logfile.h"
#include "mainwindow.h"
#include "privatebus.h"
#include "stallmeter.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <functional>

using BenchOutput::print;
using BenchOutput::statusKb;

namespace {

const QString ServiceName = QStringLiteral("com.vorel.dlp.TransControl");
const QString ServicePath = QStringLiteral("/com/vorel/dlp/TransControl");
const QString ServiceInterface = QStringLiteral("com.vorel.dlp.TransControlInterface");
const QString ScanningFile = QStringLiteral("SensitiveDiscoveryKeywordScanningFile");
const QString Detected = QStringLiteral("SensitiveDiscoveryKeywordDetected");
const QString PathList = QStringLiteral("/srv/bench/keyword-signals");

// The stream's size; the command line may make it smaller (for profiling).
int Files = 100000;
int Detections = 10000;
constexpr int TimeoutMs = 600000;

// The sender: owns the service's name, emits `files` scanning-file signals
// with a detection after every (files / detections)-th, then the end marker,
// each with QDBusConnection::send in a tight loop.
int sendSignals(int files, int detections)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "sender: no bus\n");
        return 2;
    }
    // The fake may still be leaving the name.
    QElapsedTimer wait;
    wait.start();
    while (!bus.registerService(ServiceName)) {
        if (wait.elapsed() > 10000) {
            std::fprintf(stderr, "sender: cannot own %s\n", qPrintable(ServiceName));
            return 2;
        }
        QThread::msleep(10);
    }
    const int every = detections > 0 ? qMax(1, files / detections) : 0;
    const QVariantMap hits{{QStringLiteral("机密"), 3}, {QStringLiteral("secret"), 1}};
    QElapsedTimer timer;
    timer.start();
    int detected = 0;
    for (int id = 1; id <= files; ++id) {
        const QString file = QStringLiteral("/srv/bench/keyword-signals/目录%1/文件%2.docx").arg(id % 97).arg(id);
        QDBusMessage scanning = QDBusMessage::createSignal(ServicePath, ServiceInterface, ScanningFile);
        scanning << PathList << file << id;
        bus.send(scanning);
        if (every && id % every == 0 && detected < detections) {
            QDBusMessage hit = QDBusMessage::createSignal(ServicePath, ServiceInterface, Detected);
            hit << PathList << file << QVariant::fromValue(hits);
            bus.send(hit);
            ++detected;
        }
    }
    QDBusMessage end = QDBusMessage::createSignal(ServicePath, ServiceInterface, ScanningFile);
    end << PathList << QString() << 0;
    bus.send(end);
    // Messages leave in order: once the bus has answered this, it has every signal.
    bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")),
             QDBus::Block, 120000);
    print(QStringLiteral("sent %1 signals in %2 ms").arg(files + detected + 1).arg(timer.elapsed()));
    return 0;
}

// Counts the scanning-file signals that reach the GUI thread's handler, from
// the first to the end marker.
struct DrainClock
{
    QElapsedTimer clock;
    qint64 firstNs = -1;
    qint64 endNs = -1;
    int scanning = 0;
    int detected = 0;

    // Processor time of the GUI thread, first signal to end marker.
    qint64 firstCpuNs = -1;
    qint64 endCpuNs = -1;

    static qint64 threadCpuNs()
    {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    void scanningFile(const QString &filepath, int fileid)
    {
        if (firstNs < 0) {
            firstNs = clock.nsecsElapsed();
            firstCpuNs = threadCpuNs();
        }
        ++scanning;
        if (fileid == 0 && filepath.isEmpty()) {
            endNs = clock.nsecsElapsed();
            endCpuNs = threadCpuNs();
        }
    }
    double seconds() const { return (endNs - firstNs) / 1e9; }
    // Microseconds of GUI-thread processor time per signal (scanning files and detections).
    double cpuPerSignalUs() const { return (endCpuNs - firstCpuNs) / 1e3 / (scanning + detected); }
    double rate() const { return scanning / seconds(); }
};

// A plain QtDBus object subscribed to the two signals, doing nothing but count.
class BareReceiver : public QObject
{
    Q_OBJECT

public:
    explicit BareReceiver(DrainClock *clock) : m_clock(clock) {}
    bool subscribe(bool on)
    {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (on)
            return bus.connect(ServiceName, ServicePath, ServiceInterface, ScanningFile, QStringLiteral("ssi"), this,
                               SLOT(scanningFile(QString, QString, int)))
                   && bus.connect(ServiceName, ServicePath, ServiceInterface, Detected, QStringLiteral("ssa{sv}"),
                                  this, SLOT(detected(QString, QString, QVariantMap)));
        return bus.disconnect(ServiceName, ServicePath, ServiceInterface, ScanningFile, QStringLiteral("ssi"), this,
                              SLOT(scanningFile(QString, QString, int)))
               && bus.disconnect(ServiceName, ServicePath, ServiceInterface, Detected, QStringLiteral("ssa{sv}"),
                                 this, SLOT(detected(QString, QString, QVariantMap)));
    }

public Q_SLOTS:
    void scanningFile(const QString &pathlist, const QString &filepath, int fileid)
    {
        Q_UNUSED(pathlist)
        m_clock->scanningFile(filepath, fileid);
    }
    void detected(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives)
    {
        Q_UNUSED(pathlist)
        Q_UNUSED(filepath)
        Q_UNUSED(sensitives)
        ++m_clock->detected;
    }

private:
    DrainClock *m_clock;
};

// Notes the time of a widget's first paint.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *widget, const QElapsedTimer *clock) : m_clock(clock) { widget->installEventFilter(this); }
    qint64 nanoseconds() const { return m_ns; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_ns < 0)
            m_ns = m_clock->nsecsElapsed();
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer *m_clock;
    qint64 m_ns = -1;
};

bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

bool startSender(QProcess *sender)
{
    sender->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sender->start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--send"), QString::number(Files), QString::number(Detections)});
    return sender->waitForStarted(10000);
}

QString senderReport(QProcess *sender)
{
    sender->waitForFinished(60000);
    return QString::fromUtf8(sender->readAllStandardOutput()).trimmed();
}

int fail(const QString &why)
{
    std::fprintf(stderr, "keyword_signals: %s\n", qPrintable(why));
    return 1;
}

int runBenchmark()
{
    PrivateBus bus;
    if (!bus.isRunning())
        return fail(bus.errorString());
    // The product's log handler, over a file of the run's own: debug lines
    // are dropped, as in the client.
    QTemporaryDir dir;
    LogFile log(dir.filePath(QStringLiteral("client.log")));
    LogFile::setCurrent(&log);
    qInstallMessageHandler(logMessageHandler);

    StallMeter stalls;

    // The bare receiver.
    DrainClock bare;
    {
        BareReceiver receiver(&bare);
        if (!receiver.subscribe(true))
            return fail(QStringLiteral("cannot subscribe the bare receiver"));
        QProcess sender;
        bare.clock.start();
        stalls.start();
        if (!startSender(&sender))
            return fail(QStringLiteral("cannot start the sender"));
        if (!waitFor([&] { return bare.endNs >= 0; }, TimeoutMs))
            return fail(QStringLiteral("the bare receiver never saw the end marker"));
        stalls.stop();
        print(QStringLiteral("bare receiver: %1").arg(senderReport(&sender)));
        receiver.subscribe(false);
    }
    const double bareStall = stalls.longestMs();

    // The window.
    FakeScanService fake;
    if (!fake.isRunning())
        return fail(fake.errorString());
    fake.setReply(QStringLiteral("SensitiveDiscoveryGetScanTaskDetail"), {Files, 0, QStringLiteral("scanning"), 0.0});
    MainWindow window;
    window.setEffectiveUidFunction([] { return 0u; });
    window.show();
    waitFor([] { return false; }, 200);
    Ui::MainWindow *ui = window.ui();
    QWidget *panel = window.keywordConfigPanel();
    auto *edit = panel->findChild<QLineEdit *>(QStringLiteral("m_KeywordLineEdit"));
    auto *add = panel->findChild<QPushButton *>(QStringLiteral("m_AddKeywordButton"));
    auto *confirm = panel->findChild<QPushButton *>(QStringLiteral("m_ConfirmButton"));
    if (!edit || !add || !confirm)
        return fail(QStringLiteral("the keyword panel's form has changed"));
    ui->m_KeywordConfigButton->click();
    for (const QString &keyword : {QStringLiteral("机密"), QStringLiteral("secret")}) {
        edit->setText(keyword);
        add->click();
    }
    confirm->click();
    window.setKeywordPathList(PathList);
    window.startKeywordScan();
    if (ui->stackedWidget_2->currentIndex() != 0 || window.keywordPathList() != PathList)
        return fail(QStringLiteral("the keyword task did not start"));
    // The file total from the task query, then the name goes to the sender.
    if (!waitFor([&] { return ui->m_KeywordScanProgressBar->maximum() == Files; }, 10000))
        return fail(QStringLiteral("the window never learnt the file total"));
    fake.stop();

    DrainClock drained;
    // The longest stall that ended before the end marker was handled.
    double drainStallMs = -1;
    QObject::connect(&window, &MainWindow::KeywordScanProgressValueChanged, &window,
                     [&](const QString &, const QString &filepath, int fileid) {
                         drained.scanningFile(filepath, fileid);
                         if (drained.endNs >= 0 && drainStallMs < 0)
                             drainStallMs = stalls.longestMs();
                     });
    QObject::connect(&window, &MainWindow::KeywordSensitiveDetected, &window,
                     [&] { ++drained.detected; });
    // When the window switched to the completed page, which it shows once
    // the event loop comes round again.
    qint64 pageSetNs = -1;
    QObject::connect(&window, &MainWindow::KeywordScanCompleted, &window, [&] {
        if (ui->stackedWidget_2->currentIndex() == 2)
            pageSetNs = drained.clock.nsecsElapsed();
    });
    const qint64 rssBefore = statusKb("VmRSS");
    qint64 completedNs = -1;
    QProcess sender;
    drained.clock.start();
    FirstPaint completedPaint(ui->stackedWidget_2->widget(2), &drained.clock);
    stalls.start([&] {
        if (completedNs < 0 && ui->stackedWidget_2->currentIndex() == 2)
            completedNs = drained.clock.nsecsElapsed();
    });
    if (!startSender(&sender))
        return fail(QStringLiteral("cannot start the sender"));
    if (!waitFor([&] { return completedPaint.nanoseconds() >= 0; }, TimeoutMs))
        return fail(QStringLiteral("the window never showed the completed page"));
    // Let the deferred layout and painting of the rows happen inside the measurement.
    waitFor([] { return false; }, 500);
    stalls.stop();
    print(QStringLiteral("window: %1").arg(senderReport(&sender)));
    const qint64 peak = statusKb("VmHWM");
    const int rows = ui->m_keywordScanResultList->count();
    const int rowWidgets = ui->m_keywordScanResultList->shownRows().size();
    // The user scrolls to the last result: how long until it is painted.
    KeywordResultList *list = ui->m_keywordScanResultList;
    QElapsedTimer scrolling;
    scrolling.start();
    ui->scrollArea_2->verticalScrollBar()->setValue(ui->scrollArea_2->verticalScrollBar()->maximum());
    qint64 lastRowPaintedNs = -1;
    if (waitFor([&] { return list->frameAt(rows - 1) != nullptr; }, 10000)) {
        FirstPaint lastRowPaint(list->frameAt(rows - 1), &scrolling);
        waitFor([&] { return lastRowPaint.nanoseconds() >= 0; }, 10000);
        lastRowPaintedNs = lastRowPaint.nanoseconds();
    }

    print(QString());
    print(QStringLiteral("bare receiver: %1 scanning-file signals (%2 detections) in %3 s: %4 signals/s; "
                         "longest event-loop stall %5 ms")
              .arg(bare.scanning).arg(bare.detected).arg(bare.seconds(), 0, 'f', 3)
              .arg(bare.rate(), 0, 'f', 0).arg(bareStall, 0, 'f', 1));
    print(QStringLiteral("main window:   %1 scanning-file signals (%2 detections) in %3 s: %4 signals/s")
              .arg(drained.scanning).arg(drained.detected).arg(drained.seconds(), 0, 'f', 3)
              .arg(drained.rate(), 0, 'f', 0));
    print(QStringLiteral("GUI-thread processor time per signal: bare receiver %1 µs, main window %2 µs")
              .arg(bare.cpuPerSignalUs(), 0, 'f', 2).arg(drained.cpuPerSignalUs(), 0, 'f', 2));
    print(QStringLiteral("ratio window / bare: %1 (target 0.90)").arg(drained.rate() / bare.rate(), 0, 'f', 2));
    const qint64 paintedNs = completedPaint.nanoseconds();
    print(QStringLiteral("completed page: set %1 s, event loop back %2 s, first painted %3 s after the first "
                         "signal (%4 s from the sender's start)")
              .arg((pageSetNs - drained.firstNs) / 1e9, 0, 'f', 3)
              .arg((completedNs - drained.firstNs) / 1e9, 0, 'f', 3)
              .arg((paintedNs - drained.firstNs) / 1e9, 0, 'f', 3).arg(paintedNs / 1e9, 0, 'f', 3));
    print(QStringLiteral("longest event-loop stall during the window's run: %1 ms (%2 ms before the end marker)")
              .arg(stalls.longestMs(), 0, 'f', 1).arg(drainStallMs, 0, 'f', 1));
    print(QStringLiteral("result rows: %1 (%2 of them made into widgets, those in view); hit total shown: %3")
              .arg(rows).arg(rowWidgets).arg(window.keywordHitTotal()));
    print(QStringLiteral("scrolling to the last row: painted after %1 ms")
              .arg(lastRowPaintedNs < 0 ? -1.0 : lastRowPaintedNs / 1e6, 0, 'f', 1));
    print(QStringLiteral("peak memory (VmHWM): %1 MB; before the window's signals (VmRSS): %2 MB; "
                         "growth per 1,000 rows: %3 MB; peak per 1,000 rows: %4 MB")
              .arg(peak / 1024.0, 0, 'f', 1).arg(rssBefore / 1024.0, 0, 'f', 1)
              .arg(rows ? (peak - rssBefore) / 1024.0 / (rows / 1000.0) : 0.0, 0, 'f', 2)
              .arg(rows ? peak / 1024.0 / (rows / 1000.0) : 0.0, 0, 'f', 2));
    LogFile::setCurrent(nullptr);
    qInstallMessageHandler(nullptr);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 4 && qstrcmp(argv[1], "--send") == 0) {
        QCoreApplication app(argc, argv);
        return sendSignals(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("FAKE_SCAN_SERVICE"))
        qputenv("FAKE_SCAN_SERVICE", FAKE_SCAN_SERVICE_BINARY);
    if (qEnvironmentVariableIsEmpty("DISCOVERY_DBUS_XML"))
        qputenv("DISCOVERY_DBUS_XML", SERVICE_INTERFACE_XML);
    QApplication app(argc, argv);
    if (argc >= 2)
        Files = qMax(1, QByteArray(argv[1]).toInt());
    if (argc >= 3)
        Detections = qBound(0, QByteArray(argv[2]).toInt(), Files);
    return runBenchmark();
}

#include "keyword_signals.moc"
