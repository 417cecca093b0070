// The walk of a task's entries, relative to directory descriptors.
#include "filewalker.h"

#include "documentreader.h"
#include "scanlimits.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <vector>

namespace {
struct Entry
{
    QByteArray name;
    unsigned char type;
};

constexpr int DirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

// One allocation for the joined path: it is made for every file walked.
QByteArray join(const QByteArray &dir, const QByteArray &name)
{
    if (dir.isEmpty())
        return name;
    const bool slash = !dir.endsWith('/');
    QByteArray joined;
    joined.reserve(dir.size() + int(slash) + name.size());
    joined.append(dir);
    if (slash)
        joined.append('/');
    joined.append(name);
    return joined;
}

// A directory is listed this much at a time (as a directory stream would).
constexpr int ListingBufferBytes = 32 << 10;

// Extensions up to this long are lowered on the stack (every entry of a walk has its name's looked at).
constexpr int ShortExtension = 32;
} // namespace

// One directory of the current chain, from the entry down.
struct FileWalker::Frame
{
    QByteArray name;   // below its parent
    dev_t device = 0;
    ino_t inode = 0;
    int fd = -1;       // -1 while closed to keep the descriptors bounded
    std::vector<QByteArray> pending; // subdirectories still to walk, the next one last
    int pathLength = 0;     // of the walk's path when this is the current directory
    int relativeLength = 0; // of the path below the entry
};

FileWalker::FileWalker(const QList<QByteArray> &roots, const QSet<QByteArray> &extensions)
    : m_roots(roots)
    , m_extensions(extensions)
    , m_listing(new char[ListingBufferBytes])
{
}

bool FileWalker::isPseudoFileSystem(long magic)
{
    switch (static_cast<unsigned long>(magic) & 0xFFFFFFFFul) {
    case 0x9fa0:       // proc
    case 0x62656572:   // sysfs
    case 0x1cd1:       // devpts
    case 0x27e0eb:     // cgroup
    case 0x63677270:   // cgroup2
    case 0x64626720:   // debugfs
    case 0x74726163:   // tracefs
    case 0x73636673:   // securityfs
    case 0x6165676c:   // pstore
    case 0xcafe4a11:   // bpf
    case 0x62656570:   // configfs
    case 0x65735543:   // fusectl
    case 0x19800202:   // mqueue
    case 0x958458f6:   // hugetlbfs
    case 0x42494e4d:   // binfmt_misc
    case 0xde5e81e4:   // efivarfs
    case 0x0187:       // autofs
        return true;
    default:
        return false;
    }
}

const char *FileWalker::skipName(Skip kind)
{
    switch (kind) {
    case SymbolicLink:
        return "symbolic links";
    case SpecialFile:
        return "special files";
    case UnreadableDirectory:
        return "unreadable directories";
    case PseudoFileSystem:
        return "pseudo file systems";
    case ChangedDirectory:
        return "directories changed during the walk";
    case NoDescriptors:
        return "directories not opened: too many open files";
    case SkipKinds:
        break;
    }
    return "";
}

