// The line of an ended scan's page that counts the files the run did not
// read (fake scan service, private bus): the run is the newest of the page's
// path list and task type, the link lists what the service returned, and a
// path holding markup, thousands of characters or escaped bytes shows as
// the text it is.

#include "fakescanservice.h"
#include "filesnotreaddialog.h"
#include "filesnotreadlink.h"
#include "filesnotreadmodel.h"
#include "privatebus.h"
#include "runreports.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextDocument>

#include <memory>

namespace {
const QString Runs = QStringLiteral(R"([{"run": 12, "path_list": "/home/a", "task_type": "privacy"},)"
                                    R"( {"run": 11, "path_list": "/home/a", "task_type": "keyword"},)"
                                    R"( {"run": 4, "path_list": "/home/a", "task_type": "keyword"}])");

QString filesJson(const QList<QStringList> &files)
{
    QJsonArray array;
    for (const QStringList &file : files)
        array.append(QJsonObject{{QStringLiteral("file"), file.at(0)},
                                 {QStringLiteral("kind"), file.at(1)},
                                 {QStringLiteral("reason"), file.at(2)}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}
} // namespace

class TestFilesNotReadLink : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
    }
    void init()
    {
        m_fake->reset();
        m_fake->setReply(QStringLiteral("ListRuns"), {0, Runs});
    }
    void cleanupTestCase()
    {
        m_fake.reset();
        m_bus.reset();
    }

    void listsWhatTheServiceReturned()
    {
        // What a file name on disk may hold: markup, great length, bytes
        // that are not UTF-8 (escaped by the service).
        const QString markup = QStringLiteral("/home/a/<b>粗体</b><img src=x>&amp;.docx");
        const QString longPath = QStringLiteral("/home/a/") + QStringLiteral("很长的目录/").repeated(800) + QStringLiteral("x.pdf");
        const QString escaped = QStringLiteral("/home/a/\\xff\\xfe报告.txt");
        const QList<QStringList> files{
            {markup, QStringLiteral("protected by a password"), QStringLiteral("encrypted document")},
            {longPath, QStringLiteral("reader failed"), QStringLiteral("reader crashed (signal 11)")},
            {escaped, QStringLiteral("a kind of next year"), QStringLiteral("<i>why</i>")},
        };
        m_fake->setReply(QStringLiteral("GetRunFilesNotRead"), {0, filesJson(files)});

        QWidget page;
        auto *link = new FilesNotReadLink(&page);
        page.show();
        QSignalSpy counted(link, &FilesNotReadLink::filesCounted);
        link->lookUp(RunReports(QDBusConnection::systemBus()), QStringLiteral("/home/a"), QStringLiteral("keyword"));
        QTRY_COMPARE(counted.size(), 1);
        QCOMPARE(counted.first().first().toInt(), 3);
        // The newest keyword run of the path list.
        const QList<FakeScanService::Call> calls = m_fake->calls(QStringLiteral("GetRunFilesNotRead"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().arguments.at(0).toLongLong(), 11LL);
        QVERIFY(link->isVisible());
        QTextDocument shown;
        shown.setHtml(link->text());
        QVERIFY2(shown.toPlainText().startsWith(QLatin1Char('3')), qPrintable(shown.toPlainText()));

        Q_EMIT link->linkActivated(QStringLiteral("#files-not-read"));
        FilesNotReadDialog *dialog = link->dialog();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->view()->model(), dialog->model());
        const FilesNotReadModel *model = dialog->model();
        QCOMPARE(model->rowCount(), files.size());
        for (int row = 0; row < files.size(); ++row) {
            const QModelIndex file = model->index(row, FilesNotReadModel::FileColumn);
            QCOMPARE(file.data().toString(), files.at(row).at(0));
            QCOMPARE(model->index(row, FilesNotReadModel::ReasonColumn).data().toString(), files.at(row).at(2));
            // The tool tip is shown as rich text: it must read as the path.
            QTextDocument tip;
            tip.setHtml(file.data(Qt::ToolTipRole).toString());
            QCOMPARE(tip.toPlainText(), files.at(row).at(0));
        }
        // Known kinds in the user's words, an unknown one as it came.
        QCOMPARE(model->index(0, FilesNotReadModel::KindColumn).data().toString(),
                 FilesNotReadModel::kindText(QStringLiteral("protected by a password")));
        QVERIFY(model->index(0, FilesNotReadModel::KindColumn).data().toString() != files.at(0).at(1));
        QCOMPARE(model->index(2, FilesNotReadModel::KindColumn).data().toString(), files.at(2).at(1));
        dialog->close();
    }

    void nothingToSay_data()
    {
        QTest::addColumn<QString>("taskType");
        QTest::addColumn<QVariantList>("reply");
        QTest::newRow("every file read") << "keyword" << QVariantList{0, QStringLiteral("[]")};
        QTest::newRow("run not in the history") << "other" << QVariantList{0, QStringLiteral("[]")};
        QTest::newRow("unknown run") << "keyword" << QVariantList{19, QString()};
        QTest::newRow("not JSON") << "keyword" << QVariantList{0, QStringLiteral("[{\"file\"")};
    }
    void nothingToSay()
    {
        QFETCH(QString, taskType);
        QFETCH(QVariantList, reply);
        m_fake->setReply(QStringLiteral("GetRunFilesNotRead"), reply);
        QWidget page;
        auto *link = new FilesNotReadLink(&page);
        page.show();
        QSignalSpy counted(link, &FilesNotReadLink::filesCounted);
        link->lookUp(RunReports(QDBusConnection::systemBus()), QStringLiteral("/home/a"), taskType);
        QTRY_COMPARE(counted.size(), 1);
        QCOMPARE(counted.first().first().toInt(), 0);
        QVERIFY(!link->isVisible());
    }

    // A page left before the service answered must not show the old run's count.
    void answerAfterClearIsDropped()
    {
        m_fake->setReply(QStringLiteral("GetRunFilesNotRead"),
                         {0, filesJson({{QStringLiteral("/home/a/x"), QStringLiteral("unreadable"), QString()}})});
        QWidget page;
        auto *link = new FilesNotReadLink(&page);
        page.show();
        QSignalSpy counted(link, &FilesNotReadLink::filesCounted);
        link->lookUp(RunReports(QDBusConnection::systemBus()), QStringLiteral("/home/a"), QStringLiteral("keyword"));
        link->clear();
        // The first look-up's answers come first, and go nowhere.
        link->lookUp(RunReports(QDBusConnection::systemBus()), QStringLiteral("/home/a"), QStringLiteral("privacy"));
        QTRY_COMPARE(counted.size(), 1);
        const QList<FakeScanService::Call> calls = m_fake->calls(QStringLiteral("GetRunFilesNotRead"));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().arguments.at(0).toLongLong(), 12LL);
    }
};

QTEST_MAIN(TestFilesNotReadLink)
#include "tst_filesnotreadlink.moc"
