#ifndef ARCHIVEEXTRACTOR_H
#define ARCHIVEEXTRACTOR_H

#include "extractstatus.h"
#include "textsink.h"

#include <QByteArray>
#include <QSet>
#include <QString>

// Reads the members of zip, rar, 7z, tar and gz archives (tar.gz and other
// compressed tars included) through libarchive: every regular member whose
// type is among the selected extensions, archives inside archives to
// Limits::MaxArchiveDepth. Each member's text is preceded by
// TextSink::beginPart() with its path ("inner.zip/docs/a.docx"). Plain text
// members are streamed; documents and inner archives are held in memory, up
// to Limits::MaxArchiveMemberBytes. The limits on uncompressed bytes, members
// and compression ratio stop the whole file (a zip bomb is not expanded);
// what was found before stays found.
class ArchiveExtractor
{
public:
    static ExtractStatus extract(int fd, qint64 size, const QByteArray &name, const QSet<QByteArray> &extensions,
                                 TextSink &sink, QString *detail);
};

#endif // ARCHIVEEXTRACTOR_H
