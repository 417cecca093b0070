#include "privacymatcher.h"

#include <hs/hs.h>

#include <QHash>

#include <algorithm>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <string>
#include <vector>

namespace {
constexpr unsigned MaxExpressionWidth = 1024;
// A shape that can match no ideograph and is at least this long goes into
// the number database: shorter ones would have it scan most of the text.
constexpr unsigned MinNumberShapeWidth = 6;
// Ends every stretch in the gathered buffer: no byte of UTF-8, matched by no shape.
constexpr char StretchEnd = '\xFF';

// Whether a byte leads a three-byte character of U+4000 to U+9FFF, the
// ideographs ({HAN}) and the rules' Chinese words.
inline bool ideographLead(unsigned char c)
{
    return c >= 0xE4 && c <= 0xE9;
}

// Whether an expression can never match a byte of an ideograph: it holds
// none, and nothing that matches any byte (".", a negated class, "\\S"
// and the like, a byte written in hexadecimal).
bool outsideIdeographs(const std::string &expression)
{
    for (std::size_t i = 0; i < expression.size(); ++i) {
        const auto c = static_cast<unsigned char>(expression[i]);
        if (ideographLead(c) || c == '.')
            return false;
        if (c == '[' && i + 1 < expression.size() && expression[i + 1] == '^')
            return false;
        if (c == '\\' && i + 1 < expression.size()) {
            const char e = expression[++i];
            if (!std::strchr("dswbB.-+()[]{}|*?^$/:#@!,", e))
                return false;
        }
    }
    return true;
}

std::string literalExpression(const QByteArray &utf8)
{
    static const char hex[] = "0123456789abcdef";
    std::string expression;
    for (char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) {
            expression.push_back(c);
        } else {
            expression += "\\x";
            expression.push_back(hex[u >> 4]);
            expression.push_back(hex[u & 15]);
        }
    }
    return expression;
}

struct Forward
{
    const PrivacyMatcher *matcher;
    const QVector<int> *lengths;
    PrivacyMatcher::Callback callback;
    void *context;
};

int onMatch(unsigned int id, unsigned long long from, unsigned long long to, unsigned int, void *context)
{
    auto *forward = static_cast<Forward *>(context);
    const int literal = forward->lengths->at(static_cast<int>(id));
    forward->callback(forward->context, id, literal > 0 ? to - static_cast<unsigned long long>(literal) : from, to);
    return 0;
}
} // namespace

