#ifndef PLAINTEXTEXTRACTOR_H
#define PLAINTEXTEXTRACTOR_H

#include "extractstatus.h"
#include "textsink.h"

#include <cstddef>
#include <functional>
#include <sys/types.h>

// Reads a plain text file in chunks and hands it on as UTF-8. The encoding
// is taken from the start of the text (Limits::EncodingProbeBytes): a byte
// order mark names UTF-8 or UTF-16; otherwise text that is valid UTF-8 is
// UTF-8 (also with a few stray bytes among many valid multi-byte characters),
// and anything else is read as GB18030 (which covers GBK and GB2312).
class PlainTextExtractor
{
public:
    enum class Encoding { Utf8, Utf16LE, Utf16BE, Gb18030 };

    // The encoding of a text that begins with these bytes; *bomLength gets
    // the length of its byte order mark. moreFollows: the bytes may end in
    // the middle of a character.
    static Encoding detect(const char *data, std::size_t length, bool moreFollows, std::size_t *bomLength);

    // size: the file's size when the caller has it (one look-up less per file), else -1.
    static ExtractStatus extract(int fd, TextSink &sink, qint64 size = -1);
    // The same over any source: read(buffer, size) returns the bytes read,
    // 0 at the end, or -1 (errno set) when reading failed. knownSize: the
    // bytes the source holds when the caller knows it (a read that stops
    // short right there ends the text without another read), else -1.
    using Read = std::function<ssize_t(char *, std::size_t)>;
    static ExtractStatus extract(const Read &read, TextSink &sink, qint64 knownSize = -1);
};

#endif // PLAINTEXTEXTRACTOR_H
