#include "workerprocess.h"

#include "scanlimits.h"

#include <QFile>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>
#include <csignal>
#include <grp.h>
#include <cstring>
#include <clocale>
#include <fcntl.h>
#include <langinfo.h>
#include <new>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// AddressSanitizer (gcc says so with __SANITIZE_ADDRESS__, clang with
// __has_feature) reserves terabytes of address space for its shadow memory,
// so a worker under an address-space limit could not even start. There the
// limit is given to the sanitizer's allocator instead.
#if defined(__SANITIZE_ADDRESS__)
#define DISCOVERY_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DISCOVERY_ASAN 1
#endif
#endif

extern char **environ;

namespace {

enum : char { Request = 'R', Text = 'T', Part = 'P', Labelled = 'L', Done = 'D' };

// The user (and group) "nobody" of Debian, which a root service's workers run as.
constexpr uid_t WorkerUser = 65534;

QMutex registryMutex;
QSet<pid_t> &registry()
{
    static QSet<pid_t> pids;
    return pids;
}

// The places for workers of all tasks together, and the workers that are
// between two files (whose places another thread may take).
std::mutex placeMutex;
std::condition_variable placeFreed;
int workersLive = 0;
std::vector<WorkerProcess *> idleWorkers;

void freePlace()
{
    {
        std::lock_guard<std::mutex> lock(placeMutex);
        --workersLive;
    }
    placeFreed.notify_one();
}

bool writeAll(int fd, const char *data, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = ::send(fd, data, length, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

bool readAll(int fd, char *data, std::size_t length)
{
    while (length > 0) {
        const ssize_t got = ::read(fd, data, length);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        length -= static_cast<std::size_t>(got);
    }
    return true;
}

QByteArray message(char type, const QByteArray &payload)
{
    QByteArray bytes(5, Qt::Uninitialized);
    bytes[0] = type;
    qToLittleEndian<quint32>(static_cast<quint32>(payload.size()), bytes.data() + 1);
    return bytes + payload;
}

// The worker's sink: text goes back over the socket in messages of up to 64 KiB.
class SocketSink : public TextSink
{
public:
    explicit SocketSink(int socket)
        : m_socket(socket)
    {
    }
    bool write(const char *utf8, std::size_t length) override
    {
        m_buffer.append(utf8, static_cast<int>(length));
        return m_buffer.size() < 65536 || flush();
    }
    void beginPart(const QByteArray &label) override
    {
        flush();
        const QByteArray bytes = message(Part, label);
        m_ok = m_ok && writeAll(m_socket, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    void labelledValue(const QByteArray &label, const QByteArray &value) override
    {
        flush();
        QByteArray payload(4, Qt::Uninitialized);
        qToLittleEndian<quint32>(static_cast<quint32>(label.size()), payload.data());
        const QByteArray bytes = message(Labelled, payload + label + value);
        m_ok = m_ok && writeAll(m_socket, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    bool flush()
    {
        if (!m_buffer.isEmpty()) {
            const QByteArray bytes = message(Text, m_buffer);
            m_ok = m_ok && writeAll(m_socket, bytes.constData(), static_cast<std::size_t>(bytes.size()));
            m_buffer.clear();
        }
        return m_ok;
    }

private:
    int m_socket;
    QByteArray m_buffer;
    bool m_ok = true;
};

const char *signalName(int signal)
{
    switch (signal) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGABRT: return "SIGABRT";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGKILL: return "SIGKILL";
    case SIGXCPU: return "SIGXCPU";
    default: return "";
    }
}

} // namespace

WorkerProcess::WorkerProcess(const QString &program, const Limits &limits, bool lowPriority)
    : m_program(program)
    , m_limits(limits)
    , m_lowPriority(lowPriority)
{
}

WorkerProcess::~WorkerProcess()
{
    becomeBusy();
    if (m_pid > 0)
        stop(SIGKILL);
}

void WorkerProcess::becomeIdle()
{
    std::lock_guard<std::mutex> lock(placeMutex);
    if (m_pid > 0 && m_holdsPlace)
        idleWorkers.push_back(this);
}

void WorkerProcess::becomeBusy()
{
    bool taken;
    {
        std::lock_guard<std::mutex> lock(placeMutex);
        idleWorkers.erase(std::remove(idleWorkers.begin(), idleWorkers.end(), this), idleWorkers.end());
        taken = m_pid > 0 && !m_holdsPlace;
    }
    if (taken)
        reap(true); // killed by the thread that took the place
}

QVector<pid_t> WorkerProcess::livePids()
{
    QMutexLocker lock(&registryMutex);
    return registry().values().toVector();
}

int WorkerProcess::maxWorkers()
{
    return qMax(2, ::Limits::WorkerProcessesPerCore * QThread::idealThreadCount());
}

void WorkerProcess::forget()
{
    ::close(m_socket);
    {
        QMutexLocker lock(&registryMutex);
        registry().remove(m_pid);
    }
    m_socket = -1;
    m_pid = -1;
    bool held;
    {
        std::lock_guard<std::mutex> lock(placeMutex);
        held = m_holdsPlace;
        m_holdsPlace = false;
    }
    if (held)
        freePlace();
}

ExtractStatus WorkerProcess::spawn(const std::atomic<bool> *cancel, QString *detail)
{
    {
        std::unique_lock<std::mutex> lock(placeMutex);
        for (;;) {
            if (workersLive < maxWorkers()) {
                ++workersLive;
                break;
            }
            if (!idleWorkers.empty()) {
                // An idle worker of another thread gives up its place to this one.
                WorkerProcess *idle = idleWorkers.front();
                idleWorkers.erase(idleWorkers.begin());
                idle->m_holdsPlace = false;
                ::kill(idle->m_pid, SIGKILL);
                break;
            }
            if (cancel && cancel->load())
                return ExtractStatus::Stopped;
            placeFreed.wait_for(lock, std::chrono::milliseconds(100));
        }
    }
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        const int error = errno;
        freePlace();
        *detail = QStringLiteral("no extraction worker: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
        return error == EMFILE || error == ENFILE ? ExtractStatus::NoDescriptors : ExtractStatus::Failed;
    }
    // Everything the child needs is made before fork(): after it, the child
    // of a threaded process may only make system calls.
    const QByteArray program = QFile::encodeName(m_program);
    const QByteArray option("--extraction-worker");
    const QByteArray socketNumber = QByteArray::number(sockets[1]);
    char *const argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(option.constData()),
                          const_cast<char *>(socketNumber.constData()), nullptr};
#ifdef DISCOVERY_ASAN
    // The memory limit as sanitizer options: one allocation beyond it, or
    // any once the worker's resident memory passes it, fails as it would
    // under the address-space limit (std::bad_alloc, "memory limit reached").
    const rlimit memory{0, 0};
    QList<QByteArray> environment;
    for (char **entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "ASAN_OPTIONS=", 13) != 0)
            environment.append(*entry);
    }
    QByteArray asanOptions = qgetenv("ASAN_OPTIONS");
    if (m_limits.memoryBytes > 0) {
        const QByteArray mib = QByteArray::number(m_limits.memoryBytes >> 20);
        asanOptions += ":allocator_may_return_null=1:max_allocation_size_mb=" + mib + ":soft_rss_limit_mb=" + mib;
    }
    // A reader's crash stays the signal it is, for the service to name, as
    // without the sanitizer (whose instrumentation still reports bad accesses).
    asanOptions += ":handle_segv=0:handle_sigbus=0:handle_sigfpe=0";
    environment.append("ASAN_OPTIONS=" + asanOptions);
    QVector<char *> envp;
    for (QByteArray &entry : environment)
        envp.append(entry.data());
    envp.append(nullptr);
    char *const *const workerEnvironment = envp.data();
#else
    const rlimit memory{static_cast<rlim_t>(m_limits.memoryBytes), static_cast<rlim_t>(m_limits.memoryBytes)};
    char *const *const workerEnvironment = environ;
#endif
    const rlimit noCore{0, 0};
    const pid_t parent = ::getpid();
    const uid_t dropTo = ::geteuid() == 0 ? WorkerUser : 0;
    const bool low = m_lowPriority;
    sigset_t none;
    sigemptyset(&none);

    const pid_t pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        ::close(sockets[0]);
        ::close(sockets[1]);
        freePlace();
        *detail = QStringLiteral("no extraction worker: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
        return ExtractStatus::Failed;
    }
    if (pid == 0) {
        // A root service's workers read as nobody: they get their files opened, and a
        // parser taken over by a hostile file holds no rights. (Changing the user clears
        // the parent-death signal, so that comes after.)
        if (dropTo != 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(dropTo) != 0 || ::setuid(dropTo) != 0)
                ::_exit(126);
        }
        ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (memory.rlim_cur > 0)
            ::setrlimit(RLIMIT_AS, &memory);
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (low) {
            ::setpriority(PRIO_PROCESS, 0, 19);
            ::syscall(SYS_ioprio_set, 1, 0, 3 << 13); // the idle I/O class
        }
        ::fcntl(sockets[1], F_SETFD, 0);
        ::execve(argv[0], argv, workerEnvironment);
        ::_exit(127);
    }
    ::close(sockets[1]);
    m_socket = sockets[0];
    m_pid = pid;
    {
        std::lock_guard<std::mutex> places(placeMutex);
        m_holdsPlace = true;
    }
    QMutexLocker lock(&registryMutex);
    registry().insert(pid);
    return ExtractStatus::Ok;
}

void WorkerProcess::stop(int signal)
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, signal);
    reap(true);
}

