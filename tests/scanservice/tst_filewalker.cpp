// The walk and the opener of scanned files against trees that change under
// them and trees deeper than PATH_MAX, at the library seam: the test swaps
// directories from inside the walk's own callback, so every window is hit.
#include "filewalker.h"
#include "nofollow.h"
#include "sampledocuments.h"
#include "scanlimits.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// The content of the file found, read the way the scan reads it.
QByteArray readBelow(const FileWalker::File &file, int *error = nullptr)
{
    const int fd = NoFollow::openBelow(file.base->fd(), file.relative, O_RDONLY);
    if (error)
        *error = fd < 0 ? -fd : 0;
    if (fd < 0)
        return QByteArray();
    QByteArray data(4096, '\0');
    const ssize_t n = ::read(fd, data.data(), data.size());
    ::close(fd);
    data.truncate(n < 0 ? 0 : int(n));
    return data;
}

int openDescriptors()
{
    // Links to directories among them too, which QDir would take for directories.
    DIR *fds = ::opendir("/proc/self/fd");
    int count = 0;
    while (dirent *entry = fds ? ::readdir(fds) : nullptr)
        count += entry->d_name[0] != '.';
    if (fds)
        ::closedir(fds);
    return count;
}

// A chain of directories, each with a side directory holding side.txt
// (its level), the bottom one with deep.txt; made with mkdirat, since the
// full path outgrows PATH_MAX. Returns the chain's directory names.
QList<QByteArray> makeChain(const QString &root, int levels, const QByteArray &nameStem)
{
    QList<QByteArray> names;
    int dir = ::open(native(root).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < levels && dir >= 0; ++level) {
        const QByteArray name = nameStem + QByteArray::number(level).rightJustified(3, '0');
        names.append(name);
        if (::mkdirat(dir, name.constData(), 0755) != 0 || ::mkdirat(dir, "side", 0755) != 0)
            break;
        const int side = ::openat(dir, "side/side.txt", O_WRONLY | O_CREAT, 0644);
        const QByteArray text = QByteArray::number(level);
        if (side < 0 || ::write(side, text.constData(), size_t(text.size())) != text.size())
            break;
        ::close(side);
        const int next = ::openat(dir, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(dir);
        dir = next;
    }
    if (dir >= 0) {
        const int deep = ::openat(dir, "deep.txt", O_WRONLY | O_CREAT, 0644);
        if (deep >= 0 && ::write(deep, "deep", 4) == 4)
            ::close(deep);
        ::close(dir);
    }
    return names;
}

void removeTree(const QString &path)
{
    // rm walks by descriptors too; QDir cannot remove below PATH_MAX.
    QProcess::execute("rm", {"-rf", path});
}
} // namespace

