// File names as text and back: the one escaped form of names that are not
// UTF-8 (see the header and the README).
#include "pathname.h"

namespace {
bool isHex(uchar c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(uchar c)
{
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// The length of the valid UTF-8 sequence at s[i] (the code point in *code),
// or 0 when the byte there starts none. Overlong forms, surrogates and code
// points above U+10FFFF are not valid, as in the bus's own check.
int sequenceAt(const uchar *s, int length, int i, uint *code)
{
    const uchar c = s[i];
    if (c < 0x80) {
        *code = c;
        return 1;
    }
    int need;
    uint minimum;
    if (c >= 0xC2 && c <= 0xDF) {
        need = 1, minimum = 0x80, *code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        need = 2, minimum = 0x800, *code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        need = 3, minimum = 0x10000, *code = c & 0x07;
    } else {
        return 0;
    }
    if (i + need >= length)
        return 0;
    for (int k = 1; k <= need; ++k) {
        if ((s[i + k] & 0xC0) != 0x80)
            return 0;
        *code = (*code << 6) | (s[i + k] & 0x3F);
    }
    if (*code < minimum || *code > 0x10FFFF || (*code >= 0xD800 && *code <= 0xDFFF))
        return 0;
    return need + 1;
}
} // namespace

QString PathName::toText(const QByteArray &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    const auto *s = reinterpret_cast<const uchar *>(bytes.constData());
    const int length = bytes.size();
    QString text;
    text.reserve(length);
    for (int i = 0; i < length;) {
        uint code;
        const int n = sequenceAt(s, length, i, &code);
        const bool literalEscape = n == 1 && code == '\\' && i + 3 < length && s[i + 1] == 'x' && isHex(s[i + 2])
                                   && isHex(s[i + 3]);
        if (n == 0 || literalEscape) {
            text.append(QLatin1String("\\x"));
            text.append(QLatin1Char(digits[s[i] >> 4]));
            text.append(QLatin1Char(digits[s[i] & 0xF]));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            text.append(QChar(QChar::highSurrogate(code)));
            text.append(QChar(QChar::lowSurrogate(code)));
        } else {
            text.append(QChar(code));
        }
        i += n;
    }
    return text;
}

QByteArray PathName::fromText(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    const auto *s = reinterpret_cast<const uchar *>(utf8.constData());
    const int length = utf8.size();
    QByteArray bytes;
    bytes.reserve(length);
    for (int i = 0; i < length; ++i) {
        // "\x00" is never made (no name holds a NUL) and stays text, so no NUL gets in.
        if (s[i] == '\\' && i + 3 < length && s[i + 1] == 'x' && isHex(s[i + 2]) && isHex(s[i + 3])
            && (s[i + 2] != '0' || s[i + 3] != '0')) {
            bytes.append(char(hexValue(s[i + 2]) << 4 | hexValue(s[i + 3])));
            i += 3;
        } else {
            bytes.append(char(s[i]));
        }
    }
    return bytes;
}
