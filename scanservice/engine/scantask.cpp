#include "scantask.h"

#include "documentreader.h"
#include "filewalker.h"
#include "findingsstore.h"
#include "keywordfilescanner.h"
#include "loggedtext.h"
#include "nofollow.h"
#include "pathname.h"
#include "privacyfilescanner.h"
#include "scanlimits.h"

#include <QDeadlineTimer>
#include <QMap>
#include <QThread>
#include <QtDebug>

#include <algorithm>
#include <chrono>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::atomic<bool> s_threadsLeft{false};
} // namespace

struct ScanTask::Shared
{
    ScanTask::Settings settings;
    quint64 id = 0;
    FindingsStore *store = nullptr;

    std::atomic<bool> cancelled{false};
    std::mutex pauseMutex;
    std::condition_variable pauseChanged;
    bool paused = false;

    std::mutex queueMutex;
    std::condition_variable queueChanged; // for the scanning threads: a file, the walk's end, a cancel
    std::condition_variable queueRoom;    // for the walk: room in the queue, a cancel
    std::deque<FileWalker::File> queue;
    // Who waits, so that each side wakes the other only when it must: a
    // wake-up costs more than taking a small file from the queue.
    int idleWorkers = 0;
    bool walkWaiting = false;
    bool walkDone = false;
    int nextFileId = 0;

    std::atomic<qint64> totalFiles{0};
    std::atomic<qint64> totalBytes{0};
    std::atomic<bool> countDone{false};
    std::atomic<qint64> scannedFiles{0};
    // For the run's history: files the scan walk handed over, and files read in full.
    std::atomic<qint64> walkedFiles{0};
    std::atomic<qint64> readFiles{0};
    // The keywords are being compiled: that cannot be interrupted, so the
    // task's thread is then left to finish on its own instead of being waited for.
    std::atomic<bool> compiling{false};

    // What the threads report to the main thread.
    std::mutex eventMutex;
    int latestFileId = 0;
    QByteArray latestPath; // named in text only when announced: most files never are
    // Detection signals: held while the task is paused, none sent once it was terminated.
    bool holdDetections = false;
    bool silenced = false;
    std::vector<std::function<void()>> heldDetections;
    bool endCommitted = false;
    QString failure; // the first reason the task failed for

    std::mutex statsMutex;
    QMap<QString, int> skips;
    QStringList walkSummary; // what the walk left out, by reason
    std::atomic<bool> finished{false};

    // Wakes both sides of the queue (the walk's end, a cancel).
    void notifyQueue()
    {
        // Taken and left, so that a side about to wait cannot miss the change.
        { std::lock_guard<std::mutex> lock(queueMutex); }
        queueChanged.notify_all();
        queueRoom.notify_all();
    }
    void waitWhilePaused()
    {
        std::unique_lock<std::mutex> lock(pauseMutex);
        pauseChanged.wait(lock, [this] { return !paused || cancelled.load(); });
    }
    bool machineBusy() const { return settings.scanmode == 4 && settings.idle && !settings.idle->isIdle(); }
    // Scan mode 4: waits (paused too) until the machine is idle.
    void waitForTurn()
    {
        for (;;) {
            waitWhilePaused();
            if (cancelled || !machineBusy())
                return;
            std::unique_lock<std::mutex> lock(pauseMutex);
            pauseChanged.wait_for(lock, std::chrono::milliseconds(Limits::IdleSampleMs / 2), [this] { return cancelled.load(); });
        }
    }
    void skip(const QString &reason)
    {
        std::lock_guard<std::mutex> lock(statsMutex);
        ++skips[reason];
    }
    void lowerPriority() const
    {
        if (settings.scanmode != 4)
            return;
        const pid_t tid = static_cast<pid_t>(::syscall(SYS_gettid));
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), 19);
        // IOPRIO_WHO_PROCESS, class idle.
        ::syscall(SYS_ioprio_set, 1, tid, 3 << 13);
    }
    void count();
    void work();
    // The scanner of this task's type for one scanning thread (none when the task has no matcher).
    std::unique_ptr<FileScanner> makeScanner() const;
    void scanFile(const FileWalker::File &file, FileScanner &scanner, std::unique_ptr<WorkerProcess> &worker);
    // Opens the file below its entry without following a link at any level
    // and reads it into the sink (documents and archives in an extraction
    // worker); returns false (and records why) when nothing is to be reported.
    bool extract(const FileWalker::File &file, DocumentReader::Kind kind, GuardedSink &sink,
                 std::unique_ptr<WorkerProcess> &worker, int attempt = 0);
    void deliver(FindingsStore::FileFindings findings, const QVariantMap &counts);
    // Sends, holds or drops a committed file's detection message; eventMutex held.
    void announceLocked(std::function<void()> send);
    // Sends what was held while the task was paused; eventMutex held.
    void sendHeldLocked();
    // The store could not commit: the task stops and fails with the reason.
    void storeFailed(const QString &error);
    // Counts the skip by its reason and records the file with the detailed reason.
    void fail(const QByteArray &path, const QString &reason, const QString &detail = QString());
    // Builds the keyword matcher when there is none; false when the task
    // was terminated meanwhile or the matcher cannot be built (the task fails).
    bool prepareMatcher();
    // The walks and the scan.
    void scan();
    // Logs what was done and records the end.
    void end();
    void run();
};

