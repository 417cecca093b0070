// The privacy detail dialog against the fake scan service on a private bus
// (through a proxy of its own), its file rows on real files, and
// "在文件夹中显示" through the desktop's URL handling.

#include "fakescanservice.h"
#include "logcapture.h"
#include "highlightsensitive.h"
#include "modalanswerer.h"
#include "piisensitivedetailexwidget.h"
#include "piisensitivedetailframe.h"
#include "piisensitiveframe.h"
#include "privatebus.h"
#include "windowedrowlist.h"
#include "sensitivescaninterface.h"

#include <QApplication>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "iconbar.h"

#include <memory>

namespace {

const QString Method = QStringLiteral("SensitiveDiscoveryGetDataIdDetectedDetail");
const QString UpArrow = QStringLiteral(":/SensitiveDiscovery/images/scan/pii/scanitem/up-symbolic.png");
const QString DownArrow = QStringLiteral(":/SensitiveDiscovery/images/scan/pii/scanitem/down-symbolic.png");


QString labelText(QWidget *widget, const char *name)
{
    auto *label = widget->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

// The file headers of a dialog's list, in order (every row of the small
// documents below is in view).
QList<PiiSensitiveFrame *> fileRows(PiiSensitiveDetailExWidget *dialog)
{
    QList<PiiSensitiveFrame *> result;
    for (int file = 0; file < dialog->fileCount(); ++file)
        if (auto *row = qobject_cast<PiiSensitiveFrame *>(dialog->list()->widgetAt(dialog->fileRow(file))))
            result << row;
    return result;
}

// The hit rows below a file's header while it is expanded.
QList<PiiSensitiveDetailFrame *> hitRows(PiiSensitiveDetailExWidget *dialog, int file)
{
    QList<PiiSensitiveDetailFrame *> result;
    const int end = file + 1 < dialog->fileCount() ? dialog->fileRow(file + 1) : dialog->list()->rowCount();
    for (int row = dialog->fileRow(file) + 1; row < end; ++row)
        if (auto *hit = qobject_cast<PiiSensitiveDetailFrame *>(dialog->list()->widgetAt(row)))
            result << hit;
    return result;
}

QJsonObject hit(const QString &word, const QString &context)
{
    return {{QStringLiteral("sensitive"), word}, {QStringLiteral("sensitive_ctx"), context}};
}

QJsonObject file(const QString &path, const QJsonArray &hits)
{
    return {{QStringLiteral("filepath"), path}, {QStringLiteral("sensitives"), hits}};
}

QJsonObject rule(const QString &name, const QJsonArray &files)
{
    return {{QStringLiteral("rulename"), name}, {QStringLiteral("rulesensitives"), files}};
}

QString groupDocument(const QString &name, const QJsonArray &rules)
{
    const QJsonObject group{{QStringLiteral("groupname"), name}, {QStringLiteral("groupsensitives"), rules}};
    return QString::fromUtf8(QJsonDocument(group).toJson(QJsonDocument::Compact));
}

QList<PiiSensitiveDetailExWidget *> openDialogs()
{
    QList<PiiSensitiveDetailExWidget *> result;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<PiiSensitiveDetailExWidget *>(w))
            result << dialog;
    return result;
}

bool sameImage(const QPixmap &shown, const QString &path)
{
    return shown.toImage().convertToFormat(QImage::Format_ARGB32)
           == QIcon(path).pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

// Stands in for the desktop's handling of file URLs.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }
};

class TestPiiSensitiveDetail : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<LogCapture> m_log;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<SensitiveScanInterface> m_service;
    QTemporaryDir m_dir;
    UrlRecorder m_desktop;

    QString makeFile(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write("data");
        return path;
    }

