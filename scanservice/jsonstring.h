#ifndef JSONSTRING_H
#define JSONSTRING_H

#include "utf8.h"

#include <QByteArray>
#include <QString>

#include <cstring>

// Text as a JSON string, shared by the detail documents (store) and the
// keyword collector (match), which writes its passages' JSON straight from
// the text the reader hands it instead of through a copy of each passage.
namespace JsonString {
namespace Detail {
// Whether any of the eight bytes at data is below 0x20, '"' or '\\' (the
// usual tests for a zero byte, exact as yes or no).
inline bool needsEscape(const char *data)
{
    constexpr quint64 ones = Q_UINT64_C(0x0101010101010101);
    constexpr quint64 highs = Q_UINT64_C(0x8080808080808080);
    quint64 word;
    std::memcpy(&word, data, 8);
    const quint64 control = (word - ones * 0x20) & ~word & highs;
    const quint64 quote = word ^ (ones * '"');
    const quint64 backslash = word ^ (ones * '\\');
    return (control | ((quote - ones) & ~quote & highs) | ((backslash - ones) & ~backslash & highs)) != 0;
}
} // namespace Detail

// Appends the characters of valid UTF-8, escaped for the inside of a JSON string.
inline void appendEscaped(QByteArray &json, const char *utf8, int length)
{
    static const char hex[] = "0123456789abcdef";
    int plain = 0; // start of the run of characters that need no escape
    for (int i = 0; i < length; ++i) {
        // Eight bytes at a time while none of them is a control character, '"' or '\\'.
        while (i + 8 <= length && !Detail::needsEscape(utf8 + i))
            i += 8;
        if (i >= length)
            break;
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        json.append(utf8 + plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"': json.append("\\\"", 2); break;
        case '\\': json.append("\\\\", 2); break;
        case '\n': json.append("\\n", 2); break;
        case '\r': json.append("\\r", 2); break;
        case '\t': json.append("\\t", 2); break;
        default: {
            const char escaped[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
            json.append(escaped, 6);
        }
        }
    }
    json.append(utf8 + plain, length - plain);
}

// Appends text (UTF-8; invalid sequences become U+FFFD) as a JSON string, quotes included.
inline void append(QByteArray &json, const char *utf8, int length)
{
    json.append('"');
    if (Utf8::isValid(utf8, static_cast<std::size_t>(length), false)) {
        appendEscaped(json, utf8, length);
    } else {
        const QByteArray repaired = QString::fromUtf8(utf8, length).toUtf8();
        appendEscaped(json, repaired.constData(), repaired.size());
    }
    json.append('"');
}
} // namespace JsonString

#endif // JSONSTRING_H
