// The findings log's syslog socket, connected once: a log daemon restarted
// during a run (a new socket at the same path) still gets the later records.
#include "findingslog.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// A datagram socket bound at path, as a log daemon makes it.
int bindLogSocket(const QByteArray &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    struct sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    ::unlink(path.constData());
    if (fd < 0 || ::bind(fd, reinterpret_cast<const struct sockaddr *>(&address), sizeof(address)) != 0)
        return -1;
    return fd;
}

// The next record waiting on the socket, or empty when there is none.
QByteArray receive(int fd)
{
    char buffer[8192];
    const ssize_t size = ::recv(fd, buffer, sizeof(buffer), MSG_DONTWAIT);
    return size > 0 ? QByteArray(buffer, int(size)) : QByteArray();
}
} // namespace

class TestFindingsLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void daemonRestarted()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray path = QFile::encodeName(dir.filePath("log.sock"));
        int daemon = bindLogSocket(path);
        QVERIFY(daemon >= 0);
        FindingsLog log(FindingsLog::Destination::Syslog, QFile::decodeName(path));

        log.fileWithHits(1, "/home", 1, "/home/a.txt", R"({"secret":2})");
        QVERIFY(receive(daemon).contains("/home/a.txt"));

        // The daemon restarts: its old socket closes, a new one takes the path.
        ::close(daemon);
        daemon = bindLogSocket(path);
        QVERIFY(daemon >= 0);
        log.fileWithHits(1, "/home", 1, "/home/b.txt", R"({"secret":1})");
        FindingsLog::RunEnd end;
        end.run = 1;
        end.outcome = QStringLiteral("completed");
        log.runEnded(end);
        const QByteArray file = receive(daemon);
        const QByteArray run = receive(daemon);
        ::close(daemon);
        QVERIFY2(file.contains("/home/b.txt"), file.constData());
        QVERIFY2(run.contains("outcome=\"completed\""), run.constData());
    }
};

QTEST_GUILESS_MAIN(TestFindingsLog)
#include "tst_findingslog.moc"
