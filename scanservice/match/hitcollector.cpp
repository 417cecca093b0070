#include "hitcollector.h"

#include "keywordpassages.h"
#include "scanlimits.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// A character takes at most four bytes in UTF-8.
constexpr unsigned long long ContextBytes = Limits::ContextChars * 4;

inline bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

#if defined(__SSE2__)
constexpr std::size_t Block = 16;

// The bytes of [at, at + 16) that start a character (ASCII or a lead byte),
// as bits: continuation bytes are 0x80 to 0xBF, the lowest signed values.
inline unsigned leadBits(const char *at)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(char(0xBF)))));
}

// Bits set in sixteen (no popcnt instruction on the baseline processor).
inline int bitCount(unsigned bits)
{
    bits = bits - ((bits >> 1) & 0x5555u);
    bits = (bits & 0x3333u) + ((bits >> 2) & 0x3333u);
    bits = (bits + (bits >> 4)) & 0x0F0Fu;
    return static_cast<int>((bits + (bits >> 8)) & 0x1Fu);
}
#endif
} // namespace

HitCollector::HitCollector(const KeywordMatcher &matcher, KeywordMatcher::Stream &stream)
    : m_matcher(matcher)
    , m_stream(stream)
    , m_counts(matcher.count(), 0)
    , m_kept(matcher.count(), 0)
    , m_wordNumber(matcher.count(), 0)
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
        appendPassageFrom(hit.keyword, m_piece, m_pieceLength, static_cast<std::size_t>(first - pieceStart),
                          static_cast<std::size_t>(hit.end - pieceStart));
        return;
    }
    if (m_pieceLength == 0) {
        appendPassageFrom(hit.keyword, m_window.data(), m_window.size(), static_cast<std::size_t>(first - m_windowStart),
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
    appendPassageFrom(hit.keyword, stretch.data(), stretch.size(), static_cast<std::size_t>(first - begin),
                      static_cast<std::size_t>(hit.end - begin));
}

void HitCollector::appendPassageFrom(int keyword, const char *text, std::size_t size, std::size_t start, std::size_t end)
{
    const QByteArray &word = m_matcher.wordUtf8(keyword);
    if (m_label.isEmpty()) {
        std::size_t from;
        std::size_t to;
        passageBounds(text, size, start, end, &from, &to);
        KeywordPassages::append(m_passages, &m_wordNumber[keyword], &m_wordsWritten, word.constData(),
                                static_cast<std::size_t>(word.size()), text + from, to - from);
    } else {
        // An archive member's: led by its label.
        const QByteArray passage = passageAround(text, size, start, end, m_label);
        KeywordPassages::append(m_passages, &m_wordNumber[keyword], &m_wordsWritten, word.constData(),
                                static_cast<std::size_t>(word.size()), passage.constData(),
                                static_cast<std::size_t>(passage.size()));
    }
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
    // Characters are counted by their first bytes, sixteen bytes at a time:
    // every hit's passage walks about eighty characters.
    std::size_t from = start;
    int chars = 0;
#if defined(__SSE2__)
    while (from >= Block) {
        unsigned bits = leadBits(window + from - Block);
        const int found = bitCount(bits);
        if (chars + found < Limits::ContextChars) {
            chars += found;
            from -= Block;
            continue;
        }
        // The character sought starts in this block: its first bytes, from the end.
        for (;;) {
            const int highest = 31 - __builtin_clz(bits);
            if (++chars == Limits::ContextChars) {
                from = from - Block + static_cast<std::size_t>(highest);
                break;
            }
            bits &= ~(1u << highest);
        }
        break;
    }
#endif
    while (from > 0 && chars < Limits::ContextChars) {
        --from;
        if (!isContinuation(window[from]))
            ++chars;
    }
    while (from < start && isContinuation(window[from]))
        ++from;

    // After the hit: up to the first byte of the character after the last one kept.
    std::size_t to = end;
    if (end < size) {
        std::size_t at = end + 1;
        int wanted = Limits::ContextChars;
        to = size;
#if defined(__SSE2__)
        for (; at + Block <= size; at += Block) {
            unsigned bits = leadBits(window + at);
            const int found = bitCount(bits);
            if (found < wanted) {
                wanted -= found;
                continue;
            }
            while (--wanted > 0)
                bits &= bits - 1;
            to = at + static_cast<std::size_t>(__builtin_ctz(bits));
            wanted = 0;
            break;
        }
#endif
        for (; wanted > 0 && at < size; ++at) {
            if (!isContinuation(window[at]) && --wanted == 0)
                to = at;
        }
    }
    *fromOut = from;
    *toOut = to;
}
