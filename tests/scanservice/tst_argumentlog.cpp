// Arguments of refused calls reach the log cut to a bounded length: a
// caller cannot make the service write megabytes into the journal.
#include "findingsstore.h"
#include "logcapture.h"
#include "scanlimits.h"
#include "scanservice.h"

#include <QTemporaryDir>
#include <QTest>

class TestArgumentLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedArgumentsLoggedCut_data()
    {
        QTest::addColumn<QString>("pathlist");
        QTest::addColumn<QString>("begintime");
        QTest::addColumn<QString>("endtime");
        const QString huge(10 << 20, QLatin1Char('a'));
        const QString tmp = QDir::tempPath();
        QTest::newRow("relative entry") << huge << QString() << QString();
        QTest::newRow("missing entry after a good one") << tmp + "|/" + huge << QString() << QString();
        QTest::newRow("too many entries") << QString("/x|").repeated(5000) + huge << QString() << QString();
        QTest::newRow("begin time") << tmp << huge << QString();
        QTest::newRow("end time") << tmp << QString() << huge;
    }
    void refusedArgumentsLoggedCut()
    {
        QFETCH(QString, pathlist);
        QFETCH(QString, begintime);
        QFETCH(QString, endtime);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        FindingsStore store(dir.path() + "/findings.db");
        QString error;
        QVERIFY2(store.open(&error), qPrintable(error));
        ScanService service(&store, nullptr);
        LogCapture capture;
        QVERIFY(service.SensitiveDiscoverySetScanTask(pathlist, 1, 1, begintime, endtime, 0.75, QString()) != 0);
        const QStringList lines = LogCapture::take();
        QVERIFY(!lines.isEmpty());
        for (const QString &line : lines) {
            // The message and at most a few cut arguments.
            QVERIFY2(line.size() <= 4 * Limits::MaxLoggedArgumentChars + 200,
                     qPrintable(QStringLiteral("a log line of %1 characters").arg(line.size())));
        }
    }
};

QTEST_GUILESS_MAIN(TestArgumentLog)
#include "tst_argumentlog.moc"
