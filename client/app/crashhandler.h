#ifndef CRASHHANDLER_H
#define CRASHHANDLER_H

class QString;

// Fatal-signal handling. install() remembers the log file the crash report
// goes to and installs onFatalSignal for SIGSEGV, then SIGABRT, then SIGBUS,
// SIGFPE and SIGILL, on an alternate signal stack of the installing thread.
namespace CrashHandler {
void install(const QString &logPath);
}

// Writes "Signal received: <n>" and up to 50 stack frames straight into the
// log file with async-signal-safe calls only, then ends the process with
// status 1. Does not return.
[[noreturn]] void onFatalSignal(int signalNumber);

#endif // CRASHHANDLER_H
