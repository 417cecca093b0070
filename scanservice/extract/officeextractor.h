#ifndef OFFICEEXTRACTOR_H
#define OFFICEEXTRACTOR_H

#include "extractstatus.h"
#include "textsink.h"

// Reads the text of Office Open XML documents from their zip container,
// part by part and without unpacking a part whole:
// - DOCX: body (tables included), headers, footers, footnotes, endnotes,
//   comments, deleted text of tracked changes;
// - XLSX: the shared strings, then the inline strings and number cells of
//   every sheet (numbers as the sheet shows them, never in exponent form);
// - PPTX: every slide in order, each followed by its notes.
// Paragraphs end with a line break. Container limits (part size, total
// size, compression ratio, entries) are those of limits.h.
class OfficeExtractor
{
public:
    enum class Kind { Docx, Xlsx, Pptx };

    static ExtractStatus extract(int fd, Kind kind, TextSink &sink);
};

#endif // OFFICEEXTRACTOR_H
