#include "documentreader.h"

#include "archiveextractor.h"
#include "legacyofficeextractor.h"
#include "nofollow.h"
#include "scanlimits.h"
#include "officeextractor.h"
#include "pdfextractor.h"
#include "plaintextextractor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray DocumentReader::extensionOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    const int dot = path.lastIndexOf('.');
    if (dot <= slash + 1)
        return QByteArray();
    return path.mid(dot + 1).toLower();
}

DocumentReader::Kind DocumentReader::kindOf(const QByteArray &extension)
{
    static const QByteArray plain[] = {"txt", "text", "log", "csv", "tsv", "md", "json", "xml", "html",
                                       "htm", "ini", "conf", "cfg", "yaml", "yml"};
    for (const QByteArray &p : plain) {
        if (extension == p)
            return Kind::PlainText;
    }
    if (extension == "docx" || extension == "docm")
        return Kind::Docx;
    if (extension == "xlsx" || extension == "xlsm")
        return Kind::Xlsx;
    if (extension == "pptx" || extension == "pptm")
        return Kind::Pptx;
    if (extension == "pdf")
        return Kind::Pdf;
    if (extension == "doc")
        return Kind::Doc;
    if (extension == "xls")
        return Kind::Xls;
    if (extension == "ppt")
        return Kind::Ppt;
    if (extension == "zip" || extension == "rar" || extension == "7z" || extension == "tar" || extension == "gz"
        || extension == "tgz")
        return Kind::Archive;
    return Kind::Unsupported;
}

QString DocumentReader::statusText(ExtractStatus status)
{
    switch (status) {
    case ExtractStatus::Ok:
        return QStringLiteral("read");
    case ExtractStatus::Stopped:
        return QStringLiteral("stopped");
    case ExtractStatus::Unsupported:
        return QStringLiteral("file type not read");
    case ExtractStatus::TooLarge:
        return QStringLiteral("above the size limit");
    case ExtractStatus::Unreadable:
        return QStringLiteral("unreadable");
    case ExtractStatus::Corrupt:
        return QStringLiteral("damaged or not of its type");
    case ExtractStatus::Encrypted:
        return QStringLiteral("protected by a password");
    case ExtractStatus::LimitExceeded:
        return QStringLiteral("container limit exceeded");
    case ExtractStatus::Failed:
        return QStringLiteral("reader failed");
    case ExtractStatus::NoDescriptors:
        return QStringLiteral("too many open files");
    }
    return QString();
}

ExtractStatus DocumentReader::openFailure(int error)
{
    return error == EMFILE || error == ENFILE ? ExtractStatus::NoDescriptors : ExtractStatus::Unreadable;
}

qint64 DocumentReader::sizeLimit(Kind kind)
{
    switch (kind) {
    case Kind::PlainText:
        return Limits::MaxPlainTextFileBytes;
    case Kind::Archive:
        return Limits::MaxArchiveFileBytes;
    default:
        return Limits::MaxDocumentFileBytes;
    }
}

ExtractStatus DocumentReader::read(const QByteArray &path, Kind kind, TextSink &sink, const Options &options)
{
    if (kind == Kind::Unsupported)
        return ExtractStatus::Unsupported;
    // No link followed on the way either (see NoFollow::openPath).
    const int fd = NoFollow::openPath(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return openFailure(-fd);
    struct stat st;
    ExtractStatus status = ExtractStatus::Unreadable;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        // Regular files ignore O_NONBLOCK; clear it all the same for the libraries.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        const int slash = path.lastIndexOf('/');
        status = readOpen(fd, st.st_size, path.mid(slash + 1), kind, sink, options);
    }
    ::close(fd);
    return status;
}

ExtractStatus DocumentReader::readOpen(int fd, qint64 size, const QByteArray &name, Kind kind, TextSink &sink,
                                       const Options &options)
{
    if (size > sizeLimit(kind))
        return ExtractStatus::TooLarge;
    switch (kind) {
    case Kind::PlainText:
        return PlainTextExtractor::extract(fd, sink, size);
    case Kind::Docx:
        return OfficeExtractor::extract(fd, OfficeExtractor::Kind::Docx, sink);
    case Kind::Xlsx:
        return OfficeExtractor::extract(fd, OfficeExtractor::Kind::Xlsx, sink);
    case Kind::Pptx:
        return OfficeExtractor::extract(fd, OfficeExtractor::Kind::Pptx, sink);
    case Kind::Pdf:
        return PdfExtractor::extract(fd, name, sink);
    case Kind::Doc:
        return LegacyOfficeExtractor::extract(fd, size, LegacyOfficeExtractor::Kind::Doc, sink);
    case Kind::Xls:
        return LegacyOfficeExtractor::extract(fd, size, LegacyOfficeExtractor::Kind::Xls, sink);
    case Kind::Ppt:
        return LegacyOfficeExtractor::extract(fd, size, LegacyOfficeExtractor::Kind::Ppt, sink);
    case Kind::Archive:
        return ArchiveExtractor::extract(fd, size, name, options.extensions, sink, options.detail);
    case Kind::Unsupported:
        break;
    }
    return ExtractStatus::Unsupported;
}
