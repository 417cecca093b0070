#include "privacycollector.h"

#include "hitcollector.h"
#include "privacyvalidators.h"
#include "scanlimits.h"
#include "textnormaliser.h"

#include <algorithm>
#include <array>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <cstring>

namespace {
constexpr unsigned long long ContextBytes = Limits::ContextChars * 4;
// How far a stretch to normalise reaches back for the start of its line
// before it settles for the nearest point where nothing can continue.
constexpr std::size_t LineReach = 256;
// Raw text held back while no point to cut it at is found.
constexpr std::size_t MaxHeld = 4096;
// Hits of a file remembered to count a sheet's cell once.
constexpr int MaxRememberedHits = 100000;
// The first bytes of a value (two ideographs) by which a cell's hit finds
// the text's hits that start alike.
constexpr int HeadBytes = 6;
// A line held back for its cells' labels; a longer one is no table row.
constexpr std::size_t MaxLineHeld = 16384;
// How far a sentence is looked through on each side of a hit, in bytes.
constexpr std::size_t SentenceReach = 240;
// Two words of one dictionary closer than this, with no punctuation between
// them, are one fact ("征信有4次逾期", "被判处拘役").
constexpr std::size_t OneFactBytes = 18;
// Text is taken at most this much at a time.
constexpr std::size_t Slice = 64 * 1024;
// A heading is a line of at most this many bytes.
constexpr std::size_t HeadingBytes = 60;
// A row's first cell is context for the other cells of its row when it is
// a short name without digits (a test, a relation, an item; not a number,
// a date or a paragraph).
constexpr int MaxRowFirstBytes = 60;
// Headers of one row remembered to tell the next row by its first header met
// again, and cells of it read again under its first cell: a sheet of
// thousands of columns costs no more per cell than one of this many.
constexpr int MaxRowCells = 256;

bool namesItsRow(const char *utf8, std::size_t length)
{
    if (length == 0 || length > static_cast<std::size_t>(MaxRowFirstBytes))
        return false;
    return std::none_of(utf8, utf8 + length, [](char c) { return c >= '0' && c <= '9'; });
}

// The length of a sentence end at s[i], or 0. A line break is none: a
// table's row and a form's lines run on over it.
std::size_t sentenceEnd(const std::string &s, std::size_t i)
{
    const char c = s[i];
    if (c == ';' || c == '!' || c == '?')
        return 1;
    if (i + 2 >= s.size())
        return 0;
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    const auto b2 = static_cast<unsigned char>(s[i + 2]);
    if (static_cast<unsigned char>(c) == 0xE3 && b1 == 0x80 && b2 == 0x82)
        return 3; // 。
    if (static_cast<unsigned char>(c) == 0xEF && b1 == 0xBC && (b2 == 0x81 || b2 == 0x9F || b2 == 0x9B))
        return 3; // ！？；
    return 0;
}

// Whether the bytes [from, to) hold punctuation or a space.
bool punctuated(const std::string &s, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80 && !(c >= '0' && c <= '9') && !((c | 0x20) >= 'a' && (c | 0x20) <= 'z'))
            return true;
        if ((c == 0xE3 && i + 1 < to && static_cast<unsigned char>(s[i + 1]) == 0x80)
            || (c == 0xEF && i + 1 < to && static_cast<unsigned char>(s[i + 1]) == 0xBC))
            return true;
    }
    return false;
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// A full-width digit or letter, from the second and third byte of its UTF-8.
bool fullWidthAlnum(unsigned char c1, unsigned char c2)
{
    if (c1 == 0xBC)
        return (c2 >= 0x90 && c2 <= 0x99) || (c2 >= 0xA1 && c2 <= 0xBA);
    return c2 >= 0x81 && c2 <= 0x9A;
}

// Whether the character at i can neither continue a number nor be folded:
// a text can be normalised in parts cut between two such characters.
bool inert(const std::string &s, std::size_t i)
{
    if (i >= s.size())
        return false;
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80)
        return !isDigit(c) && !std::strchr(" \t\r\n-.+()xX", c);
    if ((c & 0xC0) == 0x80)
        return false;
    const auto c1 = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
    const auto c2 = i + 2 < s.size() ? static_cast<unsigned char>(s[i + 2]) : 0;
    if (c == 0xEF && (c1 == 0xBC || c1 == 0xBD))
        return !fullWidthAlnum(c1, c2) && !(c1 == 0xBC && (c2 == 0x88 || c2 == 0x89 || c2 == 0x8B || c2 == 0x8D || c2 == 0x8E));
    if (c == 0xE3 && c1 == 0x80 && c2 == 0x80)
        return false; // ideographic space
    if (c == 0xC2 && c1 == 0xA0)
        return false;
    return true; // other full-width punctuation ("，", "：") too: it parts no number
}

// The start of the character before i (i > 0).
std::size_t previousChar(const std::string &s, std::size_t i)
{
    do
        --i;
    while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80);
    return i;
}

