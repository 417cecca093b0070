#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QModelIndex>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class BusScanTaskCalls;
class DesktopNotifier;
class ElidedPathLabel;
class FilesNotReadLink;
class HiddenComboBox;
class KeywordConfigAllinoneWidget;
class LabelTextSpy;
class LeftSiderbarItemButton;
class PiiScanGroupWidget;
class PrivacyCountModel;
class RunHistoryPage;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSize;
class QStackedWidget;
class ScanController;
class QToolButton;
class RunExporter;
class SensitiveScanInterface;
class SignalReceiver;
class TimerThread;
namespace mvk {
class BubbleWidget;
class MenuButton;
class NavigationBar;
}
namespace Ui {
class MainWindow;
}

// The one window of the client.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Where the root check reads the effective user id; geteuid() unless
    // replaced (tests).
    using UidFunction = std::function<unsigned int()>;
    void setEffectiveUidFunction(UidFunction function);

    // The scan target of each module, which is also its task's identity: one
    // absolute directory, or several joined with "|". Empty while the module
    // has no task. Signals of the service pass only with an exact match.
    QString keywordPathList() const;
    void setKeywordPathList(const QString &pathlist);
    QString privacyPathList() const;
    void setPrivacyPathList(const QString &pathlist);
    // Each module's task and its state.
    ScanController *keywordScan() const { return m_keywordScan; }
    ScanController *privacyScan() const { return m_privacyScan; }

    // The scan service proxy (system bus), used from the GUI thread and from
    // the file-count workers.
    SensitiveScanInterface *sensitiveScanInterface() const { return m_sensitiveScanInterface; }
    TimerThread *keywordTimer() const { return m_keywordTimer; }
    TimerThread *privacyTimer() const { return m_privacyTimer; }

    // The file types every scan examines, built anew on each call.
    QStringList scanFileTypes() const;

    // The scan policy document as indented JSON text: the file-type rule,
    // one keyword rule per keyword (none for a privacy scan) and the
    // service's own data-identifier rules switched on for a privacy scan.
    QString buildScanPolicy(const QStringList &fileTypes, const QStringList &keywords, bool privacy) const;
    // What a task carries as its policy: Base64 of the document's UTF-8 bytes.
    static QString encodeScanPolicy(const QString &document);

    // Values every task is created with.
    static constexpr int NormalScanMode = 1;
    static constexpr int IdleScanMode = 4;

    // The keyword scan of the path list just chosen: the panel's keywords
    // into a policy, the task created at the service, the scanning page.
    void startKeywordScan();
    // Removes every result row.
    void clearKeywordResults();
    // The sum of the counts the result rows show.
    int keywordHitTotal() const;
    // 4 while the module's idle-time switch is on, else 1.
    int keywordScanMode() const;

    // The privacy scan of the path list just chosen.
    void startPrivacyScan();
    // Every category's count back to 0.
    void resetPrivacyCounts();
    // The sum of the categories' counts.
    int privacyHitTotal() const;
    // Adds to a category's count; an unknown category is ignored.
    void addPrivacyHits(const QString &category, int count);
    // Category -> its running count, which the tiles show.
    PrivacyCountModel *privacyCounts() const { return m_privacyCounts; }
    int privacyScanMode() const;
    // Category name -> its tile, for the fourteen categories.
    QMap<QString, PiiScanGroupWidget *> privacyCategories() const { return m_privacyCategories; }

    KeywordConfigAllinoneWidget *keywordConfigPanel() const { return m_keywordConfigPanel; }
    // The scan history module's page; its exports go through the same
    // exporter as the ended pages'.
    RunHistoryPage *historyPage() const { return m_historyPage; }
    // The desktop notification of a scan that completed while the window
    // was not active.
    DesktopNotifier *desktopNotifier() const { return m_notifier; }

    // "%1:%2:%3", hours, minutes and seconds at least two digits wide.
    static QString formatElapsedTime(int seconds);

    // The form: every page, widget and layout by its object name.
    Ui::MainWindow *ui() const { return m_ui; }
    mvk::NavigationBar *navigationBar() const { return m_navigationBar; }
    // The module last chosen with a module button ("keywordscan", "piiscan",
    // "history").
    QString currentModule() const { return m_currentModule; }

Q_SIGNALS:
    void KeywordScanTimeElapsed(int seconds);
    void KeywordScanProgressRangeGenerated(int minimum, int maximum);
    void KeywordScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid);
    void KeywordSensitiveDetected(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives);
    void KeywordScanTerminated();
    void KeywordScanCompleted();

    void PiiScanTimeElapsed(int seconds);
    void PiiScanProgressRangeGenerated(int minimum, int maximum);
    void PiiScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid);
    void PiiSensitiveDetected(const QString &pathlist, const QVariantMap &sensitives);
    void PiiScanCompleted();

