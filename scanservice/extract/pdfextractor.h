#ifndef PDFEXTRACTOR_H
#define PDFEXTRACTOR_H

#include "extractstatus.h"
#include "textsink.h"

#include <QByteArray>

// Reads the text of a PDF page by page with poppler, in reading order.
// Kangxi radicals and CJK radical supplements, which some PDF producers
// map CJK ideographs to, are read as the ideographs they stand for.
class PdfExtractor
{
public:
    // fd is open on the file; path names it for the log.
    static ExtractStatus extract(int fd, const QByteArray &path, TextSink &sink);
};

#endif // PDFEXTRACTOR_H
