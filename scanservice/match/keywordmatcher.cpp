#include "keywordmatcher.h"

#include <hs/hs.h>

#include <QSet>

#include <vector>

namespace {
struct Forward
{
    KeywordMatcher::Callback callback;
    void *context;
};

int onMatch(unsigned int id, unsigned long long, unsigned long long to, unsigned int, void *context)
{
    auto *forward = static_cast<Forward *>(context);
    forward->callback(forward->context, static_cast<int>(id), to);
    return 0;
}
} // namespace

std::shared_ptr<const KeywordMatcher> KeywordMatcher::compile(const QStringList &keywords, QString *error)
{
    std::shared_ptr<KeywordMatcher> matcher(new KeywordMatcher);
    std::vector<QByteArray> bytes;
    QSet<QString> seen;
    for (const QString &word : keywords) {
        if (word.isEmpty() || seen.contains(word))
            continue;
        seen.insert(word);
        matcher->m_words.append(word);
        bytes.push_back(word.toUtf8());
        matcher->m_utf8.append(bytes.back());
        matcher->m_lengths.append(bytes.back().size());
        matcher->m_maxLength = qMax(matcher->m_maxLength, bytes.back().size());
    }
    if (matcher->m_words.isEmpty()) {
        *error = QStringLiteral("no keyword to look for");
        return nullptr;
    }
    if (hs_valid_platform() != HS_SUCCESS) {
        *error = QStringLiteral("this processor lacks the instructions the matcher needs (SSSE3)");
        return nullptr;
    }
    std::vector<const char *> expressions;
    std::vector<std::size_t> lengths;
    std::vector<unsigned> flags(bytes.size(), 0u);
    std::vector<unsigned> ids;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        expressions.push_back(bytes[i].constData());
        lengths.push_back(static_cast<std::size_t>(bytes[i].size()));
        ids.push_back(static_cast<unsigned>(i));
    }
    hs_compile_error_t *compileError = nullptr;
    if (hs_compile_lit_multi(expressions.data(), flags.data(), ids.data(), lengths.data(),
                             static_cast<unsigned>(expressions.size()), HS_MODE_STREAM, nullptr,
                             &matcher->m_database, &compileError)
        != HS_SUCCESS) {
        *error = QStringLiteral("keyword database not built: %1")
                     .arg(QString::fromUtf8(compileError ? compileError->message : "unknown error"));
        hs_free_compile_error(compileError);
        return nullptr;
    }
    return matcher;
}

KeywordMatcher::~KeywordMatcher()
{
    hs_free_database(m_database);
}

KeywordMatcher::Stream::Stream(const KeywordMatcher &matcher)
    : m_matcher(matcher)
{
    if (hs_alloc_scratch(matcher.m_database, &m_scratch) != HS_SUCCESS) {
        m_scratch = nullptr;
        return;
    }
    if (hs_open_stream(matcher.m_database, 0, &m_stream) != HS_SUCCESS)
        m_stream = nullptr;
}

KeywordMatcher::Stream::~Stream()
{
    if (m_stream)
        hs_close_stream(m_stream, m_scratch, nullptr, nullptr);
    if (m_scratch)
        hs_free_scratch(m_scratch);
}

void KeywordMatcher::Stream::scan(const char *data, std::size_t length, Callback callback, void *context)
{
    Forward forward{callback, context};
    while (length > 0) {
        // The library takes lengths as 32-bit values.
        const unsigned piece = static_cast<unsigned>(qMin<std::size_t>(length, 1u << 30));
        hs_scan_stream(m_stream, data, piece, 0, m_scratch, onMatch, &forward);
        data += piece;
        length -= piece;
    }
}

void KeywordMatcher::Stream::reset()
{
    hs_reset_stream(m_stream, 0, m_scratch, nullptr, nullptr);
}