public Q_SLOTS:
    // Run once after the first show: a process that is not root is told so
    // and the window closes.
    void checkPermissionAfterShow();

    void onMaximizeButtonClicked();
    // The close button and the menu's "退出": asks before leaving unfinished
    // tasks, then closes the window.
    void onCloseButtonClicked();
    // A module button was chosen: select it, close the parented top-level
    // windows (the keyword panel, bubbles) and show the module's page.
    void onModuleSelected(const QString &modulename);
    // A row of the navigation list was clicked: show the module's page.
    void onModuleChanged(const QModelIndex &index);

    // The keyword panel's reports when it closes: they enable or disable
    // the keyword start control.
    void onKeywordConfigured(const QList<QString> &keywords);
    void onKeywordTemplateConfigured(const QMap<QString, QString> &templates);

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    // The help icons beside the idle-time switches and the privacy page's
    // legal note: a press shows their bubble.
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    // The buttons "文件类型配置" of the two modules' pages: show the file-type
    // help bubble over the button that was clicked.
    void on_m_KeywordScanFiletypeConfigButton_clicked();
    void on_m_PiiScanFiletypeConfigButton_clicked();

    // The keyword scan.
    void on_m_KeywordConfigButton_clicked();
    void on_m_KeywordScanPauseScanButton_clicked();
    void on_m_KeywordScanCancelScanButton_clicked();
    void on_m_KeywordScanCancelRescanButton_clicked();
    void on_m_KeywordScanCancelReturnButton_clicked();
    void on_m_KeywordScanCompleteReturnButton_clicked();
    void on_m_KeywordScanCancelExportButton_clicked();
    void on_m_KeywordScanCompleteExportButton_clicked();
    void onKeywordScanTimeElapsed(int seconds);
    void onKeywordScanProgressRangeGenerated(int minimum, int maximum);
    void onKeywordScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid);
    void onKeywordSensitiveDetected(const QString &pathlist, const QString &filepath, const QVariantMap &sensitives);
    void onKeywordScanTerminated();
    void onKeywordScanCompleted();

    // The privacy scan.
    void on_m_PiiScanPauseScanButton_clicked();
    void on_m_PiiScanCancelScanButton_clicked();
    void on_m_PiiScanCancelRescanButton_clicked();
    void on_m_PiiScanCancelReturnButton_clicked();
    void on_m_PiiScanCompleteReturnButton_clicked();
    void on_m_PiiScanCancelExportButton_clicked();
    void on_m_PiiScanCompleteExportButton_clicked();
    void onPiiScanTimeElapsed(int seconds);
    void onPiiScanProgressRangeGenerated(int minimum, int maximum);
    void onPiiScanProgressValueChanged(const QString &pathlist, const QString &filepath, int fileid);
    void onPiiSensitiveDetected(const QString &pathlist, const QVariantMap &sensitives);
    void onPiiScanCompleted();
    void onPiiLookSensitiveDetailWidgetClicked(const QString &groupname, const QString &sensitivescount);

    // The split start controls.
    void on_m_KeywordScanComboBoxLikeDisplayButton_clicked();
    void on_m_KeywordScanComboBoxLikeDropdownButton_clicked();
    void on_m_PiiScanComboBoxLikeDisplayButton_clicked();
    void on_m_PiiScanComboBoxLikeDropdownButton_clicked();