bool ScanTask::Shared::prepareMatcher()
{
    if (settings.matcher || settings.keywords.isEmpty())
        return true;
    if (settings.compileDelayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(settings.compileDelayMs)); // as deaf to cancel as the compiler
    QString error;
    std::shared_ptr<const KeywordMatcher> matcher = KeywordMatcher::compile(settings.keywords, &error);
    compiling = false;
    // Terminated or shut down meanwhile: the task object may be gone, touch nothing but this.
    if (cancelled)
        return false;
    if (!matcher) {
        std::lock_guard<std::mutex> lock(eventMutex);
        failure = error;
        return false;
    }
    settings.matcher = std::move(matcher);
    return true;
}

void ScanTask::Shared::count()
{
    lowerPriority();
    if (settings.countDelayMs > 0) {
        std::unique_lock<std::mutex> lock(pauseMutex);
        pauseChanged.wait_for(lock, std::chrono::milliseconds(settings.countDelayMs), [this] { return cancelled.load(); });
    }
    FileWalker walker(settings.roots, settings.extensions);
    walker.setWantSizes(true);
    walker.setWantPaths(false);
    walker.setStopCheck([this] { return cancelled.load(); });
    walker.walk([this](const FileWalker::File &file) {
        totalFiles.fetch_add(1);
        totalBytes.fetch_add(file.size);
        return true;
    });
    countDone = true;
    // Stored at once, so that a service that dies before the task ends still knows them.
    if (!cancelled)
        store->setTotals(id, totalFiles.load(), (totalBytes.load() + 1023) / 1024);
}

void ScanTask::Shared::work()
{
    lowerPriority();
    const std::unique_ptr<FileScanner> scanner = makeScanner();
    std::unique_ptr<WorkerProcess> worker; // started for the first document
    for (;;) {
        waitForTurn();
        FileWalker::File file;
        {
            std::unique_lock<std::mutex> lock(queueMutex);
            ++idleWorkers;
            queueChanged.wait(lock, [this] { return !queue.empty() || walkDone || cancelled.load(); });
            --idleWorkers;
            if (cancelled || queue.empty())
                break;
            file = std::move(queue.front());
            queue.pop_front();
            // The walk resumes once an eighth of the queue is free, not for
            // every file, and still stays most of the queue ahead.
            if (walkWaiting && queue.size() <= static_cast<std::size_t>(Limits::ScanQueueDepth - Limits::ScanQueueDepth / 8)) {
                walkWaiting = false;
                queueRoom.notify_one();
            }
            const int fileId = ++nextFileId;
            std::lock_guard<std::mutex> events(eventMutex);
            latestFileId = fileId;
            latestPath = file.path;
        }
        if (settings.fileDelayMs > 0) {
            std::unique_lock<std::mutex> lock(pauseMutex);
            pauseChanged.wait_for(lock, std::chrono::milliseconds(settings.fileDelayMs), [this] { return cancelled.load(); });
        }
        if (scanner)
            scanFile(file, *scanner, worker);
        scannedFiles.fetch_add(1);
    }
}

void ScanTask::Shared::fail(const QByteArray &path, const QString &reason, const QString &detail)
{
    skip(reason);
    if (settings.writeFindings)
        store->addFailure(id, PathName::toText(path), detail.isEmpty() ? reason : detail, reason);
}

