#ifndef WORKERPROCESS_H
#define WORKERPROCESS_H

#include "documentreader.h"
#include "scanlimits.h"

#include <QDeadlineTimer>
#include <QString>
#include <QVector>

#include <atomic>
#include <sys/types.h>

// One extraction worker: a child process (this program started with
// --extraction-worker) that reads documents and archives for one of a
// task's threads, so that a crash, a hang or a blow-up in a parser costs only
// the file it was reading. The worker gets the file already opened and
// checked (its descriptor is passed over the socket), and streams the text
// back. Limits: address space (setrlimit), CPU time per file (a soft
// RLIMIT_CPU the worker sets before each file) and wall time per file (the
// parent kills the worker when the file's deadline passes). A worker that
// died or was killed is started again for the next file. All tasks together
// have at most maxWorkers() workers: a thread that needs one when all places
// are taken ends an idle worker of another thread (whose owner starts a new
// one when it needs it) or, when none is idle, waits for one to be.
class WorkerProcess
{
public:
    struct Limits
    {
        qint64 memoryBytes = ::Limits::WorkerMemoryBytes; // address space of a worker
        int secondsPerFile = ::Limits::MaxSecondsPerFile;  // wall and CPU time for one file
    };

    WorkerProcess(const QString &program, const Limits &limits, bool lowPriority);
    ~WorkerProcess();
    WorkerProcess(const WorkerProcess &) = delete;
    WorkerProcess &operator=(const WorkerProcess &) = delete;

    // Extracts an open file in the worker. Returns the reader's status; on
    // a failure *detail says why ("the reader crashed (signal 11)").
    ExtractStatus extract(int fd, qint64 size, const QByteArray &name, DocumentReader::Kind kind,
                          const QSet<QByteArray> &extensions, TextSink &sink, const std::atomic<bool> *cancel,
                          QString *detail);

    // The processes of all live workers (their CPU time is the service's own;
    // that of ended workers is counted in the service's children's time).
    static QVector<pid_t> livePids();
    // Workers of all tasks together: Limits::WorkerProcessesPerCore per processor core.
    static int maxWorkers();

    // The worker's side: serves requests on the socket until it closes.
    static int serve(int socket);

private:
    // Waits for a free place among maxWorkers() (false when cancelled meanwhile) and starts a worker.
    ExtractStatus spawn(const std::atomic<bool> *cancel, QString *detail);
    ExtractStatus extractInWorker(int fd, qint64 size, const QByteArray &name, DocumentReader::Kind kind,
                                  const QSet<QByteArray> &extensions, TextSink &sink, const std::atomic<bool> *cancel,
                                  QString *detail);
    void stop(int signal);
    // Collects the ended worker's status (wait: blocks until it has ended;
    // else only when it already has) and forgets it; false when it still runs.
    bool reap(bool wait, int *status = nullptr);
    // The worker has ended and was waited for: its socket closed, its place freed.
    void forget();
    // Between two files: other threads may take the place.
    void becomeIdle();
    // Before a file: no longer to be taken; a worker that was taken meanwhile is cleared away.
    void becomeBusy();
    QString endReason(int status, bool timedOut) const;

    QString m_program;
    Limits m_limits;
    bool m_lowPriority;
    pid_t m_pid = -1;
    int m_socket = -1;
    bool m_holdsPlace = false; // guarded by the places' mutex: false once another thread took it
};

#endif // WORKERPROCESS_H