bool WorkerProcess::reap(bool wait, int *status)
{
    int ended = 0;
    pid_t got;
    while ((got = ::waitpid(m_pid, &ended, wait ? 0 : WNOHANG)) < 0 && errno == EINTR) {
    }
    // Waited for, the worker is gone either way (also when it was reaped already).
    if (!wait && got != m_pid)
        return false;
    if (status)
        *status = ended;
    forget();
    return true;
}

QString WorkerProcess::endReason(int status, bool timedOut) const
{
    if (timedOut)
        return QStringLiteral("time limit reached (%1 s)").arg(m_limits.secondsPerFile);
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        if (signal == SIGXCPU)
            return QStringLiteral("CPU time limit reached (%1 s)").arg(m_limits.secondsPerFile);
        return QStringLiteral("the reader crashed (signal %1 %2)").arg(signal).arg(QLatin1String(signalName(signal))).trimmed();
    }
    if (WIFEXITED(status))
        return QStringLiteral("the reader ended with status %1").arg(WEXITSTATUS(status));
    return QStringLiteral("the reader ended");
}

ExtractStatus WorkerProcess::extract(int fd, qint64 size, const QByteArray &name, DocumentReader::Kind kind,
                                     const QSet<QByteArray> &extensions, TextSink &sink,
                                     const std::atomic<bool> *cancel, QString *detail)
{
    becomeBusy();
    const ExtractStatus status = extractInWorker(fd, size, name, kind, extensions, sink, cancel, detail);
    becomeIdle();
    return status;
}