std::shared_ptr<const PrivacyMatcher> PrivacyMatcher::compile(const PrivacyRuleTable &table, QString *error)
{
    std::shared_ptr<PrivacyMatcher> matcher(new PrivacyMatcher);
    matcher->m_table = table;
    for (const PrivacyRule &rule : table.rules()) {
        QVector<QByteArray> words;
        for (const QString &word : rule.context)
            words.append(word.toUtf8());
        matcher->m_context.append(words);
        QVector<QByteArray> with;
        for (const QString &word : rule.with)
            with.append(word.toUtf8());
        matcher->m_with.append(with);
        QVector<QByteArray> notIn;
        for (const QString &word : rule.notIn)
            notIn.append(word.toUtf8());
        matcher->m_notIn.append(notIn);
        int group = matcher->m_group.size();
        for (int other = 0; other < matcher->m_group.size(); ++other) {
            const PrivacyRule &o = table.rules().at(other);
            if (o.name == rule.name && o.category == rule.category) {
                group = other;
                break;
            }
        }
        matcher->m_group.append(group);
    }
    if (hs_valid_platform() != HS_SUCCESS) {
        *error = QStringLiteral("this processor lacks the instructions the matcher needs (SSSE3)");
        return nullptr;
    }
    std::vector<std::string> expressions;
    std::vector<unsigned> flags;
    std::vector<bool> shapes; // patterns and the runs' digits, not words
    QHash<QByteArray, int> index; // expression text (with a kind mark) -> id
    auto add = [&](const QByteArray &key, const std::string &expression, unsigned flag, int literalLength, Role role) {
        int id = index.value(key, -1);
        if (id < 0) {
            id = static_cast<int>(expressions.size());
            index.insert(key, id);
            expressions.push_back(expression);
            flags.push_back(flag);
            shapes.push_back(!key.startsWith("w:"));
            matcher->m_roles.append(QVector<Role>());
            matcher->m_literalLength.append(literalLength);
        }
        for (const Role &existing : matcher->m_roles.at(id)) {
            if (existing.rule == role.rule && existing.near == role.near)
                return;
        }
        matcher->m_roles[id].append(role);
    };
    const QVector<PrivacyRule> &rules = table.rules();
    for (int r = 0; r < rules.size(); ++r) {
        const PrivacyRule &rule = rules.at(r);
        if (rule.nearContext) {
            for (const QString &word : rule.context)
                add("w:" + word.toUtf8(), literalExpression(word.toUtf8()), 0, word.toUtf8().size(), {r, true});
            continue; // the patterns go into the rule's own database
        }
        for (const QString &pattern : rule.patterns)
            add("p:" + pattern.toUtf8(), pattern.toStdString(), HS_FLAG_SOM_LEFTMOST, 0, {r});
        for (const QString &word : rule.words)
            add("w:" + word.toUtf8(), literalExpression(word.toUtf8()), 0, word.toUtf8().size(), {r});
    }
    // Runs of letters and digits are found through their digits: one small expression for all run rules.
    for (int r = 0; r < rules.size(); ++r) {
        if (rules.at(r).runMin > 0) {
            matcher->m_runRules.append(r);
            add("r:", "\\d{" + std::to_string(PrivacyRuleTable::RunDigits) + "}", 0, PrivacyRuleTable::RunDigits, {RunTrigger});
        }
    }
    // Rules found near their context: a small database of their own patterns each.
    matcher->m_ruleDatabases.fill(nullptr, rules.size());
    for (int r = 0; r < rules.size(); ++r) {
        if (!rules.at(r).nearContext)
            continue;
        std::vector<std::string> own;
        for (const QString &pattern : rules.at(r).patterns)
            own.push_back(pattern.toStdString());
        std::vector<const char *> pointers;
        std::vector<unsigned> ownFlags(own.size(), HS_FLAG_SOM_LEFTMOST);
        std::vector<unsigned> ownIds;
        for (std::size_t i = 0; i < own.size(); ++i) {
            pointers.push_back(own[i].c_str());
            ownIds.push_back(static_cast<unsigned>(i));
            hs_expr_info_t *info = nullptr;
            hs_compile_error_t *compileError = nullptr;
            if (hs_expression_info(own[i].c_str(), HS_FLAG_SOM_LEFTMOST, &info, &compileError) != HS_SUCCESS
                || info->max_width > MaxExpressionWidth || info->min_width == 0) {
                *error = QStringLiteral("privacy expression %1 is not valid or not bounded").arg(QString::fromStdString(own[i]));
                if (compileError)
                    hs_free_compile_error(compileError);
                ::free(info);
                return nullptr;
            }
            ::free(info);
        }
        hs_compile_error_t *compileError = nullptr;
        if (hs_compile_multi(pointers.data(), ownFlags.data(), ownIds.data(), static_cast<unsigned>(pointers.size()),
                             HS_MODE_BLOCK, nullptr, &matcher->m_ruleDatabases[r], &compileError)
            != HS_SUCCESS) {
            *error = QStringLiteral("privacy rule %1 not compiled: %2")
                         .arg(rules.at(r).id, QString::fromUtf8(compileError ? compileError->message : "unknown error"));
            hs_free_compile_error(compileError);
            return nullptr;
        }
    }
    std::vector<const char *> pointers;
    std::vector<unsigned> ids;
    std::vector<unsigned> mainFlags;
    std::vector<const char *> numberPointers;
    std::vector<unsigned> numberIds;
    std::vector<unsigned> numberFlags;
    for (std::size_t i = 0; i < expressions.size(); ++i) {
        hs_expr_info_t *info = nullptr;
        hs_compile_error_t *compileError = nullptr;
        if (hs_expression_info(expressions[i].c_str(), flags[i], &info, &compileError) != HS_SUCCESS) {
            *error = QStringLiteral("privacy expression %1 is not valid: %2")
                         .arg(QString::fromStdString(expressions[i]), QString::fromUtf8(compileError->message));
            hs_free_compile_error(compileError);
            return nullptr;
        }
        const unsigned width = info->max_width;
        const unsigned minimum = info->min_width;
        ::free(info);
        if (width > MaxExpressionWidth || minimum == 0) {
            *error = QStringLiteral("privacy expression %1 may match %2 text: give it bounded repeats")
                         .arg(QString::fromStdString(expressions[i]),
                              minimum == 0 ? QStringLiteral("empty") : QStringLiteral("unbounded"));
            return nullptr;
        }
        matcher->m_maxWidth = qMax(matcher->m_maxWidth, static_cast<int>(width));
        if (shapes[i] && minimum >= MinNumberShapeWidth && outsideIdeographs(expressions[i])) {
            numberPointers.push_back(expressions[i].c_str());
            numberIds.push_back(static_cast<unsigned>(i));
            numberFlags.push_back(flags[i]);
            matcher->m_numberMinWidth = numberIds.size() == 1 ? minimum : std::min(matcher->m_numberMinWidth, minimum);
            continue;
        }
        pointers.push_back(expressions[i].c_str());
        ids.push_back(static_cast<unsigned>(i));
        mainFlags.push_back(flags[i]);
    }
    hs_compile_error_t *compileError = nullptr;
    if (!numberPointers.empty()
        && hs_compile_multi(numberPointers.data(), numberFlags.data(), numberIds.data(),
                            static_cast<unsigned>(numberPointers.size()), HS_MODE_BLOCK, nullptr,
                            &matcher->m_numberDatabase, &compileError)
               != HS_SUCCESS) {
        *error = QStringLiteral("privacy rules not compiled: %1").arg(QString::fromUtf8(compileError ? compileError->message : "unknown error"));
        hs_free_compile_error(compileError);
        return nullptr;
    }
    if (pointers.empty()) {
        // Every expression is a shape: the main database gets one that never matches text.
        static const char never[] = "\\xFF\\xFF";
        pointers.push_back(never);
        ids.push_back(static_cast<unsigned>(expressions.size()));
        mainFlags.push_back(0);
        matcher->m_roles.append(QVector<Role>());
        matcher->m_literalLength.append(0);
    }
    if (hs_compile_multi(pointers.data(), mainFlags.data(), ids.data(), static_cast<unsigned>(pointers.size()),
                         HS_MODE_BLOCK, nullptr, &matcher->m_database, &compileError)
        != HS_SUCCESS) {
        const int bad = compileError && compileError->expression >= 0 && compileError->expression < int(ids.size())
                            ? static_cast<int>(ids[static_cast<std::size_t>(compileError->expression)])
                            : -1;
        *error = QStringLiteral("privacy rules not compiled: %1 (expression %2)")
                     .arg(QString::fromUtf8(compileError ? compileError->message : "unknown error"))
                     .arg(bad >= 0 && bad < int(expressions.size()) ? QString::fromStdString(expressions[bad]) : QString::number(bad));
        hs_free_compile_error(compileError);
        return nullptr;
    }
    return matcher;
}

