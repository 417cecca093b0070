#ifndef UTF8_H
#define UTF8_H

#include <QtGlobal>

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The UTF-8 check the readers (what text is UTF-8) and the detail documents
// (what must be repaired before it goes into JSON) share.
namespace Utf8 {
namespace Detail {
// One character at a time from i, which is the start of a character.
inline bool isValidScalar(const unsigned char *s, std::size_t i, std::size_t length, bool moreFollows)
{
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

#if defined(__SSE2__)
// Unsigned byte comparisons, which SSE2 has only through its minimum and maximum.
inline __m128i atLeast(__m128i bytes, unsigned char value)
{
    return _mm_cmpeq_epi8(_mm_max_epu8(bytes, _mm_set1_epi8(char(value))), bytes);
}
inline __m128i atMost(__m128i bytes, unsigned char value)
{
    return _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(char(value))), bytes);
}
inline __m128i equals(__m128i bytes, unsigned char value)
{
    return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(char(value)));
}

// Sixteen bytes of any text at a time: each byte is checked against the one,
// two and three bytes before it (the last block's carried over), so that
// Chinese text, and ASCII between its characters, need no branch per
// character. The bytes after the last whole block, and a character the last
// block cuts, go to the scalar check.
inline bool isValidVector(const unsigned char *s, std::size_t length, bool moreFollows)
{
    constexpr std::size_t Block = 16;
    __m128i previous = _mm_setzero_si128();
    // Bytes of the last block that start a character running past it: a
    // lead byte of two, three or four bytes in its last one, two or three.
    const __m128i pendingLimit = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                               char(0xF0 - 1), char(0xE0 - 1), char(0xC0 - 1));
    std::size_t i = 0;
    for (; i + Block <= length; i += Block) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        if (_mm_movemask_epi8(bytes) == 0) {
            // ASCII: valid unless the block before left a character open.
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_subs_epu8(previous, pendingLimit), _mm_setzero_si128())) != 0xFFFF)
                return false;
            previous = bytes;
            continue;
        }
        const __m128i before1 = _mm_or_si128(_mm_slli_si128(bytes, 1), _mm_srli_si128(previous, 15));
        const __m128i before2 = _mm_or_si128(_mm_slli_si128(bytes, 2), _mm_srli_si128(previous, 14));
        const __m128i before3 = _mm_or_si128(_mm_slli_si128(bytes, 3), _mm_srli_si128(previous, 13));
        // A continuation byte exactly where a lead byte one, two or three
        // bytes before asks for one (a lead byte where one is asked for fails
        // at its own place).
        const __m128i wanted = _mm_or_si128(_mm_or_si128(atLeast(before1, 0xC0), atLeast(before2, 0xE0)),
                                            atLeast(before3, 0xF0));
        const __m128i continuation = equals(_mm_and_si128(bytes, _mm_set1_epi8(char(0xC0))), 0x80);
        __m128i error = _mm_xor_si128(wanted, continuation);
        // Bytes that are never UTF-8: C0, C1 (overlong) and F5 to FF.
        error = _mm_or_si128(error, equals(_mm_and_si128(bytes, _mm_set1_epi8(char(0xFE))), 0xC0));
        error = _mm_or_si128(error, atLeast(bytes, 0xF5));
        // The second byte's range after E0 (overlong), ED (surrogates), F0
        // (overlong) and F4 (above U+10FFFF).
        error = _mm_or_si128(error, _mm_and_si128(equals(before1, 0xE0), atMost(bytes, 0x9F)));
        error = _mm_or_si128(error, _mm_and_si128(equals(before1, 0xED), atLeast(bytes, 0xA0)));
        error = _mm_or_si128(error, _mm_and_si128(equals(before1, 0xF0), atMost(bytes, 0x8F)));
        error = _mm_or_si128(error, _mm_and_si128(equals(before1, 0xF4), atLeast(bytes, 0x90)));
        if (_mm_movemask_epi8(error) != 0)
            return false;
        previous = bytes;
    }
    // Go back to the start of a character the last block leaves open.
    std::size_t start = i;
    if (i >= Block) {
        if (s[i - 3] >= 0xF0)
            start = i - 3;
        else if (s[i - 2] >= 0xE0)
            start = i - 2;
        else if (s[i - 1] >= 0xC0)
            start = i - 1;
    }
    return isValidScalar(s, start, length, moreFollows);
}
#endif
} // namespace Detail

// Whether the bytes are valid UTF-8: no overlong forms, surrogates or code
// points above U+10FFFF. moreFollows: the bytes may end in the middle of a
// character, which then counts as valid so far.
inline bool isValid(const char *data, std::size_t length, bool moreFollows)
{
    const auto *s = reinterpret_cast<const unsigned char *>(data);
#if defined(__SSE2__)
    return Detail::isValidVector(s, length, moreFollows);
#else
    return Detail::isValidScalar(s, 0, length, moreFollows);
#endif
}
} // namespace Utf8

#endif // UTF8_H
