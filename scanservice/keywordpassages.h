// The compact form of a file's kept keyword passages in the findings store, and their JSON.
#ifndef KEYWORDPASSAGES_H
#define KEYWORDPASSAGES_H

#include "jsonstring.h"

#include <QByteArray>
#include <QPair>
#include <QVector>

#include <cstddef>

// The kept passages of one file's keyword hits as the findings store keeps
// them: the passages' bytes as they stood in the text, each with its word,
// in the order of the hits. A large scan keeps hundreds of thousands of
// passages and shows few of them: escaping each into JSON while scanning,
// and writing the JSON's keys with every one, cost more than the scan of
// the text around them. The JSON of the detail document is made from this
// when it is asked for, the same bytes the collector once wrote.
//
// Layout: a version byte, then per passage: the word's reference (a number;
// 0 brings a new word, its length and bytes following, which takes the next
// number from 1), the passage's length and its bytes. Numbers are unsigned
// LEB128. A passage may hold bytes that are not UTF-8 (a damaged file); the
// JSON repairs them as it always did.
namespace KeywordPassages {
constexpr char Version = 1;

namespace Detail {
inline void appendNumber(QByteArray &out, std::size_t value)
{
    char bytes[10];
    int used = 0;
    do {
        const char low = static_cast<char>(value & 0x7F);
        value >>= 7;
        bytes[used++] = value ? static_cast<char>(low | 0x80) : low;
    } while (value);
    out.append(bytes, used);
}

// Reads a number at *at; false when the bytes end first or it is too long.
inline bool readNumber(const char *data, std::size_t size, std::size_t *at, std::size_t *value)
{
    std::size_t result = 0;
    for (int shift = 0; *at < size && shift < 63; shift += 7) {
        const auto byte = static_cast<unsigned char>(data[(*at)++]);
        result |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) {
            *value = result;
            return true;
        }
    }
    return false;
}
} // namespace Detail

// Appends one passage (and its word, the first time it is met) to the
// passages of a file. wordNumber is the caller's record per word: 0 until
// the word is first written, then its number.
inline void append(QByteArray &out, int *wordNumber, int *wordsWritten, const char *word, std::size_t wordLength,
                   const char *passage, std::size_t passageLength)
{
    if (out.isEmpty())
        out.append(Version);
    if (*wordNumber == 0) {
        *wordNumber = ++*wordsWritten;
        out.append('\0');
        Detail::appendNumber(out, wordLength);
        out.append(word, static_cast<int>(wordLength));
    } else {
        Detail::appendNumber(out, static_cast<std::size_t>(*wordNumber));
    }
    Detail::appendNumber(out, passageLength);
    out.append(passage, static_cast<int>(passageLength));
}

// The JSON array of {"sensitive": word, "sensitive_ctx": passage} of the
// passages, in their order; empty without passages or when the bytes are not
// of this layout, and cut after the last whole passage when they end early.
inline QByteArray toJson(const QByteArray &passages)
{
    QByteArray json;
    if (passages.isEmpty() || passages.at(0) != Version)
        return json;
    const char *data = passages.constData();
    const auto size = static_cast<std::size_t>(passages.size());
    // Per word: where its {"sensitive":…,"sensitive_ctx": starts and ends in words.
    QByteArray words;
    QVector<QPair<int, int>> wordJson;
    json.reserve(passages.size() + passages.size() / 4);
    for (std::size_t at = 1; at < size;) {
        std::size_t reference = 0;
        if (!Detail::readNumber(data, size, &at, &reference))
            break;
        if (reference == 0) {
            std::size_t length = 0;
            if (!Detail::readNumber(data, size, &at, &length) || length > size - at)
                break;
            const int begin = words.size();
            words.append("{\"sensitive\":");
            JsonString::append(words, data + at, static_cast<int>(length));
            words.append(",\"sensitive_ctx\":");
            wordJson.append({begin, words.size() - begin});
            at += length;
            reference = static_cast<std::size_t>(wordJson.size());
        } else if (reference > static_cast<std::size_t>(wordJson.size())) {
            break;
        }
        std::size_t length = 0;
        if (!Detail::readNumber(data, size, &at, &length) || length > size - at)
            break;
        const QPair<int, int> &word = wordJson.at(static_cast<int>(reference - 1));
        json.append(json.isEmpty() ? '[' : ',');
        json.append(words.constData() + word.first, word.second);
        JsonString::append(json, data + at, static_cast<int>(length));
        json.append('}');
        at += length;
    }
    if (!json.isEmpty())
        json.append(']');
    return json;
}
} // namespace KeywordPassages

#endif // KEYWORDPASSAGES_H