bool cutsCleanly(const std::string &s, std::size_t i)
{
    return i > 0 && inert(s, i) && (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && inert(s, previousChar(s, i));
}

// Whether the normaliser may change something that starts at byte i.
bool foldsAt(const std::string &s, std::size_t i, std::size_t end)
{
    const auto b = [&](std::size_t k) { return k < end ? static_cast<unsigned char>(s[k]) : 0; };
    const unsigned char c = b(i);
    if (isDigit(c)) {
        // A group of a number written in parts has three digits or more
        // after its separator (two after a line break); dates, decimals and
        // versions ("2024-01-05", "3.14", "5.4.0.5") have fewer and are left be.
        const unsigned char next = b(i + 1);
        if (next == '\n' || (next == '\r' && b(i + 2) == '\n')) {
            const std::size_t k = i + (next == '\n' ? 2 : 3);
            return isDigit(b(k)) && isDigit(b(k + 1));
        }
        if (next == ' ' || next == '-' || next == '.')
            return isDigit(b(i + 2)) && isDigit(b(i + 3)) && isDigit(b(i + 4));
        return false;
    }
    switch (c) {
    case '+':
        return b(i + 1) == '8';
    case '(':
        return b(i + 1) == '0';
    case 0xEF:
        // Full-width digits and letters, and "（" before an area code; other
        // full-width punctuation is left for the rules, which know it.
        if ((b(i + 1) == 0xBC || b(i + 1) == 0xBD) && fullWidthAlnum(b(i + 1), b(i + 2)))
            return true;
        return b(i + 1) == 0xBC && b(i + 2) == 0x88 && (b(i + 3) == '0' || (b(i + 3) == 0xEF && b(i + 5) == 0x90));
    case 0xE3:
    case 0xC2: {
        // An ideographic or no-break space between digits.
        const std::size_t width = c == 0xE3 ? 3 : 2;
        const bool space = c == 0xE3 ? b(i + 1) == 0x80 && b(i + 2) == 0x80 : b(i + 1) == 0xA0;
        return space && i > 0 && isDigit(static_cast<unsigned char>(s[i - 1])) && isDigit(b(i + width));
    }
    case 0xE2:
        return b(i + 1) >= 0xBA && b(i + 1) <= 0xBF;
    default:
        return false;
    }
}
} // namespace

PrivacyCollector::PrivacyCollector(const PrivacyMatcher &matcher, PrivacyMatcher::Scratch &scratch, const QDate &today)
    : m_matcher(matcher)
    , m_scratch(scratch)
    , m_today(today)
    , m_lastStart(static_cast<std::size_t>(matcher.ruleCount()), 0)
    , m_lastEnd(static_cast<std::size_t>(matcher.ruleCount()), 0)
    , m_lastPassage(static_cast<std::size_t>(matcher.ruleCount()), -1)
    , m_hasLast(static_cast<std::size_t>(matcher.ruleCount()), false)
    , m_counts(matcher.ruleCount(), 0)
    , m_kept(matcher.ruleCount(), 0)
{
}

void PrivacyCollector::onMatch(void *context, unsigned expression, unsigned long long from, unsigned long long to)
{
    auto *self = static_cast<PrivacyCollector *>(context);
    const unsigned long long end = self->m_scanBase + to;
    if (end <= self->m_scannedTo)
        return; // seen by the previous scan
    self->m_raw.push_back({self->m_scanBase + from, end, expression});
}

void PrivacyCollector::appendIdentity(const char *raw, std::size_t length)
{
    if (length == 0)
        return;
    const unsigned long long norm = windowEnd();
    const bool follows = !m_anchors.empty() && !m_anchors.back().zero && m_anchors.back().to - m_anchors.back().from == 1
                         && m_anchors.back().from + (norm - m_anchors.back().norm) == m_originalEnd;
    if (!follows)
        m_anchors.push_back({norm, m_originalEnd, m_originalEnd + 1, false});
    m_window.append(raw, length);
    m_original.append(raw, length);
    m_originalEnd += length;
}

void PrivacyCollector::normaliseHeld(std::size_t upTo)
{
    std::size_t done = 0;
    std::size_t used = 0;
    for (; used < m_injections.size() && m_injections[used].first < upTo; ++used) {
        normaliseSpan(done, m_injections[used].first);
        appendInjected(m_injections[used].second);
        done = m_injections[used].first;
    }
    normaliseSpan(done, upTo);
    m_injections.erase(m_injections.begin(), m_injections.begin() + static_cast<std::ptrdiff_t>(used));
    for (auto &injection : m_injections)
        injection.first -= upTo;
    m_lineStart = m_lineStart > upTo ? m_lineStart - upTo : 0;
    m_held.erase(0, upTo);
}

void PrivacyCollector::appendInjected(const QByteArray &label)
{
    m_anchors.push_back({windowEnd(), m_originalEnd, m_originalEnd, true});
    m_window.append(label.constData(), static_cast<std::size_t>(label.size()));
}

