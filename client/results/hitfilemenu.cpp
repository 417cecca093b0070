// The menu a hit's file offers: its folder in the file manager, its path copied.
#include "hitfilemenu.h"

#include "resultslog.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>

HitFileMenu::HitFileMenu(const QString &filepath, QWidget *parent)
    : QMenu(parent)
    , m_filepath(filepath)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_showInFolder = addAction(tr("在文件夹中显示"));
    m_copyPath = addAction(tr("复制路径"));
    connect(m_showInFolder, &QAction::triggered, this, [this] { showInFolder(m_filepath, parentWidget()); });
    connect(m_copyPath, &QAction::triggered, this, [this] { copyPath(m_filepath); });
}

bool HitFileMenu::showInFolder(const QString &filepath, QWidget *parent)
{
    if (filepath.isEmpty() || !QFileInfo::exists(filepath)) {
        qCDebug(lcResults) << "文件不存在:" << filepath;
        return false;
    }
    // The folder, never the file: opened as root, the document would run
    // in whatever application claims it.
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(filepath).absolutePath());
    if (QDesktopServices::openUrl(folder))
        return true;
    qCWarning(lcResults) << "the folder could not be opened:" << folder;
    // The privacy rows' message, as it has always read.
    QMessageBox::warning(parent, QStringLiteral("Error"), QStringLiteral("Failed to open the directory."),
                         QMessageBox::Ok);
    return false;
}

void HitFileMenu::copyPath(const QString &filepath)
{
    QGuiApplication::clipboard()->setText(filepath);
}

void HitFileMenu::popUpOver(QWidget *widget, const QString &filepath, const QPoint &pos)
{
    if (filepath.isEmpty())
        return;
    auto *menu = new HitFileMenu(filepath, widget);
    menu->popup(widget->mapToGlobal(pos));
}
