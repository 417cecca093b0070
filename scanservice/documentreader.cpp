#include "documentreader.h"

#include "scanlimits.h"
#include "officeextractor.h"
#include "pdfextractor.h"
#include "plaintextextractor.h"

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
        return QStringLiteral("file type not read yet");
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
    }
    return QString();
}

ExtractStatus DocumentReader::read(const QByteArray &path, Kind kind, TextSink &sink)
{
    if (kind == Kind::Unsupported)
        return ExtractStatus::Unsupported;
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return ExtractStatus::Unreadable;
    struct stat st;
    ExtractStatus status = ExtractStatus::Ok;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        status = ExtractStatus::Unreadable;
    } else if (st.st_size > (kind == Kind::PlainText ? Limits::MaxPlainTextFileBytes : Limits::MaxDocumentFileBytes)) {
        status = ExtractStatus::TooLarge;
    } else {
        // Regular files ignore O_NONBLOCK; clear it all the same for the libraries.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        switch (kind) {
        case Kind::PlainText:
            status = PlainTextExtractor::extract(fd, sink);
            break;
        case Kind::Docx:
            status = OfficeExtractor::extract(fd, OfficeExtractor::Kind::Docx, sink);
            break;
        case Kind::Xlsx:
            status = OfficeExtractor::extract(fd, OfficeExtractor::Kind::Xlsx, sink);
            break;
        case Kind::Pptx:
            status = OfficeExtractor::extract(fd, OfficeExtractor::Kind::Pptx, sink);
            break;
        case Kind::Pdf:
            status = PdfExtractor::extract(fd, path, sink);
            break;
        case Kind::Unsupported:
            status = ExtractStatus::Unsupported;
            break;
        }
    }
    ::close(fd);
    return status;
}