std::unique_ptr<FileScanner> ScanTask::Shared::makeScanner() const
{
    if (settings.matcher)
        return std::make_unique<KeywordFileScanner>(*settings.matcher);
    if (settings.privacy)
        return std::make_unique<PrivacyFileScanner>(*settings.privacy, settings.today);
    return nullptr;
}

void ScanTask::Shared::scanFile(const FileWalker::File &file, FileScanner &scanner, std::unique_ptr<WorkerProcess> &worker)
{
    if (!scanner.isValid()) {
        fail(file.path, QStringLiteral("matcher unavailable"));
        return;
    }
    // The kind decides the reader, the size limit and the text limit.
    const DocumentReader::Kind kind = DocumentReader::kindOf(DocumentReader::extensionOf(file.path));
    if (kind == DocumentReader::Kind::Unsupported) {
        fail(file.path, DocumentReader::statusText(ExtractStatus::Unsupported));
        return;
    }
    GuardedSink &sink = scanner.startFile();
    sink.setCancelFlag(&cancelled);
    sink.setDeadline(QDeadlineTimer(qint64(settings.workerLimits.secondsPerFile) * 1000));
    if (DocumentReader::isDocument(kind))
        sink.setTextLimit(Limits::MaxExtractedTextBytes);
    const bool read = extract(file, kind, sink, worker);
    const bool found = scanner.finishFile();
    if (!read || cancelled || !found)
        return;
    FindingsStore::FileFindings findings;
    QVariantMap counts;
    scanner.findings(&findings, &counts);
    findings.path = PathName::toText(file.path);
    deliver(std::move(findings), counts);
}

bool ScanTask::Shared::extract(const FileWalker::File &file, DocumentReader::Kind kind, GuardedSink &sink,
                               std::unique_ptr<WorkerProcess> &worker, int attempt)
{
    const QByteArray &path = file.path;
    ReadOptions options;
    options.extensions = settings.extensions;
    QString detail;
    options.detail = &detail;
    ExtractStatus status;
    // Opened and checked here; the reader (or the worker) reads the very file checked.
    // An entry that is itself a file has no directory of its own and is opened by its path.
    const int fd = file.base ? NoFollow::openBelow(file.base->fd(), file.relative, O_RDONLY | O_NONBLOCK | O_NOCTTY)
                             : NoFollow::openPath(file.path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd == -ELOOP) {
        // A directory on its way (or the file) was swapped for a link after the walk.
        fail(path, QStringLiteral("symbolic link not followed"));
        return false;
    }
    struct stat st;
    if (fd < 0) {
        status = DocumentReader::openFailure(-fd);
    } else if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        status = ExtractStatus::Unreadable;
    } else if (st.st_size > DocumentReader::sizeLimit(kind)) {
        status = ExtractStatus::TooLarge;
    } else {
        const bool inProcess = kind == DocumentReader::Kind::PlainText || settings.workerProgram.isEmpty();
        // Regular files ignore O_NONBLOCK, and our plain text reader does not
        // look at it: only the libraries of documents get it cleared. A file
        // within one read has no read-ahead to ask for. Calls saved on every small file.
        if (kind != DocumentReader::Kind::PlainText)
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
        if (inProcess) {
            if (st.st_size > Limits::ReadChunkBytes)
                ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
            status = DocumentReader::readOpen(fd, st.st_size, name, kind, sink, options);
        } else {
            if (!worker)
                worker = std::make_unique<WorkerProcess>(settings.workerProgram, settings.workerLimits, settings.scanmode == 4);
            status = worker->extract(fd, st.st_size, name, kind, settings.extensions, sink, &cancelled, &detail);
        }
    }
    if (fd >= 0)
        ::close(fd);
    if (cancelled)
        return false;
    if (status == ExtractStatus::NoDescriptors && attempt < Limits::DescriptorRetries) {
        // Descriptors run short for a moment (other tasks, other programs):
        // nothing was read yet, so wait a little and try again.
        const int ms = Limits::descriptorRetryMs(attempt);
        std::unique_lock<std::mutex> lock(pauseMutex);
        if (pauseChanged.wait_for(lock, std::chrono::milliseconds(ms), [this] { return cancelled.load(); }))
            return false;
        lock.unlock();
        return extract(file, kind, sink, worker, attempt + 1);
    }
    if (status == ExtractStatus::Stopped) {
        fail(path, sink.stopReason() == GuardedSink::Stop::TextLimit ? QStringLiteral("text limit reached, scanned in part")
                                                                     : QStringLiteral("time limit reached, scanned in part"));
    } else if (status != ExtractStatus::Ok) {
        fail(path, DocumentReader::statusText(status), detail);
    } else {
        readFiles.fetch_add(1);
    }
    return true;
}

