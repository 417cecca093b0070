#include "hitcollector.h"

#include "jsonstring.h"
#include "scanlimits.h"

#include <algorithm>

namespace {
// A character takes at most four bytes in UTF-8.
constexpr unsigned long long ContextBytes = Limits::ContextChars * 4;

inline bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
} // namespace

HitCollector::HitCollector(const KeywordMatcher &matcher, KeywordMatcher::Stream &stream)
    : m_matcher(matcher)
    , m_stream(stream)
    , m_counts(matcher.count(), 0)
    , m_kept(matcher.count(), 0)
    , m_wordJson(matcher.count())
{
    m_stream.reset();
}

void HitCollector::onMatch(void *context, int keyword, unsigned long long end)
{
    auto *self = static_cast<HitCollector *>(context);
    end += self->m_streamBase;
    if (self->m_counts[keyword]++ == 0)
        self->m_found.append(keyword);
    if (self->m_kept[keyword] >= Limits::MaxPassagesPerWord
        || self->m_passageCount + static_cast<int>(self->m_pending.size() + self->m_fresh.size())
               >= Limits::MaxPassagesPerFile)
        return;
    ++self->m_kept[keyword];
    self->m_fresh.push_back({end - static_cast<unsigned long long>(self->m_matcher.byteLength(keyword)), end, keyword});
}

void HitCollector::take(const char *utf8, std::size_t length)
{
    m_fresh.clear();
    m_stream.scan(utf8, length, &HitCollector::onMatch, this);
    if (!m_fresh.empty()) {
        std::stable_sort(m_fresh.begin(), m_fresh.end(), [](const Hit &a, const Hit &b) {
            return a.end != b.end ? a.end < b.end : a.start < b.start;
        });
        m_pending.insert(m_pending.end(), m_fresh.begin(), m_fresh.end());
    }
    // The piece is read where the reader left it; only the few bytes later
    // passages may need are kept (trim()).
    m_piece = utf8;
    m_pieceLength = length;
    complete(false);
    trim();
    m_piece = nullptr;
    m_pieceLength = 0;
}

void HitCollector::beginPart(const QByteArray &label)
{
    complete(true);
    m_stream.reset();
    m_streamBase = taken();
    m_window.clear();
    m_windowStart = taken();
    m_label = label;
}

void HitCollector::finish()
{
    complete(true);
    m_window.clear();
    m_window.shrink_to_fit();
    if (!m_passagesJson.isEmpty())
        m_passagesJson.append(']');
}

void HitCollector::complete(bool all)
{
    while (!m_pending.empty() && (all || taken() - m_pending.front().end >= ContextBytes)) {
        const Hit hit = m_pending.front();
        m_pending.pop_front();
        appendPassage(hit);
    }
}

void HitCollector::trim()
{
    const unsigned long long reach = ContextBytes + static_cast<unsigned long long>(m_matcher.maxByteLength());
    unsigned long long keepFrom = taken() > reach ? taken() - reach : 0;
    for (const Hit &hit : m_pending)
        keepFrom = std::min(keepFrom, hit.start > ContextBytes ? hit.start - ContextBytes : 0);
    keepFrom = std::max(keepFrom, m_windowStart);
    const unsigned long long pieceStart = taken() - m_pieceLength;
    if (keepFrom >= pieceStart) {
        m_window.assign(m_piece + (keepFrom - pieceStart), static_cast<std::size_t>(taken() - keepFrom));
    } else {
        m_window.erase(0, static_cast<std::size_t>(keepFrom - m_windowStart));
        m_window.append(m_piece, m_pieceLength);
    }
    m_windowStart = keepFrom;
}

