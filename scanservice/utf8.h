#ifndef UTF8_H
#define UTF8_H

#include <QtGlobal>

#include <cstddef>
#include <cstring>

// The UTF-8 check the readers (what text is UTF-8) and the detail documents
// (what must be repaired before it goes into JSON) share.
namespace Utf8 {
// Whether the bytes are valid UTF-8: no overlong forms, surrogates or code
// points above U+10FFFF. moreFollows: the bytes may end in the middle of a
// character, which then counts as valid so far.
inline bool isValid(const char *data, std::size_t length, bool moreFollows)
{
    const auto *s = reinterpret_cast<const unsigned char *>(data);
    std::size_t i = 0;
    auto continuation = [s](std::size_t k) { return (s[k] & 0xC0) == 0x80; };
    while (i < length) {
        // Fast path over runs of ASCII, sixteen bytes at a time.
        if (i + 16 <= length) {
            quint64 words[2];
            std::memcpy(words, s + i, 16);
            if (((words[0] | words[1]) & Q_UINT64_C(0x8080808080808080)) == 0) {
                i += 16;
                continue;
            }
        }
        // Fast path over runs of the three-byte characters of Chinese text
        // whose second byte may be any continuation byte.
        while (i + 3 <= length) {
            const unsigned char lead = s[i];
            if ((lead & 0xF0) != 0xE0 || lead == 0xE0 || lead == 0xED)
                break;
            if (!continuation(i + 1) || !continuation(i + 2))
                return false;
            i += 3;
        }
        if (i >= length)
            break;
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The length of the sequence and the range of its second byte, which
        // excludes overlong forms, surrogates and code points above U+10FFFF.
        std::size_t need;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            need = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            need = 2;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            need = 3;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (i + need >= length) {
            if (!moreFollows)
                return false;
            // The sequence is cut by the end of the chunk: check what is there.
            for (std::size_t k = i + 1; k < length; ++k) {
                if (!continuation(k))
                    return false;
            }
            return true;
        }
        if (s[i + 1] < low || s[i + 1] > high)
            return false;
        for (std::size_t k = 2; k <= need; ++k) {
            if (!continuation(i + k))
                return false;
        }
        i += need + 1;
    }
    return true;
}
} // namespace Utf8

#endif // UTF8_H