void PrivacyCollector::normaliseSpan(std::size_t done, std::size_t upTo)
{
    const std::string &held = m_held;
    // What can start a change: a separator after a digit, "+", "(", and the
    // lead bytes of full-width forms and of the spaces and radicals folded.
    static const std::array<bool, 256> firstBytes = [] {
        std::array<bool, 256> bytes{};
        for (unsigned char c : {' ', '-', '.', '\n', '\r', '+', '(', '\xEF', '\xE3', '\xC2', '\xE2'})
            bytes[c] = true;
        return bytes;
    }();
    const auto *bytes = reinterpret_cast<const unsigned char *>(held.data());
    auto next = [bytes, upTo](std::size_t k) {
#ifdef __SSE2__
        // Sixteen bytes at a time while none of them can start a change: a
        // separator between a digit and three more (two after a line break),
        // "+", "(", or a lead byte of a form that is folded.
        auto is = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
        auto digit = [](__m128i v) {
            const __m128i shifted = _mm_sub_epi8(v, _mm_set1_epi8(char('0' + 128)));
            return _mm_cmplt_epi8(shifted, _mm_set1_epi8(char(10 - 128)));
        };
        while (k > 0 && k + 19 <= upTo) {
            const auto at = [bytes, k](int offset) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + k + offset)); };
            const __m128i v = at(0);
            const __m128i separator = _mm_or_si128(_mm_or_si128(is(v, ' '), is(v, '-')), is(v, '.'));
            const __m128i lineBreak = _mm_or_si128(is(v, '\n'), is(v, '\r'));
            const __m128i after = _mm_and_si128(digit(at(-1)), _mm_or_si128(digit(at(1)), lineBreak));
            const __m128i more = _mm_and_si128(digit(at(2)), _mm_or_si128(digit(at(3)), lineBreak));
            __m128i hit = _mm_and_si128(_mm_or_si128(separator, lineBreak), _mm_and_si128(after, _mm_or_si128(more, lineBreak)));
            hit = _mm_or_si128(hit, _mm_or_si128(is(v, '+'), is(v, '(')));
            hit = _mm_or_si128(hit, _mm_or_si128(_mm_or_si128(is(v, char(0xEF)), is(v, char(0xE3))),
                                                 _mm_or_si128(is(v, char(0xC2)), is(v, char(0xE2)))));
            const int mask = _mm_movemask_epi8(hit);
            if (mask)
                return k + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
            k += 16;
        }
#endif
        while (k < upTo && !firstBytes[bytes[k]])
            ++k;
        return k;
    };
    for (std::size_t i = next(done); i < upTo; i = next(i + 1)) {
        if (bytes[i] < 0x80 && bytes[i] != '+' && bytes[i] != '(') {
            // A separator: the number's digit before it is where it starts to count.
            if (i == done || !isDigit(bytes[i - 1]) || !foldsAt(held, i - 1, upTo))
                continue;
            --i;
        } else if (!foldsAt(held, i, upTo)) {
            continue;
        }
        // The stretch around it: from its line's start (or the nearest clean
        // cut) to the first clean cut after it.
        std::size_t start = i;
        while (start > done && held[start - 1] != '\n' && i - start < LineReach)
            --start;
        while (start > done && held[start - 1] != '\n' && !cutsCleanly(held, start))
            --start;
        while (start > done && (static_cast<unsigned char>(held[start]) & 0xC0) == 0x80)
            --start;
        std::size_t end = i + 1;
        while (end < upTo && !cutsCleanly(held, end))
            ++end;
        appendIdentity(held.data() + done, start - done);
        const TextNormaliser::Normalised n =
            TextNormaliser::normalise(QByteArray::fromRawData(held.data() + start, static_cast<int>(end - start)));
        const unsigned long long base = m_originalEnd;
        const unsigned long long norm = windowEnd();
        for (int k = 0; k < n.text.size();) {
            // One character's bytes share their span; kept as long as they
            // were, each byte maps to its own.
            int length = 1;
            while (k + length < n.text.size() && n.from.at(k + length) == n.from.at(k) && n.to.at(k + length) == n.to.at(k))
                ++length;
            const bool same = n.to.at(k) - n.from.at(k) == length;
            for (int b = 0; b < length; ++b) {
                const unsigned long long at = norm + static_cast<unsigned long long>(k + b);
                const unsigned long long from = base + static_cast<unsigned long long>(n.from.at(k) + (same ? b : 0));
                const unsigned long long to = same ? from + 1 : base + static_cast<unsigned long long>(n.to.at(k));
                const Anchor &last = m_anchors.empty() ? Anchor{0, 0, 0, false} : m_anchors.back();
                if (m_anchors.empty() || last.zero || last.from + (at - last.norm) != from || last.to + (at - last.norm) != to)
                    m_anchors.push_back({at, from, to, false});
            }
            k += length;
        }
        m_window.append(n.text.constData(), static_cast<std::size_t>(n.text.size()));
        m_original.append(held.data() + start, end - start);
        m_originalEnd += end - start;
        done = end;
        i = end - 1; // next(i + 1) goes on after the stretch
    }
    appendIdentity(held.data() + done, upTo - done);
}

std::pair<unsigned long long, unsigned long long> PrivacyCollector::original(unsigned long long start, unsigned long long end) const
{
    auto anchorOf = [this](unsigned long long at) {
        auto it = std::upper_bound(m_anchors.begin(), m_anchors.end(), at,
                                   [](unsigned long long value, const Anchor &a) { return value < a.norm; });
        return it == m_anchors.begin() ? it : it - 1;
    };
    const auto first = anchorOf(start);
    const auto last = anchorOf(end - 1);
    return {first->zero ? first->from : first->from + (start - first->norm),
            last->zero ? last->to : last->to + (end - 1 - last->norm)};
}

