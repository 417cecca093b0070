// The menu a hit's file offers: its folder in the file manager, its path copied.
#ifndef HITFILEMENU_H
#define HITFILEMENU_H

#include <QMenu>
#include <QString>

class QAction;

// A context menu for the file of a hit: "在文件夹中显示" opens the folder
// that holds the file in the desktop's file manager, "复制路径" puts the
// file's whole path on the clipboard. The client runs as root: the document
// itself is never handed to an application, only its folder is opened.
// The menu deletes itself once closed.
class HitFileMenu : public QMenu
{
    Q_OBJECT

public:
    HitFileMenu(const QString &filepath, QWidget *parent = nullptr);

    QString filePath() const { return m_filepath; }
    QAction *showInFolderAction() const { return m_showInFolder; }
    QAction *copyPathAction() const { return m_copyPath; }

    // Opens the folder of `filepath`; a file that is gone opens nothing and
    // returns false, a folder the desktop cannot open is said in a message
    // over `parent`.
    static bool showInFolder(const QString &filepath, QWidget *parent);
    static void copyPath(const QString &filepath);

    // Right clicks on `widget` (and on its children that have no menu of
    // their own) pop up a HitFileMenu for the path `filepath()` returns at
    // that moment; an empty path offers no menu.
    template<typename PathOf>
    static void attachTo(QWidget *widget, PathOf filepath)
    {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(widget, &QWidget::customContextMenuRequested, widget,
                         [widget, filepath](const QPoint &pos) { popUpOver(widget, filepath(), pos); });
    }

private:
    static void popUpOver(QWidget *widget, const QString &filepath, const QPoint &pos);

    QString m_filepath;
    QAction *m_showInFolder;
    QAction *m_copyPath;
};

#endif // HITFILEMENU_H
