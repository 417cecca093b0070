// The window's frame: title bar and menu, About dialog, moving and
// maximising by mouse and keyboard, closing, and module navigation.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "aboutdialog.h"
#include "runhistorypage.h"
#include "leftsiderbaritembutton.h"
#include "menubutton.h"
#include "navigationbar.h"
#include "scancontroller.h"
#include "timerthread.h"
#include "windowbuttonbar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QToolButton>

namespace {
const char *const LogoSmall = ":/SensitiveDiscovery/images/zoq_logo/vorel-security-center@1x.png";
const char *const LogoLarge = ":/SensitiveDiscovery/images/zoq_logo/vorel-security-center@2x.png";
const char *const MaxIcon = ":/SensitiveDiscovery/images/titlebar/max.png";
const char *const RevertIcon = ":/SensitiveDiscovery/images/titlebar/revert.png";
const char *const KeywordIcon = ":/SensitiveDiscovery/images/siderbar/keywordscan-symbolic.png";
const char *const KeywordPressedIcon = ":/SensitiveDiscovery/images/siderbar/keywordscan-pressed-symbolic.png";
const char *const PiiIcon = ":/SensitiveDiscovery/images/siderbar/piiscan-symbolic.png";
const char *const PiiPressedIcon = ":/SensitiveDiscovery/images/siderbar/piiscan-pressed-symbolic.png";
const char *const HistoryIcon = ":/SensitiveDiscovery/images/siderbar/history-symbolic.png";
const char *const HistoryPressedIcon = ":/SensitiveDiscovery/images/siderbar/history-pressed-symbolic.png";
const char *const HistoryModule = "history";
} // namespace

// The texts the frame sets in code: the sidebar's name and module buttons,
// the navigation list, the menu and the title buttons' tooltips.
void MainWindow::retranslateFrame()
{
    m_ui->m_IconBar->setWidgetName(tr("敏感信息扫描"));
    m_ui->m_KeywordScanButton->setModule(QStringLiteral("keywordscan"), QLatin1String(KeywordIcon),
                                         QLatin1String(KeywordPressedIcon), tr("敏感词扫描"));
    m_ui->m_PiiScanButton->setModule(QStringLiteral("piiscan"), QLatin1String(PiiIcon),
                                     QLatin1String(PiiPressedIcon), tr("隐私信息扫描"));
    m_historyButton->setModule(QLatin1String(HistoryModule), QLatin1String(HistoryIcon),
                               QLatin1String(HistoryPressedIcon), tr("扫描记录"));
    for (LeftSiderbarItemButton *button : qAsConst(m_moduleButtons))
        button->setSelected(button->moduleKey() == m_currentModule);
    if (!m_menuButton)
        return;
    m_menuButton->setToolTip(tr("选项"));
    m_menuButton->aboutAction()->setText(tr("关于"));
    m_menuButton->feedbackAction()->setText(tr("意见反馈"));
    m_menuButton->quitAction()->setText(tr("退出"));
    m_minimumButton->setToolTip(tr("最小化"));
    m_closeButton->setToolTip(tr("关闭"));
    updateMaximizeButton();
}

void MainWindow::setupModuleButtons()
{
    const QColor bright = palette().color(QPalette::Current, QPalette::BrightText);
    const QString style =
        QStringLiteral("QPushButton:hover { background-color:rgba(%1,%2,%3,0.05); border-radius: 4px; }"
                       "QPushButton:pressed { background-color:rgba(%1,%2,%3,0.15); border-radius: 4px; }"
                       "QPushButton:checked { background-color: palette(highlight); border-radius: 4px; }"
                       "QPushButton:!checked{ border: none; }")
            .arg(bright.red())
            .arg(bright.green())
            .arg(bright.blue());

    m_ui->m_KeywordScanButton->setModule(QStringLiteral("keywordscan"), QLatin1String(KeywordIcon),
                                         QLatin1String(KeywordPressedIcon), tr("敏感词扫描"));
    m_ui->m_PiiScanButton->setModule(QStringLiteral("piiscan"), QLatin1String(PiiIcon),
                                     QLatin1String(PiiPressedIcon), tr("隐私信息扫描"));
    // The history module's entry follows the two scan modules.
    m_historyButton = new LeftSiderbarItemButton(m_ui->m_LeftNavigationbarWidget);
    m_historyButton->setObjectName(QStringLiteral("m_HistoryButton"));
    m_ui->verticalLayout_2->addWidget(m_historyButton);
    m_historyButton->setModule(QLatin1String(HistoryModule), QLatin1String(HistoryIcon),
                               QLatin1String(HistoryPressedIcon), tr("扫描记录"));
    for (LeftSiderbarItemButton *button : {m_ui->m_KeywordScanButton, m_ui->m_PiiScanButton, m_historyButton}) {
        button->setCheckable(true);
        button->setStyleSheet(style);
        button->setFixedSize(181, 36);
        button->setSelected(false);
        connect(button, &LeftSiderbarItemButton::ModuleSelected, this, &MainWindow::onModuleSelected);
        m_moduleButtons.append(button);
    }
}

void MainWindow::setupNavigationBar()
{
    m_navigationBar = new mvk::NavigationBar(m_ui->m_LeftNavigationbarWidget_2);
    m_navigationBar->addItem(new QStandardItem(QIcon(QLatin1String(KeywordIcon)), tr("敏感词扫描")));
    m_navigationBar->addItem(new QStandardItem(QIcon(QLatin1String(PiiIcon)), tr("隐私信息扫描")));
    m_navigationBar->addItem(new QStandardItem(QIcon(QLatin1String(HistoryIcon)), tr("扫描记录")));
    connect(m_navigationBar->listview(), &QListView::clicked, this, &MainWindow::onModuleChanged);
    // The module buttons are the sidebar's visible navigation; the list stays
    // as the keyboard's way between the modules but takes no room.
    m_navigationBar->hide();

    m_ui->stackedWidget->setCurrentIndex(0);
    m_navigationBar->listview()->setCurrentIndex(m_navigationBar->model()->index(0, 0));
    m_navigationBar->listview()->setFocus();
}

