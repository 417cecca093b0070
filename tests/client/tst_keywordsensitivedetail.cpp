// The keyword detail dialog against the fake scan service on a private bus,
// with a proxy of its own.

#include "fakescanservice.h"
#include "logcapture.h"
#include "highlightsensitive.h"
#include "keywordsensitivedetailexwidget.h"
#include "keywordsensitivedetailframe.h"
#include "privatebus.h"
#include "sensitivescaninterface.h"
#include "windowedrowlist.h"

#include <QLocale>
#include <QApplication>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString Method = QStringLiteral("SensitiveDiscoveryGetKeywordDetectedDetail");


QString text(QWidget *dialog, const char *label)
{
    auto *l = dialog->findChild<QLabel *>(QLatin1String(label));
    return l ? l->text() : QStringLiteral("<no label %1>").arg(QLatin1String(label));
}

WindowedRowList *hitList(QWidget *dialog)
{
    return dialog->findChild<WindowedRowList *>(QStringLiteral("m_SensitiveDetailList"));
}

// The hit rows made so far, in the order of the dialog's list (every row, as
// long as they fit in the view).
QList<KeywordSensitiveDetailFrame *> rows(QWidget *dialog)
{
    for (int i = 0; i < 4; ++i)
        QCoreApplication::sendPostedEvents();
    QList<KeywordSensitiveDetailFrame *> result;
    WindowedRowList *list = hitList(dialog);
    if (!list)
        return result;
    for (int row = 0; row < list->rowCount(); ++row)
        if (auto *frame = qobject_cast<KeywordSensitiveDetailFrame *>(list->widgetAt(row)))
            result << frame;
    return result;
}

QList<KeywordSensitiveDetailExWidget *> openDialogs()
{
    QList<KeywordSensitiveDetailExWidget *> result;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<KeywordSensitiveDetailExWidget *>(w))
            result << dialog;
    return result;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    const QPoint local = widget->mapFromGlobal(global);
    QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestKeywordSensitiveDetail : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<LogCapture> m_log;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<SensitiveScanInterface> m_service;

    // Opens a dialog and waits until its reply has been handled (its watcher
    // is gone).
    KeywordSensitiveDetailExWidget *openAndWait(const QString &pathlist, const QString &filepath)
    {
        auto *dialog = new KeywordSensitiveDetailExWidget(m_service.get(), pathlist, filepath);
        dialog->show();
        QPointer<QDBusPendingCallWatcher> watcher = dialog->findChild<QDBusPendingCallWatcher *>();
        if (!watcher)
            return dialog;
        QElapsedTimer timer;
        timer.start();
        while (watcher && timer.elapsed() < 10000)
            QTest::qWait(10);
        return dialog;
    }

