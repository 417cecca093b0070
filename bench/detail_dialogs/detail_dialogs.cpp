// detail_dialogs: how the keyword and privacy detail dialogs hold up with
// large detail documents. See bench/README.md.
//
// Starts a private bus and the fake scan service, has the fake make each
// document itself (1,000, 10,000 and 100,000 passages of about 80
// characters, and ten passages of 1 MB), and for each dialog and document:
// opens the dialog as a click does, waits until its first row is painted,
// scrolls to the last row, closes it and waits until it is gone. Meanwhile a
// 1 ms timer on the GUI thread measures the longest stall of the event loop.
// Prints the time to the dialog's first paint and to its first painted row,
// the longest stall while opening and while closing, and the resident
// memory before, with the dialog open and after closing.
#include "benchoutput.h"
#include "fakescanservice.h"
#include "keywordsensitivedetailexwidget.h"
#include "keywordsensitivedetailframe.h"
#include "logfile.h"
#include "piisensitivedetailexwidget.h"
#include "piisensitiveframe.h"
#include "privatebus.h"
#include "sensitivescaninterface.h"
#include "stallmeter.h"
#include "windowedrowlist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

using BenchOutput::print;
using BenchOutput::statusKb;

namespace {

constexpr int TimeoutMs = 600000;
constexpr int MegabytePassage = 1024 * 1024;

// Notes when the dialog is first painted and when its first row is.
class PaintClock : public QObject
{
public:
    explicit PaintClock(const QElapsedTimer *clock) : m_clock(clock) { qApp->installEventFilter(this); }
    ~PaintClock() override { qApp->removeEventFilter(this); }
    void watch(QWidget *dialog) { m_dialog = dialog; }
    qint64 dialogNs = -1;
    qint64 rowNs = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            if (dialogNs < 0 && watched == m_dialog)
                dialogNs = m_clock->nsecsElapsed();
            if (rowNs < 0
                && (qobject_cast<KeywordSensitiveDetailFrame *>(watched) || qobject_cast<PiiSensitiveFrame *>(watched)))
                rowNs = m_clock->nsecsElapsed();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer *m_clock;
    QObject *m_dialog = nullptr;
};

bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        // Outside exec(), objects given to deleteLater() wait for this.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

void idle(int ms)
{
    waitFor([] { return false; }, ms);
}

struct Case
{
    bool privacy;
    int passages;
    int passageChars;
    int files; // privacy only
};

int fail(const QString &why)
{
    std::fprintf(stderr, "detail_dialogs: %s\n", qPrintable(why));
    return 1;
}

int runCase(FakeScanService &fake, SensitiveScanInterface &service, const Case &c)
{
    const QString member = c.privacy ? QStringLiteral("SensitiveDiscoveryGetDataIdDetectedDetail")
                                     : QStringLiteral("SensitiveDiscoveryGetKeywordDetectedDetail");
    fake.setDetailDocument(member, c.files, c.passages, c.passageChars);
    idle(300);
    const qint64 rssBefore = statusKb("VmRSS");

    StallMeter stalls;
    QElapsedTimer clock;
    PaintClock paints(&clock);
    clock.start();
    stalls.start();
    DetailDialog *dialog = nullptr;
    WindowedRowList *list = nullptr;
    if (c.privacy) {
        auto *privacy = PiiSensitiveDetailExWidget::showFor(&service, QStringLiteral("/srv/fake"), QStringLiteral("身份标识"));
        list = privacy->list();
        dialog = privacy;
    } else {
        auto *keyword = KeywordSensitiveDetailExWidget::showFor(&service, QStringLiteral("/srv/fake"),
                                                                QStringLiteral("/srv/fake/大文件.txt"));
        list = keyword->findChild<WindowedRowList *>(QStringLiteral("m_SensitiveDetailList"));
        dialog = keyword;
    }
    paints.watch(dialog);
    QPointer<DetailDialog> alive(dialog);
    if (!waitFor([&] { return paints.rowNs >= 0; }, TimeoutMs))
        return fail(QStringLiteral("no row was ever painted"));
    const qint64 rowsPaintedNs = paints.rowNs;
    // The user scrolls to the end and back.
    auto *area = dialog->findChild<QScrollArea *>(QStringLiteral("scrollArea"));
    idle(200);
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    idle(200);
    area->verticalScrollBar()->setValue(0);
    idle(300);
    stalls.stop();
    const double openStall = stalls.longestMs();
    const qint64 rssOpen = statusKb("VmRSS");
    const int rows = list->rowCount();
    const int widgets = list->shownRows().size();

    stalls.start();
    dialog->close();
    if (!waitFor([&] { return alive.isNull(); }, TimeoutMs))
        return fail(QStringLiteral("the dialog was never deleted"));
    idle(500);
    stalls.stop();
    const double closeStall = stalls.longestMs();
    const qint64 rssAfter = statusKb("VmRSS");

    const QString size = c.passageChars >= MegabytePassage
                             ? QStringLiteral("%1 passages of 1 MB").arg(c.passages)
                             : QStringLiteral("%L1 passages").arg(c.passages);
    print(QStringLiteral("%1 dialog, %2%3: first paint %4 ms, first row painted %5 ms; longest stall opening %6 ms, "
                         "closing %7 ms; RSS before %8 MB, open %9 MB, after closing %10 MB (%11%); "
                         "%12 rows, %13 made")
              .arg(c.privacy ? QStringLiteral("privacy") : QStringLiteral("keyword"), size,
                   c.privacy ? QStringLiteral(" in %L1 files").arg(c.files) : QString())
              .arg(paints.dialogNs / 1e6, 0, 'f', 0)
              .arg(rowsPaintedNs / 1e6, 0, 'f', 0)
              .arg(openStall, 0, 'f', 1)
              .arg(closeStall, 0, 'f', 1)
              .arg(rssBefore / 1024.0, 0, 'f', 1)
              .arg(rssOpen / 1024.0, 0, 'f', 1)
              .arg(rssAfter / 1024.0, 0, 'f', 1)
              .arg(rssBefore > 0 ? (rssAfter - rssBefore) * 100.0 / rssBefore : 0.0, 0, 'f', 1)
              .arg(rows)
              .arg(widgets));
    return 0;
}

int runBenchmark()
{
    PrivateBus bus;
    if (!bus.isRunning())
        return fail(bus.errorString());
    FakeScanService fake;
    if (!fake.isRunning())
        return fail(fake.errorString());
    // The product's log handler, over a file of the run's own: debug lines
    // (a whole document among them) are dropped, as in the client.
    QTemporaryDir dir;
    LogFile log(dir.filePath(QStringLiteral("client.log")));
    LogFile::setCurrent(&log);
    qInstallMessageHandler(logMessageHandler);
    SensitiveScanInterface service(QStringLiteral("com.vorel.dlp.TransControl"), QStringLiteral("/com/vorel/dlp/TransControl"),
                                   QStringLiteral("com.vorel.dlp.TransControlInterface"), QDBusConnection::systemBus());
    // A dialog opened and closed once first, so that what every process
    // loads once (fonts, styles, plugins) is not counted against the first case.
    if (runCase(fake, service, {false, 10, 80, 1}) != 0)
        return 1;
    print(QStringLiteral("(warm-up above)"));
    const QList<Case> cases{
        {false, 1000, 80, 1},      {false, 10000, 80, 1},       {false, 100000, 80, 1},
        {false, 10, MegabytePassage, 1},
        {true, 1000, 80, 100},     {true, 10000, 80, 1000},     {true, 100000, 80, 10000},
        {true, 10, MegabytePassage, 4},
    };
    // One case alone (its number on the command line), or all in turn.
    const int only = QCoreApplication::arguments().value(1).toInt();
    for (int i = 0; i < cases.size(); ++i) {
        if (only > 0 && i + 1 != only)
            continue;
        if (runCase(fake, service, cases.at(i)) != 0)
            return 1;
    }
    print(QStringLiteral("peak memory (VmHWM): %1 MB").arg(statusKb("VmHWM") / 1024.0, 0, 'f', 1));
    LogFile::setCurrent(nullptr);
    qInstallMessageHandler(nullptr);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("FAKE_SCAN_SERVICE"))
        qputenv("FAKE_SCAN_SERVICE", FAKE_SCAN_SERVICE_BINARY);
    if (qEnvironmentVariableIsEmpty("DISCOVERY_DBUS_XML"))
        qputenv("DISCOVERY_DBUS_XML", SERVICE_INTERFACE_XML);
    QApplication app(argc, argv);
    return runBenchmark();
}
