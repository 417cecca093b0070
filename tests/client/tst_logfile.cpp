#include "logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <sys/time.h>

class TestLogFile : public QObject
{
    Q_OBJECT

private:
    static QStringList readLines(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    static void setMtime(const QString &path, qint64 secondsSinceEpoch)
    {
        struct timeval times[2];
        times[0].tv_sec = times[1].tv_sec = secondsSinceEpoch;
        times[0].tv_usec = times[1].tv_usec = 0;
        QVERIFY(utimes(QFile::encodeName(path).constData(), times) == 0);
    }
    static void fill(const QString &path, qint64 size)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(file.resize(size));
    }

private Q_SLOTS:
    void cleanup() { LogFile::setCurrent(nullptr); qInstallMessageHandler(nullptr); }

    void debugWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/client.log"));
        LogFile log(path);
        LogFile::setCurrent(&log);
        qInstallMessageHandler(logMessageHandler);
        qDebug() << "nothing to see";
        qInstallMessageHandler(nullptr);
        // Not even the directory is created.
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("sub"))));
    }

    void debugDoesNotRotate()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("client.log"));
        fill(path, 200);
        LogFile log(path, 100);
        log.write(QtDebugMsg, QMessageLogContext(), QStringLiteral("x"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("client.log")});
        QCOMPARE(QFileInfo(path).size(), 200);
    }

    void levelWords_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("word");
        QTest::newRow("warning") << int(QtWarningMsg) << "WARN";
        QTest::newRow("critical") << int(QtCriticalMsg) << "ERROR";
        QTest::newRow("fatal") << int(QtFatalMsg) << "FATAL";
        QTest::newRow("info") << int(QtInfoMsg) << "INFO";
        QTest::newRow("unknown value") << 17 << "UNKNOWN";
    }
    void levelWords()
    {
        QFETCH(int, type);
        QFETCH(QString, word);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("client.log"));
        LogFile log(path);
        log.write(QtMsgType(type), QMessageLogContext(), QStringLiteral("hello 世界"));
        const QStringList lines = readLines(path);
        QCOMPARE(lines.size(), 1);
        const QRegularExpression re(QStringLiteral("^\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] \\[%1\\] hello 世界 \\(unknown:0\\)$").arg(word));
        QVERIFY2(re.match(lines.first()).hasMatch(), qPrintable(lines.first()));
    }

    void lineFormat_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no file") << QByteArray() << 0 << "[2026-12-06 20:38:13] [WARN] a %2 b (unknown:0)";
        QTest::newRow("file and line") << QByteArray("scan.cpp") << 42 << "[2026-12-06 20:38:13] [WARN] a %2 b (scan.cpp:42)";
    }
    void lineFormat()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        QFETCH(QString, expected);
        const QMessageLogContext context(file.isNull() ? nullptr : file.constData(), line, nullptr, "default");
        const QDateTime time(QDate(2026, 12, 6), QTime(20, 38, 13));
        // A message holding a placeholder is written as it stands.
        QCOMPARE(LogFile::formatLine(QtWarningMsg, context, QStringLiteral("a %2 b"), time), expected);
    }

    void rotationThreshold_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("rotated");
        QTest::newRow("exactly the threshold") << qint64(10485760) << false;
        QTest::newRow("one byte more") << qint64(10485761) << true;
    }
    void rotationThreshold()
    {
        QFETCH(qint64, size);
        QFETCH(bool, rotated);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("client.log"));
        fill(path, size);
        LogFile log(path);
        QCOMPARE(log.threshold(), qint64(10485760));
        const QDateTime before = QDateTime::currentDateTime();
        log.write(QtWarningMsg, QMessageLogContext(), QStringLiteral("next"));
        const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        if (!rotated) {
            QCOMPARE(files, QStringList{QStringLiteral("client.log")});
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.seek(size));
            const QByteArray appended = file.readAll();
            QVERIFY2(appended.endsWith(" [WARN] next (unknown:0)\n"), appended.constData());
            QCOMPARE(appended.count('\n'), 1);
            return;
        }
        QCOMPARE(files.size(), 2);
        QCOMPARE(files.at(0), QStringLiteral("client.log"));
        const QString stamp = files.at(1).mid(QStringLiteral("client.log.").size());
        const QDateTime when = QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd_hh:mm:ss"));
        QVERIFY2(when.isValid(), qPrintable(files.at(1)));
        QVERIFY(when >= before.addSecs(-1) && when <= QDateTime::currentDateTime().addSecs(1));
        QCOMPARE(QFileInfo(dir.filePath(files.at(1))).size(), size);
        QCOMPARE(readLines(path).size(), 1);
    }

    void retention()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("client.log"));
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        // 34 rotated files, oldest first, plus the live one: 35 match.
        for (int i = 0; i < 34; ++i) {
            const QString name = path + QStringLiteral(".old%1").arg(i, 2, 10, QLatin1Char('0'));
            fill(name, 10);
            setMtime(name, now - 10000 + i * 10);
        }
        fill(path, 10);
        setMtime(path, now);
        fill(dir.filePath(QStringLiteral("other.log")), 10); // does not match
        setMtime(dir.filePath(QStringLiteral("other.log")), now - 99999);

        LogFile log(path);
        log.write(QtInfoMsg, QMessageLogContext(), QStringLiteral("x"));

        QStringList kept = QDir(dir.path()).entryList({QStringLiteral("client.log*")}, QDir::Files, QDir::Name);
        QCOMPARE(kept.size(), 30);
        for (int i = 0; i < 5; ++i)
            QVERIFY(!kept.contains(QStringLiteral("client.log.old%1").arg(i, 2, 10, QLatin1Char('0'))));
        QVERIFY(kept.contains(QStringLiteral("client.log.old05")));
        QVERIFY(kept.contains(QStringLiteral("client.log")));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("other.log"))));
    }

    void missingDirectoryIsCreated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a/b/c/client.log"));
        LogFile log(path);
        log.write(QtCriticalMsg, QMessageLogContext(), QStringLiteral("made"));
        QCOMPARE(readLines(path).size(), 1);
        QVERIFY(readLines(path).first().contains(QStringLiteral("[ERROR] made")));
    }

    void unwritableTargetsLoseSilently_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory cannot be created") << "file-as-dir";
        QTest::newRow("log path is a directory") << "dir-as-file";
        QTest::newRow("disk full") << "dev-full";
    }
    void unwritableTargetsLoseSilently()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path;
        if (kind == QLatin1String("file-as-dir")) {
            fill(dir.filePath(QStringLiteral("blocker")), 1);
            path = dir.filePath(QStringLiteral("blocker/sub/client.log"));
        } else if (kind == QLatin1String("dir-as-file")) {
            path = dir.filePath(QStringLiteral("client.log"));
            QVERIFY(QDir().mkpath(path));
        } else {
            path = dir.filePath(QStringLiteral("client.log"));
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
        }
        LogFile log(path);
        LogFile::setCurrent(&log);
        qInstallMessageHandler(logMessageHandler);
        qWarning() << "lost";
        qInfo() << "lost too";
        qInstallMessageHandler(nullptr);
        QVERIFY(!QFileInfo(dir.filePath(QStringLiteral("blocker/sub"))).exists());
        if (kind == QLatin1String("dir-as-file"))
            QVERIFY(QFileInfo(path).isDir());
    }

    void concurrentLinesStayWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("client.log"));
        // A small threshold makes rotation run while the threads write.
        LogFile log(path, 64 * 1024, 1000);
        LogFile::setCurrent(&log);
        qInstallMessageHandler(logMessageHandler);
        constexpr int Threads = 8;
        constexpr int Lines = 400;
        QList<QThread *> threads;
        for (int t = 0; t < Threads; ++t) {
            threads << QThread::create([t] {
                const QString payload(120, QLatin1Char('a' + t));
                for (int i = 0; i < Lines; ++i)
                    qWarning().noquote() << QStringLiteral("T%1 N%2 %3").arg(t).arg(i).arg(payload);
            });
            threads.last()->start();
        }
        for (QThread *thread : threads) {
            QVERIFY(thread->wait(60000));
            delete thread;
        }
        qInstallMessageHandler(nullptr);

        QStringList all;
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        for (const QString &name : files)
            all += readLines(dir.filePath(name));
        QCOMPARE(all.size(), Threads * Lines);
        const QRegularExpression re(QStringLiteral("^\\[[^]]+\\] \\[WARN\\] T(\\d) N(\\d+) ([a-h])\\3{119} \\(unknown:0\\)$"));
        QSet<QString> seen;
        for (const QString &line : qAsConst(all)) {
            const auto match = re.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line.left(200)));
            QCOMPARE(match.captured(3).at(0).toLatin1(), char('a' + match.captured(1).toInt()));
            seen.insert(match.captured(1) + QLatin1Char('/') + match.captured(2));
        }
        QCOMPARE(seen.size(), Threads * Lines);
    }

    // Nothing but the entry point chooses the product's log: a program (or
    // test) that only installs the handler writes no file at all, not even
    // one relative to its working directory.
    void unchosenFileWritesNowhere()
    {
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        qInstallMessageHandler(logMessageHandler);
        qWarning("a line for no file");
        qInstallMessageHandler(nullptr);
        QVERIFY(QDir::setCurrent(before));
        QVERIFY(LogFile::current()->path().isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(LogFile::product()->retention(), 30);
        QVERIFY(QFileInfo(LogFile::product()->path()).isAbsolute());
    }
};

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
