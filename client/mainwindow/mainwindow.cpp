#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "bubblewidget.h"
#include "busscantaskcalls.h"
#include "desktopnotifier.h"
#include "detailwindowplacement.h"
#include "labeltextspy.h"
#include "leftsiderbaritembutton.h"
#include "navigationbar.h"
#include "getscantaskfilecountthread.h"
#include "hiddencombobox.h"
#include "keywordconfigallinonewidget.h"
#include "scancontroller.h"
#include "transcontrolprotocol.h"
#include "sensitivescaninterface.h"
#include "signalreceiver.h"
#include "timerthread.h"

#include <QDBusConnection>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVariant>

#include <unistd.h>

namespace {
// The scan service on the system bus.
constexpr const char *ScanServiceName = TransControl::ServiceName;
constexpr const char *ScanServicePath = TransControl::ObjectPath;
const char *const ScanServiceInterface = "com.vorel.dlp.TransControlInterface";
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent),
      m_ui(new Ui::MainWindow),
      m_navigationMap{{tr("敏感词扫描"), 0}, {tr("隐私信息扫描"), 2}, {tr("扫描记录"), 4}},
      m_moduleMap{{QStringLiteral("keywordscan"), 0}, {QStringLiteral("piiscan"), 2}, {QStringLiteral("history"), 4}},
      m_effectiveUid([] { return static_cast<unsigned int>(geteuid()); })
{
    m_ui->setupUi(this);
    createScanMembers();
    m_notifier = new DesktopNotifier(this);

    setWindowIcon(QIcon(QStringLiteral(":/SensitiveDiscovery/images/zoq_logo/vorel-security-center@2x.png")));
    setMinimumSize(960, 580);
    DetailWindowPlacement::centreOnCursorScreen(this);
    m_ui->m_IconBar->setIcon(QIcon(QStringLiteral(":/SensitiveDiscovery/images/zoq_logo/vorel-security-center@1x.png")));
    m_ui->m_IconBar->setWidgetName(tr("敏感信息扫描"));

    setupHistoryModule();
    setupModuleButtons();
    setupNavigationBar();
    setupKeywordPage();
    setupPrivacyPage();
    createFileTypeHintBubble();
    setupTitleBar();
    connectScanSignals();
    setupRunReports();

    m_labelTextSpy = new LabelTextSpy(this);
    m_labelTextSpy->setWatched(m_ui->m_KeywordScanCancelLabel);
    m_ui->m_KeywordScanCancelLabel->installEventFilter(m_labelTextSpy);

    Q_EMIT m_ui->m_KeywordScanButton->ModuleSelected(QStringLiteral("keywordscan"));
}

MainWindow::~MainWindow()
{
    // File-count workers still asking the service use the proxy and report
    // to this window: end them before either goes away.
    GetScanTaskFileCountThread::cancelAll(m_sensitiveScanInterface);
    delete m_ui;
    m_ui = nullptr;
    delete m_navigationBar;
    delete fileTypeHintBubble;
    fileTypeHintBubble = nullptr;
    delete m_keywordConfigPanel;
    delete m_keywordTargetList;
    delete m_privacyTargetList;
    qDeleteAll(m_helpBubbles);
    delete m_keywordTimer;
    delete m_privacyTimer;
    delete m_taskCalls;
    delete m_sensitiveScanInterface;
    delete m_signalReceiver;
    delete m_labelTextSpy;
}

// The timers, then the proxy, then the receiver that subscribes to the
// service's signals; none of them has a parent. Their signals become the
// window's signals of the same meaning; the timers' come from their own
// threads and arrive queued.
void MainWindow::createScanMembers()
{
    m_keywordTimer = new TimerThread(KeywordScanTask);
    m_privacyTimer = new TimerThread(PrivacyScanTask);
    connect(m_keywordTimer, &TimerThread::TimeElapsed, this, &MainWindow::KeywordScanTimeElapsed);
    connect(m_privacyTimer, &TimerThread::TimeElapsed, this, &MainWindow::PiiScanTimeElapsed);

    const QString service = QString::fromLatin1(ScanServiceName);
    const QString path = QString::fromLatin1(ScanServicePath);
    const QString interface = QString::fromLatin1(ScanServiceInterface);
    m_sensitiveScanInterface = new SensitiveScanInterface(service, path, interface, QDBusConnection::systemBus());
    m_taskCalls = new BusScanTaskCalls(m_sensitiveScanInterface);
    m_keywordScan = new ScanController(KeywordScanTask, m_taskCalls, m_keywordTimer, this);
    m_privacyScan = new ScanController(PrivacyScanTask, m_taskCalls, m_privacyTimer, this);
    m_signalReceiver = new SignalReceiver([this] { return m_keywordScan->pathList(); },
                                          [this] { return m_privacyScan->pathList(); }, service, path, interface);
    connect(m_signalReceiver, &SignalReceiver::KeywordScanProgressValueChanged, this,
            &MainWindow::KeywordScanProgressValueChanged);
    connect(m_signalReceiver, &SignalReceiver::KeywordSensitiveDetected, this, &MainWindow::KeywordSensitiveDetected);
    connect(m_signalReceiver, &SignalReceiver::PiiScanProgressValueChanged, this,
            &MainWindow::PiiScanProgressValueChanged);
    connect(m_signalReceiver, &SignalReceiver::PiiSensitiveDetected, this, &MainWindow::PiiSensitiveDetected);
}

void MainWindow::startFileCount(const QString &pathlist, int taskType)
{
    auto *worker = new GetScanTaskFileCountThread(m_sensitiveScanInterface, pathlist);
    worker->setTaskType(taskType);
    connect(worker, &GetScanTaskFileCountThread::ProgressRangeGenerated, this,
            taskType == KeywordScanTask ? &MainWindow::KeywordScanProgressRangeGenerated
                                        : &MainWindow::PiiScanProgressRangeGenerated);
    worker->start(QThread::InheritPriority);
}

QString MainWindow::keywordPathList() const
{
    return m_keywordScan->pathList();
}

void MainWindow::setKeywordPathList(const QString &pathlist)
{
    m_keywordScan->setPathList(pathlist);
}

QString MainWindow::privacyPathList() const
{
    return m_privacyScan->pathList();
}

void MainWindow::setPrivacyPathList(const QString &pathlist)
{
    m_privacyScan->setPathList(pathlist);
}

void MainWindow::setEffectiveUidFunction(UidFunction function)
{
    m_effectiveUid = std::move(function);
}

void MainWindow::showEvent(QShowEvent *event)
{
    if (!m_shownOnce) {
        m_shownOnce = true;
        QTimer::singleShot(0, this, &MainWindow::checkPermissionAfterShow);
    }
    QMainWindow::showEvent(event);
}

void MainWindow::checkPermissionAfterShow()
{
    if (m_effectiveUid() == 0)
        return;

    QMessageBox box(this);
    box.setWindowTitle(QString());
    box.setIcon(QMessageBox::Warning);
    box.setText(tr("普通用户没有使用此应用的权限。"));
    QPushButton *confirm = box.addButton(tr("确认"), QMessageBox::AcceptRole);
    confirm->setProperty("isImportant", true);
    box.setDefaultButton(confirm);
    box.exec();
    close();
}
