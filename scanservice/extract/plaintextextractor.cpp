#include "plaintextextractor.h"

#include "scanlimits.h"
#include "utf8.h"

#include <QTextCodec>
#include <QTextDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

PlainTextExtractor::Encoding PlainTextExtractor::detect(const char *data, std::size_t length, bool moreFollows,
                                                        std::size_t *bomLength)
{
    const auto *s = reinterpret_cast<const unsigned char *>(data);
    *bomLength = 0;
    if (length >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) {
        *bomLength = 3;
        return Encoding::Utf8;
    }
    if (length >= 2 && s[0] == 0xFF && s[1] == 0xFE) {
        *bomLength = 2;
        return Encoding::Utf16LE;
    }
    if (length >= 2 && s[0] == 0xFE && s[1] == 0xFF) {
        *bomLength = 2;
        return Encoding::Utf16BE;
    }
    if (Utf8::isValid(data, length, moreFollows))
        return Encoding::Utf8;
    // UTF-8 with a few stray bytes (a damaged or concatenated file) is still UTF-8:
    // read as GB18030 all its Chinese text would be lost. GB18030 text almost never
    // forms valid multi-byte UTF-8 sequences, so their share decides.
    std::size_t valid = 0;
    std::size_t invalid = 0;
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        const std::size_t need = (c >= 0xC2 && c <= 0xDF) ? 1 : (c >= 0xE0 && c <= 0xEF) ? 2 : (c >= 0xF0 && c <= 0xF4) ? 3 : 0;
        if (need > 0 && i + need < length && Utf8::isValid(data + i, need + 1, false)) {
            ++valid;
            i += need + 1;
        } else {
            ++invalid;
            ++i;
        }
    }
    return (valid >= 16 && invalid * 20 <= valid) ? Encoding::Utf8 : Encoding::Gb18030;
}

ExtractStatus PlainTextExtractor::extract(int fd, TextSink &sink, qint64 size)
{
    // A sparse file (a disk image, a preallocated log) reads as zeros in its
    // holes: only the parts that hold data are read. A small file is read whole.
    constexpr qint64 SparseCheckBytes = Q_INT64_C(1) << 20;
    struct stat st;
    const bool sparse = (size < 0 || size > SparseCheckBytes) && ::fstat(fd, &st) == 0 && st.st_size > SparseCheckBytes
                        && static_cast<qint64>(st.st_blocks) * 512 < st.st_size / 2;
    off_t position = 0;
    off_t dataEnd = -1; // end of the current stretch of data when sparse
    return extract([=](char *buffer, std::size_t size) mutable -> ssize_t {
        if (sparse) {
            if (dataEnd < 0 || position >= dataEnd) {
                const off_t data = ::lseek(fd, position, SEEK_DATA);
                if (data < 0)
                    return errno == ENXIO ? 0 : -1;
                off_t hole = ::lseek(fd, data, SEEK_HOLE);
                if (hole < 0)
                    hole = st.st_size;
                position = data;
                dataEnd = hole;
                if (::lseek(fd, position, SEEK_SET) < 0)
                    return -1;
            }
            size = static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(size), dataEnd - position));
        }
        const ssize_t got = ::read(fd, buffer, size);
        if (got > 0)
            position += got;
        return got;
    }, sink, sparse ? -1 : size);
}

ExtractStatus PlainTextExtractor::extract(const Read &read, TextSink &sink, qint64 knownSize)
{
    // One read buffer per thread, kept between files.
    thread_local std::unique_ptr<char[]> storage(new char[Limits::ReadChunkBytes]);
    struct
    {
        char *data() { return storage.get(); }
        std::size_t size() const { return static_cast<std::size_t>(Limits::ReadChunkBytes); }
    } buffer;
    std::unique_ptr<QTextDecoder> decoder;
    bool first = true;
    qint64 total = 0;
    for (;;) {
        // Fill the chunk as far as the file allows, so that detection sees a full chunk.
        std::size_t filled = 0;
        bool atEnd = false;
        while (filled < buffer.size()) {
            const std::size_t asked = buffer.size() - filled;
            const ssize_t got = read(buffer.data() + filled, asked);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return ExtractStatus::Unreadable;
            }
            if (got == 0) {
                atEnd = true;
                break;
            }
            filled += static_cast<std::size_t>(got);
            total += got;
            // A read that stops short exactly at the known size is the end:
            // the read that would return 0 is saved, one call on every small
            // file. A file that grew gives more than its size and is read on;
            // one that shrank stops short of it and is read to the real end.
            if (total == knownSize && static_cast<std::size_t>(got) < asked) {
                atEnd = true;
                break;
            }
        }
        const char *data = buffer.data();
        std::size_t length = filled;
        if (first) {
            first = false;
            std::size_t bom = 0;
            // The encoding is judged by the start of the text.
            const std::size_t judged = std::min<std::size_t>(length, Limits::EncodingProbeBytes);
            const Encoding encoding = detect(data, judged, !atEnd || judged < length, &bom);
            data += bom;
            length -= bom;
            const char *codec = nullptr;
            switch (encoding) {
            case Encoding::Utf8:
                break;
            case Encoding::Utf16LE:
                codec = "UTF-16LE";
                break;
            case Encoding::Utf16BE:
                codec = "UTF-16BE";
                break;
            case Encoding::Gb18030:
                codec = "GB18030";
                break;
            }
            if (codec) {
                QTextCodec *textCodec = QTextCodec::codecForName(codec);
                if (!textCodec)
                    return ExtractStatus::Unsupported;
                decoder.reset(textCodec->makeDecoder(QTextCodec::IgnoreHeader));
            }
        }
        if (length > 0) {
            if (decoder) {
                const QByteArray utf8 = decoder->toUnicode(data, static_cast<int>(length)).toUtf8();
                if (!sink.write(utf8.constData(), static_cast<std::size_t>(utf8.size())))
                    return ExtractStatus::Stopped;
            } else if (!sink.write(data, length)) {
                return ExtractStatus::Stopped;
            }
        }
        if (atEnd)
            return ExtractStatus::Ok;
    }
}