void MainWindow::setupTitleBar()
{
    m_menuButton = m_ui->m_WindowButtonBar->menuButton();
    m_minimumButton = m_ui->m_WindowButtonBar->minimumButton();
    m_maximumButton = m_ui->m_WindowButtonBar->maximumButton();
    m_closeButton = m_ui->m_WindowButtonBar->closeButton();

    m_menuButton->setToolTip(tr("选项"));
    for (QAction *entry : {m_menuButton->settingAction(), m_menuButton->autoAction(), m_menuButton->lightAction(),
                           m_menuButton->darkAction(), m_menuButton->themeAction(), m_menuButton->assistAction()})
        m_menuButton->removeEntry(entry);
    m_menuButton->aboutAction()->setText(tr("关于"));
    m_menuButton->feedbackAction()->setText(tr("意见反馈"));
    m_menuButton->quitAction()->setText(tr("退出"));
    connect(m_menuButton->aboutAction(), &QAction::triggered, this, &MainWindow::showAboutDialog);
    connect(m_menuButton->quitAction(), &QAction::triggered, this, &MainWindow::onCloseButtonClicked);

    m_minimumButton->setToolTip(tr("最小化"));
    connect(m_minimumButton, &QToolButton::clicked, this, &MainWindow::showMinimized);
    m_maximumButton->setToolTip(tr("最大化"));
    m_maximumButton->setIcon(QIcon(QLatin1String(MaxIcon)));
    connect(m_maximumButton, &QToolButton::clicked, this, &MainWindow::onMaximizeButtonClicked);
    m_closeButton->setToolTip(tr("关闭"));
    connect(m_closeButton, &QToolButton::clicked, this, &MainWindow::onCloseButtonClicked);
}

void MainWindow::showAboutDialog()
{
    auto *about = new mvk::AboutDialog(this, QIcon(), QString(), QString(), QString());
    about->setAppName(tr("敏感信息扫描"));
    about->setAppIcon(QIcon(QLatin1String(LogoLarge)));
    about->setAppVersion(tr("版本: ") + QStringLiteral("1.0"));
    about->exec();
    delete about;
}

void MainWindow::onMaximizeButtonClicked()
{
    if (windowState() & Qt::WindowMaximized)
        showNormal();
    else
        showMaximized();
    updateMaximizeButton();
}

void MainWindow::toggleMaximized()
{
    if (windowState() == Qt::WindowMaximized)
        showNormal();
    else
        showMaximized();
    updateMaximizeButton();
}

void MainWindow::updateMaximizeButton()
{
    if (!m_maximumButton)
        return;
    if (windowState() == Qt::WindowMaximized) {
        m_maximumButton->setIcon(QIcon(QLatin1String(RevertIcon)));
        m_maximumButton->setToolTip(tr("还原"));
    } else {
        m_maximumButton->setIcon(QIcon(QLatin1String(MaxIcon)));
        m_maximumButton->setToolTip(tr("最大化"));
    }
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton) {
        move(event->globalPos() - m_dragOffset);
        event->accept();
    }
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && event->pos().y() <= 35)
        toggleMaximized();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F11)
        toggleMaximized();
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    for (TimerThread *timer : {m_keywordTimer, m_privacyTimer}) {
        if (!timer)
            continue;
        if (!timer->isStopRequested())
            timer->requestStop();
        if (timer->isRunning()) {
            timer->quit();
            timer->wait();
        }
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_ui) {
        m_ui->retranslateUi(this);
        retranslateFrame();
        retranslatePrivacyCategories();
        showKeywordSource();
        // The text step labels both pause buttons "暂停"; a paused scan's
        // button must keep offering to continue it.
        if (m_keywordScan)
            updatePauseButton(m_keywordScan);
        if (m_privacyScan)
            updatePauseButton(m_privacyScan);
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::onModuleSelected(const QString &modulename)
{
    if (modulename == m_currentModule)
        return;
    for (LeftSiderbarItemButton *button : qAsConst(m_moduleButtons))
        button->setSelected(button->moduleKey() == modulename);

    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->parentWidget())
            window->close();
    }
    showModulePage(m_moduleMap.value(modulename));
    m_currentModule = modulename;
}

void MainWindow::onModuleChanged(const QModelIndex &index)
{
    showModulePage(m_navigationMap.value(index.data(Qt::DisplayRole).toString()));
}

void MainWindow::setupHistoryModule()
{
    m_historyPage = new RunHistoryPage(QDBusConnection::systemBus(), m_ui->stackedWidget);
    const int index = m_ui->stackedWidget->addWidget(m_historyPage);
    Q_ASSERT(index == HistoryPage);
    Q_UNUSED(index)
}

void MainWindow::showModulePage(int module)
{
    if (module == HistoryPage) {
        m_ui->stackedWidget->setCurrentIndex(HistoryPage);
        m_historyPage->refresh();
        return;
    }
    if (module > 1)
        m_ui->stackedWidget->setCurrentIndex(privacyPathList().isEmpty() ? 2 : 3);
    else
        m_ui->stackedWidget->setCurrentIndex(keywordPathList().isEmpty() ? 0 : 1);
}