void ScanTask::Shared::storeFailed(const QString &error)
{
    {
        std::lock_guard<std::mutex> lock(eventMutex);
        if (failure.isEmpty())
            failure = error;
    }
    // Findings from now on could not be kept either.
    cancelled = true;
    pauseChanged.notify_all();
    notifyQueue();
}

void ScanTask::Shared::announceLocked(std::function<void()> send)
{
    if (silenced)
        return;
    if (holdDetections)
        heldDetections.push_back(std::move(send));
    else
        send();
}

void ScanTask::Shared::sendHeldLocked()
{
    for (const std::function<void()> &send : heldDetections)
        send();
    heldDetections.clear();
}

void ScanTask::Shared::deliver(FindingsStore::FileFindings findings, const QVariantMap &counts)
{
    // Readied here, in parallel with the other scanning threads; the signal
    // shares its data, so handing it on copies nothing.
    std::function<void()> send =
        settings.detection ? settings.detection(findings.path, counts) : std::function<void()>([] {});
    if (!settings.writeFindings) {
        std::lock_guard<std::mutex> lock(eventMutex);
        announceLocked(std::move(send));
        return;
    }
    // Announced only once the findings are in the database, by the store's
    // thread: before the task's end, which it commits after them.
    store->addFile(id, std::move(findings), [this, send = std::move(send)](bool committed, const QString &error) {
        if (!committed) {
            storeFailed(error);
            return;
        }
        std::lock_guard<std::mutex> lock(eventMutex);
        announceLocked(send);
    });
}

void ScanTask::Shared::run()
{
    lowerPriority();
    if (!prepareMatcher()) {
        std::lock_guard<std::mutex> lock(eventMutex);
        if (failure.isEmpty()) {
            finished = true;
            return;
        }
    }
    if (settings.matcher || settings.privacy)
        scan();
    end();
}

void ScanTask::Shared::scan()
{
    std::thread counter([this] { count(); });
    std::vector<std::thread> workers;
    const int workerTotal = ScanTask::workerCount(settings.batchsize);
    for (int i = 0; i < workerTotal; ++i)
        workers.emplace_back([this] { work(); });

    FileWalker walker(settings.roots, settings.extensions);
    walker.setStopCheck([this] {
        waitForTurn();
        return cancelled.load();
    });
    // Recorded by the scan walk only: the counting walk meets the same directories.
    walker.setChangedCheck([this](const QByteArray &path) {
        fail(path, QStringLiteral("directory changed during the scan (a symbolic link or another directory now), left out"));
    });
    walker.setNoDescriptorsCheck([this](const QByteArray &path) {
        fail(path, DocumentReader::statusText(ExtractStatus::NoDescriptors));
    });
    walker.walk([this](const FileWalker::File &file) {
        std::unique_lock<std::mutex> lock(queueMutex);
        while (queue.size() >= static_cast<std::size_t>(Limits::ScanQueueDepth) && !cancelled) {
            walkWaiting = true;
            queueRoom.wait(lock);
        }
        if (cancelled)
            return false;
        queue.push_back(file);
        walkedFiles.fetch_add(1);
        const bool wake = idleWorkers > 0;
        lock.unlock();
        if (wake)
            queueChanged.notify_one();
        return true;
    });
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        walkDone = true;
    }
    queueChanged.notify_all();
    for (std::thread &worker : workers)
        worker.join();
    counter.join();

    QStringList summary;
    {
        std::lock_guard<std::mutex> lock(statsMutex);
        for (auto it = skips.constBegin(); it != skips.constEnd(); ++it)
            summary.append(QStringLiteral("%1: %2").arg(it.key()).arg(it.value()));
    }
    for (int kind = 0; kind < FileWalker::SkipKinds; ++kind) {
        const auto skip = static_cast<FileWalker::Skip>(kind);
        // Changed and unopened directories are already counted by their reason through fail().
        if (walker.skipped(skip) > 0 && skip != FileWalker::ChangedDirectory && skip != FileWalker::NoDescriptors)
            summary.append(QStringLiteral("%1: %2").arg(QLatin1String(FileWalker::skipName(skip))).arg(walker.skipped(skip)));
    }
    std::lock_guard<std::mutex> lock(statsMutex);
    walkSummary = summary;
}