void HitCollector::appendPassage(const Hit &hit)
{
    // Hits that began before the current part (a keyword straddling two archive members) keep what is left.
    const unsigned long long first = std::max(hit.start, m_windowStart);
    // The text at hand: the kept bytes (m_window, from m_windowStart), then the piece being taken.
    const unsigned long long pieceStart = taken() - m_pieceLength;
    const unsigned long long from = first > ContextBytes ? first - ContextBytes : 0;
    if (m_pieceLength > 0 && from >= pieceStart) {
        // Within the piece, and its context too (or the piece is all there is before it).
        appendPassageJson(hit.keyword, m_piece, m_pieceLength, static_cast<std::size_t>(first - pieceStart),
                          static_cast<std::size_t>(hit.end - pieceStart));
        return;
    }
    if (m_pieceLength == 0) {
        appendPassageJson(hit.keyword, m_window.data(), m_window.size(), static_cast<std::size_t>(first - m_windowStart),
                          static_cast<std::size_t>(hit.end - m_windowStart));
        return;
    }
    // Across the start of the piece: the stretch the passage can reach, put together.
    const unsigned long long begin = std::max(from, m_windowStart);
    const unsigned long long stop = std::min(hit.end + ContextBytes, taken());
    std::string stretch;
    if (begin < pieceStart)
        stretch.assign(m_window, static_cast<std::size_t>(begin - m_windowStart), static_cast<std::size_t>(pieceStart - begin));
    const unsigned long long pieceFrom = std::max(begin, pieceStart);
    stretch.append(m_piece + (pieceFrom - pieceStart), static_cast<std::size_t>(stop - pieceFrom));
    appendPassageJson(hit.keyword, stretch.data(), stretch.size(), static_cast<std::size_t>(first - begin),
                      static_cast<std::size_t>(hit.end - begin));
}

void HitCollector::appendPassageJson(int keyword, const char *text, std::size_t size, std::size_t start, std::size_t end)
{
    QByteArray &word = m_wordJson[keyword];
    if (word.isEmpty()) {
        word = "{\"sensitive\":";
        const QByteArray &utf8 = m_matcher.wordUtf8(keyword);
        JsonString::append(word, utf8.constData(), utf8.size());
        word.append(",\"sensitive_ctx\":");
    }
    m_passagesJson.append(m_passagesJson.isEmpty() ? '[' : ',');
    m_passagesJson.append(word);
    if (m_label.isEmpty()) {
        std::size_t from;
        std::size_t to;
        passageBounds(text, size, start, end, &from, &to);
        JsonString::append(m_passagesJson, text + from, static_cast<int>(to - from));
    } else {
        // An archive member's: led by its label, checked and escaped with it as one text.
        const QByteArray passage = passageAround(text, size, start, end, m_label);
        JsonString::append(m_passagesJson, passage.constData(), passage.size());
    }
    m_passagesJson.append('}');
    ++m_passageCount;
}

QByteArray HitCollector::passageAround(const std::string &text, std::size_t start, std::size_t end, const QByteArray &label)
{
    return passageAround(text.data(), text.size(), start, end, label);
}

QByteArray HitCollector::passageAround(const char *window, std::size_t size, std::size_t start, std::size_t end,
                                       const QByteArray &label)
{
    std::size_t from;
    std::size_t to;
    passageBounds(window, size, start, end, &from, &to);
    QByteArray passage;
    if (!label.isEmpty())
        passage = label + "\xEF\xBC\x9A"; // "："
    passage.append(window + from, static_cast<int>(to - from));
    return passage;
}

void HitCollector::passageBounds(const char *window, std::size_t size, std::size_t start, std::size_t end,
                                 std::size_t *fromOut, std::size_t *toOut)
{
    std::size_t from = start;
    for (int chars = 0; from > 0 && chars < Limits::ContextChars;) {
        --from;
        if (!isContinuation(window[from]))
            ++chars;
    }
    while (from < start && isContinuation(window[from]))
        ++from;
    std::size_t to = end;
    for (int chars = 0; to < size && chars < Limits::ContextChars; ++chars) {
        ++to;
        while (to < size && isContinuation(window[to]))
            ++to;
    }
    *fromOut = from;
    *toOut = to;
}
