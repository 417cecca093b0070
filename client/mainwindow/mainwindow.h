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

class LabelTextSpy;
class LeftSiderbarItemButton;
class QToolButton;
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
    QString keywordPathList() const { return m_keywordPathList; }
    void setKeywordPathList(const QString &pathlist) { m_keywordPathList = pathlist; }
    QString privacyPathList() const { return m_privacyPathList; }
    void setPrivacyPathList(const QString &pathlist) { m_privacyPathList = pathlist; }

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

    // The form: every page, widget and layout by its object name.
    Ui::MainWindow *ui() const { return m_ui; }
    mvk::NavigationBar *navigationBar() const { return m_navigationBar; }
    // The module last chosen with a module button ("keywordscan", "piiscan").
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

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private Q_SLOTS:
    // The buttons "文件类型配置" of the two modules' pages: show the file-type
    // help bubble over the button that was clicked.
    void on_m_KeywordScanFiletypeConfigButton_clicked();
    void on_m_PiiScanFiletypeConfigButton_clicked();

private:
    void createScanMembers();
    void createFileTypeHintBubble();
    void centerOnCursorScreen();
    void setupModuleButtons();
    void setupNavigationBar();
    void setupTitleBar();
    void showAboutDialog();
    // F11 and the double-click on the title zone.
    void toggleMaximized();
    void updateMaximizeButton();
    // Keyword module (any value up to 1): page 1 with a task, else 0;
    // privacy module (above 1): page 3 with a task, else 2.
    void showModulePage(int module);

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
    QPoint m_dragOffset;
    LabelTextSpy *m_labelTextSpy = nullptr;

    bool m_shownOnce = false;
    UidFunction m_effectiveUid;

    QString m_keywordPathList;
    QString m_privacyPathList;
    TimerThread *m_keywordTimer = nullptr;
    TimerThread *m_privacyTimer = nullptr;
    SensitiveScanInterface *m_sensitiveScanInterface = nullptr;
    SignalReceiver *m_signalReceiver = nullptr;
    // Which document formats the service parses; one pop-up for both pages.
    mvk::BubbleWidget *fileTypeHintBubble = nullptr;
};

#endif // MAINWINDOW_H
