#ifndef FILEWALKER_H
#define FILEWALKER_H

#include <QByteArray>
#include <QList>
#include <QSet>

#include <array>
#include <functional>

// Walks directory trees and selects the regular files whose extension is
// in a set. It never follows a symbolic link, never opens anything but
// directories (files are only looked at), and leaves out the pseudo file
// systems (/proc, /sys, /dev, /run and any proc, sysfs, devpts, cgroup or
// similar mount it meets). Each directory is listed in name order, its
// files first, then its subdirectories, so two walks of an unchanged tree
// select the same files in the same order.
class FileWalker
{
public:
    enum Skip { SymbolicLink, SpecialFile, UnreadableDirectory, PseudoFileSystem, SkipKinds };

    // Roots are absolute paths of directories or regular files.
    FileWalker(const QList<QByteArray> &roots, const QSet<QByteArray> &extensions);

    // Checked between entries; returning true ends the walk.
    void setStopCheck(std::function<bool()> stop) { m_stop = std::move(stop); }
    // Whether onFile needs the size (one more look at each selected file).
    void setWantSizes(bool want) { m_wantSizes = want; }

    // Calls onFile for each selected file; onFile returns false to end the
    // walk. Returns false when the walk was ended early.
    bool walk(const std::function<bool(const QByteArray &path, qint64 size)> &onFile);

    int skipped(Skip kind) const { return m_skipped[kind]; }
    static bool isPseudoFileSystem(long magic);

private:
    bool selected(const QByteArray &name) const;

    QList<QByteArray> m_roots;
    QSet<QByteArray> m_extensions;
    std::function<bool()> m_stop;
    bool m_wantSizes = false;
    std::array<int, SkipKinds> m_skipped{};
};

#endif // FILEWALKER_H
