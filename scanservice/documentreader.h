#ifndef DOCUMENTREADER_H
#define DOCUMENTREADER_H

#include "extractstatus.h"
#include "textsink.h"

#include <QByteArray>
#include <QString>

// Opens one file safely and hands its text to a sink with the reader its
// type calls for. The file is opened without following a symbolic link and
// without blocking, and read only when it is still a regular file within
// its size limit.
class DocumentReader
{
public:
    enum class Kind { PlainText, Docx, Xlsx, Pptx, Pdf, Unsupported };

    // The lower-case extension of a file name: what follows its last dot
    // ("a.tar.gz" -> "gz"); empty for names without one or starting with it.
    static QByteArray extensionOf(const QByteArray &path);
    static Kind kindOf(const QByteArray &extension);
    static bool isDocument(Kind kind) { return kind != Kind::PlainText && kind != Kind::Unsupported; }
    static QString statusText(ExtractStatus status);

    static ExtractStatus read(const QByteArray &path, Kind kind, TextSink &sink);
};

#endif // DOCUMENTREADER_H
