#include "privacyfilescanner.h"

#include "detaildocument.h"
#include "privacyrules.h"

#include <algorithm>

PrivacyFileScanner::PrivacyFileScanner(const PrivacyMatcher &matcher, const QDate &today)
    : m_matcher(matcher)
    , m_scratch(matcher)
    , m_today(today)
{
}

GuardedSink &PrivacyFileScanner::startFile()
{
    m_collector.emplace(m_matcher, m_scratch, m_today);
    return *m_collector;
}

bool PrivacyFileScanner::finishFile()
{
    m_collector->finish();
    return !m_collector->foundRules().isEmpty();
}

void PrivacyFileScanner::findings(FindingsStore::FileFindings *findings, QVariantMap *counts) const
{
    const PrivacyCollector &collector = *m_collector;
    findings->hits = "[]";
    // Hits per category, in the order of the categories.
    QVector<int> perCategory(PrivacyRuleTable::categories().size(), 0);
    QVector<int> rules = collector.foundRules();
    std::sort(rules.begin(), rules.end());
    for (int rule : rules) {
        const PrivacyRule &r = m_matcher.rule(rule);
        perCategory[r.categoryIndex] += collector.hits(rule);
        FindingsStore::RuleHits hits;
        hits.category = r.category;
        hits.rulename = r.name;
        hits.position = rule;
        hits.count = collector.hits(rule);
        for (const PrivacyCollector::Passage &passage : collector.passages()) {
            if (passage.rule != rule)
                continue;
            DetailDocument::appendHit(hits.hits, passage.value, passage.context);
            ++hits.kept;
        }
        if (hits.hits.isEmpty())
            hits.hits = "[";
        hits.hits.append(']');
        findings->rules.append(hits);
    }
    QByteArray countsJson;
    for (int c = 0; c < perCategory.size(); ++c) {
        if (perCategory.at(c) == 0)
            continue;
        const QString &category = PrivacyRuleTable::categories().at(c);
        counts->insert(category, perCategory.at(c));
        countsJson.append(countsJson.isEmpty() ? '{' : ',');
        DetailDocument::appendString(countsJson, category.toUtf8());
        countsJson.append(':').append(QByteArray::number(perCategory.at(c)));
    }
    findings->counts = countsJson + '}';
}
