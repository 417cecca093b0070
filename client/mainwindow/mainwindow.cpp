#include "mainwindow.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVariant>

#include <unistd.h>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_effectiveUid([] { return static_cast<unsigned int>(geteuid()); })
{
    resize(960, 580);
    setMinimumSize(960, 580);
}

MainWindow::~MainWindow() = default;

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