bool PrivacyCollector::injectedAt(unsigned long long at) const
{
    auto it = std::upper_bound(m_anchors.begin(), m_anchors.end(), at,
                               [](unsigned long long value, const Anchor &a) { return value < a.norm; });
    return it != m_anchors.begin() && (it - 1)->zero;
}

QByteArray PrivacyCollector::passageFor(unsigned long long start, unsigned long long end, QByteArray *value) const
{
    const std::pair<unsigned long long, unsigned long long> raw = original(start, end);
    const std::size_t from = static_cast<std::size_t>(std::max(raw.first, m_originalStart) - m_originalStart);
    const std::size_t to = static_cast<std::size_t>(std::min(raw.second, m_originalEnd) - m_originalStart);
    *value = QByteArray(m_original.data() + from, static_cast<int>(to - from));
    return HitCollector::passageAround(m_original, from, to, m_label);
}

void PrivacyCollector::takeLines(std::size_t from, bool last)
{
    for (std::size_t i = from; i < m_held.size() || last; ++i) {
        const void *found = i < m_held.size() ? std::memchr(m_held.data() + i, '\n', m_held.size() - i) : nullptr;
        if (!found && !last)
            break;
        i = found ? static_cast<std::size_t>(static_cast<const char *>(found) - m_held.data()) : m_held.size();
        const bool end = i >= m_held.size();
        if (m_lineLong) {
            m_table.reset();
        } else {
            for (const DelimitedTable::Label &label : m_table.line(m_held.data() + m_lineStart, i - m_lineStart))
                m_injections.push_back({m_lineStart + static_cast<std::size_t>(label.first), label.second + "\xEF\xBC\x9A"});
        }
        m_lineLong = false;
        m_lineStart = i + 1;
        if (end)
            break;
    }
    if (!last && m_held.size() - std::min(m_lineStart, m_held.size()) > MaxLineHeld)
        m_lineLong = true;
}

void PrivacyCollector::labelledValue(const QByteArray &label, const QByteArray &value)
{
    if (stopReason() != Stop::None || value.isEmpty() || label.isEmpty())
        return;
    // The cells of a row come one after another; the file's text between
    // them, or a header met again, starts the next row. The row's first cell
    // names what its other cells tell (血压 over a result, 父亲 before a name).
    if (m_rowHeaders.contains(label))
        endRow();
    const QByteArray rowFirst = m_rowFirst;
    m_inLabelled = true;
    if (m_rowHeaders.isEmpty()) {
        // A blank line before each row's cells keeps their context in the row.
        if (!m_held.empty() && m_held.back() != '\n')
            take("\n", 1);
        take("\n", 1);
        const QByteArray first = value.trimmed();
        m_rowFirst = namesItsRow(first.constData(), static_cast<std::size_t>(first.size())) ? first : QByteArray();
    }
    const bool remembered = m_rowHeaders.size() < MaxRowCells;
    if (remembered)
        m_rowHeaders.append(label);
    // Matched as a line of its own, "label：value", the label not in the
    // file; the row's first cell follows the value as context, after a tab
    // (no part of the value, and no nearer to it than the cell before).
    if (!m_held.empty() && m_held.back() != '\n')
        take("\n", 1);
    m_injections.push_back({m_held.size(), label + "\xEF\xBC\x9A"});
    const unsigned long long start = m_originalEnd + m_held.size();
    m_pairs.push_back({start, start + static_cast<unsigned long long>(value.size())});
    take(value.constData(), static_cast<std::size_t>(value.size()));
    if (!rowFirst.isEmpty()) {
        m_injections.push_back({m_held.size(), '\t' + rowFirst});
        if (remembered)
            m_rowAgain.append(value);
    }
    take("\n", 1);
    m_inLabelled = false;
}

void PrivacyCollector::endRow()
{
    // The row's cells read again, each with the row's first cell as its
    // label ("血压：120/80", "父亲：张伟晨"), for the rules whose patterns hold
    // the label; only a hit that starts in that label counts there. They
    // follow the row, so that its cells stay as near one another as before.
    const bool inLabelled = m_inLabelled;
    m_inLabelled = true;
    for (const QByteArray &value : qAsConst(m_rowAgain)) {
        m_injections.push_back({m_held.size(), m_rowFirst + "\xEF\xBC\x9A"});
        const unsigned long long start = m_originalEnd + m_held.size();
        m_pairs.push_back({start, start + static_cast<unsigned long long>(value.size())});
        m_rowPairs.push_back(m_pairs.back());
        take(value.constData(), static_cast<std::size_t>(value.size()));
        take("\n", 1);
    }
    if (!m_rowHeaders.isEmpty())
        take("\n", 1); // a blank line ends the row
    m_inLabelled = inLabelled;
    m_rowAgain.clear();
    m_rowHeaders.clear();
    m_rowFirst.clear();
}

bool PrivacyCollector::inRowReading(unsigned long long raw) const
{
    auto it = std::upper_bound(m_rowPairs.begin(), m_rowPairs.end(), raw,
                               [](unsigned long long value, const std::pair<unsigned long long, unsigned long long> &p) {
                                   return value < p.first;
                               });
    return it != m_rowPairs.begin() && raw < (it - 1)->second;
}

