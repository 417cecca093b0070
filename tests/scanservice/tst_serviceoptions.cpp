// The scan service's command line: accepted values, refusals with their exit
// status, and the defaults.

#include "serviceoptions.h"

#include <QTest>

class TestServiceOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void delays_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("countDelay");
        QTest::addColumn<int>("fileDelay");
        QTest::addColumn<QString>("message"); // the start of the refusal

        QTest::newRow("defaults") << QStringList{} << true << 0 << 0 << QString();
        QTest::newRow("both") << QStringList{"--count-delay", "1500", "--file-delay", "2"} << true << 1500 << 2 << QString();
        QTest::newRow("ten minutes") << QStringList{"--file-delay", "600000"} << true << 0 << 600000 << QString();
        QTest::newRow("count delay not a number") << QStringList{"--count-delay", "soon"} << false << 0 << 0
                                                  << "--count-delay needs milliseconds";
        QTest::newRow("file delay negative") << QStringList{"--file-delay", "-1"} << false << 0 << 0
                                             << "--file-delay needs milliseconds";
        QTest::newRow("file delay too long") << QStringList{"--file-delay", "600001"} << false << 0 << 0
                                             << "--file-delay needs milliseconds";
        QTest::newRow("file delay without value") << QStringList{"--file-delay"} << false << 0 << 0 << QString();
    }

    void delays()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, accepted);
        QFETCH(int, countDelay);
        QFETCH(int, fileDelay);
        QFETCH(QString, message);

        ServiceOptions options;
        QString said;
        int exitCode = -1;
        QCOMPARE(options.parse(QStringList{"tavex-control-discovery-service"} + arguments, &said, &exitCode), accepted);
        if (accepted) {
            QCOMPARE(options.countDelayMs(), countDelay);
            QCOMPARE(options.fileDelayMs(), fileDelay);
        } else {
            QCOMPARE(exitCode, 64);
            QVERIFY2(said.startsWith(message), qPrintable(said));
            QVERIFY(!said.isEmpty());
        }
    }

    void history_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("keepDays");
        QTest::addColumn<QString>("findingsLog");

        QTest::newRow("defaults") << QStringList{} << true << 90 << "auto";
        QTest::newRow("keep every run") << QStringList{"--keep-runs-days", "0"} << true << 0 << "auto";
        QTest::newRow("records off") << QStringList{"--findings-log", "off"} << true << 90 << "off";
        QTest::newRow("negative age") << QStringList{"--keep-runs-days", "-1"} << false << 0 << QString();
        QTest::newRow("age not a number") << QStringList{"--keep-runs-days", "3 months"} << false << 0 << QString();
        QTest::newRow("unknown destination") << QStringList{"--findings-log", "kafka"} << false << 0 << QString();
    }
    // The age of kept runs and where records of findings go.
    void history()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, accepted);
        QFETCH(int, keepDays);
        QFETCH(QString, findingsLog);

        ServiceOptions options;
        QString said;
        int exitCode = -1;
        QCOMPARE(options.parse(QStringList{"tavex-control-discovery-service"} + arguments, &said, &exitCode), accepted);
        if (accepted) {
            QCOMPARE(options.keepRunsDays(), keepDays);
            QCOMPARE(options.findingsLog(), findingsLog);
        } else {
            QCOMPARE(exitCode, 64);
            QVERIFY2(said.startsWith(arguments.first()), qPrintable(said));
        }
    }
};

QTEST_GUILESS_MAIN(TestServiceOptions)
#include "tst_serviceoptions.moc"