bool FileWalker::selected(const QByteArray &name) const
{
    // The extension as DocumentReader::extensionOf gives it, without an
    // allocation when it is short and ASCII (the usual case).
    const int slash = name.lastIndexOf('/');
    const int dot = name.lastIndexOf('.');
    if (dot <= slash + 1)
        return false;
    const int length = name.size() - dot - 1;
    if (length == 0)
        return false;
    if (length <= ShortExtension) {
        char lower[ShortExtension];
        bool ascii = true;
        for (int i = 0; i < length && ascii; ++i) {
            const char c = name.at(dot + 1 + i);
            ascii = static_cast<unsigned char>(c) < 0x80;
            lower[i] = (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
        }
        if (ascii)
            return m_extensions.contains(QByteArray::fromRawData(lower, length));
    }
    return m_extensions.contains(DocumentReader::extensionOf(name));
}

int FileWalker::retryingOpen(const std::function<int()> &open) const
{
    int result = open();
    for (int attempt = 0; (result == -EMFILE || result == -ENFILE) && attempt < Limits::DescriptorRetries; ++attempt) {
        const int ms = Limits::descriptorRetryMs(attempt);
        for (int waited = 0; waited < ms; waited += 10) {
            if (m_stop && m_stop())
                return result;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        result = open();
    }
    return result;
}

void FileWalker::countUnopened(int error, const QByteArray &path)
{
    if (error == EMFILE || error == ENFILE) {
        ++m_skipped[NoDescriptors];
        if (m_noDescriptors)
            m_noDescriptors(path);
    } else
        ++m_skipped[error == ELOOP || error == ENOTDIR ? SymbolicLink : UnreadableDirectory];
}

void FileWalker::changed(const QByteArray &path)
{
    ++m_skipped[ChangedDirectory];
    if (m_changed)
        m_changed(path);
}

bool FileWalker::walk(const std::function<bool(const File &)> &onFile)
{
    for (const QByteArray &root : m_roots) {
        if (!walkRoot(root, onFile))
            return false;
    }
    return true;
}

bool FileWalker::walkRoot(const QByteArray &root, const std::function<bool(const File &)> &onFile)
{
    static const QByteArray pseudo[] = {"/proc", "/sys", "/dev", "/run"};
    auto isPseudoPath = [](const QByteArray &path) {
        return std::find(std::begin(pseudo), std::end(pseudo), path) != std::end(pseudo);
    };
    QByteArray lastName;
    const int parent = retryingOpen([&] { return NoFollow::openEntryParent(root, &lastName); });
    if (parent < 0) {
        countUnopened(-parent, root);
        return true;
    }
    auto parentDirectory = std::make_shared<const NoFollow::Directory>(parent);
    struct stat st;
    if (::fstatat(parent, lastName.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        ++m_skipped[UnreadableDirectory];
        return true;
    }
    if (S_ISREG(st.st_mode)) {
        // An entry that is a file holds no descriptor while it waits in the
        // queue: it is opened by its path, as an entry is resolved.
        parentDirectory.reset();
        if (selected(root))
            return onFile(File{root, st.st_size, nullptr, root});
        return true;
    }
    if (!S_ISDIR(st.st_mode)) {
        ++m_skipped[S_ISLNK(st.st_mode) ? SymbolicLink : SpecialFile];
        return true;
    }
    if (isPseudoPath(root)) {
        ++m_skipped[PseudoFileSystem];
        return true;
    }
    const int rootFd = retryingOpen([&] {
        const int fd = ::openat(parent, lastName.constData(), DirectoryFlags);
        return fd < 0 ? -errno : fd;
    });
    if (rootFd < 0) {
        countUnopened(-rootFd, root);
        return true;
    }
    parentDirectory.reset();
    // Files are opened later, by the task's threads, relative to the entry.
    auto base = std::make_shared<const NoFollow::Directory>(::fcntl(rootFd, F_DUPFD_CLOEXEC, 0));
    if (base->fd() < 0) {
        ::close(rootFd);
        ++m_skipped[UnreadableDirectory];
        return true;
    }

    QByteArray path = root;
    QByteArray relative;
    std::vector<Frame> chain;
    // The entry's frame (0) is open, and of the others those from lowestOpen on.
    int lowestOpen = 1;
    auto closeFrom = [&chain](std::size_t from) {
        for (std::size_t i = from; i < chain.size(); ++i) {
            if (chain[i].fd >= 0)
                ::close(chain[i].fd);
        }
    };

    // Lists the directory open as the last frame: files to onFile, subdirectories to its pending list.
    // Returns false when onFile ends the walk.
    auto list = [&](Frame &frame, dev_t parentDevice) -> bool {
        if (frame.device != parentDevice || chain.size() == 1) {
            struct statfs fs;
            if (::fstatfs(frame.fd, &fs) == 0 && isPseudoFileSystem(static_cast<long>(fs.f_type))) {
                ++m_skipped[PseudoFileSystem];
                return true;
            }
        }
        // Listed through the frame's own descriptor, whose position nothing
        // else uses, into the walk's one buffer: no second descriptor and no
        // directory stream to allocate for every directory.
        std::vector<Entry> entries;
        for (;;) {
            const ssize_t got = ::getdents64(frame.fd, m_listing.get(), ListingBufferBytes);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && entries.empty()) {
                countUnopened(errno, path);
                return true;
            }
            // An error part way through ends the listing with what was listed, as it ended readdir().
            if (got <= 0)
                break;
            for (ssize_t offset = 0; offset < got;) {
                const auto *entry = reinterpret_cast<const struct dirent64 *>(m_listing.get() + offset);
                offset += entry->d_reclen;
                const char *name = entry->d_name;
                if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                    continue;
                entries.push_back({QByteArray(name), entry->d_type});
            }
        }
        std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
        for (Entry &entry : entries) {
            if (m_stop && m_stop())
                return false;
            unsigned char type = entry.type;
            struct stat entryStat;
            bool haveStat = false;
            if (type == DT_UNKNOWN) {
                if (::fstatat(frame.fd, entry.name.constData(), &entryStat, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                haveStat = true;
                type = S_ISREG(entryStat.st_mode)   ? DT_REG
                       : S_ISDIR(entryStat.st_mode) ? DT_DIR
                       : S_ISLNK(entryStat.st_mode) ? DT_LNK
                                                    : DT_FIFO;
            }
            if (type == DT_DIR) {
                frame.pending.push_back(entry.name);
            } else if (type == DT_LNK) {
                ++m_skipped[SymbolicLink];
            } else if (type != DT_REG) {
                ++m_skipped[SpecialFile];
            } else if (selected(entry.name)) {
                qint64 size = 0;
                if (m_wantSizes) {
                    if (!haveStat && ::fstatat(frame.fd, entry.name.constData(), &entryStat, AT_SYMLINK_NOFOLLOW) != 0)
                        continue;
                    if (!S_ISREG(entryStat.st_mode))
                        continue;
                    size = entryStat.st_size;
                }
                if (!(m_wantPaths ? onFile(File{join(path, entry.name), size, base, join(relative, entry.name)})
                                  : onFile(File{QByteArray(), size, nullptr, QByteArray()})))
                    return false;
            }
        }
        std::reverse(frame.pending.begin(), frame.pending.end());
        return true;
    };

    // Opens the frame at index again, with the frames between it and the
    // entry (all closed then), checking that each is still the directory
    // it was; the deepest MaxWalkDirectories of them stay open.
    auto reopen = [&](std::size_t index) -> bool {
        const std::size_t held = std::size_t(Limits::MaxWalkDirectories);
        const std::size_t keepFrom = index >= held ? index - held + 1 : 1;
        int dir = chain[0].fd;
        for (std::size_t i = 1; i <= index; ++i) {
            const int fd = ::openat(dir, chain[i].name.constData(), DirectoryFlags);
            struct stat now;
            const bool same = fd >= 0 && ::fstat(fd, &now) == 0 && now.st_dev == chain[i].device && now.st_ino == chain[i].inode;
            if (i - 1 >= 1 && i - 1 < keepFrom)
                ::close(dir);
            if (!same) {
                if (fd >= 0)
                    ::close(fd);
                for (std::size_t k = keepFrom; k < i; ++k) {
                    ::close(chain[k].fd);
                    chain[k].fd = -1;
                }
                return false;
            }
            if (i >= keepFrom)
                chain[i].fd = fd;
            dir = fd;
        }
        lowestOpen = static_cast<int>(keepFrom);
        return true;
    };

    Frame top;
    top.fd = rootFd;
    top.device = st.st_dev;
    top.inode = st.st_ino;
    {
        struct stat now;
        if (::fstat(rootFd, &now) == 0) {
            top.device = now.st_dev;
            top.inode = now.st_ino;
        }
    }
    top.pathLength = path.size();
    chain.push_back(std::move(top));
    if (!list(chain.back(), dev_t(-1))) {
        closeFrom(0);
        return false;
    }

    bool completed = true;
    while (!chain.empty()) {
        if (m_stop && m_stop()) {
            completed = false;
            break;
        }
        Frame &current = chain.back();
        if (current.pending.empty()) {
            if (current.fd >= 0)
                ::close(current.fd);
            chain.pop_back();
            if (chain.empty())
                break;
            lowestOpen = std::min(lowestOpen, int(chain.size()));
            path.truncate(chain.back().pathLength);
            relative.truncate(chain.back().relativeLength);
            continue;
        }
        const QByteArray name = current.pending.back();
        current.pending.pop_back();
        const std::size_t index = chain.size() - 1;
        if (current.fd < 0 && !reopen(index)) {
            // The directory is no longer the one listed: the rest of it is left out.
            changed(path);
            current.pending.clear();
            continue;
        }
        const QByteArray childPath = join(path, name);
        if (isPseudoPath(childPath)) {
            ++m_skipped[PseudoFileSystem];
            continue;
        }
        const int fd = retryingOpen([&] {
            const int opened = ::openat(current.fd, name.constData(), DirectoryFlags);
            return opened < 0 ? -errno : opened;
        });
        if (fd < 0) {
            // Listed as a directory a moment ago: a link or a file now means someone swapped it.
            if (fd == -ELOOP || fd == -ENOTDIR)
                changed(childPath);
            else
                countUnopened(-fd, childPath);
            continue;
        }
        Frame child;
        child.name = name;
        child.fd = fd;
        struct stat childStat;
        if (::fstat(fd, &childStat) != 0) {
            ::close(fd);
            ++m_skipped[UnreadableDirectory];
            continue;
        }
        child.device = childStat.st_dev;
        child.inode = childStat.st_ino;
        const dev_t parentDevice = current.device;
        path = childPath;
        relative = join(relative, name);
        child.pathLength = path.size();
        child.relativeLength = relative.size();
        chain.push_back(std::move(child));
        // Keep at most MaxWalkDirectories open besides the entry: close the shallowest.
        if (int(chain.size()) - lowestOpen > Limits::MaxWalkDirectories) {
            ::close(chain[lowestOpen].fd);
            chain[lowestOpen].fd = -1;
            ++lowestOpen;
        }
        if (!list(chain.back(), parentDevice)) {
            completed = false;
            break;
        }
    }
    closeFrom(0);
    return completed;
}
