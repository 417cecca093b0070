#ifndef PRIVACYFILESCANNER_H
#define PRIVACYFILESCANNER_H

#include "filescanner.h"
#include "privacycollector.h"
#include "privacymatcher.h"

#include <QDate>

#include <optional>

// A privacy task's scanner: every rule of the rule table, its hits kept per
// rule and counted per category.
class PrivacyFileScanner : public FileScanner
{
public:
    // today: the scan's date, which ages are counted to.
    PrivacyFileScanner(const PrivacyMatcher &matcher, const QDate &today);

    bool isValid() const override { return m_scratch.isValid(); }
    GuardedSink &startFile() override;
    bool finishFile() override;
    void findings(FindingsStore::FileFindings *findings, QVariantMap *counts) const override;

private:
    const PrivacyMatcher &m_matcher;
    PrivacyMatcher::Scratch m_scratch;
    const QDate m_today;
    std::optional<PrivacyCollector> m_collector;
};

#endif // PRIVACYFILESCANNER_H