bool PrivacyCollector::inLabelledValue(unsigned long long raw) const
{
    auto it = std::upper_bound(m_pairs.begin(), m_pairs.end(), raw,
                               [](unsigned long long value, const std::pair<unsigned long long, unsigned long long> &p) {
                                   return value < p.first;
                               });
    return it != m_pairs.begin() && raw < (it - 1)->second;
}

void PrivacyCollector::take(const char *utf8, std::size_t length)
{
    // A large piece is taken in slices: the text held, the window and the
    // original bytes then stay small, reused from slice to slice and file to
    // file instead of growing to the piece's size in fresh memory.
    while (length > Slice) {
        take(utf8, Slice);
        utf8 += Slice;
        length -= Slice;
    }
    if (!m_inLabelled && !m_rowHeaders.isEmpty())
        endRow(); // the file's text after the cells of a row
    const std::size_t from = m_held.size();
    m_held.append(utf8, length);
    takeLines(from, false);
    // A line still open may yet get the labels of its cells: it waits whole.
    std::size_t cut = m_lineLong ? m_held.size() : std::min(m_lineStart, m_held.size());
    while (cut > 0 && !cutsCleanly(m_held, cut))
        --cut;
    if (cut == 0 && m_held.size() > MaxHeld) {
        cut = m_lineLong || m_lineStart == 0 ? m_held.size() : std::min(m_lineStart, m_held.size());
        while (cut > 0 && (static_cast<unsigned char>(m_held[cut]) & 0xC0) == 0x80)
            --cut;
    }
    if (cut == 0)
        return;
    scanNew(cut);
}

void PrivacyCollector::scanNew(std::size_t held)
{
    const unsigned long long previousEnd = windowEnd();
    normaliseHeld(held);
    if (windowEnd() == previousEnd)
        return;
    const unsigned long long overlap = static_cast<unsigned long long>(m_matcher.maxWidth());
    m_scannedTo = previousEnd;
    m_scanBase = std::max({m_windowStart, m_partStart, m_scannedTo > overlap ? m_scannedTo - overlap : 0ull});
    m_raw.clear();
    m_matcher.scan(m_window.data() + (m_scanBase - m_windowStart), static_cast<std::size_t>(windowEnd() - m_scanBase),
                   m_scratch, &PrivacyCollector::onMatch, this);
    std::sort(m_raw.begin(), m_raw.end(), [](const Raw &a, const Raw &b) {
        return a.end != b.end ? a.end < b.end : a.start < b.start;
    });
    for (const Raw &raw : m_raw) {
        for (const PrivacyMatcher::Role &role : m_matcher.roles(raw.expression))
            m_pending.push_back({raw.start, raw.end, role.rule, role.near});
    }
    settle(false);
    trim();
}

void PrivacyCollector::beginPart(const QByteArray &label)
{
    if (!m_rowHeaders.isEmpty() && stopReason() == Stop::None)
        endRow();
    if (m_lineStart < m_held.size())
        takeLines(m_held.size(), true);
    scanNew(m_held.size());
    m_table.reset();
    settle(true);
    const unsigned long long end = windowEnd();
    m_window.clear();
    m_original.clear();
    m_anchors.clear();
    m_originalStart = m_originalEnd;
    m_windowStart = end;
    m_partStart = end;
    m_scannedTo = end;
    std::fill(m_lastPassage.begin(), m_lastPassage.end(), -1);
    m_label = label;
}

void PrivacyCollector::finish()
{
    if (!m_rowHeaders.isEmpty() && stopReason() == Stop::None)
        endRow();
    if (m_lineStart < m_held.size())
        takeLines(m_held.size(), true);
    scanNew(m_held.size());
    settle(true);
    m_window.clear();
    m_window.shrink_to_fit();
    m_original.clear();
    m_original.shrink_to_fit();
    m_anchors.clear();
}

void PrivacyCollector::settle(bool all)
{
    while (!m_pending.empty() && (all || windowEnd() - m_pending.front().end >= ContextBytes)) {
        const Candidate candidate = m_pending.front();
        m_pending.pop_front();
        if (candidate.rule == PrivacyMatcher::RunTrigger)
            run(candidate);
        else if (candidate.near)
            nearContext(candidate);
        else
            accept(candidate);
    }
}

void PrivacyCollector::run(const Candidate &trigger)
{
    // The whole run of ASCII letters and digits around the digits found.
    if (trigger.start < m_windowStart || trigger.end <= m_lastRunEnd)
        return;
    auto isAlnum = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    };
    const char *text = m_window.data();
    const std::size_t floor = static_cast<std::size_t>(std::max(m_partStart, m_windowStart) - m_windowStart);
    std::size_t start = static_cast<std::size_t>(trigger.start - m_windowStart);
    std::size_t end = static_cast<std::size_t>(trigger.end - m_windowStart);
    while (start > floor && isAlnum(text[start - 1]))
        --start;
    while (end < m_window.size() && isAlnum(text[end]))
        ++end;
    m_lastRunEnd = m_windowStart + end;
    const int length = static_cast<int>(end - start);
    for (int rule : m_matcher.runRules()) {
        const PrivacyRule &r = m_matcher.rule(rule);
        if (length >= r.runMin && length <= r.runMax)
            accept({m_windowStart + start, m_windowStart + end, rule});
    }
}