ExtractStatus WorkerProcess::extractInWorker(int fd, qint64 size, const QByteArray &name, DocumentReader::Kind kind,
                                             const QSet<QByteArray> &extensions, TextSink &sink,
                                             const std::atomic<bool> *cancel, QString *detail)
{
    // A worker that ended while idle is replaced.
    if (m_pid > 0)
        reap(false);
    QByteArray payload;
    payload.append(static_cast<char>(kind));
    QByteArray number(8, Qt::Uninitialized);
    qToLittleEndian<qint64>(size, number.data());
    payload.append(number);
    qToLittleEndian<quint32>(static_cast<quint32>(m_limits.secondsPerFile), number.data());
    payload.append(number.constData(), 4);
    qToLittleEndian<quint32>(static_cast<quint32>(name.size()), number.data());
    payload.append(number.constData(), 4).append(name);
    payload.append(QList<QByteArray>(extensions.begin(), extensions.end()).join(','));
    const QByteArray request = message(Request, payload);

    bool sent = false;
    for (int attempt = 0; attempt < 2 && !sent; ++attempt) {
        if (m_pid <= 0) {
            const ExtractStatus started = spawn(cancel, detail);
            if (started != ExtractStatus::Ok)
                return started;
        }
        // The descriptor travels with the request.
        iovec io{const_cast<char *>(request.constData()), static_cast<std::size_t>(request.size())};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
        msghdr msg{};
        msg.msg_iov = &io;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        cmsghdr *cmsg = CMSG_FIRSTHDR(&msg);
        cmsg->cmsg_level = SOL_SOCKET;
        cmsg->cmsg_type = SCM_RIGHTS;
        cmsg->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(cmsg), &fd, sizeof(int));
        ssize_t written;
        do {
            written = ::sendmsg(m_socket, &msg, MSG_NOSIGNAL);
        } while (written < 0 && errno == EINTR);
        if (written == request.size()) {
            sent = true;
        } else if (written > 0) {
            sent = writeAll(m_socket, request.constData() + written, static_cast<std::size_t>(request.size() - written));
        }
        if (!sent)
            stop(SIGKILL); // start a fresh worker and try once more
    }
    if (!sent) {
        *detail = QStringLiteral("the extraction worker does not take requests");
        return ExtractStatus::Failed;
    }

    const QDeadlineTimer deadline(qint64(m_limits.secondsPerFile) * 1000);
    QByteArray buffer;
    QByteArray block(65536, Qt::Uninitialized);
    for (;;) {
        // Whole messages in the buffer first.
        while (buffer.size() >= 5) {
            const quint32 length = qFromLittleEndian<quint32>(buffer.constData() + 1);
            if (static_cast<quint32>(buffer.size()) < 5 + length)
                break;
            const char type = buffer.at(0);
            const char *data = buffer.constData() + 5;
            if (type == Text) {
                if (!sink.write(data, length)) {
                    stop(SIGKILL);
                    return ExtractStatus::Stopped;
                }
            } else if (type == Part) {
                sink.beginPart(QByteArray(data, static_cast<int>(length)));
            } else if (type == Labelled && length >= 4) {
                const quint32 labelLength = qFromLittleEndian<quint32>(data);
                if (labelLength <= length - 4)
                    sink.labelledValue(QByteArray(data + 4, static_cast<int>(labelLength)),
                                       QByteArray(data + 4 + labelLength, static_cast<int>(length - 4 - labelLength)));
            } else if (type == Done && length >= 1) {
                const auto status = static_cast<ExtractStatus>(data[0]);
                if (detail)
                    *detail = QString::fromUtf8(data + 1, static_cast<int>(length - 1));
                return status;
            }
            buffer.remove(0, static_cast<int>(5 + length));
        }
        if (cancel && cancel->load()) {
            stop(SIGKILL);
            return ExtractStatus::Stopped;
        }
        if (deadline.hasExpired()) {
            stop(SIGKILL);
            *detail = endReason(0, true);
            return ExtractStatus::Failed;
        }
        pollfd waiting{m_socket, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(qMin<qint64>(100, qMax<qint64>(1, deadline.remainingTime()))));
        if (ready <= 0)
            continue;
        const ssize_t got = ::read(m_socket, block.data(), static_cast<std::size_t>(block.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            // The worker ended in the middle of the file.
            int status = 0;
            reap(true, &status);
            *detail = endReason(status, false);
            return ExtractStatus::Failed;
        }
        buffer.append(block.constData(), static_cast<int>(got));
    }
}

