#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>

#include <functional>

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

public Q_SLOTS:
    // Run once after the first show: a process that is not root is told so
    // and the window closes.
    void checkPermissionAfterShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_shownOnce = false;
    UidFunction m_effectiveUid;
};

#endif // MAINWINDOW_H
