// The keyword result row: its count, its tooltip of word counts, its plain
// path, and "查看详情" opening a detail dialog per click through the
// scan service proxy (fake scan service, private bus).

#include "fakescanservice.h"
#include "keywordsensitivedetailexwidget.h"
#include "keywordsensitiveframe.h"
#include "privatebus.h"
#include "sensitivescaninterface.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include <memory>

namespace {

const QString Method = QStringLiteral("SensitiveDiscoveryGetKeywordDetectedDetail");

QLabel *label(QWidget *row, const char *name)
{
    return row->findChild<QLabel *>(QLatin1String(name));
}

// The tooltip as the user reads it: the tooltip label decides between
// plain and rich text as every label with automatic text format does.
QString shownToolTip()
{
    const QString text = QToolTip::text();
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText().replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
}

bool hover(QWidget *widget)
{
    QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    return QApplication::sendEvent(widget, &event);
}

QList<KeywordSensitiveDetailExWidget *> openDialogs()
{
    QList<KeywordSensitiveDetailExWidget *> result;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<KeywordSensitiveDetailExWidget *>(w))
            result << dialog;
    return result;
}

} // namespace

class TestKeywordSensitiveFrame : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<SensitiveScanInterface> m_service;

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
    }
    void init()
    {
        m_fake->reset();
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
    }
    void cleanup()
    {
        for (KeywordSensitiveDetailExWidget *dialog : openDialogs())
            delete dialog;
    }
    void cleanupTestCase()
    {
        m_service.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void countsAndToolTip_data()
    {
        QTest::addColumn<QVariantMap>("sensitives");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("toolTip");

        QTest::newRow("empty map") << QVariantMap{} << "0" << "";
        QTest::newRow("two words, map order")
            << QVariantMap{{"机密", 2}, {"confidential", 3}} << "5" << "confidential：3次\n机密：2次";
        QTest::newRow("not a number counts 0")
            << QVariantMap{{"a", QStringLiteral("many")}, {"b", 4}} << "4" << "a：0次\nb：4次";
        QTest::newRow("numeric text converts") << QVariantMap{{"a", QStringLiteral("7")}} << "7" << "a：7次";
        QTest::newRow("unsigned and 64-bit values")
            << QVariantMap{{"a", QVariant(quint32(2))}, {"b", QVariant(qint64(3))}} << "5" << "a：2次\nb：3次";
        QTest::newRow("markup in words stays text")
            << QVariantMap{{"<img src=x>", 1}, {"a&amp;b", 2}, {"<b>x</b>", 3}} << "6"
            << "<b>x</b>：3次\n<img src=x>：1次\na&amp;b：2次";
        QTest::newRow("blanks in a word kept") << QVariantMap{{"a  b", 1}} << "1" << QString("a  b：1次");
    }
    void countsAndToolTip()
    {
        QFETCH(QVariantMap, sensitives);
        QFETCH(QString, count);
        QFETCH(QString, toolTip);

        KeywordSensitiveFrame row(m_service.get(), QStringLiteral("/home/a"), QStringLiteral("/home/a/x.txt"),
                                  sensitives);
        row.show();
        QCOMPARE(label(&row, "m_SensitiveCountLabel")->text(), count);
        QCOMPARE(row.sensitiveCount(), count.toInt());

        for (const char *hovered : {"m_SensitiveCountLabel", "m_SensitiveCountDescLabel"}) {
            QToolTip::hideText();
            QTRY_VERIFY(!QToolTip::isVisible());
            QVERIFY(hover(label(&row, hovered)));
            if (toolTip.isEmpty()) {
                QVERIFY(!QToolTip::isVisible());
                continue;
            }
            QVERIFY(QToolTip::isVisible());
            QCOMPARE(shownToolTip().replace(QChar(0xa0), QLatin1Char(' ')), toolTip);
        }
    }

    // A file may hold thousands of different keywords: the tooltip lists
    // the first ones and sums up the rest in one line.
    void toolTipIsBounded_data()
    {
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("as many as are listed") << 20 << 20 << "w00019：1次";
        QTest::newRow("one more") << 21 << 21 << "…以及另外 1 个关键词";
        QTest::newRow("ten thousand") << 10000 << 21 << "…以及另外 9980 个关键词";
    }
    void toolTipIsBounded()
    {
        QFETCH(int, words);
        QFETCH(int, lines);
        QFETCH(QString, lastLine);
        QVariantMap sensitives;
        for (int i = 0; i < words; ++i)
            sensitives.insert(QStringLiteral("w%1").arg(i, 5, 10, QLatin1Char('0')), 1);
        QCOMPARE(sensitives.size(), words);
        KeywordSensitiveFrame row(m_service.get(), QStringLiteral("/"), QStringLiteral("/x"), sensitives);
        row.show();
        QVERIFY(hover(label(&row, "m_SensitiveCountLabel")));
        QVERIFY(QToolTip::isVisible());
        const QStringList shown = shownToolTip().replace(QChar(0xa0), QLatin1Char(' ')).split(QLatin1Char('\n'));
        QCOMPARE(shown.size(), lines);
        QCOMPARE(shown.last(), lastLine);
    }

    void sensitiveCountReadsTheLabel_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("expected");
        QTest::newRow("number") << "12" << 12;
        QTest::newRow("not a number") << "12 次" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("too large") << "99999999999" << 0;
    }
    void sensitiveCountReadsTheLabel()
    {
        QFETCH(QString, shown);
        QFETCH(int, expected);
        KeywordSensitiveFrame row(m_service.get(), QStringLiteral("/"), QStringLiteral("/x"), {{"a", 5}});
        label(&row, "m_SensitiveCountLabel")->setText(shown);
        QCOMPARE(row.sensitiveCount(), expected);
    }

    void pathShownAsPlainText()
    {
        const QString path = QStringLiteral("/home/a/<b>报告</b> & <img src=x>.txt");
        KeywordSensitiveFrame row(m_service.get(), QStringLiteral("/home/a"), path, {});
        QLabel *shown = label(&row, "m_SensitiveFilepathLabel");
        QCOMPARE(shown->text(), path);
        QCOMPARE(shown->textFormat(), Qt::PlainText);
        QCOMPARE(row.height(), 48);
    }

    void aSecondClickRaisesTheOpenDialog()
    {
        m_fake->setNoReply(Method);
        const QString pathlist = QStringLiteral("/home/a|/srv/b");
        const QString path = QStringLiteral("/srv/b/报告 1.txt");
        KeywordSensitiveFrame row(m_service.get(), pathlist, path, {{"k", 1}});
        row.show();
        auto *button = row.findChild<QPushButton *>(QStringLiteral("m_LookSensitiveDetailButton"));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("查看详情"));
        QCOMPARE(button->property("filepath").toString(), path);

        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        const QList<KeywordSensitiveDetailExWidget *> dialogs = openDialogs();
        QCOMPARE(dialogs.size(), 1);
        for (KeywordSensitiveDetailExWidget *dialog : dialogs) {
            QVERIFY(dialog->isVisible());
            QVERIFY(!dialog->parent());
            QVERIFY(!dialog->isModal());
        }
        QTRY_COMPARE(m_fake->calls(Method).size(), 1);
        // Once closed, a click opens the file's dialog anew.
        QPointer<KeywordSensitiveDetailExWidget> first(dialogs.first());
        first->close();
        QTRY_VERIFY(first.isNull());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(openDialogs().size(), 1);
        QTRY_COMPARE(m_fake->calls(Method).size(), 2);
        for (const FakeScanService::Call &call : m_fake->calls(Method))
            QCOMPARE(call.arguments, (QVariantList{pathlist, 1, path}));
    }

    void clickWithoutAButtonSenderOpensNothing()
    {
        KeywordSensitiveFrame row(m_service.get(), QStringLiteral("/"), QStringLiteral("/x"), {});
        // Invoked directly, the slot has no button as sender.
        QVERIFY(QMetaObject::invokeMethod(&row, "on_m_LookSensitiveDetailButton_clicked"));
        QVERIFY(openDialogs().isEmpty());
    }
};

QTEST_MAIN(TestKeywordSensitiveFrame)
#include "tst_keywordsensitiveframe.moc"
