#include "privacycollector.h"

#include "hitcollector.h"
#include "privacyvalidators.h"
#include "scanlimits.h"

#include <algorithm>

namespace {
constexpr unsigned long long ContextBytes = Limits::ContextChars * 4;
} // namespace

PrivacyCollector::PrivacyCollector(const PrivacyMatcher &matcher, PrivacyMatcher::Scratch &scratch, const QDate &today)
    : m_matcher(matcher)
    , m_scratch(scratch)
    , m_today(today)
    , m_lastStart(static_cast<std::size_t>(matcher.ruleCount()), 0)
    , m_lastEnd(static_cast<std::size_t>(matcher.ruleCount()), 0)
    , m_lastPassage(static_cast<std::size_t>(matcher.ruleCount()), -1)
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

void PrivacyCollector::take(const char *utf8, std::size_t length)
{
    m_window.append(utf8, length);
    const unsigned long long overlap = static_cast<unsigned long long>(m_matcher.maxWidth());
    m_scannedTo = taken() - length;
    m_scanBase = std::max({m_windowStart, m_partStart, m_scannedTo > overlap ? m_scannedTo - overlap : 0ull});
    m_raw.clear();
    m_matcher.scan(m_window.data() + (m_scanBase - m_windowStart), static_cast<std::size_t>(taken() - m_scanBase),
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
    settle(true);
    m_window.clear();
    m_windowStart = taken();
    m_partStart = taken();
    m_scannedTo = taken();
    std::fill(m_lastPassage.begin(), m_lastPassage.end(), -1);
    m_label = label;
}

void PrivacyCollector::finish()
{
    settle(true);
    m_window.clear();
    m_window.shrink_to_fit();
}

void PrivacyCollector::settle(bool all)
{
    while (!m_pending.empty() && (all || taken() - m_pending.front().end >= ContextBytes)) {
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

bool PrivacyCollector::contextNear(const Candidate &candidate) const
{
    const std::pair<std::size_t, std::size_t> stretch = around(candidate.start, candidate.end, m_matcher.rule(candidate.rule).window);
    const char *text = m_window.data();
    const char *begin = text + stretch.first;
    const char *end = text + stretch.second;
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
    if (!rule.context.isEmpty() && !contextNear(candidate))
        return;
    const std::size_t r = static_cast<std::size_t>(found.rule);
    if (m_counts[found.rule] > 0 && candidate.start < m_lastEnd[r]) {
        // A longer match from the same start replaces the rule's previous hit; other overlaps are dropped.
        if (candidate.start != m_lastStart[r] || candidate.end <= m_lastEnd[r])
            return;
        m_lastEnd[r] = candidate.end;
        if (m_lastPassage[r] >= 0) {
            Passage &passage = m_passages[m_lastPassage[r]];
            passage.value = QByteArray(text + start, static_cast<int>(end - start));
            passage.context = HitCollector::passageAround(m_window, start, end, m_label);
        }
        return;
    }
    m_lastStart[r] = candidate.start;
    m_lastEnd[r] = candidate.end;
    m_lastPassage[r] = -1;
    if (m_counts[found.rule]++ == 0)
        m_found.append(found.rule);
    if (m_kept[found.rule] >= Limits::MaxPassagesPerWord || m_passages.size() >= Limits::MaxPassagesPerFile)
        return;
    ++m_kept[found.rule];
    Passage passage;
    passage.rule = found.rule;
    passage.value = QByteArray(text + start, static_cast<int>(end - start));
    passage.context = HitCollector::passageAround(m_window, start, end, m_label);
    m_lastPassage[r] = m_passages.size();
    m_passages.append(passage);
}

void PrivacyCollector::trim()
{
    const unsigned long long reach =
        ContextBytes + static_cast<unsigned long long>(m_matcher.maxWidth()) + ContextBytes;
    unsigned long long keepFrom = taken() > reach ? taken() - reach : 0;
    if (!m_pending.empty())
        keepFrom = std::min(keepFrom, m_pending.front().start > ContextBytes ? m_pending.front().start - ContextBytes : 0);
    if (keepFrom > m_windowStart) {
        m_window.erase(0, static_cast<std::size_t>(keepFrom - m_windowStart));
        m_windowStart = keepFrom;
    }
}