void ScanTask::Shared::end()
{
    QStringList summary;
    {
        std::lock_guard<std::mutex> lock(statsMutex);
        summary = walkSummary;
    }
    bool failed;
    {
        std::lock_guard<std::mutex> lock(eventMutex);
        failed = !failure.isEmpty();
    }
    qInfo().noquote() << QStringLiteral("Task %1 (%2, type %3) %4: %5 of %6 files scanned%7")
                             .arg(id)
                             .arg(LoggedText::cut(settings.pathlist))
                             .arg(settings.tasktype)
                             .arg(failed      ? QStringLiteral("failed")
                                  : cancelled ? QStringLiteral("terminated")
                                              : QStringLiteral("completed"))
                             .arg(scannedFiles.load())
                             .arg(totalFiles.load())
                             .arg(summary.isEmpty() ? QString() : QStringLiteral("; skipped ") + summary.join(QStringLiteral(", ")));
    // A terminated task was ended by the main thread; a completed or failed one ends here.
    if (!cancelled || failed) {
        const qint64 kib = (totalBytes.load() + 1023) / 1024;
        QString reason;
        {
            std::lock_guard<std::mutex> lock(eventMutex);
            reason = failure;
        }
        store->setRunCounts(id, walkedFiles.load(), readFiles.load());
        store->endTask(id, QStringLiteral("completed"), totalFiles.load(), kib, [this](bool committed, const QString &error) {
            if (!committed)
                storeFailed(error);
            std::lock_guard<std::mutex> lock(eventMutex);
            endCommitted = true;
        }, reason);
    }
    finished = true;
}

ScanTask::ScanTask(quint64 id, const Settings &settings, FindingsStore *store, QObject *parent)
    : QObject(parent)
    , m_id(id)
    , m_settings(settings)
    , m_store(store)
    , m_shared(std::make_shared<Shared>())
{
    m_shared->settings = settings;
    m_shared->id = id;
    m_shared->store = store;
    m_poll.setInterval(Limits::EventPollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &ScanTask::poll);
}

ScanTask::~ScanTask()
{
    if (!hasEnded())
        terminate();
    m_shared->cancelled = true;
    m_shared->pauseChanged.notify_all();
    m_shared->notifyQueue();
    if (!m_thread.joinable())
        return;
    // A thread still compiling holds its own share of the state and will
    // stop once done; waiting for it would hold up the service's shutdown.
    if (m_shared->compiling) {
        s_threadsLeft = true;
        m_thread.detach();
    } else {
        m_thread.join();
    }
}

bool ScanTask::threadsLeftRunning()
{
    return s_threadsLeft;
}

int ScanTask::workerCount(double batchsize)
{
    const int cores = qMax(1, QThread::idealThreadCount());
    return qBound(1, static_cast<int>(std::lround(batchsize * cores)), cores);
}

void ScanTask::start()
{
    m_store->beginTask(m_id, m_settings.pathlist, m_settings.tasktype);
    FindingsStore::RunInfo run;
    run.scanmode = m_settings.scanmode;
    run.keywords = m_settings.matcher ? m_settings.matcher->count() : m_settings.keywords.size();
    if (m_settings.privacy)
        run.ruleTable = m_settings.ruleTableVersion;
    m_store->describeRun(m_id, run);
    std::shared_ptr<Shared> shared = m_shared;
    shared->compiling = !m_settings.matcher && !m_settings.keywords.isEmpty();
    m_thread = std::thread([shared] { shared->run(); });
    m_sinceScanningSignal.start();
    m_poll.start();
}

bool ScanTask::isWaitingForIdle() const
{
    return m_state == State::Running && m_shared->machineBusy();
}

bool ScanTask::isCountKnown() const
{
    return m_shared->countDone.load();
}

bool ScanTask::threadsFinished() const
{
    return !m_thread.joinable() || m_shared->finished.load();
}