std::pair<std::size_t, std::size_t> PrivacyCollector::around(unsigned long long start, unsigned long long end, int window) const
{
    const char *text = m_window.data();
    const std::size_t size = m_window.size();
    const std::size_t floor = static_cast<std::size_t>(std::max(m_partStart, m_windowStart) - m_windowStart);
    std::size_t from = static_cast<std::size_t>(std::max(start, m_windowStart) - m_windowStart);
    for (int chars = 0; from > floor && chars < window;) {
        --from;
        if ((static_cast<unsigned char>(text[from]) & 0xC0) != 0x80)
            ++chars;
    }
    std::size_t to = std::min(static_cast<std::size_t>(end - m_windowStart), size);
    for (int chars = 0; to < size && chars < window; ++chars) {
        ++to;
        while (to < size && (static_cast<unsigned char>(text[to]) & 0xC0) == 0x80)
            ++to;
    }
    return {from, to};
}

void PrivacyCollector::onNearMatch(void *context, unsigned, unsigned long long from, unsigned long long to)
{
    static_cast<PrivacyCollector *>(context)->m_near.push_back({from, to});
}

void PrivacyCollector::nearContext(const Candidate &word)
{
    // The rule's patterns over the stretch around its context word; the
    // matches must lie wholly inside it, so that their neighbours can be checked.
    if (word.start < m_windowStart)
        return;
    const int window = m_matcher.rule(word.rule).window + 20; // room for the value itself
    const std::pair<std::size_t, std::size_t> stretch = around(word.start, word.end, window);
    m_near.clear();
    m_matcher.scanRule(word.rule, m_window.data() + stretch.first, stretch.second - stretch.first, m_scratch,
                       &PrivacyCollector::onNearMatch, this);
    std::sort(m_near.begin(), m_near.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second < b.second : a.first < b.first;
    });
    const std::vector<std::pair<unsigned long long, unsigned long long>> found = m_near;
    for (const auto &match : found)
        accept({m_windowStart + stretch.first + match.first, m_windowStart + stretch.first + match.second, word.rule});
}

bool PrivacyCollector::sentenceHas(std::size_t start, std::size_t end, const QVector<QByteArray> &words) const
{
    const std::size_t floor = static_cast<std::size_t>(std::max(m_partStart, m_windowStart) - m_windowStart);
    std::size_t from = start;
    auto endsAt = [this, floor](std::size_t at) {
        return sentenceEnd(m_window, at - 1) == 1 || (at >= floor + 3 && sentenceEnd(m_window, at - 3) == 3);
    };
    while (from > floor && start - from < SentenceReach && !endsAt(from))
        --from;
    std::size_t to = end;
    while (to < m_window.size() && to - end < SentenceReach && !sentenceEnd(m_window, to))
        ++to;
    const char *begin = m_window.data() + from;
    const char *stop = m_window.data() + to;
    for (const QByteArray &word : words) {
        if (std::search(begin, stop, word.constBegin(), word.constEnd()) != stop)
            return true;
    }
    return false;
}

bool PrivacyCollector::inHeading(std::size_t start, std::size_t end) const
{
    const std::size_t floor = static_cast<std::size_t>(std::max(m_partStart, m_windowStart) - m_windowStart);
    std::size_t from = start;
    while (from > floor && m_window[from - 1] != '\n' && start - from <= HeadingBytes)
        --from;
    std::size_t to = end;
    while (to < m_window.size() && m_window[to] != '\n' && m_window[to] != '\r' && to - end <= HeadingBytes)
        ++to;
    if (to - from > HeadingBytes || (from > floor && m_window[from - 1] != '\n') || to >= m_window.size())
        return false;
    const std::string line = m_window.substr(from, to - from);
    // A heading holds no number and is no label with its value.
    for (char c : line) {
        if ((c >= '0' && c <= '9') || c == ':')
            return false;
    }
    if (line.find("\xEF\xBC\x9A") != std::string::npos) // "："
        return false;
    static const char *const endings[] = {"情况", "明细", "明细表", "记录表", "登记表", "统计表", "汇总", "汇总表", "清单", "台账", "报告", "一览表",
                                          // registers of members: "教友名册", "皈依弟子登记簿"
                                          "名册", "名单", "登记簿", "登记册"};
    for (const char *ending : endings) {
        const std::size_t n = std::strlen(ending);
        if (line.size() >= n && line.compare(line.size() - n, n, ending) == 0)
            return true;
    }
    // A numbered heading: "一、", "（二）".
    static const char *const numerals[] = {"一、", "二、", "三、", "四、", "五、", "六、", "七、", "八、", "九、", "十、", "（"};
    for (const char *numeral : numerals) {
        if (line.compare(0, std::strlen(numeral), numeral) == 0 && line.find("\xE3\x80\x82") == std::string::npos) // no "。"
            return line.size() <= HeadingBytes / 2;
    }
    return false;
}

bool PrivacyCollector::labelsADate(std::size_t end) const
{
    static const char date[] = "\xE6\x97\xA5\xE6\x9C\x9F"; // "日期"
    return m_window.compare(end, sizeof date - 1, date) == 0;
}