class TestFileWalker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A tree deeper than PATH_MAX is walked whole, every file can be
    // opened, and the walk holds a bounded number of descriptors however
    // deep it goes (the side directories on the way back up make it open
    // directories it had closed again).
    void deeperThanPathMax()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString root = work.path() + "/tree";
        QVERIFY(QDir().mkpath(root));
        const int levels = 200;
        const QList<QByteArray> names = makeChain(root, levels, "directory-with-a-long-name-");
        QCOMPARE(names.size(), levels);
        auto cleanup = qScopeGuard([&] { removeTree(root); });

        FileWalker walker({native(root)}, {"txt"});
        walker.setWantSizes(true);
        const int before = openDescriptors();
        int most = 0;
        QList<FileWalker::File> found;
        QVERIFY(walker.walk([&](const FileWalker::File &file) {
            most = std::max(most, openDescriptors() - before);
            found.append(file);
            return true;
        }));
        QCOMPARE(found.size(), levels + 1);
        // The bottom first, then the side directories from the deepest up.
        QVERIFY2(found.first().path.size() > PATH_MAX, QByteArray::number(found.first().path.size()).constData());
        QVERIFY(found.first().path.endsWith("/deep.txt"));
        QCOMPARE(readBelow(found.first()), QByteArray("deep"));
        QCOMPARE(found.first().size, qint64(4));
        for (int i = 1; i <= levels; ++i) {
            const int level = levels - i;
            QByteArray expected = native(root);
            for (int k = 0; k < level; ++k)
                expected += '/' + names.at(k);
            QCOMPARE(found.at(i).path, expected + "/side/side.txt");
            QCOMPARE(readBelow(found.at(i)), QByteArray::number(level));
        }
        // The chain held open, the entry, its copy for the opener, and a listing.
        QVERIFY2(most <= Limits::MaxWalkDirectories + 4, QByteArray::number(most).constData());
        found.clear();
        QCOMPARE(openDescriptors(), before);
        QCOMPARE(walker.skipped(FileWalker::ChangedDirectory), 0);
    }

    // A directory listed by the walk and swapped for a link before the walk
    // enters it is left out and reported as changed.
    void listedDirectorySwappedForLink()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString root = work.path() + "/tree";
        const QString secret = work.path() + "/root-only";
        QVERIFY(QDir().mkpath(root + "/user/d"));
        QVERIFY(QDir().mkpath(secret));
        QVERIFY(SampleDocuments::writeFile(root + "/user/u.txt", "u"));
        QVERIFY(SampleDocuments::writeFile(root + "/user/d/mine.txt", "mine"));
        QVERIFY(SampleDocuments::writeFile(secret + "/private.txt", "private"));

        FileWalker walker({native(root)}, {"txt"});
        QStringList changed;
        walker.setChangedCheck([&](const QByteArray &path) { changed.append(QFile::decodeName(path)); });
        QStringList seen;
        bool swapped = false;
        QVERIFY(walker.walk([&](const FileWalker::File &file) {
            seen.append(QFile::decodeName(file.path).mid(root.size() + 1));
            if (seen.last() == "user/u.txt") {
                // "user" is listed, "d" waits: swap it now.
                swapped = QDir(root + "/user").rename("d", "d.old") && QFile::link(secret, root + "/user/d");
            }
            return true;
        }));
        QVERIFY(swapped);
        QCOMPARE(seen, QStringList{"user/u.txt"});
        QCOMPARE(changed, QStringList{root + "/user/d"});
        QCOMPARE(walker.skipped(FileWalker::ChangedDirectory), 1);
    }

    // A directory above the walk's place swapped for a link: the walk goes
    // on in the directories it holds and never enters the link's target,
    // and the files it found can no longer be opened by their path, be the
    // path short (one openat2) or longer than PATH_MAX (one openat per
    // component).
    void ancestorSwappedForLink_data()
    {
        QTest::addColumn<int>("levels"); // directories between the swapped one and the files
        QTest::newRow("short path") << 0;
        QTest::newRow("path longer than PATH_MAX") << 200;
    }
    void ancestorSwappedForLink()
    {
        QFETCH(int, levels);
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString root = work.path() + "/tree";
        const QString secret = work.path() + "/root-only";
        auto cleanup = qScopeGuard([&] { removeTree(root); });
        QVERIFY(QDir().mkpath(root + "/user"));
        QVERIFY(QDir().mkpath(secret + "/d/sub"));
        QVERIFY(SampleDocuments::writeFile(secret + "/d/a.txt", "private a"));
        QVERIFY(SampleDocuments::writeFile(secret + "/d/sub/b.txt", "private b"));
        QVERIFY(SampleDocuments::writeFile(secret + "/d/sub/private.txt", "private"));
        // root/user/<levels directories>/d/{a.txt, sub/b.txt}, made by descriptors.
        int dir = ::open(native(root + "/user").constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QByteArray middle;
        for (int level = 0; level < levels + 1 && dir >= 0; ++level) {
            const QByteArray name = level < levels ? "directory-with-a-long-name-" + QByteArray::number(level) : "d";
            middle += '/' + name;
            const int next = ::mkdirat(dir, name.constData(), 0755) == 0
                                 ? ::openat(dir, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                                 : -1;
            ::close(dir);
            dir = next;
        }
        QVERIFY(dir >= 0);
        bool made = ::mkdirat(dir, "sub", 0755) == 0;
        for (const char *file : {"a.txt", "sub/b.txt"}) {
            const int fd = ::openat(dir, file, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            made = made && fd >= 0 && ::write(fd, "mine", 4) == 4;
            if (fd >= 0)
                ::close(fd);
        }
        ::close(dir);
        QVERIFY(made);

        FileWalker walker({native(root)}, {"txt"});
        QList<FileWalker::File> found;
        bool swapped = false;
        QVERIFY(walker.walk([&](const FileWalker::File &file) {
            found.append(file);
            if (file.path.endsWith("/d/a.txt")) {
                // "sub" is listed and not yet entered: the user swaps its own directory.
                swapped = QDir(root).rename("user", "user.old") && QFile::link(secret, root + "/user");
            }
            return true;
        }));
        QVERIFY(swapped);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found.at(1).path, native(root + "/user") + middle + "/sub/b.txt");
        QCOMPARE(found.at(1).relative.size() > PATH_MAX, levels > 0);
        for (const FileWalker::File &file : found) {
            int error = 0;
            QCOMPARE(readBelow(file, &error), QByteArray());
            QCOMPARE(error, ELOOP);
        }
    }

    // Deep in the tree, a directory the walk had to close is replaced by
    // another of the same name: when the walk comes back up it finds out,
    // leaves the rest out and says so, and reads nothing of the newcomer.
    void closedDirectoryReplaced()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString root = work.path() + "/tree";
        QVERIFY(QDir().mkpath(root));
        const int levels = Limits::MaxWalkDirectories + 8;
        const QList<QByteArray> names = makeChain(root, levels, "n");
        QCOMPARE(names.size(), levels);
        const QString replaced = root + "/" + names.at(0) + "/" + names.at(1);
        auto cleanup = qScopeGuard([&] { removeTree(root); });

        FileWalker walker({native(root)}, {"txt"});
        int changed = 0;
        walker.setChangedCheck([&](const QByteArray &) { ++changed; });
        QStringList seen;
        bool swapped = false;
        QVERIFY(walker.walk([&](const FileWalker::File &file) {
            seen.append(QFile::decodeName(file.path));
            if (file.path.endsWith("/deep.txt")) {
                swapped = QDir().rename(replaced, replaced + ".old") && QDir().mkpath(replaced + "/side")
                          && SampleDocuments::writeFile(replaced + "/side/newcomer.txt", "new");
            }
            return true;
        }));
        QVERIFY(swapped);
        QVERIFY(changed >= 1);
        QCOMPARE(walker.skipped(FileWalker::ChangedDirectory), changed);
        for (const QString &path : seen)
            QVERIFY2(!path.contains("newcomer"), qPrintable(path));
        // Above the replaced directory the walk goes on as before.
        QVERIFY(seen.contains(root + "/side/side.txt"));
        QVERIFY(seen.contains(root + "/" + names.at(0) + "/side/side.txt"));
    }

    // Links on the path of an entry itself are followed only where no one
    // but root could have made them.
    void linkOnEntryPath_data()
    {
        QTest::addColumn<QString>("owner");  // of the directory holding the link: "root" or "nobody"
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("followed");
        QTest::newRow("directory only root writes") << "root" << 0755 << true;
        QTest::newRow("directory others may write") << "root" << 0777 << false;
        QTest::newRow("directory its group may write") << "root" << 0775 << false;
        QTest::newRow("directory of another user") << "nobody" << 0755 << false;
    }
    void linkOnEntryPath()
    {
        QFETCH(QString, owner);
        QFETCH(int, mode);
        QFETCH(bool, followed);
        if (::geteuid() != 0)
            QSKIP("needs root: whether a link is followed depends on who owns its directory");
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString holder = work.path() + "/holder";
        QVERIFY(QDir().mkpath(holder));
        QVERIFY(QDir().mkpath(work.path() + "/target"));
        QVERIFY(SampleDocuments::writeFile(work.path() + "/target/t.txt", "t"));
        QVERIFY(QFile::link(work.path() + "/target", holder + "/entry"));
        QCOMPARE(::chmod(native(holder).constData(), mode_t(mode)), 0);
        QCOMPARE(::chmod(native(work.path()).constData(), 0755), 0);
        const uid_t uid = owner == "root" ? 0 : 65534;
        QCOMPARE(::chown(native(holder).constData(), uid, uid), 0);

        FileWalker walker({native(holder + "/entry")}, {"txt"});
        QList<FileWalker::File> found;
        QVERIFY(walker.walk([&](const FileWalker::File &file) {
            found.append(file);
            return true;
        }));
        QCOMPARE(found.size(), followed ? 1 : 0);
        QCOMPARE(walker.skipped(FileWalker::SymbolicLink), followed ? 0 : 1);
        if (followed) {
            QCOMPARE(found.first().path, native(holder + "/entry/t.txt"));
            QCOMPARE(readBelow(found.first()), QByteArray("t"));
        }
    }
};

QTEST_MAIN(TestFileWalker)
#include "tst_filewalker.moc"