ScanTaskDetailInfo ScanTask::detail() const
{
    ScanTaskDetailInfo info;
    const qint64 total = m_shared->totalFiles.load();
    info.TotalCount = static_cast<int>(std::min<qint64>(total, INT_MAX));
    info.TotalSize = static_cast<int>(std::min<qint64>((m_shared->totalBytes.load() + 1023) / 1024, INT_MAX));
    switch (m_state) {
    case State::Completed:
        info.Status = QStringLiteral("completed");
        break;
    case State::Terminated:
        info.Status = QStringLiteral("terminated");
        break;
    case State::Failed:
        info.Status = QStringLiteral("failed");
        break;
    case State::Paused:
        info.Status = QStringLiteral("paused");
        break;
    case State::Running:
        info.Status = isWaitingForIdle() ? QStringLiteral("waiting")
                      : isCountKnown()   ? QStringLiteral("scanning")
                                         : QStringLiteral("counting");
        break;
    }
    if (hasEnded()) {
        info.Progress = 1.0;
    } else if (total > 0) {
        // Below 1 until the task has ended, even when the tree grew meanwhile.
        info.Progress = std::min(0.999, double(m_shared->scannedFiles.load()) / double(total));
    }
    return info;
}

void ScanTask::pause()
{
    if (m_state != State::Running)
        return;
    m_state = State::Paused;
    {
        std::lock_guard<std::mutex> lock(m_shared->eventMutex);
        m_shared->holdDetections = true;
    }
    std::lock_guard<std::mutex> lock(m_shared->pauseMutex);
    m_shared->paused = true;
}

void ScanTask::resume()
{
    if (m_state != State::Paused)
        return;
    m_state = State::Running;
    {
        // The held ones first, then what the store's thread sends from now on.
        std::lock_guard<std::mutex> lock(m_shared->eventMutex);
        m_shared->holdDetections = false;
        m_shared->sendHeldLocked();
    }
    {
        std::lock_guard<std::mutex> lock(m_shared->pauseMutex);
        m_shared->paused = false;
    }
    m_shared->pauseChanged.notify_all();
    poll();
}

void ScanTask::terminate()
{
    if (hasEnded())
        return;
    m_state = State::Terminated;
    m_poll.stop();
    {
        // Nothing more is sent: a detection being sent now went out before this returns.
        std::lock_guard<std::mutex> lock(m_shared->eventMutex);
        m_shared->silenced = true;
        m_shared->heldDetections.clear();
    }
    m_shared->cancelled = true;
    {
        std::lock_guard<std::mutex> lock(m_shared->pauseMutex);
        m_shared->paused = false;
    }
    m_shared->pauseChanged.notify_all();
    m_shared->notifyQueue();
    m_store->setRunCounts(m_id, m_shared->walkedFiles.load(), m_shared->readFiles.load());
    m_store->endTask(m_id, QStringLiteral("terminated"), m_shared->totalFiles.load(),
                     (m_shared->totalBytes.load() + 1023) / 1024, nullptr);
    emit ended();
}

void ScanTask::poll()
{
    if (hasEnded())
        return;
    if (!m_countAnnounced && isCountKnown()) {
        m_countAnnounced = true;
        emit countKnown();
    }
    if (m_state == State::Paused) {
        // A paused task stays silent, unless it has failed meanwhile.
        std::lock_guard<std::mutex> lock(m_shared->eventMutex);
        if (!m_shared->endCommitted || m_shared->failure.isEmpty())
            return;
    }
    int fileId;
    QByteArray path;
    bool end;
    QString failure;
    {
        std::lock_guard<std::mutex> lock(m_shared->eventMutex);
        fileId = m_shared->latestFileId;
        path = m_shared->latestPath;
        end = m_shared->endCommitted;
        failure = m_shared->failure;
        // A task that failed while paused still announces what it committed, before its end.
        if (end)
            m_shared->sendHeldLocked();
    }
    if (fileId > m_lastFileId
        && (end || m_sinceScanningSignal.elapsed() >= Limits::ScanningSignalIntervalMs)) {
        m_lastFileId = fileId;
        m_sinceScanningSignal.restart();
        emit scanningFile(PathName::toText(path), fileId);
    }
    if (end) {
        if (!m_countAnnounced) {
            m_countAnnounced = true;
            emit countKnown();
        }
        m_state = failure.isEmpty() ? State::Completed : State::Failed;
        m_failure = failure;
        if (!failure.isEmpty())
            qWarning().noquote() << QStringLiteral("Task %1 failed: %2").arg(m_id).arg(failure);
        m_poll.stop();
        emit scanningFile(QString(), 0);
        emit ended();
    }
}