private Q_SLOTS:
    void initTestCase()
    {
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
        LogCapture::take();
    }
    void cleanup()
    {
        for (KeywordSensitiveDetailExWidget *dialog : openDialogs())
            delete dialog;
    }
    void cleanupTestCase()
    {
        m_log.reset();
        m_service.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void asksForTheFile()
    {
        const QString pathlist = QStringLiteral("/home/a|/srv/数据 b");
        const QString file = QStringLiteral("/srv/数据 b/报告.docx");
        auto *dialog = openAndWait(pathlist, file);
        const QList<FakeScanService::Call> calls = m_fake->calls(Method);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().signature, QStringLiteral("sis"));
        QCOMPARE(calls.first().arguments, (QVariantList{pathlist, 1, file}));
        // The default reply (0, "") is no document: nothing changes.
        QCOMPARE(text(dialog, "m_SensitiveFilepathLabel"), QStringLiteral("文件路径"));
        QCOMPARE(text(dialog, "m_SensitiveCountLabel"), QStringLiteral("0"));
        QVERIFY(rows(dialog).isEmpty());
    }

    void replyFillsTheDialog()
    {
        const QString doc = QStringLiteral(R"({"filepath":"/home/a/<b>报告</b>.txt","sensitives":[
            {"sensitive":"机密","sensitive_ctx":"第一行\r\n机密内容"},
            {"sensitive":"secret","sensitive_ctx":"<img src=x> secret & more"},
            {"sensitive":"absent","sensitive_ctx":"  nothing here\n"}]})");
        m_fake->setReply(Method, {0, doc});
        auto *dialog = openAndWait(QStringLiteral("/home/a"), QStringLiteral("/home/a/<b>报告</b>.txt"));

        auto *path = dialog->findChild<QLabel *>(QStringLiteral("m_SensitiveFilepathLabel"));
        QCOMPARE(path->text(), QStringLiteral("/home/a/<b>报告</b>.txt"));
        QCOMPARE(path->textFormat(), Qt::PlainText);
        QCOMPARE(text(dialog, "m_SensitiveCountLabel"), QStringLiteral("3"));
        const QList<KeywordSensitiveDetailFrame *> list = rows(dialog);
        QCOMPARE(list.size(), 3);
        QCOMPARE(list.at(0)->html(), highlightSensitive(QStringLiteral("第一行\r\n机密内容"), QStringLiteral("机密")));
        QCOMPARE(list.at(1)->html(),
                 highlightSensitive(QStringLiteral("<img src=x> secret & more"), QStringLiteral("secret")));
        QCOMPARE(list.at(2)->html(), QStringLiteral("  nothing here\n"));
        for (KeywordSensitiveDetailFrame *row : list) {
            auto *label = row->findChild<QLabel *>(QStringLiteral("m_SensitiveTextLabel"));
            QCOMPARE(label->textFormat(), Qt::RichText);
            QCOMPARE(row->height(), 46);
        }
        const QStringList log = LogCapture::take();
        QVERIFY(log.contains(QStringLiteral("Method 'SensitiveDiscoveryGetKeywordDetectedDetail' call successfully.")));
    }

    // A document with as many hits as the service keeps for one file opens
    // with rows made only for the hits in view; scrolled to the end, the
    // last hit shows; a passage wider than the dialog is cut around its hit,
    // the hit at the start of the row, the longer passage in the row's
    // tooltip, and the list never scrolls sideways.
    void largeDocument()
    {
        constexpr int Hits = 20000;
        QJsonArray sensitives;
        for (int i = 0; i < Hits; ++i) {
            const QString context = i == 1 ? QStringLiteral("很长的一段上下文，").repeated(20) + QStringLiteral("机密")
                                           : QStringLiteral("第%1处\r\n机密内容").arg(i);
            sensitives.append(QJsonObject{{QStringLiteral("sensitive"), QStringLiteral("机密")},
                                          {QStringLiteral("sensitive_ctx"), context}});
        }
        const QJsonObject document{{QStringLiteral("filepath"), QStringLiteral("/srv/大文件.log")},
                                   {QStringLiteral("sensitives"), sensitives}};
        m_fake->setReply(Method, {0, QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Compact))});
        auto *dialog = openAndWait(QStringLiteral("/srv"), QStringLiteral("/srv/大文件.log"));

        QCOMPARE(text(dialog, "m_SensitiveCountLabel"), QLocale().toString(Hits));
        WindowedRowList *list = hitList(dialog);
        QCOMPARE(list->rowCount(), Hits);
        QVERIFY(!rows(dialog).isEmpty());
        QVERIFY(rows(dialog).size() < 20);
        QCOMPARE(dialog->findChildren<KeywordSensitiveDetailFrame *>().size(), rows(dialog).size());

        auto *area = dialog->findChild<QScrollArea *>(QStringLiteral("scrollArea"));
        QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(list->width(), area->viewport()->width());
        auto *wide = qobject_cast<KeywordSensitiveDetailFrame *>(list->widgetAt(1));
        QVERIFY(wide);
        QTextDocument shown;
        shown.setHtml(wide->html());
        const QString plain = shown.toPlainText();
        QVERIFY2(plain.startsWith(QChar(0x2026)) && plain.endsWith(QStringLiteral("机密")), qPrintable(plain));
        QVERIFY2(plain.size() <= 20, qPrintable(plain));
        QVERIFY(wide->html().contains(QStringLiteral("<font color='#3676F5'>机密</font>")));
        QVERIFY(wide->toolTip().contains(QStringLiteral("很长的一段上下文，").repeated(10)));

        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        const QList<KeywordSensitiveDetailFrame *> end = rows(dialog);
        auto *last = qobject_cast<KeywordSensitiveDetailFrame *>(list->widgetAt(Hits - 1));
        QVERIFY(last);
        QVERIFY(end.contains(last));
        QCOMPARE(last->html(), highlightSensitive(QStringLiteral("第%1处\r\n机密内容").arg(Hits - 1), QStringLiteral("机密")));
        QCOMPARE(last->height(), 46);
        QVERIFY(!list->widgetAt(0));
    }

    // The count is the file's hits as the service counted them; where it
    // kept fewer passages the dialog says how many it shows. Documents of
    // services that do not send the total show the passages' number.
    void countIsTheFileTotal_data()
    {
        QTest::addColumn<QString>("total"); // the member's JSON text, empty: left out
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("partial");
        QTest::newRow("no total") << "" << "3" << false;
        QTest::newRow("total equal to the passages") << "3" << "3" << false;
        QTest::newRow("service kept fewer passages") << "600" << "600" << true;
        QTest::newRow("total below the passages is not believed") << "1" << "3" << false;
        QTest::newRow("total not a number") << "\"600\"" << "3" << false;
        QTest::newRow("total negative") << "-5" << "3" << false;
        QTest::newRow("total a fraction") << "4.5" << "3" << false;
    }
    void countIsTheFileTotal()
    {
        QFETCH(QString, total);
        QFETCH(QString, count);
        QFETCH(bool, partial);
        const QString member = total.isEmpty() ? QString() : QStringLiteral(R"("total":%1,)").arg(total);
        m_fake->setReply(Method, {0, QStringLiteral(R"({"filepath":"/a/x.txt",%1"sensitives":[)"
                                                    R"({"sensitive":"k","sensitive_ctx":"1 k"},)"
                                                    R"({"sensitive":"k","sensitive_ctx":"2 k"},)"
                                                    R"({"sensitive":"k","sensitive_ctx":"3 k"}]})").arg(member)});
        auto *dialog = openAndWait(QStringLiteral("/a"), QStringLiteral("/a/x.txt"));
        QCOMPARE(text(dialog, "m_SensitiveCountLabel"), count);
        QCOMPARE(hitList(dialog)->rowCount(), 3);
        auto *shown = dialog->findChild<QLabel *>(QStringLiteral("m_SensitiveShownLabel"));
        QVERIFY(shown);
        QCOMPARE(!shown->isHidden(), partial);
        if (partial)
            QVERIFY2(shown->text().contains(QLatin1Char('3')), qPrintable(shown->text()));
    }

    // Esc closes and deletes the dialog; opening the same file again while
    // its dialog is open raises it instead of asking the service again.
    void escapeClosesAndASecondOpenRaises()
    {
        m_fake->setNoReply(Method);
        auto *dialog = KeywordSensitiveDetailExWidget::showFor(m_service.get(), QStringLiteral("/"), QStringLiteral("/a"));
        QPointer<KeywordSensitiveDetailExWidget> alive(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(KeywordSensitiveDetailExWidget::showFor(m_service.get(), QStringLiteral("/"), QStringLiteral("/a")), dialog);
        // Another task's file of the same name is another dialog.
        auto *other = KeywordSensitiveDetailExWidget::showFor(m_service.get(), QStringLiteral("/b"), QStringLiteral("/a"));
        QVERIFY(other != dialog);
        QTRY_COMPARE(m_fake->calls(Method).size(), 2);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(alive.isNull());
        QCOMPARE(openDialogs(), QList<KeywordSensitiveDetailExWidget *>{other});
    }

    void failuresOnlyLog_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QString>("filepath");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QString>("logLine");

        QTest::newRow("bus error") << "error" << QVariantList{} << "文件路径" << "0" << 0
                                   << "Method 'SensitiveDiscoveryGetKeywordDetectedDetail' call failed:";
        QTest::newRow("reply of the wrong type") << "raw" << QVariantList{0} << "文件路径" << "0" << 0
                                                 << "Method 'SensitiveDiscoveryGetKeywordDetectedDetail' call failed:";
        QTest::newRow("empty JSON array") << "reply" << QVariantList{0, QStringLiteral("[]")} << "文件路径" << "0" << 0
                                          << "Invalid JSON format";
        QTest::newRow("not JSON") << "reply" << QVariantList{0, QStringLiteral("oops")} << "文件路径" << "0" << 0
                                  << "Invalid JSON format";
        QTest::newRow("sensitives missing: zero hits")
            << "reply" << QVariantList{0, QStringLiteral(R"({"filepath":"/home/a/x.txt"})")} << "/home/a/x.txt"
            << "0" << 0 << "Return Code: 0";
        QTest::newRow("return code -1 still shows the document")
            << "reply"
            << QVariantList{-1, QStringLiteral(R"({"filepath":"/home/a/x.txt","sensitives":[{"sensitive":"k","sensitive_ctx":"a k"}]})")}
            << "/home/a/x.txt" << "1" << 1 << "Return Code: -1";
    }
    void failuresOnlyLog()
    {
        QFETCH(QString, script);
        QFETCH(QVariantList, values);
        QFETCH(QString, filepath);
        QFETCH(QString, count);
        QFETCH(int, rowCount);
        QFETCH(QString, logLine);

        if (script == QLatin1String("error"))
            m_fake->setError(Method, QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), QStringLiteral("no"));
        else if (script == QLatin1String("raw"))
            m_fake->setRawReply(Method, values);
        else
            m_fake->setReply(Method, values);
        int boxes = 0;
        auto *dialog = openAndWait(QStringLiteral("/home/a"), QStringLiteral("/home/a/x.txt"));
        for (QWidget *w : QApplication::topLevelWidgets())
            boxes += w->isVisible() && w->isModal();
        QCOMPARE(boxes, 0);
        QVERIFY(dialog->isVisible());
        QCOMPARE(text(dialog, "m_SensitiveFilepathLabel"), filepath);
        QCOMPARE(text(dialog, "m_SensitiveCountLabel"), count);
        QCOMPARE(rows(dialog).size(), rowCount);
        const QStringList log = LogCapture::take();
        bool found = false;
        for (const QString &line : log)
            found = found || line.startsWith(logLine);
        QVERIFY2(found, qPrintable(log.join(QLatin1Char('\n'))));
    }

    void watcherIsDeletedOnceHandled()
    {
        m_fake->setReply(Method, {0, QStringLiteral(R"({"filepath":"/a","sensitives":[{"sensitive":"k","sensitive_ctx":"k"}]})")},
                         200);
        auto *dialog = new KeywordSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("/a"));
        QPointer<KeywordSensitiveDetailExWidget> alive(dialog);
        dialog->show();
        // The call is watched, not waited for: the dialog is up before the reply.
        const QList<QDBusPendingCallWatcher *> watchers = dialog->findChildren<QDBusPendingCallWatcher *>();
        QCOMPARE(watchers.size(), 1);
        QPointer<QDBusPendingCallWatcher> watcher = watchers.first();
        QCOMPARE(text(dialog, "m_SensitiveCountLabel"), QStringLiteral("0"));
        QTRY_COMPARE(rows(dialog).size(), 1);
        QTRY_VERIFY(watcher.isNull());
        QVERIFY(alive);
    }

    void closedBeforeTheReplyNeverHandlesIt()
    {
        // The first call is answered late, the second later still: once the
        // second reply is in, the first has arrived before it.
        m_fake->setReply(Method, {0, QStringLiteral(R"({"filepath":"/first","sensitives":[]})")}, 300, 1);
        m_fake->setReply(Method, {0, QStringLiteral(R"({"filepath":"/second","sensitives":[]})")}, 600, 1);
        auto *first = new KeywordSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("/first"));
        QPointer<KeywordSensitiveDetailExWidget> firstAlive(first);
        first->show();
        QTRY_COMPARE(m_fake->calls(Method).size(), 1);
        first->close();
        QTRY_VERIFY(firstAlive.isNull());
        auto *second = openAndWait(QStringLiteral("/"), QStringLiteral("/second"));
        QCOMPARE(text(second, "m_SensitiveFilepathLabel"), QStringLiteral("/second"));
        const QStringList details = LogCapture::take().filter(QStringLiteral("Sensitives Detail:"));
        QCOMPARE(details.size(), 1);
        QVERIFY(details.first().contains(QLatin1String("/second")));
    }

    void closesAndDeletesItself_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("title-bar close") << "m_CloseButton";
        QTest::newRow("cancel") << "m_CancelButton";
        QTest::newRow("confirm") << "m_ConfirmButton";
    }
    void closesAndDeletesItself()
    {
        QFETCH(QString, button);
        m_fake->setNoReply(Method);
        auto *dialog = new KeywordSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("/a"));
        QPointer<KeywordSensitiveDetailExWidget> alive(dialog);
        dialog->show();
        auto *push = dialog->findChild<QPushButton *>(button);
        QVERIFY(push);
        QTest::mouseClick(push, Qt::LeftButton);
        QTRY_VERIFY(alive.isNull());
    }

    void windowShape()
    {
        m_fake->setNoReply(Method);
        auto *dialog = new KeywordSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("/a"));
        QVERIFY(dialog->isWindow());
        QVERIFY(!dialog->parent());
        QVERIFY(dialog->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(dialog->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(dialog->minimumSize(), QSize(700, 423));
        QCOMPARE(dialog->maximumSize(), QSize(700, 423));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("敏感信息详情"));
        QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        const QRect area = screen->geometry();
        QCOMPARE(dialog->pos(), area.topLeft() + QPoint((area.width() - 700) / 2, (area.height() - 423) / 2));
        QCOMPARE(dialog->findChild<QPushButton *>(QStringLiteral("m_ConfirmButton"))->property("isImportant"),
                 QVariant(true));
        QCOMPARE(dialog->findChild<QPushButton *>(QStringLiteral("m_CancelButton"))->property("useButtonPalette"),
                 QVariant(true));
        dialog->show();
        QCOMPARE(dialog->size(), QSize(700, 423));
    }

    void dragsWithTheLeftButton_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("left button") << int(Qt::LeftButton) << QPoint(30, 40);
        QTest::newRow("right button") << int(Qt::RightButton) << QPoint(0, 0);
    }
    void dragsWithTheLeftButton()
    {
        QFETCH(int, button);
        QFETCH(QPoint, moved);
        m_fake->setNoReply(Method);
        auto *dialog = new KeywordSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("/a"));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QPoint start = dialog->pos();
        const auto b = Qt::MouseButton(button);
        const QPoint grab = dialog->mapToGlobal(QPoint(300, 12));
        sendMouse(dialog, QEvent::MouseButtonPress, grab, b, b);
        sendMouse(dialog, QEvent::MouseMove, grab + QPoint(10, 10), Qt::NoButton, b);
        sendMouse(dialog, QEvent::MouseMove, grab + QPoint(30, 40), Qt::NoButton, b);
        QCOMPARE(dialog->pos(), start + moved);
        sendMouse(dialog, QEvent::MouseButtonRelease, grab + QPoint(30, 40), b, Qt::NoButton);
        // After the release, moving the mouse moves nothing.
        sendMouse(dialog, QEvent::MouseMove, grab + QPoint(90, 90), Qt::NoButton, Qt::NoButton);
        QCOMPARE(dialog->pos(), start + moved);
    }

    void moveWithoutAPressOnTheDialogMovesNothing()
    {
        m_fake->setNoReply(Method);
        auto *dialog = new KeywordSensitiveDetailExWidget(m_service.get(), QStringLiteral("/"), QStringLiteral("/a"));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QPoint start = dialog->pos();
        sendMouse(dialog, QEvent::MouseMove, dialog->mapToGlobal(QPoint(50, 50)), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(dialog->pos(), start);
    }
};

QTEST_MAIN(TestKeywordSensitiveDetail)
#include "tst_keywordsensitivedetail.moc"
