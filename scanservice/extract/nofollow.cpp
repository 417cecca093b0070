// Opening without following links: openat2 where it is there, else (and
// for paths longer than the kernel takes in one call) one openat per
// component.
#include "nofollow.h"

#include <QList>

#include <atomic>
#include <cerrno>
#include <climits>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

#if __has_include(<linux/openat2.h>)
#include <linux/openat2.h>
#define NOFOLLOW_HAVE_OPENAT2 1
#endif

namespace {
// Links followed while resolving one entry, as the kernel's own limit.
constexpr int MaxEntryLinks = 40;

std::vector<QByteArray> componentsOf(const QByteArray &path)
{
    std::vector<QByteArray> parts;
    for (const QByteArray &part : path.split('/')) {
        if (!part.isEmpty() && part != ".")
            parts.push_back(part);
    }
    return parts;
}

// After a failed open of name in dir: -ELOOP when name is a link, else -error.
int linkOr(int dir, const QByteArray &name, int error)
{
    struct stat st;
    if ((error == ENOTDIR || error == ELOOP) && ::fstatat(dir, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISLNK(st.st_mode))
        return -ELOOP;
    return -error;
}

// Only root (or the user the service runs as, root when installed) can
// have put or changed an entry of this directory.
bool onlyRootWrites(int dir)
{
    struct stat st;
    return ::fstat(dir, &st) == 0 && (st.st_uid == 0 || st.st_uid == ::geteuid())
           && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

int openRoot()
{
    return ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
}

#ifdef NOFOLLOW_HAVE_OPENAT2
// One openat2 call that refuses every link (and, with beneath, anything
// outside dirfd): the descriptor, or -1 with errno. Kernels before 5.6 and
// some sandboxes refuse the call (ENOSYS, EPERM); then it is not tried
// again and gives ENOSYS, and callers resolve one component at a time.
int openNoLinks(int dirfd, const QByteArray &path, int flags, bool beneath)
{
    static std::atomic<bool> unavailable{false};
    if (unavailable.load(std::memory_order_relaxed) || path.size() >= PATH_MAX) {
        errno = ENOSYS;
        return -1;
    }
    open_how how{};
    how.flags = static_cast<quint64>(flags | O_NOFOLLOW | O_CLOEXEC);
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | (beneath ? RESOLVE_BENEATH : 0);
    const long fd = ::syscall(SYS_openat2, dirfd, path.constData(), &how, sizeof how);
    if (fd < 0 && (errno == ENOSYS || errno == EPERM)) {
        unavailable = true;
        errno = ENOSYS;
    }
    return static_cast<int>(fd);
}
#endif
} // namespace

NoFollow::Directory::~Directory()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int NoFollow::openBelow(int dirfd, const QByteArray &relative, int flags)
{
    flags |= O_NOFOLLOW | O_CLOEXEC;
#ifdef NOFOLLOW_HAVE_OPENAT2
    const int scoped = openNoLinks(dirfd, relative, flags, true);
    if (scoped >= 0)
        return scoped;
    // ENOSYS: not available; EAGAIN: a rename raced the scoped lookup. The
    // per-component walk below has neither problem.
    if (errno != ENOSYS && errno != EAGAIN)
        return -errno;
#endif
    const std::vector<QByteArray> parts = componentsOf(relative);
    if (parts.empty())
        return -ENOENT;
    int dir = dirfd;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const int next = ::openat(dir, parts[i].constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        const int result = next < 0 ? linkOr(dir, parts[i], error) : 0;
        if (dir != dirfd)
            ::close(dir);
        if (next < 0)
            return result;
        dir = next;
    }
    const int fd = ::openat(dir, parts.back().constData(), flags);
    const int result = fd < 0 ? linkOr(dir, parts.back(), errno) : fd;
    if (dir != dirfd)
        ::close(dir);
    return result;
}

int NoFollow::openEntryParent(const QByteArray &absolute, QByteArray *name)
{
#ifdef NOFOLLOW_HAVE_OPENAT2
    // Most entries hold no link and no "..": their directory in one call
    // and one descriptor. Otherwise, the walk from "/" below.
    const int slash = absolute.lastIndexOf('/');
    if (absolute.size() < PATH_MAX && absolute.startsWith('/') && slash + 1 < absolute.size()
        && !absolute.contains("/..") && !absolute.contains("/./")) {
        const QByteArray parent = slash == 0 ? QByteArray("/") : absolute.left(slash);
        const int fd = openNoLinks(AT_FDCWD, parent, O_PATH | O_DIRECTORY, false);
        const QByteArray last = absolute.mid(slash + 1);
        struct stat st;
        // The entry itself may be a link, which is judged as for an entry below.
        if (fd >= 0 && last != "." && last != ".."
            && !(::fstatat(fd, last.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))) {
            *name = last;
            return fd;
        }
        if (fd >= 0)
            ::close(fd);
        else if (errno == EMFILE || errno == ENFILE)
            return -errno;
    }
#endif
    std::deque<QByteArray> pending;
    for (const QByteArray &part : componentsOf(absolute))
        pending.push_back(part);
    int dir = openRoot();
    if (dir < 0)
        return -errno;
    std::vector<QByteArray> resolved; // the names from "/" to dir, for ".."
    int links = 0;
    auto fail = [&dir](int error) {
        ::close(dir);
        return -error;
    };
    while (!pending.empty()) {
        const QByteArray part = pending.front();
        pending.pop_front();
        if (part == "..") {
            // Back up by opening the parent afresh from "/" along names already checked.
            if (!resolved.empty())
                resolved.pop_back();
            QByteArray parent;
            for (const QByteArray &r : resolved)
                parent += '/' + r;
            ::close(dir);
            dir = parent.isEmpty() ? openRoot() : openBelow(AT_FDCWD, "/" + parent, O_PATH | O_DIRECTORY);
            if (dir < 0)
                return dir == -1 ? -errno : dir;
            continue;
        }
        struct stat st;
        if (::fstatat(dir, part.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return fail(errno);
        if (S_ISLNK(st.st_mode)) {
            if (!onlyRootWrites(dir) || ++links > MaxEntryLinks)
                return fail(ELOOP);
            QByteArray target(PATH_MAX, '\0');
            const ssize_t length = ::readlinkat(dir, part.constData(), target.data(), target.size());
            if (length <= 0 || length >= target.size())
                return fail(ELOOP);
            target.truncate(static_cast<int>(length));
            const std::vector<QByteArray> targetParts = componentsOf(target);
            for (auto it = targetParts.rbegin(); it != targetParts.rend(); ++it)
                pending.push_front(*it);
            if (target.startsWith('/')) {
                resolved.clear();
                ::close(dir);
                dir = openRoot();
                if (dir < 0)
                    return -errno;
            }
            continue;
        }
        if (pending.empty()) {
            *name = part;
            return dir;
        }
        const int next = ::openat(dir, part.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0)
            return fail(-linkOr(dir, part, errno));
        ::close(dir);
        dir = next;
        resolved.push_back(part);
    }
    *name = ".";
    return dir;
}

int NoFollow::openPath(const QByteArray &absolute, int flags)
{
    if (!absolute.startsWith('/'))
        return openBelow(AT_FDCWD, absolute, flags);
#ifdef NOFOLLOW_HAVE_OPENAT2
    // Most paths hold no link at all: one call and one descriptor. A link on
    // the way (ELOOP) is then judged as for an entry, below.
    const int direct = openNoLinks(AT_FDCWD, absolute, flags, false);
    if (direct >= 0)
        return direct;
    if (errno == EMFILE || errno == ENFILE || errno == ENOENT || errno == EACCES)
        return -errno;
#endif
    QByteArray name;
    const int dir = openEntryParent(absolute, &name);
    if (dir < 0)
        return dir;
    const int fd = ::openat(dir, name.constData(), flags | O_NOFOLLOW | O_CLOEXEC);
    const int result = fd < 0 ? linkOr(dir, name, errno) : fd;
    ::close(dir);
    return result;
}