bool PrivacyCollector::sentenceBetween(std::size_t from, std::size_t to) const
{
    for (std::size_t i = from; i < to; ++i) {
        // A tab or an ASCII comma parts the cells of delimited text.
        if (m_window[i] == '\n' || m_window[i] == '\t' || m_window[i] == ',' || sentenceEnd(m_window, i))
            return true;
    }
    return false;
}

bool PrivacyCollector::heldByNotIn(int rule, std::size_t start, std::size_t end) const
{
    for (const QByteArray &word : m_matcher.notIn(rule)) {
        const std::size_t length = static_cast<std::size_t>(word.size());
        if (length < end - start)
            continue;
        // Every place where the word would hold [start, end).
        for (std::size_t at = end >= length ? end - length : 0; at <= start && at + length <= m_window.size(); ++at) {
            if (m_window.compare(at, length, word.constData(), length) == 0)
                return true;
        }
    }
    return false;
}

bool PrivacyCollector::contextNear(const Candidate &candidate) const
{
    const std::pair<std::size_t, std::size_t> stretch = around(candidate.start, candidate.end, m_matcher.rule(candidate.rule).window);
    const char *text = m_window.data();
    const char *begin = text + stretch.first;
    const char *end = text + stretch.second;
    if (!m_pairs.empty() && inLabelledValue(original(candidate.start, candidate.end).first)) {
        // The cells handed on of one row stand between blank lines: the
        // lines beyond them are another row's.
        const char *at = text + (candidate.start - m_windowStart);
        const char *stop = text + (candidate.end - m_windowStart);
        for (const char *c = at; c - 1 > begin; --c) {
            if (c[-1] == '\n' && c[-2] == '\n') {
                begin = c;
                break;
            }
        }
        for (const char *c = stop; c + 1 < end; ++c) {
            if (c[0] == '\n' && c[1] == '\n') {
                end = c;
                break;
            }
        }
    }
    for (const QByteArray &word : m_matcher.context(candidate.rule)) {
        if (std::search(begin, end, word.constBegin(), word.constEnd()) != end)
            return true;
    }
    return false;
}

