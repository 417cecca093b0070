#ifndef NOFOLLOW_H
#define NOFOLLOW_H

#include <QByteArray>

#include <memory>

// Opens what a scan reads without following a symbolic link at any level of
// its path: below a directory descriptor, one component at a time (or in
// one openat2 call with RESOLVE_NO_SYMLINKS where the kernel has it), so a
// directory of the tree that someone swaps for a link while a task runs
// leads nowhere, and a path of any length can be opened. Errors come back
// as -errno; -ELOOP means a link was met.
class NoFollow
{
public:
    // An open directory that paths are resolved from, closed with its last holder.
    class Directory
    {
    public:
        explicit Directory(int fd) : m_fd(fd) {}
        ~Directory();
        Directory(const Directory &) = delete;
        Directory &operator=(const Directory &) = delete;
        int fd() const { return m_fd; }

    private:
        const int m_fd;
    };

    // Opens the path below dirfd ("a/b/c.txt": no "." or ".." needed, empty
    // components are ignored) with flags (O_NOFOLLOW and O_CLOEXEC are
    // added); no component may be a link.
    static int openBelow(int dirfd, const QByteArray &relative, int flags);

    // Resolves an entry of a task, an absolute path the caller chose, from
    // "/". Links on that path are followed only where no one but root could
    // have made or changed them: in a directory that belongs to root (or to
    // the user the service runs as) and that neither its group nor others
    // may write to ("/home" -> "/var/home"
    // is followed; a link in a user's directory is not). Returns a
    // descriptor (O_PATH) of the directory that holds the entry's last
    // component and that component in *name ("." for "/" itself).
    static int openEntryParent(const QByteArray &absolute, QByteArray *name);

    // openEntryParent, then the last component opened with flags: a file
    // named by its full path, with links followed only as for an entry.
    static int openPath(const QByteArray &absolute, int flags);
};

#endif // NOFOLLOW_H
