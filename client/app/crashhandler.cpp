#include "crashhandler.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

constexpr int MaxFrames = 50;

// Filled by install(); read in signal context only.
char g_logPath[4096] = {0};
long g_utcOffsetSeconds = 0;

// The handler runs on a stack of its own, so that a stack overflow (a
// SIGSEGV on the exhausted stack) is still reported.
alignas(16) char g_alternateStack[64 * 1024];

void installHandler(int signalNumber)
{
    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK;
    sigaction(signalNumber, &action, nullptr);
}

// Appends text to buf (bounded); returns the new length.
size_t appendText(char *buf, size_t len, size_t cap, const char *text)
{
    while (*text && len + 1 < cap)
        buf[len++] = *text++;
    buf[len] = '\0';
    return len;
}

size_t appendNumber(char *buf, size_t len, size_t cap, long value, int width)
{
    char digits[24];
    int n = 0;
    bool negative = value < 0;
    unsigned long v = negative ? static_cast<unsigned long>(-value) : static_cast<unsigned long>(value);
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v && n < 20);
    while (n < width && n < 20)
        digits[n++] = '0';
    if (negative && len + 1 < cap)
        buf[len++] = '-';
    while (n > 0 && len + 1 < cap)
        buf[len++] = digits[--n];
    buf[len] = '\0';
    return len;
}

// Civil date from days since 1970-01-01 (proleptic Gregorian), without
// touching the time zone database: safe in signal context.
void civilFromDays(long days, long *year, int *month, int *day)
{
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long doe = days - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    *day = int(doy - (153 * mp + 2) / 5 + 1);
    *month = int(mp < 10 ? mp + 3 : mp - 9);
    *year = yoe + era * 400 + (*month <= 2 ? 1 : 0);
}

size_t appendLocalTime(char *buf, size_t len, size_t cap)
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const long local = long(now.tv_sec) + g_utcOffsetSeconds;
    long days = local / 86400;
    long secs = local % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    long year;
    int month, day;
    civilFromDays(days, &year, &month, &day);
    len = appendNumber(buf, len, cap, year, 4);
    len = appendText(buf, len, cap, "-");
    len = appendNumber(buf, len, cap, month, 2);
    len = appendText(buf, len, cap, "-");
    len = appendNumber(buf, len, cap, day, 2);
    len = appendText(buf, len, cap, " ");
    len = appendNumber(buf, len, cap, secs / 3600, 2);
    len = appendText(buf, len, cap, ":");
    len = appendNumber(buf, len, cap, (secs / 60) % 60, 2);
    len = appendText(buf, len, cap, ":");
    len = appendNumber(buf, len, cap, secs % 60, 2);
    return len;
}

void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0)
            return;
        data += n;
        size -= size_t(n);
    }
}

} // namespace

namespace CrashHandler {

void install(const QString &logPath)
{
    const QByteArray path = QFile::encodeName(logPath);
    const size_t n = qMin(size_t(path.size()), sizeof(g_logPath) - 1);
    std::memcpy(g_logPath, path.constData(), n);
    g_logPath[n] = '\0';
    QDir().mkpath(QFileInfo(logPath).absolutePath());

    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    g_utcOffsetSeconds = local.tm_gmtoff;

    // backtrace() loads its unwinder on first use, which may allocate: do it
    // now rather than in signal context.
    void *frames[2];
    backtrace(frames, 2);

    stack_t stack;
    std::memset(&stack, 0, sizeof(stack));
    stack.ss_sp = g_alternateStack;
    stack.ss_size = sizeof(g_alternateStack);
    sigaltstack(&stack, nullptr);

    // SIGSEGV, then SIGABRT; the other faults a program can die of
    // (a bad mapping, arithmetic, an illegal instruction) are reported alike.
    for (int signalNumber : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        installHandler(signalNumber);
}

} // namespace CrashHandler

void onFatalSignal(int signalNumber)
{
    void *frames[MaxFrames];
    const int depth = backtrace(frames, MaxFrames);

    const int fd = g_logPath[0] ? ::open(g_logPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644) : -1;
    if (fd >= 0) {
        char line[256];
        size_t len = appendText(line, 0, sizeof(line), "[");
        len = appendLocalTime(line, len, sizeof(line));
        len = appendText(line, len, sizeof(line), "] [FATAL] Signal received: ");
        len = appendNumber(line, len, sizeof(line), signalNumber, 1);
        len = appendText(line, len, sizeof(line), " (unknown:0)\n");
        writeAll(fd, line, len);
        backtrace_symbols_fd(frames, depth, fd);
        ::close(fd);
    }
    _exit(1);
}