void PrivacyCollector::accept(const Candidate &found)
{
    const PrivacyRule &rule = m_matcher.rule(found.rule);
    if (found.start < m_windowStart || found.start < m_partStart)
        return;
    const char *text = m_window.data();
    const std::size_t size = m_window.size();
    std::size_t start = static_cast<std::size_t>(found.start - m_windowStart);
    std::size_t end = static_cast<std::size_t>(found.end - m_windowStart);
    if (!PrivacyValidators::boundaryClear(rule.boundary, text, size, start, end))
        return;
    if (!PrivacyValidators::check(rule.validator, text, size, start, end, m_today))
        return;
    Candidate candidate{m_windowStart + start, m_windowStart + end, found.rule};
    if (!rule.notIn.isEmpty() && heldByNotIn(found.rule, start, end))
        return;
    if (!rule.context.isEmpty() && !contextNear(candidate))
        return;
    if (!m_matcher.with(found.rule).isEmpty() && !sentenceHas(start, end, m_matcher.with(found.rule)))
        return;
    // A word in a heading names what follows, no fact ("二、资产及征信情况", "考勤打卡明细").
    if (m_matcher.dictionary(found.rule) && (inHeading(start, end) || labelsADate(end)))
        return;
    // Rules the detail document shows under one name share their last hit.
    const std::size_t r = static_cast<std::size_t>(m_matcher.group(found.rule));
    if (m_hasLast[r] && candidate.start < m_lastEnd[r]) {
        // A longer match from the same start replaces the rule's previous hit; other overlaps are dropped.
        if (candidate.start != m_lastStart[r] || candidate.end <= m_lastEnd[r])
            return;
        m_lastEnd[r] = candidate.end;
        if (m_lastPassage[r] >= 0) {
            Passage &passage = m_passages[m_lastPassage[r]];
            passage.context = passageFor(candidate.start, candidate.end, &passage.value);
        }
        return;
    }
    if (m_hasLast[r] && m_matcher.dictionary(found.rule) && m_lastEnd[r] >= m_windowStart
        && m_lastStart[r] >= m_windowStart) {
        const std::size_t lastStart = static_cast<std::size_t>(m_lastStart[r] - m_windowStart);
        const std::size_t lastEnd = static_cast<std::size_t>(m_lastEnd[r] - m_windowStart);
        const bool glued = start - lastEnd <= OneFactBytes && !punctuated(m_window, lastEnd, start);
        // The same word again in one sentence ("逾期1次，最长逾期69天"), or
        // any word of a rule whose sentence tells one fact (a criminal record).
        bool sameFact = glued;
        if (!sameFact && start - lastEnd <= SentenceReach && !sentenceBetween(lastEnd, start)) {
            sameFact = rule.factPerSentence
                       || (end - start == lastEnd - lastStart && std::equal(text + start, text + end, text + lastStart));
        }
        if (sameFact) {
            m_lastEnd[r] = std::max(m_lastEnd[r], candidate.end); // the fact reaches on
            return;
        }
    }
    // A word of a label handed on with a value is context, never a hit, nor
    // the end of one: a relative's word before the next cell's header
    // ("配偶⏎陈斌：…", the header from a form's first row) names no relative.
    const std::pair<unsigned long long, unsigned long long> raw = original(candidate.start, candidate.end);
    if (raw.first >= raw.second || injectedAt(candidate.end - 1))
        return;
    // A sheet's cell is read twice, in the text and with its header: a value
    // the text gave already counts once, and so does a hit of its group
    // starting alike (the header's context lets a shorter word of another
    // rule count, "视力残疾" where the text gave "视力残疾一级"). The hit
    // met again stands as the group's last, so that one overlapping it
    // there counts once too.
    const QByteArray key = QByteArray::number(static_cast<int>(r)) + ':' + QByteArray(text + start, static_cast<int>(end - start));
    const QByteArray head = key.left(key.indexOf(':') + 1 + HeadBytes);
    // The file's own bytes of the hit, from its last cell on ("159 cm" of
    // "身高⏎159 cm"): the value a row's first cell gives it again.
    const auto lastCell = [&]() {
        const std::size_t from = static_cast<std::size_t>(std::max(raw.first, m_originalStart) - m_originalStart);
        const std::size_t to = static_cast<std::size_t>(std::min(raw.second, m_originalEnd) - m_originalStart);
        std::size_t cell = from;
        for (std::size_t i = from; i < to; ++i) {
            const char c = m_original[i];
            if (c == '\n' || c == '\t' || (c == ' ' && i + 1 < to && m_original[i + 1] == ' '))
                cell = i + 1;
        }
        return QByteArray::number(static_cast<int>(r)) + '~' + QByteArray(m_original.data() + cell, static_cast<int>(to - cell)).trimmed();
    };
    // The hit stands as its group's last, with no passage of its own yet.
    const auto standAsLast = [&]() {
        m_hasLast[r] = true;
        m_lastStart[r] = candidate.start;
        m_lastEnd[r] = candidate.end;
        m_lastPassage[r] = -1;
    };
    if (inRowReading(raw.first)) {
        // A value read again under its row's first cell gives only what
        // needed that cell as its label, and what the text did not give
        // already ("身高⏎159 cm" in a table's text).
        if (!injectedAt(candidate.start))
            return;
        const auto seen = m_flatHits.find(lastCell());
        if (seen != m_flatHits.end() && seen.value() > 0) {
            --seen.value();
            standAsLast();
            return;
        }
    } else if (inLabelledValue(raw.first)) {
        auto seen = m_flatHits.find(key);
        if (seen == m_flatHits.end() || seen.value() <= 0) {
            for (auto alike = m_flatHeads.constFind(head); alike != m_flatHeads.constEnd() && alike.key() == head; ++alike) {
                const auto other = m_flatHits.find(alike.value());
                if (other.value() > 0 && (other.key().startsWith(key) || key.startsWith(other.key()))) {
                    seen = other;
                    break;
                }
            }
        }
        if (seen != m_flatHits.end() && seen.value() > 0) {
            --seen.value();
            standAsLast();
            return;
        }
    } else if (m_flatHits.size() < MaxRememberedHits) {
        int &count = m_flatHits[key];
        if (count++ == 0 && key.size() > head.size())
            m_flatHeads.insert(head, key);
        const QByteArray cell = lastCell();
        if (cell.size() < key.size())
            ++m_flatHits[cell];
    }
    standAsLast();
    if (m_counts[found.rule]++ == 0)
        m_found.append(found.rule);
    if (m_kept[found.rule] >= Limits::MaxPassagesPerWord || m_passages.size() >= Limits::MaxPassagesPerFile)
        return;
    ++m_kept[found.rule];
    Passage passage;
    passage.rule = found.rule;
    passage.context = passageFor(candidate.start, candidate.end, &passage.value);
    m_lastPassage[r] = m_passages.size();
    m_passages.append(passage);
}

void PrivacyCollector::trim()
{
    const unsigned long long reach =
        ContextBytes + static_cast<unsigned long long>(m_matcher.maxWidth()) + ContextBytes;
    unsigned long long keepFrom = windowEnd() > reach ? windowEnd() - reach : 0;
    if (!m_pending.empty())
        keepFrom = std::min(keepFrom, m_pending.front().start > ContextBytes ? m_pending.front().start - ContextBytes : 0);
    if (keepFrom > m_windowStart && keepFrom < windowEnd()) {
        m_window.erase(0, static_cast<std::size_t>(keepFrom - m_windowStart));
        m_windowStart = keepFrom;
        while (m_anchors.size() > 1 && m_anchors[1].norm <= keepFrom)
            m_anchors.pop_front();
        const unsigned long long rawFrom = std::min(original(keepFrom, keepFrom + 1).first, m_originalEnd);
        while (!m_pairs.empty() && m_pairs.front().second <= rawFrom)
            m_pairs.pop_front();
        while (!m_rowPairs.empty() && m_rowPairs.front().second <= rawFrom)
            m_rowPairs.pop_front();
        if (rawFrom > m_originalStart) {
            m_original.erase(0, static_cast<std::size_t>(rawFrom - m_originalStart));
            m_originalStart = rawFrom;
        }
    }
}