int WorkerProcess::serve(int socket)
{
    ::prctl(PR_SET_DUMPABLE, 0);
    // Names inside archives are converted to the locale's character set: make it UTF-8.
    ::setlocale(LC_ALL, "");
    if (std::strcmp(::nl_langinfo(CODESET), "UTF-8") != 0)
        ::setlocale(LC_CTYPE, "C.UTF-8");
    for (;;) {
        char header[5];
        iovec io{header, sizeof header};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
        msghdr msg{};
        msg.msg_iov = &io;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        ssize_t got;
        do {
            got = ::recvmsg(socket, &msg, MSG_CMSG_CLOEXEC);
        } while (got < 0 && errno == EINTR);
        if (got <= 0)
            return 0;
        int fd = -1;
        for (cmsghdr *cmsg = CMSG_FIRSTHDR(&msg); cmsg; cmsg = CMSG_NXTHDR(&msg, cmsg)) {
            if (cmsg->cmsg_level == SOL_SOCKET && cmsg->cmsg_type == SCM_RIGHTS)
                std::memcpy(&fd, CMSG_DATA(cmsg), sizeof(int));
        }
        if (got < static_cast<ssize_t>(sizeof header) && !readAll(socket, header + got, sizeof header - static_cast<std::size_t>(got)))
            return 1;
        const quint32 length = qFromLittleEndian<quint32>(header + 1);
        if (header[0] != Request || length < 17 || length > (1u << 20) || fd < 0)
            return 1;
        QByteArray payload(static_cast<int>(length), Qt::Uninitialized);
        if (!readAll(socket, payload.data(), length))
            return 1;
        const auto kind = static_cast<DocumentReader::Kind>(payload.at(0));
        const qint64 size = qFromLittleEndian<qint64>(payload.constData() + 1);
        const quint32 seconds = qFromLittleEndian<quint32>(payload.constData() + 9);
        const quint32 nameLength = qFromLittleEndian<quint32>(payload.constData() + 13);
        if (17 + nameLength > length)
            return 1;
        const QByteArray name = payload.mid(17, static_cast<int>(nameLength));
        ReadOptions options;
        for (const QByteArray &extension : payload.mid(static_cast<int>(17 + nameLength)).split(','))
            options.extensions.insert(extension);
        QString detail;
        options.detail = &detail;

        // CPU time for this file: a soft limit above what the worker has used so far.
        if (seconds > 0) {
            rusage usage{};
            ::getrusage(RUSAGE_SELF, &usage);
            rlimit cpu{};
            ::getrlimit(RLIMIT_CPU, &cpu);
            cpu.rlim_cur = static_cast<rlim_t>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + 1 + seconds);
            ::setrlimit(RLIMIT_CPU, &cpu);
        }
        SocketSink sink(socket);
        ExtractStatus status;
        try {
            status = DocumentReader::readOpen(fd, size, name, kind, sink, options);
        } catch (const std::bad_alloc &) {
            status = ExtractStatus::Failed;
            detail = QStringLiteral("memory limit reached");
        }
        ::close(fd);
        if (!sink.flush())
            return 1;
        QByteArray done(1, static_cast<char>(status));
        done.append(detail.toUtf8());
        const QByteArray bytes = message(Done, done);
        if (!writeAll(socket, bytes.constData(), static_cast<std::size_t>(bytes.size())))
            return 1;
    }
}
