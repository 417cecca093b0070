// The menu of a hit's file on the keyword rows, the keyword detail dialog and
// the privacy file headers: it copies the whole path, and shows the folder
// that holds the file, never the document itself (the client runs as root).

#include "hitfilemenu.h"
#include "keywordsensitivedetailexwidget.h"
#include "keywordsensitiveframe.h"
#include "piisensitiveframe.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <functional>
#include <memory>

// Stands in for the desktop: records the URLs the client asks it to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

using MakeWidget = std::function<QWidget *(const QString &filepath)>;
Q_DECLARE_METATYPE(MakeWidget)

class TestHitFileMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void menuOfWidget_data();
    void menuOfWidget();
    void goneFileOpensNothing();

private:
    QTemporaryDir m_dir;
    QString m_file;
    UrlRecorder m_desktop;
};

void TestHitFileMenu::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // A folder name with a space and a non-ASCII name: the URL must still
    // name the folder exactly.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("报告 2026")));
    m_file = m_dir.filePath(QStringLiteral("报告 2026/客户名单.docx"));
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_desktop, "open");
}

void TestHitFileMenu::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void TestHitFileMenu::init()
{
    m_desktop.urls.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
}

void TestHitFileMenu::menuOfWidget_data()
{
    QTest::addColumn<MakeWidget>("make");
    // The child right clicked: the menu is found from wherever the user
    // clicks on the widget.
    QTest::addColumn<QString>("clicked");

    QTest::newRow("keyword row") << MakeWidget([](const QString &path) -> QWidget * {
        return new KeywordSensitiveFrame(nullptr, QStringLiteral("/data"), path,
                                         QVariantMap{{QStringLiteral("客户"), 2}});
    }) << QStringLiteral("m_SensitiveFilepathLabel");
    QTest::newRow("keyword detail dialog") << MakeWidget([](const QString &path) -> QWidget * {
        return new KeywordSensitiveDetailExWidget(nullptr, QStringLiteral("/data"), path);
    }) << QStringLiteral("m_SensitiveDetailList");
    QTest::newRow("privacy file header") << MakeWidget([](const QString &path) -> QWidget * {
        return new PiiSensitiveFrame(path, 3);
    }) << QStringLiteral("m_SensitiveFilepathLabel");
}

void TestHitFileMenu::menuOfWidget()
{
    QFETCH(MakeWidget, make);
    QFETCH(QString, clicked);

    std::unique_ptr<QWidget> widget(make(m_file));
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    auto *child = widget->findChild<QWidget *>(clicked);
    QVERIFY(child);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), child->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(child, &event);

    const QList<HitFileMenu *> menus = widget->findChildren<HitFileMenu *>();
    QCOMPARE(menus.size(), 1);
    HitFileMenu *menu = menus.first();
    QCOMPARE(menu->copyPathAction()->text(), QStringLiteral("复制路径"));
    QCOMPARE(menu->showInFolderAction()->text(), QStringLiteral("在文件夹中显示"));

    menu->copyPathAction()->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), m_file);

    menu->showInFolderAction()->trigger();
    QCOMPARE(m_desktop.urls, QList<QUrl>{QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("报告 2026")))});
}

void TestHitFileMenu::goneFileOpensNothing()
{
    const QString gone = m_dir.filePath(QStringLiteral("gone/名单.txt"));
    QVERIFY(!HitFileMenu::showInFolder(gone, nullptr));
    QVERIFY(m_desktop.urls.isEmpty());
    // Its path can still be copied.
    HitFileMenu menu(gone);
    menu.copyPathAction()->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), gone);
}

QTEST_MAIN(TestHitFileMenu)
#include "tst_hitfilemenu.moc"