PrivacyMatcher::~PrivacyMatcher()
{
    hs_free_database(m_database);
    hs_free_database(m_numberDatabase);
    for (hs_database *database : m_ruleDatabases)
        hs_free_database(database);
}

PrivacyMatcher::Scratch::Scratch(const PrivacyMatcher &matcher)
{
    if (hs_alloc_scratch(matcher.m_database, &m_scratch) != HS_SUCCESS) {
        m_scratch = nullptr;
        return;
    }
    if (matcher.m_numberDatabase && hs_alloc_scratch(matcher.m_numberDatabase, &m_numberScratch) != HS_SUCCESS) {
        hs_free_scratch(m_scratch);
        m_scratch = nullptr;
        return;
    }
    for (hs_database *database : matcher.m_ruleDatabases) {
        hs_scratch *scratch = nullptr;
        if (database && hs_alloc_scratch(database, &scratch) != HS_SUCCESS) {
            hs_free_scratch(m_scratch);
            m_scratch = nullptr;
            return;
        }
        m_ruleScratch.append(scratch);
    }
}

PrivacyMatcher::Scratch::~Scratch()
{
    for (hs_scratch *scratch : m_ruleScratch) {
        if (scratch)
            hs_free_scratch(scratch);
    }
    if (m_scratch)
        hs_free_scratch(m_scratch);
    if (m_numberScratch)
        hs_free_scratch(m_numberScratch);
}

void PrivacyMatcher::scanRule(int rule, const char *data, std::size_t length, Scratch &scratch, Callback callback,
                              void *context) const
{
    hs_database *database = m_ruleDatabases.value(rule);
    if (!database || rule >= scratch.m_ruleScratch.size())
        return;
    QVector<int> lengths(static_cast<int>(m_table.rules().at(rule).patterns.size()), 0);
    Forward forward{this, &lengths, callback, context};
    hs_scan(database, data, static_cast<unsigned>(length), 0, scratch.m_ruleScratch[rule], onMatch, &forward);
}