private:
    void createScanMembers();
    void createFileTypeHintBubble();
    void setupModuleButtons();
    void setupNavigationBar();
    // The third module: the runs the service keeps.
    void setupHistoryModule();
    // A scan that completed while the window was away is told on the desktop.
    void notifyScanCompleted(const ScanController *scan, int hits);
    void setupTitleBar();
    void showAboutDialog();
    // F11 and the double-click on the title zone.
    void toggleMaximized();
    void updateMaximizeButton();
    // Keyword module (any value up to 1): page 1 with a task, else 0;
    // privacy module (2 or 3): page 3 with a task, else 2; the history
    // module: its page, with the list read again.
    void showModulePage(int module);

    // The top-level stack's pages, and the pages of each scan page's flow stack.
    enum ModulePage {
        KeywordConfigPage = 0,
        KeywordScanPage = 1,
        PrivacyConfigPage = 2,
        PrivacyScanPage = 3,
        HistoryPage = 4
    };
    enum FlowPage { ScanningFlowPage = 0, CancelledFlowPage = 1, CompletedFlowPage = 2 };
    // The keyword scan page's result stack.
    enum ResultPage { HitListPage = 0, NoHitPage = 1 };

    // The keyword page's start control and panel, the privacy page's start
    // control and its fourteen category tiles.
    void setupKeywordPage();
    void setupPrivacyPage();
    void setupPrivacyCategories();
    // The texts set in code rather than by the form, again after a change
    // of language.
    void retranslatePrivacyCategories();
    void retranslateFrame();
    void showPrivacyCount(int row);
    void connectScanSignals();
    void setKeywordStartEnabled(bool enabled);
    void showKeywordSource();
    // The home directory, or the directories picked in the dialog joined
    // with "|"; false (and `pathlist` untouched) when nothing was picked.
    bool chooseScanTarget(const QComboBox *targets, QString *pathlist);
    QStringList chooseDirectories();
    mvk::BubbleWidget *helpBubble(QObject *icon, const QString &text, const QSize &size, int tailDirection);

    void returnToKeywordConfiguration();
    void returnToPrivacyConfiguration();

    // Shared by both modules: the scan page of a task the service has just
    // accepted (pages, indeterminate range, file-count worker, no results);
    // pause or continue; the cancel question and call (true once the
    // service ended the task); the cancelled or completed page.
    struct ScanPage
    {
        int page;
        QStackedWidget *flow;
        QPushButton *pause;
        QProgressBar *bar;
        QLabel *elapsed;
        QLabel *cancelElapsed;
        QLabel *cancelSummary;
        QLabel *completeElapsed;
        QLabel *completeSummary;
        QLabel *heading;
        ElidedPathLabel *file;
        QLabel *fileCount;
        QLabel *timeLeft;
        QLabel *cancelFileCount;
        QLabel *completeFileCount;
    };
    ScanPage scanPage(const ScanController *scan) const;
    void showScanStarted(ScanController *scan);
    void pauseOrContinue(ScanController *scan);
    bool confirmCancel(ScanController *scan, const QString &title, const QString &question);
    void showScanEnded(ScanController *scan, bool cancelled);
    // The pause button offers what the state allows; the heading says
    // whether the scan runs or is paused.
    void updatePauseButton(const ScanController *scan);
    // The progress of a running task: the bar (busy until the total is
    // known), the file being examined, the file count with its percentage
    // and the time left.
    void showFileTotal(ScanController *scan, int minimum, int maximum);
    void showFileScanned(ScanController *scan, const QString &filepath, int fileid);
    void showElapsed(ScanController *scan, int seconds);
    void showFileCount(const ScanController *scan);
    // "n / N files (p%)" and the time left while the task runs; what the
    // ended pages keep after the elapsed time.
    QString runningFileCount(const ScanController *scan) const;
    QString timeLeft(const ScanController *scan) const;
    QString endedFileCount(const ScanController *scan, bool cancelled) const;
    // The summary of an ended scan, for both modules.
    QString scanSummary(const ScanController *scan, bool cancelled, bool anyHit, int total) const;
    // The ended task's run in the service's history: its export, and the
    // line on the ended page that counts the files it did not read, looked
    // up without waiting each time a page of an ended task shows.
    void setupRunReports();
    void exportEndedRun(const ScanController *scan);
    FilesNotReadLink *filesNotReadLink(const ScanController *scan, bool cancelled) const;
    void showFilesNotRead(const ScanController *scan, bool cancelled);
    void clearFilesNotRead(const ScanController *scan);
    // A file-count worker for the task, its range passed on as the module's signal.
    void startFileCount(const QString &pathlist, int taskType);
    void showMessage(int icon, const QString &text, bool withCancel);
    void showFailure(const QString &text);
    bool askQuestion(const QString &title, const QString &text);
    // The close flow's look at one module's task; false keeps the window open.
    bool mayLeaveTask(const QString &pathlist, int taskType, const QString &queryFailure, const QString &title,
                      const QString &question);

    Ui::MainWindow *m_ui = nullptr;
    mvk::MenuButton *m_menuButton = nullptr;
    QToolButton *m_minimumButton = nullptr;
    QToolButton *m_maximumButton = nullptr;
    QToolButton *m_closeButton = nullptr;
    mvk::NavigationBar *m_navigationBar = nullptr;
    const QMap<QString, int> m_navigationMap;
    const QMap<QString, int> m_moduleMap;
    QString m_currentModule;
    QList<LeftSiderbarItemButton *> m_moduleButtons;
    LeftSiderbarItemButton *m_historyButton = nullptr;
    RunHistoryPage *m_historyPage = nullptr;
    DesktopNotifier *m_notifier = nullptr;
    QPoint m_dragOffset;
    LabelTextSpy *m_labelTextSpy = nullptr;

    bool m_shownOnce = false;
    UidFunction m_effectiveUid;

    TimerThread *m_keywordTimer = nullptr;
    TimerThread *m_privacyTimer = nullptr;
    SensitiveScanInterface *m_sensitiveScanInterface = nullptr;
    SignalReceiver *m_signalReceiver = nullptr;
    // Which document formats the service parses; one pop-up for both pages.
    mvk::BubbleWidget *fileTypeHintBubble = nullptr;

    BusScanTaskCalls *m_taskCalls = nullptr;
    ScanController *m_keywordScan = nullptr;
    ScanController *m_privacyScan = nullptr;
    RunExporter *m_runExporter = nullptr;
    KeywordConfigAllinoneWidget *m_keywordConfigPanel = nullptr;
    HiddenComboBox *m_keywordTargetList = nullptr;
    HiddenComboBox *m_privacyTargetList = nullptr;
    QMap<QString, PiiScanGroupWidget *> m_privacyCategories;
    PrivacyCountModel *m_privacyCounts = nullptr;
    // What the keyword panel last reported: typed keywords (their number)
    // or ticked checklists (their names); neither before its first report.
    struct KeywordSource
    {
        bool checklists = false;
        QStringList checklistNames;
        int typedKeywords = 0;
    };
    KeywordSource m_keywordSource;
    // One bubble per help icon, made at its first press.
    QMap<QObject *, mvk::BubbleWidget *> m_helpBubbles;
};

#endif // MAINWINDOW_H
