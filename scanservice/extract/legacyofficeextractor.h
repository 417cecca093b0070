#ifndef LEGACYOFFICEEXTRACTOR_H
#define LEGACYOFFICEEXTRACTOR_H

#include "extractstatus.h"
#include "textsink.h"

#include <QtGlobal>

// Reads the text of the binary Office formats from their OLE compound file:
// - doc (Word 97 and later): the whole text of the piece table (body,
//   footnotes, headers, comments, text boxes), field codes left out;
// - xls (BIFF8): the sheet names, the shared strings, the inline strings,
//   the string results of formulas and the numbers of the cells;
// - ppt (PowerPoint 97 and later): every text atom, slides and notes.
// Paragraphs end with a line break. Documents protected by a password are
// reported as such; older formats (Word 6, Excel 5) as not of their type.
class LegacyOfficeExtractor
{
public:
    enum class Kind { Doc, Xls, Ppt };

    static ExtractStatus extract(int fd, qint64 size, Kind kind, TextSink &sink);
};

#endif // LEGACYOFFICEEXTRACTOR_H
