#ifndef DOCUMENTREADER_H
#define DOCUMENTREADER_H

#include "extractstatus.h"
#include "textsink.h"

#include <QByteArray>
#include <QSet>
#include <QString>

// What a read needs besides the file: the file types to take from archives
// (lower case, no dot), and where to put the detailed reason of a failure
// ("archive limit exceeded: compression ratio above 200").
struct ReadOptions
{
    QSet<QByteArray> extensions;
    QString *detail = nullptr;
};

// Opens one file safely and hands its text to a sink with the reader its
// type calls for. The file is opened without following a symbolic link
// (at any level below the directories only root may change) and without blocking, and read only when it is still a regular file within
// its size limit.
class DocumentReader
{
public:
    enum class Kind { PlainText, Docx, Xlsx, Pptx, Pdf, Doc, Xls, Ppt, Archive, Unsupported };

    // The lower-case extension of a file name: what follows its last dot
    // ("a.tar.gz" -> "gz"); empty for names without one or starting with it.
    static QByteArray extensionOf(const QByteArray &path);
    static Kind kindOf(const QByteArray &extension);
    static bool isDocument(Kind kind) { return kind != Kind::PlainText && kind != Kind::Unsupported; }
    static QString statusText(ExtractStatus status);

    using Options = ReadOptions;
    static ExtractStatus read(const QByteArray &path, Kind kind, TextSink &sink, const ReadOptions &options = ReadOptions());
    // Reads an open regular file (a memory file of an archive member, for
    // instance) of the given size; name is its file name.
    static ExtractStatus readOpen(int fd, qint64 size, const QByteArray &name, Kind kind, TextSink &sink,
                                  const ReadOptions &options = ReadOptions());
    // Size limit of a file of that kind.
    static qint64 sizeLimit(Kind kind);
    // What a failed open means: too many open files (retried later) or unreadable.
    static ExtractStatus openFailure(int error);
};

#endif // DOCUMENTREADER_H
