#ifndef FILEWALKER_H
#define FILEWALKER_H

#include "nofollow.h"

#include <QByteArray>
#include <QList>
#include <QSet>

#include <array>
#include <functional>
#include <memory>

// Walks directory trees and selects the regular files whose extension is
// in a set. It goes from directory descriptor to directory descriptor and
// never follows a symbolic link below an entry (links on an entry's own
// path only as NoFollow::openEntryParent allows), never opens anything but
// directories (files are only looked at), and leaves out the pseudo file
// systems (/proc, /sys, /dev, /run and any proc, sysfs, devpts, cgroup or
// similar mount it meets). Each directory is listed in name order, its
// files first, then its subdirectories, so two walks of an unchanged tree
// select the same files in the same order. Paths are not bounded by
// PATH_MAX, and the descriptors held are: at most
// Limits::MaxWalkDirectories directories of the current chain stay open,
// and one higher up is opened again from the nearest one still open, by
// its name, when the walk comes back to it, and must still be the
// directory it was.
class FileWalker
{
public:
    enum Skip { SymbolicLink, SpecialFile, UnreadableDirectory, PseudoFileSystem, ChangedDirectory, NoDescriptors, SkipKinds };

    // A selected file: its full path (for reports), and where to open it
    // from: relative below base, with NoFollow::openBelow.
    struct File
    {
        QByteArray path;
        qint64 size = 0;
        std::shared_ptr<const NoFollow::Directory> base;
        QByteArray relative;
    };

    // Roots are absolute paths of directories or regular files.
    FileWalker(const QList<QByteArray> &roots, const QSet<QByteArray> &extensions);

    // Checked between entries; returning true ends the walk.
    void setStopCheck(std::function<bool()> stop) { m_stop = std::move(stop); }
    // Whether onFile needs the size (one more look at each selected file).
    void setWantSizes(bool want) { m_wantSizes = want; }
    // Whether onFile needs the paths and the directory (a walk that only
    // counts does not: two allocations saved on every file).
    void setWantPaths(bool want) { m_wantPaths = want; }
    // Told of each directory left out because it changed after it was
    // listed (swapped for a link or another directory).
    void setChangedCheck(std::function<void(const QByteArray &path)> changed) { m_changed = std::move(changed); }
    // Told of each entry or directory not opened because descriptors ran
    // out ("too many open files") even after waiting for them.
    void setNoDescriptorsCheck(std::function<void(const QByteArray &path)> check) { m_noDescriptors = std::move(check); }

    // Calls onFile for each selected file; onFile returns false to end the
    // walk. Returns false when the walk was ended early.
    bool walk(const std::function<bool(const File &file)> &onFile);

    int skipped(Skip kind) const { return m_skipped[kind]; }
    // How the skips are named in the task's log ("symbolic links: 3").
    static const char *skipName(Skip kind);
    static bool isPseudoFileSystem(long magic);

private:
    struct Frame;

    bool selected(const QByteArray &name) const;
    bool walkRoot(const QByteArray &root, const std::function<bool(const File &)> &onFile);
    void changed(const QByteArray &path);
    // Runs open (a descriptor, or -errno) again while it fails with "too
    // many open files", waiting a little longer each time, as the task's
    // threads do for files; returns what the last try gave.
    int retryingOpen(const std::function<int()> &open) const;
    // Counts a directory that could not be opened by the reason errno gives.
    void countUnopened(int error, const QByteArray &path);

    QList<QByteArray> m_roots;
    QSet<QByteArray> m_extensions;
    std::function<bool()> m_stop;
    std::function<void(const QByteArray &)> m_changed;
    std::function<void(const QByteArray &)> m_noDescriptors;
    bool m_wantSizes = false;
    bool m_wantPaths = true;
    std::unique_ptr<char[]> m_listing; // the listing buffer, kept for every directory of the walk
    std::array<int, SkipKinds> m_skipped{};
};

#endif // FILEWALKER_H
