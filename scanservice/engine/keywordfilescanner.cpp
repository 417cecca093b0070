#include "keywordfilescanner.h"

#include "detaildocument.h"

KeywordFileScanner::KeywordFileScanner(const KeywordMatcher &matcher)
    : m_matcher(matcher)
    , m_stream(matcher)
{
}

GuardedSink &KeywordFileScanner::startFile()
{
    m_collector.emplace(m_matcher, m_stream);
    return *m_collector;
}

bool KeywordFileScanner::finishFile()
{
    m_collector->finish();
    return !m_collector->foundKeywords().isEmpty();
}

void KeywordFileScanner::findings(FindingsStore::FileFindings *findings, QVariantMap *counts) const
{
    const HitCollector &collector = *m_collector;
    QByteArray countsJson;
    for (int keyword : collector.foundKeywords()) {
        const QString &word = m_matcher.word(keyword);
        counts->insert(word, collector.occurrences(keyword));
        countsJson.append(countsJson.isEmpty() ? '{' : ',');
        DetailDocument::appendString(countsJson, m_matcher.wordUtf8(keyword));
        countsJson.append(':').append(QByteArray::number(collector.occurrences(keyword)));
    }
    findings->counts = countsJson + '}';
    findings->passages = collector.passages(); // shared, not copied
}
