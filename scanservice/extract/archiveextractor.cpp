#include "archiveextractor.h"

#include "documentreader.h"
#include "plaintextextractor.h"
#include "scanlimits.h"

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct ArchiveDeleter
{
    void operator()(archive *a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

ArchivePtr openReader()
{
    ArchivePtr a(archive_read_new());
    archive_read_support_filter_all(a.get());
    archive_read_support_format_all(a.get());
    // A lone compressed file (notes.txt.gz) is one member.
    archive_read_support_format_raw(a.get());
    return a;
}

// "notes.txt.gz" -> "notes.txt"; "x.tgz" -> "x.tar".
QByteArray withoutCompression(const QByteArray &name)
{
    const QByteArray lower = name.toLower();
    if (lower.endsWith(".tgz"))
        return name.left(name.size() - 4) + ".tar";
    for (const char *suffix : {".gz", ".bz2", ".xz", ".lz", ".zst", ".z"}) {
        if (lower.endsWith(suffix))
            return name.left(name.size() - static_cast<int>(qstrlen(suffix)));
    }
    return name;
}

class Reader
{
public:
    Reader(const QSet<QByteArray> &extensions, TextSink &sink)
        : m_extensions(extensions)
        , m_sink(sink)
    {
    }

    ExtractStatus run(archive *a, qint64 sourceSize, const QByteArray &prefix, const QByteArray &rawName, int depth);
    QString detail;

private:
    enum class Outcome { Ok, Stop };
    // Counts bytes taken out of the archive at this level; false when a limit is reached.
    bool account(qint64 bytes, qint64 &levelBytes, qint64 sourceSize);
    ExtractStatus limit(const QString &why)
    {
        if (detail.isEmpty())
            detail = QStringLiteral("archive limit exceeded: ") + why;
        m_limited = true;
        return ExtractStatus::LimitExceeded;
    }
    // Reads the current member into a memory file; -1 when it could not be.
    int memberToMemory(archive *a, qint64 &levelBytes, qint64 sourceSize, qint64 *size, ExtractStatus *status);

    const QSet<QByteArray> &m_extensions;
    TextSink &m_sink;
    qint64 m_totalBytes = 0;
    int m_members = 0;
    bool m_limited = false;      // a limit that stops the whole file
    bool m_partLimited = false;  // a member left out (too deep, too big)
    bool m_encrypted = false;
};

bool Reader::account(qint64 bytes, qint64 &levelBytes, qint64 sourceSize)
{
    levelBytes += bytes;
    m_totalBytes += bytes;
    if (m_totalBytes > Limits::MaxArchiveTotalBytes) {
        limit(QStringLiteral("more than %1 MiB uncompressed").arg(Limits::MaxArchiveTotalBytes >> 20));
        return false;
    }
    if (levelBytes > Limits::ArchiveRatioFloorBytes && levelBytes > Limits::MaxArchiveRatio * qMax<qint64>(sourceSize, 1)) {
        limit(QStringLiteral("compression ratio above %1").arg(Limits::MaxArchiveRatio));
        return false;
    }
    return true;
}

int Reader::memberToMemory(archive *a, qint64 &levelBytes, qint64 sourceSize, qint64 *size, ExtractStatus *status)
{
    const int fd = ::memfd_create("archive-member", MFD_CLOEXEC);
    if (fd < 0) {
        *status = ExtractStatus::Unreadable;
        return -1;
    }
    char block[65536];
    qint64 total = 0;
    for (;;) {
        const la_ssize_t got = archive_read_data(a, block, sizeof block);
        if (got == 0)
            break;
        if (got < 0) {
            ::close(fd);
            *status = ExtractStatus::Corrupt;
            return -1;
        }
        total += got;
        if (!account(got, levelBytes, sourceSize)) {
            ::close(fd);
            *status = ExtractStatus::LimitExceeded;
            return -1;
        }
        if (total > Limits::MaxArchiveMemberBytes) {
            ::close(fd);
            *status = ExtractStatus::TooLarge;
            return -1;
        }
        for (la_ssize_t done = 0; done < got;) {
            const ssize_t written = ::write(fd, block + done, static_cast<std::size_t>(got - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                ::close(fd);
                *status = ExtractStatus::Unreadable;
                return -1;
            }
            done += written;
        }
    }
    ::lseek(fd, 0, SEEK_SET);
    *size = total;
    *status = ExtractStatus::Ok;
    return fd;
}

ExtractStatus Reader::run(archive *a, qint64 sourceSize, const QByteArray &prefix, const QByteArray &rawName, int depth)
{
    qint64 levelBytes = 0;
    bool any = false;
    for (;;) {
        archive_entry *entry = nullptr;
        const int result = archive_read_next_header(a, &entry);
        if (result == ARCHIVE_EOF)
            break;
        if (result == ARCHIVE_FATAL || result == ARCHIVE_RETRY) {
            if (detail.isEmpty())
                detail = QStringLiteral("damaged archive: %1").arg(QString::fromUtf8(archive_error_string(a)));
            return ExtractStatus::Corrupt;
        }
        any = true;
        if (++m_members > Limits::MaxArchiveMembers)
            return limit(QStringLiteral("more than %1 members").arg(Limits::MaxArchiveMembers));
        if (result == ARCHIVE_FAILED || archive_entry_filetype(entry) != AE_IFREG)
            continue;
        QByteArray name;
        if (archive_format(a) == ARCHIVE_FORMAT_RAW) {
            name = rawName;
        } else {
            const char *utf8 = archive_entry_pathname_utf8(entry);
            name = utf8 ? QByteArray(utf8) : QByteArray(archive_entry_pathname(entry));
        }
        const DocumentReader::Kind kind = DocumentReader::kindOf(DocumentReader::extensionOf(name));
        if (kind == DocumentReader::Kind::Unsupported || !m_extensions.contains(DocumentReader::extensionOf(name)))
            continue;
        if (archive_entry_is_encrypted(entry)) {
            m_encrypted = true;
            continue;
        }
        const QByteArray label = prefix.isEmpty() ? name : prefix + '/' + name;
        ExtractStatus status = ExtractStatus::Ok;
        if (kind == DocumentReader::Kind::PlainText) {
            m_sink.beginPart(label);
            bool stopped = false;
            status = PlainTextExtractor::extract(
                [&](char *buffer, std::size_t size) -> ssize_t {
                    const la_ssize_t got = archive_read_data(a, buffer, size);
                    if (got < 0) {
                        errno = EIO;
                        return -1;
                    }
                    if (got > 0 && !account(got, levelBytes, sourceSize)) {
                        stopped = true;
                        return 0;
                    }
                    return got;
                },
                m_sink);
            if (stopped)
                return ExtractStatus::LimitExceeded;
            if (status == ExtractStatus::Unreadable)
                status = ExtractStatus::Corrupt;
        } else if (kind == DocumentReader::Kind::Archive && depth >= Limits::MaxArchiveDepth) {
            if (detail.isEmpty())
                detail = QStringLiteral("archive limit exceeded: archives nested deeper than %1 (%2 left out)")
                             .arg(Limits::MaxArchiveDepth)
                             .arg(QString::fromUtf8(label));
            m_partLimited = true;
            continue;
        } else {
            qint64 size = 0;
            const int fd = memberToMemory(a, levelBytes, sourceSize, &size, &status);
            if (status == ExtractStatus::LimitExceeded)
                return status;
            if (fd < 0) {
                if (status == ExtractStatus::TooLarge) {
                    m_partLimited = true;
                    if (detail.isEmpty())
                        detail = QStringLiteral("archive limit exceeded: member larger than %1 MiB (%2 left out)")
                                     .arg(Limits::MaxArchiveMemberBytes >> 20)
                                     .arg(QString::fromUtf8(label));
                    continue;
                }
                return status;
            }
            if (kind == DocumentReader::Kind::Archive) {
                ArchivePtr inner = openReader();
                char *mapped = static_cast<char *>(::mmap(nullptr, static_cast<std::size_t>(qMax<qint64>(size, 1)), PROT_READ, MAP_PRIVATE, fd, 0));
                if (mapped == MAP_FAILED || archive_read_open_memory(inner.get(), mapped, static_cast<std::size_t>(size)) != ARCHIVE_OK) {
                    status = ExtractStatus::Corrupt;
                } else {
                    QString innerDetail;
                    std::swap(innerDetail, detail);
                    status = run(inner.get(), size, label, withoutCompression(name.mid(name.lastIndexOf('/') + 1)), depth + 1);
                    if (detail.isEmpty() || !innerDetail.isEmpty())
                        std::swap(innerDetail, detail);
                    if (status == ExtractStatus::Corrupt) {
                        // A damaged inner archive costs only itself.
                        status = ExtractStatus::Ok;
                    }
                }
                if (mapped != MAP_FAILED)
                    ::munmap(mapped, static_cast<std::size_t>(qMax<qint64>(size, 1)));
            } else {
                m_sink.beginPart(label);
                status = DocumentReader::readOpen(fd, size, name, kind, m_sink);
                if (status != ExtractStatus::Stopped)
                    status = ExtractStatus::Ok; // a damaged member costs only itself
            }
            ::close(fd);
        }
        if (status == ExtractStatus::Stopped || m_limited)
            return m_limited ? ExtractStatus::LimitExceeded : ExtractStatus::Stopped;
        if (status == ExtractStatus::LimitExceeded)
            return status;
    }
    if (!any && depth == 1 && archive_format(a) == ARCHIVE_FORMAT_RAW && sourceSize > 0 && levelBytes == 0)
        return ExtractStatus::Corrupt;
    if (depth == 1 && m_partLimited)
        return ExtractStatus::LimitExceeded;
    if (depth == 1 && m_encrypted)
        return ExtractStatus::Encrypted;
    return ExtractStatus::Ok;
}

} // namespace

ExtractStatus ArchiveExtractor::extract(int fd, qint64 size, const QByteArray &name, const QSet<QByteArray> &extensions,
                                        TextSink &sink, QString *detail)
{
    ArchivePtr a = openReader();
    const int own = ::dup(fd);
    if (own < 0)
        return ExtractStatus::Unreadable;
    if (archive_read_open_fd(a.get(), own, 65536) != ARCHIVE_OK) {
        ::close(own);
        if (detail)
            *detail = QStringLiteral("damaged archive: %1").arg(QString::fromUtf8(archive_error_string(a.get())));
        return ExtractStatus::Corrupt;
    }
    Reader reader(extensions, sink);
    const ExtractStatus status = reader.run(a.get(), size, QByteArray(), withoutCompression(name), 1);
    a.reset();
    ::close(own);
    if (detail && status != ExtractStatus::Ok && status != ExtractStatus::Stopped)
        *detail = reader.detail;
    return status;
}