void PrivacyMatcher::scan(const char *data, std::size_t length, Scratch &scratch, Callback callback, void *context) const
{
    Forward forward{this, &m_literalLength, callback, context};
    hs_scan(m_database, data, static_cast<unsigned>(length), 0, scratch.m_scratch, onMatch, &forward);
    if (!m_numberDatabase)
        return;
    // The stretches between ideographs long enough to hold a shape, gathered
    // into one buffer, each followed by a byte no shape matches.
    std::string &stretches = scratch.m_stretches;
    auto &at = scratch.m_stretchAt;
    stretches.clear();
    at.clear();
    const std::size_t minimum = m_numberMinWidth;
    auto take = [&](std::size_t from, std::size_t to) {
        if (to - from < minimum)
            return;
        at.push_back({stretches.size(), from});
        stretches.append(data + from, to - from);
        stretches.push_back(StretchEnd);
    };
    std::size_t from = 0;  // where the open stretch starts
    bool open = false;     // whether a stretch is open
    std::size_t i = 0;
    unsigned ideographLeft = 0; // bytes still to come of the ideograph before
#ifdef __SSE2__
    // Sixty-four bytes at a time: a mask of the bytes outside ideographs, and
    // of those that end `minimum` of them in a row, so that only the
    // stretches long enough cost more than a few instructions.
    const __m128i base = _mm_set1_epi8(static_cast<char>(0xE4));
    const __m128i span = _mm_set1_epi8(5);
    const int shifts = static_cast<int>(std::min<std::size_t>(minimum, 63)) - 1;
    std::uint64_t carry = 0;     // bytes of this block that belong to an ideograph of the one before
    std::uint64_t previous = 0;  // the mask of the block before
    for (; i + 64 <= length; i += 64) {
        std::uint64_t leads = 0;
        for (int part = 0; part < 4; ++part) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + 16 * part));
            const __m128i offset = _mm_sub_epi8(v, base);
            const auto bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(offset, span), offset)));
            leads |= static_cast<std::uint64_t>(bits) << (16 * part);
        }
        const std::uint64_t outside = ~(leads | (leads << 1) | (leads << 2) | carry);
        carry = (leads >> 63) * 3 | (leads >> 62 & 1);
        std::uint64_t long_ = outside;
        for (int j = 1; j <= shifts; ++j)
            long_ &= (outside << j) | (previous >> (64 - j));
        previous = outside;
        if (open) {
            // A long stretch goes on from the block before.
            const std::uint64_t ends = ~outside;
            if (!ends)
                continue;
            const int end = __builtin_ctzll(ends);
            take(from, i + static_cast<std::size_t>(end));
            open = false;
            long_ &= ~0ull << end;
        }
        while (long_) {
            // The first byte that ends `minimum` in a row; the stretch began minimum - 1 before it.
            const int bit = __builtin_ctzll(long_);
            from = i + static_cast<std::size_t>(bit) - static_cast<std::size_t>(shifts);
            const std::uint64_t ends = ~outside & (~0ull << bit);
            if (!ends) {
                open = true;
                break;
            }
            const int end = __builtin_ctzll(ends);
            take(from, i + static_cast<std::size_t>(end));
            long_ &= ~0ull << end;
        }
    }
    if (!open && i > 0 && i + 64 > length && (previous >> 63)) {
        // A stretch still short at the last block's end goes on below.
        const std::uint64_t ideographs = ~previous;
        from = i - static_cast<std::size_t>(ideographs ? __builtin_clzll(ideographs) : 64);
        open = true;
    }
    ideographLeft = carry & 2 ? 2 : (carry & 1 ? 1 : 0);
#endif
    for (; i < length; ++i) {
        bool ideograph = ideographLeft > 0;
        if (ideograph) {
            --ideographLeft;
        } else if (ideographLead(static_cast<unsigned char>(data[i]))) {
            ideograph = true;
            ideographLeft = 2;
        }
        if (ideograph && open) {
            take(from, i);
            open = false;
        } else if (!ideograph && !open) {
            from = i;
            open = true;
        }
    }
    if (open)
        take(from, length);
    if (at.empty())
        return;
    struct Mapped
    {
        const Forward *forward;
        const std::vector<std::pair<std::size_t, std::size_t>> *at;
    } mapped{&forward, &at};
    hs_scan(m_numberDatabase, stretches.data(), static_cast<unsigned>(stretches.size()), 0, scratch.m_numberScratch,
            [](unsigned id, unsigned long long begin, unsigned long long end, unsigned, void *context) {
                const auto *m = static_cast<const Mapped *>(context);
                const int literal = m->forward->lengths->at(static_cast<int>(id));
                if (literal > 0)
                    begin = end - static_cast<unsigned long long>(literal);
                // The stretch the match lies in (no match crosses its end byte).
                auto it = std::upper_bound(m->at->begin(), m->at->end(), static_cast<std::size_t>(begin),
                                           [](std::size_t value, const std::pair<std::size_t, std::size_t> &s) {
                                               return value < s.first;
                                           });
                --it;
                const unsigned long long shift = it->second - it->first;
                m->forward->callback(m->forward->context, id, begin + shift, end + shift);
                return 0;
            },
            &mapped);
}
