#include "filewalker.h"

#include "documentreader.h"

#include <algorithm>
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

QByteArray join(const QByteArray &dir, const QByteArray &name)
{
    return dir.endsWith('/') ? dir + name : dir + '/' + name;
}
} // namespace

FileWalker::FileWalker(const QList<QByteArray> &roots, const QSet<QByteArray> &extensions)
    : m_roots(roots)
    , m_extensions(extensions)
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

bool FileWalker::selected(const QByteArray &name) const
{
    const QByteArray extension = DocumentReader::extensionOf(name);
    return !extension.isEmpty() && m_extensions.contains(extension);
}

bool FileWalker::walk(const std::function<bool(const QByteArray &, qint64)> &onFile)
{
    static const QByteArray pseudo[] = {"/proc", "/sys", "/dev", "/run"};
    for (const QByteArray &root : m_roots) {
        struct stat st;
        if (::stat(root.constData(), &st) != 0) {
            ++m_skipped[UnreadableDirectory];
            continue;
        }
        if (S_ISREG(st.st_mode)) {
            if (selected(root) && !onFile(root, st.st_size))
                return false;
            continue;
        }
        if (!S_ISDIR(st.st_mode)) {
            ++m_skipped[SpecialFile];
            continue;
        }
        // Depth first; each element is a directory and the device of its parent.
        std::vector<std::pair<QByteArray, dev_t>> stack{{root, st.st_dev}};
        bool first = true;
        while (!stack.empty()) {
            if (m_stop && m_stop())
                return false;
            const QByteArray dir = stack.back().first;
            const dev_t parentDevice = stack.back().second;
            stack.pop_back();
            if (std::find(std::begin(pseudo), std::end(pseudo), dir) != std::end(pseudo)) {
                ++m_skipped[PseudoFileSystem];
                continue;
            }
            // The root itself may be reached through a link the caller chose; nothing below it is.
            const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | (first ? 0 : O_NOFOLLOW);
            first = false;
            const int fd = ::open(dir.constData(), flags);
            if (fd < 0) {
                ++m_skipped[errno == ELOOP || errno == ENOTDIR ? SymbolicLink : UnreadableDirectory];
                continue;
            }
            struct stat dirStat;
            if (::fstat(fd, &dirStat) != 0) {
                ::close(fd);
                ++m_skipped[UnreadableDirectory];
                continue;
            }
            if (dirStat.st_dev != parentDevice || dir == root) {
                struct statfs fs;
                if (::fstatfs(fd, &fs) == 0 && isPseudoFileSystem(static_cast<long>(fs.f_type))) {
                    ::close(fd);
                    ++m_skipped[PseudoFileSystem];
                    continue;
                }
            }
            DIR *handle = ::fdopendir(fd);
            if (!handle) {
                ::close(fd);
                ++m_skipped[UnreadableDirectory];
                continue;
            }
            std::vector<Entry> entries;
            while (dirent *entry = ::readdir(handle)) {
                const char *name = entry->d_name;
                if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                    continue;
                entries.push_back({QByteArray(name), entry->d_type});
            }
            std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
            std::vector<QByteArray> subdirectories;
            bool stopped = false;
            for (Entry &entry : entries) {
                unsigned char type = entry.type;
                struct stat entryStat;
                bool haveStat = false;
                if (type == DT_UNKNOWN) {
                    if (::fstatat(fd, entry.name.constData(), &entryStat, AT_SYMLINK_NOFOLLOW) != 0)
                        continue;
                    haveStat = true;
                    type = S_ISREG(entryStat.st_mode)   ? DT_REG
                           : S_ISDIR(entryStat.st_mode) ? DT_DIR
                           : S_ISLNK(entryStat.st_mode) ? DT_LNK
                                                        : DT_FIFO;
                }
                if (type == DT_DIR) {
                    subdirectories.push_back(join(dir, entry.name));
                } else if (type == DT_LNK) {
                    ++m_skipped[SymbolicLink];
                } else if (type != DT_REG) {
                    ++m_skipped[SpecialFile];
                } else if (selected(entry.name)) {
                    qint64 size = 0;
                    if (m_wantSizes) {
                        if (!haveStat && ::fstatat(fd, entry.name.constData(), &entryStat, AT_SYMLINK_NOFOLLOW) != 0)
                            continue;
                        if (!S_ISREG(entryStat.st_mode))
                            continue;
                        size = entryStat.st_size;
                    }
                    if (!onFile(join(dir, entry.name), size)) {
                        stopped = true;
                        break;
                    }
                }
            }
            ::closedir(handle);
            if (stopped)
                return false;
            for (auto it = subdirectories.rbegin(); it != subdirectories.rend(); ++it)
                stack.push_back({*it, dirStat.st_dev});
        }
    }
    return true;
}