    PiiSensitiveDetailExWidget *openAndWait(const QString &pathlist, const QString &group)
    {
        auto *dialog = new PiiSensitiveDetailExWidget(m_service.get(), pathlist, group);
        dialog->show();
        QPointer<QDBusPendingCallWatcher> watcher = dialog->findChild<QDBusPendingCallWatcher *>();
        QElapsedTimer timer;
        timer.start();
        while (watcher && timer.elapsed() < 10000)
            QTest::qWait(10);
        return dialog;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
        m_service = std::make_unique<SensitiveScanInterface>(
            QStringLiteral("com.vorel.dlp.TransControl"), QStringLiteral("/com/vorel/dlp/TransControl"),
            QStringLiteral("com.vorel.dlp.TransControlInterface"), QDBusConnection::systemBus());
        m_log = std::make_unique<LogCapture>();
    }
    void init()
    {
        m_fake->reset();
        m_desktop.opened.clear();
        LogCapture::take();
    }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        for (PiiSensitiveDetailExWidget *dialog : openDialogs())
            delete dialog;
    }
    void cleanupTestCase()
    {
        m_log.reset();
        m_service.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void asksForTheCategory()
    {
        const QString pathlist = QStringLiteral("/home/a|/srv/数据");
        auto *dialog = openAndWait(pathlist, QStringLiteral("身份标识"));
        const QList<FakeScanService::Call> calls = m_fake->calls(Method);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().signature, QStringLiteral("sis"));
        QCOMPARE(calls.first().arguments, (QVariantList{pathlist, 3, QStringLiteral("身份标识")}));
        QCOMPARE(dialog->findChild<mvk::IconBar *>(QStringLiteral("m_IconBar"))->widgetName(),
                 QStringLiteral("隐私信息详情 - 身份标识"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("隐私信息详情"));
        // The default reply (0, "") is no document.
        QCOMPARE(labelText(dialog, "m_SensitiveMatchedLabel"), QStringLiteral("0"));
        QCOMPARE(dialog->list()->rowCount(), 0);
        QVERIFY(LogCapture::take().contains(QStringLiteral("Invalid JSON format")));
    }

    void regroupsByFileThenRule()
    {
        const QString a = makeFile(QStringLiteral("a.txt"));
        const QString upperB = makeFile(QStringLiteral("B.txt"));
        const QString accented = makeFile(QStringLiteral("é.txt"));
        const QString gone = m_dir.filePath(QStringLiteral("gone.txt"));
        // Rules and files out of order in the document; a.txt matched by both rules.
        const QString doc = groupDocument(
            QStringLiteral("身份标识"),
            {rule(QStringLiteral("规则B"), {file(a, {hit("b1", "x b1 y"), hit("b2", "b2\r\nz")}),
                                            file(upperB, {hit("k", "k")})}),
             rule(QStringLiteral("规则A"), {file(accented, {hit("e", "e")}), file(gone, {hit("g", "g"), hit("h", "h")}),
                                            file(a, {hit("a1", "<a1> & a1")})})});
        m_fake->setReply(Method, {0, doc});
        auto *dialog = new PiiSensitiveDetailExWidget(m_service.get(), QStringLiteral("/home"), QStringLiteral("身份标识"));
        dialog->show();
        QPointer<QDBusPendingCallWatcher> watcher = dialog->findChild<QDBusPendingCallWatcher *>();
        QVERIFY(watcher);
        QTRY_VERIFY(watcher.isNull());
        QTRY_COMPARE(fileRows(dialog).size(), 4);

        // Every hit counts once per rule entry: 2 + 1 + 1 + 2 + 1.
        QCOMPARE(labelText(dialog, "m_SensitiveMatchedLabel"), QStringLiteral("7"));
        QList<PiiSensitiveFrame *> files = fileRows(dialog);
        QStringList order;
        for (PiiSensitiveFrame *row : files)
            order << row->filePath();
        // Code-unit order: "B" < "a" < "g" < "é".
        QCOMPARE(order, (QStringList{upperB, a, gone, accented}));

        struct Expected
        {
            QString name, count;
            QList<QPair<QString, QString>> hits; // passage, rule
        };
        const QList<Expected> expected{
            {"B.txt", "1", {{highlightSensitive("k", "k"), "规则B"}}},
            {"a.txt", "3",
             {{highlightSensitive("<a1> & a1", "a1"), "规则A"},
              {highlightSensitive("x b1 y", "b1"), "规则B"},
              {highlightSensitive("b2\r\nz", "b2"), "规则B"}}},
            {"文件路径", "0", {}},
            {"é.txt", "1", {{highlightSensitive("e", "e"), "规则A"}}},
        };
        // The missing file offers no folder and is named in the log.
        QVERIFY(files.at(2)->findChild<QLabel *>(QStringLiteral("m_ShowInFolderLabel"))->property("filepath").isNull());
        QCOMPARE(files.at(0)->findChild<QLabel *>(QStringLiteral("m_ShowInFolderLabel"))->property("filepath").toString(),
                 upperB);
        const QStringList missing = LogCapture::take().filter(QStringLiteral("文件不存在："));
        QCOMPARE(missing, QStringList{QStringLiteral("文件不存在： \"%1\"").arg(gone)});
        for (int i = 0; i < expected.size(); ++i) {
            files = fileRows(dialog);
            QCOMPARE(files.size(), expected.size());
            PiiSensitiveFrame *row = files.at(i);
            QCOMPARE(labelText(row, "m_SensitiveFilepathLabel"), expected.at(i).name);
            QCOMPARE(labelText(row, "m_SensitiveCountLabel"), expected.at(i).count);
            QVERIFY(!row->isExpanded());
            // The arrow of a file shows its hits below it, of a missing file nothing.
            QTest::mousePress(row->findChild<QLabel *>(QStringLiteral("m_SensitiveShrinkLabel")), Qt::LeftButton);
            QTRY_COMPARE(hitRows(dialog, i).size(), expected.at(i).hits.size());
            QList<QPair<QString, QString>> hits;
            for (PiiSensitiveDetailFrame *detail : hitRows(dialog, i))
                hits << qMakePair(detail->html(), detail->ruleName());
            QCOMPARE(hits, expected.at(i).hits);
            dialog->setFileExpanded(i, false);
            QTRY_COMPARE(fileRows(dialog).size(), expected.size());
        }
    }

    void failuresOnlyLog_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QString>("logLine");
        QTest::newRow("bus error") << "error" << QVariantList{}
                                   << "Method 'SensitiveDiscoveryGetDataIdDetectedDetail' call failed:";
        QTest::newRow("JSON array") << "reply" << QVariantList{0, QStringLiteral("[{}]")} << "Invalid JSON format";
        QTest::newRow("reply of the wrong type")
            << "raw" << QVariantList{QStringLiteral("0")}
            << "Method 'SensitiveDiscoveryGetDataIdDetectedDetail' call failed:";
    }
    void failuresOnlyLog()
    {
        QFETCH(QString, script);
        QFETCH(QVariantList, values);
        QFETCH(QString, logLine);
        if (script == QLatin1String("error"))
            m_fake->setError(Method, QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"), QStringLiteral("gone"));
        else if (script == QLatin1String("raw"))
            m_fake->setRawReply(Method, values);
        else
            m_fake->setReply(Method, values);
        auto *dialog = openAndWait(QStringLiteral("/home"), QStringLiteral("金融消费"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(labelText(dialog, "m_SensitiveMatchedLabel"), QStringLiteral("0"));
        QCOMPARE(dialog->list()->rowCount(), 0);
        bool found = false;
        for (const QString &line : LogCapture::take())
            found = found || line.startsWith(logLine);
        QVERIFY(found);
    }

    void closedBeforeTheReplyNeverHandlesIt()
    {
        m_fake->setReply(Method, {0, groupDocument("first", {rule("r", {file(makeFile("f1.txt"), {hit("x", "x")})})})},
                         300, 1);
        m_fake->setReply(Method, {0, groupDocument("second", {})}, 600, 1);
        auto *first = new PiiSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("first"));
        QPointer<PiiSensitiveDetailExWidget> alive(first);
        first->show();
        QTRY_COMPARE(m_fake->calls(Method).size(), 1);
        first->close();
        QTRY_VERIFY(alive.isNull());
        openAndWait(QStringLiteral("/"), QStringLiteral("second"));
        const QStringList details = LogCapture::take().filter(QStringLiteral("Sensitives Detail:"));
        QCOMPARE(details.size(), 1);
        QVERIFY(details.first().contains(QLatin1String("second")));
    }

    void windowShapeAndClosing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("title-bar close") << "m_CloseButton";
        QTest::newRow("cancel") << "m_CancelButton";
        QTest::newRow("confirm") << "m_ConfirmButton";
    }
    void windowShapeAndClosing()
    {
        QFETCH(QString, button);
        m_fake->setNoReply(Method);
        auto *dialog = new PiiSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("身份标识"));
        QPointer<PiiSensitiveDetailExWidget> alive(dialog);
        QVERIFY(dialog->isWindow());
        QVERIFY(dialog->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(dialog->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(dialog->minimumSize(), QSize(700, 423));
        QCOMPARE(dialog->maximumSize(), QSize(700, 423));
        QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        const QRect area = screen->geometry();
        QCOMPARE(dialog->pos(), area.topLeft() + QPoint((area.width() - 700) / 2, (area.height() - 423) / 2));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));

        // Not draggable: a left-button drag leaves it where it is.
        const QPoint start = dialog->pos();
        const QPoint grab = dialog->mapToGlobal(QPoint(300, 12));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(300, 12), QPointF(300, 12), grab, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog, &press);
        const QPoint to = grab + QPoint(40, 30);
        QMouseEvent move(QEvent::MouseMove, dialog->mapFromGlobal(to), dialog->mapFromGlobal(to), to, Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog, &move);
        QCOMPARE(dialog->pos(), start);

        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
        QTRY_VERIFY(alive.isNull());
    }

    void rowTextsArePlainAndPassagesRich()
    {
        const QString path = makeFile(QStringLiteral("<img src=x> 名单 &amp; a<b.txt"));
        PiiSensitiveFrame row(path, 1);
        auto *name = row.findChild<QLabel *>(QStringLiteral("m_SensitiveFilepathLabel"));
        QCOMPARE(name->text(), QStringLiteral("<img src=x> 名单 &amp; a<b.txt"));
        QCOMPARE(name->textFormat(), Qt::PlainText);
        PiiSensitiveDetailFrame hit(highlightSensitive("x & y", "z"), QStringLiteral("<b>规则</b>"));
        auto *passage = hit.findChild<QLabel *>(QStringLiteral("m_SensitiveTextLabel"));
        QCOMPARE(passage->text(), QStringLiteral("x &amp; y"));
        QCOMPARE(passage->textFormat(), Qt::RichText);
        auto *ruleName = hit.findChild<QLabel *>(QStringLiteral("m_RuleNameLabel"));
        QCOMPARE(ruleName->text(), QStringLiteral("<b>规则</b>"));
        QCOMPARE(ruleName->textFormat(), Qt::PlainText);
        QCOMPARE(hit.size(), QSize(652, 46));
    }

    void arrowAsksToExpandAndCollapse()
    {
        PiiSensitiveFrame row(makeFile(QStringLiteral("c.txt")), 1);
        row.show();
        auto *arrow = row.findChild<QLabel *>(QStringLiteral("m_SensitiveShrinkLabel"));
        QSignalSpy asked(&row, &PiiSensitiveFrame::expandedChanged);
        QVERIFY(!row.isExpanded());
        QTest::mousePress(arrow, Qt::LeftButton);
        QVERIFY(row.isExpanded());
        QVERIFY(sameImage(arrow->pixmap(Qt::ReturnByValue), UpArrow));
        QTest::mousePress(arrow, Qt::RightButton);
        QVERIFY(!row.isExpanded());
        QVERIFY(sameImage(arrow->pixmap(Qt::ReturnByValue), DownArrow));
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(0).at(0).toBool(), true);
        QCOMPARE(asked.at(1).at(0).toBool(), false);
        // A file that is gone has no hits to show.
        PiiSensitiveFrame gone(m_dir.filePath(QStringLiteral("gone-too.txt")), 2);
        QSignalSpy goneAsked(&gone, &PiiSensitiveFrame::expandedChanged);
        QTest::mousePress(gone.findChild<QLabel *>(QStringLiteral("m_SensitiveShrinkLabel")), Qt::LeftButton);
        QVERIFY(goneAsked.isEmpty());
    }

    // Among many files, an expanded file shows every one of its hits at the
    // full height of a row, and the files below move down.
    void expandedFileKeepsAllItsHitsAmongManyFiles()
    {
        QJsonArray files;
        QJsonArray many;
        for (int i = 0; i < 30; ++i)
            many.append(hit(QStringLiteral("h%1").arg(i), QStringLiteral("x h%1 y").arg(i)));
        files.append(file(makeFile(QStringLiteral("0-many.txt")), many));
        for (int i = 1; i < 60; ++i)
            files.append(file(m_dir.filePath(QStringLiteral("%1.txt").arg(i, 3, 10, QLatin1Char('0'))), {hit("k", "k")}));
        m_fake->setReply(Method, {0, groupDocument(QStringLiteral("身份标识"), {rule(QStringLiteral("r"), files)})});
        auto *dialog = openAndWait(QStringLiteral("/home"), QStringLiteral("身份标识"));
        QCOMPARE(dialog->fileCount(), 60);
        QCOMPARE(dialog->list()->rowCount(), 60);
        dialog->setFileExpanded(0, true);
        QCOMPARE(dialog->list()->rowCount(), 90);
        QCOMPARE(dialog->fileRow(1), 31);
        QTRY_VERIFY(!hitRows(dialog, 0).isEmpty());
        auto *area = dialog->findChild<QScrollArea *>(QStringLiteral("scrollArea"));
        for (int row = 1; row <= 30; ++row) {
            area->ensureVisible(0, dialog->list()->rowRect(row).center().y());
            QTRY_VERIFY(dialog->list()->widgetAt(row));
            auto *shown = qobject_cast<PiiSensitiveDetailFrame *>(dialog->list()->widgetAt(row));
            QVERIFY(shown);
            QCOMPARE(shown->height(), 46);
            QCOMPARE(shown->ruleName(), QStringLiteral("r"));
        }
        QTRY_VERIFY2(dialog->list()->height() >= 90 * 48, qPrintable(QString::number(dialog->list()->height())));
    }

    // A hit far into its passage is still shown: the row's text starts a few
    // characters before the hit, so the whole hit lies inside the passage
    // column, left of the rule's name.
    void passageShowsItsHit()
    {
        const QString word = QStringLiteral("尿常规异常");
        const QString context = QStringLiteral("病历记录中的一段很长的描述文字，").repeated(8) + word + QStringLiteral("，其后的文字");
        m_fake->setReply(Method, {0, groupDocument(QStringLiteral("健康生理"),
                                                   {rule(QStringLiteral("病历"), {file(makeFile(QStringLiteral("h.txt")),
                                                                                      {hit(word, context)})})})});
        auto *dialog = openAndWait(QStringLiteral("/home"), QStringLiteral("健康生理"));
        QCOMPARE(dialog->fileCount(), 1);
        dialog->setFileExpanded(0, true);
        QTRY_COMPARE(hitRows(dialog, 0).size(), 1);
        PiiSensitiveDetailFrame *row = hitRows(dialog, 0).first();
        auto *passage = row->findChild<QLabel *>(QStringLiteral("m_SensitiveTextLabel"));
        QTextDocument shown;
        shown.setHtml(passage->text());
        const QString plain = shown.toPlainText();
        const int at = plain.indexOf(word);
        QVERIFY2(at >= 0, qPrintable(plain));
        QVERIFY(passage->fontMetrics().horizontalAdvance(plain.left(at + word.size())) <= passage->width());
        // The longer passage is in the row's tooltip.
        QVERIFY(row->toolTip().contains(context.left(40)));
    }

    void showsThatItIsReadingUntilTheReply()
    {
        m_fake->setReply(Method, {0, groupDocument(QStringLiteral("身份标识"), {})}, 500, 1);
        auto *dialog = new PiiSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("身份标识"));
        dialog->show();
        auto *left = dialog->findChild<QLabel *>(QStringLiteral("m_SensitiveMatchedLeftLabel"));
        auto *count = dialog->findChild<QLabel *>(QStringLiteral("m_SensitiveMatchedLabel"));
        QVERIFY(!dialog->isLoaded());
        QVERIFY(count->isHidden());
        QVERIFY(left->text() != QStringLiteral("共"));
        QTRY_VERIFY(dialog->isLoaded());
        QCOMPARE(left->text(), QStringLiteral("共"));
        QVERIFY(!count->isHidden());
        QCOMPARE(count->text(), QStringLiteral("0"));
    }

    // Esc closes and deletes the dialog; opening the category again while
    // it is open raises it instead of asking the service a second time.
    void escapeClosesAndASecondOpenRaises()
    {
        m_fake->setNoReply(Method);
        auto *dialog = PiiSensitiveDetailExWidget::showFor(m_service.get(), QStringLiteral("/"), QStringLiteral("身份标识"));
        QPointer<PiiSensitiveDetailExWidget> alive(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(PiiSensitiveDetailExWidget::showFor(m_service.get(), QStringLiteral("/"), QStringLiteral("身份标识")),
                 dialog);
        auto *other = PiiSensitiveDetailExWidget::showFor(m_service.get(), QStringLiteral("/"), QStringLiteral("金融消费"));
        QVERIFY(other != dialog);
        QTRY_COMPARE(m_fake->calls(Method).size(), 2);
        QCOMPARE(openDialogs().size(), 2);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(alive.isNull());
        QCOMPARE(openDialogs(), QList<PiiSensitiveDetailExWidget *>{other});
        // Closed, the category opens anew.
        auto *again = PiiSensitiveDetailExWidget::showFor(m_service.get(), QStringLiteral("/"), QStringLiteral("身份标识"));
        QVERIFY(again != other);
        QTRY_COMPARE(m_fake->calls(Method).size(), 3);
    }

    void showInFolderOpensTheDirectory()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("sub dir"));
        const QString path = makeFile(QStringLiteral("sub dir/d.txt"));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_desktop, "open");
        PiiSensitiveFrame row(path, 1);
        row.show();
        QTest::mousePress(row.findChild<QLabel *>(QStringLiteral("m_ShowInFolderLabel")), Qt::LeftButton);
        QCOMPARE(m_desktop.opened, QList<QUrl>{QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("sub dir")))});
    }

    void showInFolderFailureIsReported()
    {
        const QString path = makeFile(QStringLiteral("e.txt"));
        // A handler that cannot be invoked: the desktop reports failure.
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_desktop, "noSuchSlot");
        PiiSensitiveFrame row(path, 1);
        row.show();
        QString title;
        int icon = -1, buttons = 0;
        QWidget *parent = nullptr;
        ModalAnswerer answer([&](QWidget *box) {
            auto *messageBox = qobject_cast<QMessageBox *>(box);
            QVERIFY(messageBox);
            title = messageBox->windowTitle();
            icon = messageBox->icon();
            buttons = messageBox->buttons().size();
            parent = messageBox->parentWidget();
            QVERIFY(messageBox->button(QMessageBox::Ok));
            messageBox->button(QMessageBox::Ok)->click();
        });
        QTest::mousePress(row.findChild<QLabel *>(QStringLiteral("m_ShowInFolderLabel")), Qt::LeftButton);
        QVERIFY(answer.answered());
        QCOMPARE(answer.text(), QStringLiteral("Failed to open the directory."));
        QCOMPARE(title, QStringLiteral("Error"));
        QCOMPARE(icon, int(QMessageBox::Warning));
        QCOMPARE(buttons, 1);
        QCOMPARE(parent, &row);
    }

    void showInFolderOfAMissingFileDoesNothing_data()
    {
        QTest::addColumn<bool>("existedAtFirst");
        QTest::newRow("deleted after the row was built") << true;
        QTest::newRow("missing when the row was built") << false;
    }
    void showInFolderOfAMissingFileDoesNothing()
    {
        QFETCH(bool, existedAtFirst);
        const QString path = existedAtFirst ? makeFile(QStringLiteral("f.txt")) : m_dir.filePath(QStringLiteral("none.txt"));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_desktop, "open");
        PiiSensitiveFrame row(path, 1);
        QVERIFY(!existedAtFirst || QFile::remove(path));
        row.show();
        LogCapture::take();
        ModalAnswerer answer([](QWidget *box) { ModalAnswerer::dismiss(box); });
        QTest::mousePress(row.findChild<QLabel *>(QStringLiteral("m_ShowInFolderLabel")), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(m_desktop.opened.isEmpty());
        QVERIFY(!answer.answered());
        const QString logged = existedAtFirst ? path : QString();
        QCOMPARE(LogCapture::take().filter(QStringLiteral("文件不存在")),
                 QStringList{QStringLiteral("文件不存在: \"%1\"").arg(logged)});
    }
};

QTEST_MAIN(TestPiiSensitiveDetail)
#include "tst_piisensitivedetail.moc"
