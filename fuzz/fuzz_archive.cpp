// Fuzz target: the archive reader (zip, tar, 7z, rar, gz through libarchive)
// with the members it hands to the other readers: text, Office documents and
// archives inside archives. PDF members are left out: that parser is not ours.
#include "archiveextractor.h"
#include "fuzzinput.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QSet<QByteArray> extensions{"txt", "docx", "xlsx", "pptx", "doc", "xls", "ppt",
                                             "zip", "tar", "gz", "tgz", "7z", "rar"};
    FuzzInput input(data, size);
    DiscardSink sink;
    QString detail;
    ArchiveExtractor::extract(input.fd, static_cast<qint64>(size), "input.txt.gz", extensions, sink, &detail);
    return 0;
}
