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
    while (i < length) {
        // Fast path over runs of ASCII.
        if (i + 8 <= length) {
            quint64 word;
            std::memcpy(&word, s + i, 8);
            if ((word & Q_UINT64_C(0x8080808080808080)) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = s[i];
        std::size_t need;
        unsigned minimum;
        unsigned code;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            need = 1, minimum = 0x80, code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            need = 2, minimum = 0x800, code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            need = 3, minimum = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + need >= length) {
            if (!moreFollows)
                return false;
            // The sequence is cut by the end of the chunk: check what is there.
            for (std::size_t k = i + 1; k < length; ++k) {
                if ((s[k] & 0xC0) != 0x80)
                    return false;
            }
            return true;
        }
        for (std::size_t k = 1; k <= need; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (s[i + k] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += need + 1;
    }
    return true;
}
} // namespace Utf8

#endif // UTF8_H
