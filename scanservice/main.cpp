#include "findingslog.h"
#include "findingsstore.h"
#include "idlemonitor.h"
#include "privacymatcher.h"
#include "privacyrules.h"
#include "runhistory.h"
#include "runreportsadaptor.h"
#include "runretention.h"
#include "scanservice.h"
#include "scantask.h"
#include "serviceoptions.h"
#include "workerprocess.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QDBusConnection>
#include <QSocketNotifier>
#include <QTextStream>
#include <QtDebug>

#include <clocale>
#include <csignal>
#include <langinfo.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(signalPipe[1], &byte, 1);
}
} // namespace

int main(int argc, char *argv[])
{
    // An extraction worker, started by the service itself: no bus, no event loop.
    if (argc == 3 && std::strcmp(argv[1], "--extraction-worker") == 0)
        return WorkerProcess::serve(std::atoi(argv[2]));

    ::umask(077);
    // Descriptors up to the hard limit (systemd's soft limit is 1024): every
    // task's threads and workers hold files open at once.
    struct rlimit files;
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }
    QCoreApplication app(argc, argv);
    // Names inside archives are converted to the locale's character set: make it UTF-8
    // (under systemd the service may start without a locale).
    if (std::strcmp(::nl_langinfo(CODESET), "UTF-8") != 0)
        ::setlocale(LC_CTYPE, "C.UTF-8");
    app.setApplicationName(QStringLiteral("tavex-control-discovery-service"));
    qSetMessagePattern(QStringLiteral("[%{if-debug}DEBUG%{endif}%{if-info}INFO%{endif}%{if-warning}WARN%{endif}"
                                      "%{if-critical}ERROR%{endif}%{if-fatal}FATAL%{endif}] %{message}"));

    ServiceOptions options;
    QString message;
    int exitCode = 0;
    if (!options.parse(app.arguments(), &message, &exitCode)) {
        QTextStream(exitCode == 0 ? stdout : stderr) << message;
        return exitCode;
    }

    // The service's parts end (tasks terminated, findings flushed) at the end
    // of this block; a task thread still compiling its keywords, which cannot
    // be interrupted, is not waited for: the process then ends at once.
    int result = 0;
    {
        FindingsLog::Destination destination = FindingsLog::Destination::Off;
        FindingsLog::parseDestination(options.findingsLog(), &destination);
        FindingsLog log(destination, options.syslogSocket());
        FindingsStore store(options.findingsDatabase());
        store.setFindingsLog(&log);
        QString error;
        if (!store.open(&error)) {
            QTextStream(stderr) << "tavex-control-discovery-service: " << error << '\n';
            return 1;
        }

        PrivacyRuleTable rules;
        if (!rules.load(options.privacyRules(), &error)) {
            QTextStream(stderr) << "tavex-control-discovery-service: privacy rules: " << error << '\n';
            return 3;
        }
        std::shared_ptr<const PrivacyMatcher> privacy = PrivacyMatcher::compile(rules, &error);
        if (!privacy) {
            QTextStream(stderr) << "tavex-control-discovery-service: privacy rules: " << error << '\n';
            return 3;
        }

        RunHistory history(options.findingsDatabase());
        if (!history.open(&error)) {
            QTextStream(stderr) << "tavex-control-discovery-service: " << error << '\n';
            return 1;
        }

        ScanService service(&store, privacy);
        // The rule table's version in a run's history: the start of its digest.
        QFile table(options.privacyRules());
        if (table.open(QIODevice::ReadOnly))
            service.setRuleTableVersion(QString::fromLatin1(QCryptographicHash::hash(table.readAll(), QCryptographicHash::Sha256).toHex().left(16)));
        new RunReportsAdaptor(&service, service.busContext(), &store, &history);
        RunRetention retention(&store, options.keepRunsDays());
        retention.start();
        service.setCountDelay(options.countDelayMs());
        service.setFileDelay(options.fileDelayMs());
        service.setCompileDelay(options.compileDelayMs());
        service.setIdleMonitor(std::make_shared<IdleMonitor>(options.fakeIdleFile()));
        // The workers run this very program, even when its file has been replaced since it started.
        service.setExtraction(QStringLiteral("/proc/self/exe"), options.workerMemoryBytes(), options.secondsPerFile());
        if (!service.registerOn(QDBusConnection::systemBus(), &error)) {
            QTextStream(stderr) << "tavex-control-discovery-service: " << error << '\n';
            return 2;
        }

        // SIGTERM and SIGINT end the event loop; running tasks are then terminated.
        if (::pipe(signalPipe) == 0) {
            auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
            QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
            struct sigaction action = {};
            action.sa_handler = onSignal;
            ::sigaction(SIGTERM, &action, nullptr);
            ::sigaction(SIGINT, &action, nullptr);
        }
        qInfo().noquote() << "Scan service ready; findings in" << store.path();
        result = app.exec();
        qInfo().noquote() << "Scan service stopping";
    }
    if (ScanTask::threadsLeftRunning()) {
        std::fflush(nullptr);
        ::_exit(result);
    }
    return result;
}
