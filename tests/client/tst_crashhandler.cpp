#include "crashhandler.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {
// Recurses until the stack is gone; the result keeps the frames alive.
int overflowStack(volatile int depth)
{
    volatile char frame[1024];
    frame[0] = char(depth);
    return overflowStack(depth + 1) + frame[0];
}

// Child mode: install the handler on the given log file, then fail. The
// faults are the ones under test, not ones for the sanitizer to stop.
[[noreturn]] __attribute__((no_sanitize("undefined"))) void crashChild(const char *logPath, const char *how)
{
    CrashHandler::install(QString::fromLocal8Bit(logPath));
    if (std::strcmp(how, "segv") == 0) {
        volatile int *null = nullptr;
        *null = 1;
    } else if (std::strcmp(how, "stack") == 0) {
        overflowStack(0);
    } else if (std::strcmp(how, "bus") == 0) {
        // Touching a mapped page beyond the end of a file is a bus error.
        char name[] = "/tmp/crashhandler-XXXXXX";
        const int fd = mkstemp(name);
        unlink(name);
        auto *page = static_cast<volatile char *>(mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0));
        (void)page[0];
    } else if (std::strcmp(how, "ill") == 0) {
        __builtin_trap();
    } else if (std::strcmp(how, "fpe") == 0) {
        raise(SIGFPE);
    }
    std::abort();
}

// The child's fatal signals go to the handler under test, also in a build
// with AddressSanitizer, which would otherwise take them for itself.
QProcessEnvironment crashChildEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QStringList options = environment.value(QStringLiteral("ASAN_OPTIONS")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    options << QStringLiteral("handle_segv=0") << QStringLiteral("handle_abort=0");
    environment.insert(QStringLiteral("ASAN_OPTIONS"), options.join(QLatin1Char(':')));
    return environment;
}

} // namespace

class TestCrashHandler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fatalSignalWritesReportAndExitsWithOne_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGSEGV") << "segv" << int(SIGSEGV);
        QTest::newRow("SIGABRT") << "abort" << int(SIGABRT);
        QTest::newRow("SIGBUS") << "bus" << int(SIGBUS);
        QTest::newRow("SIGILL") << "ill" << int(SIGILL);
        QTest::newRow("SIGFPE") << "fpe" << int(SIGFPE);
#ifndef __SANITIZE_ADDRESS__
        // AddressSanitizer reports a stack overflow itself.
        QTest::newRow("stack overflow") << "stack" << int(SIGSEGV);
#endif
    }
    void fatalSignalWritesReportAndExitsWithOne()
    {
        QFETCH(QString, how);
        QFETCH(int, signalNumber);
        QTemporaryDir dir;
        const QString logPath = dir.filePath(QStringLiteral("log/client.log"));

        QProcess child;
        child.setProcessEnvironment(crashChildEnvironment());
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--crash-child"), logPath, how});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);

        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 3);
        const QRegularExpression header(QStringLiteral(
            "^\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] \\[FATAL\\] Signal received: %1 \\(unknown:0\\)$")
                                            .arg(signalNumber));
        QVERIFY2(header.match(lines.first()).hasMatch(), qPrintable(lines.first()));
        // The frames follow, at most 50, and name the crashing program.
        QVERIFY(lines.size() - 1 <= 50);
        bool namesProgram = false;
        for (int i = 1; i < lines.size(); ++i)
            namesProgram |= lines.at(i).contains(QStringLiteral("tst_crashhandler"));
        QVERIFY(namesProgram);
    }

    void reportTimeIsLocalTime()
    {
        QTemporaryDir dir;
        const QString logPath = dir.filePath(QStringLiteral("client.log"));
        QProcess child;
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        child.setProcessEnvironment(crashChildEnvironment());
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--crash-child"), logPath, QStringLiteral("abort")});
        QVERIFY(child.waitForFinished(30000));
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString first = QString::fromUtf8(log.readLine());
        const QDateTime stamp = QDateTime::fromString(first.mid(1, 19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QVERIFY2(stamp.isValid(), qPrintable(first));
        QVERIFY(stamp >= before && stamp <= QDateTime::currentDateTime().addSecs(1));
    }
};

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--crash-child") == 0)
        crashChild(argv[2], argv[3]);
    QCoreApplication app(argc, argv);
    TestCrashHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashhandler.moc"
