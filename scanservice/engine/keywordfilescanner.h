#ifndef KEYWORDFILESCANNER_H
#define KEYWORDFILESCANNER_H

#include "filescanner.h"
#include "hitcollector.h"
#include "keywordmatcher.h"

#include <optional>

// A keyword task's scanner: the policy's keywords, with their passages in
// the order of the hits.
class KeywordFileScanner : public FileScanner
{
public:
    explicit KeywordFileScanner(const KeywordMatcher &matcher);

    bool isValid() const override { return m_stream.isValid(); }
    GuardedSink &startFile() override;
    bool finishFile() override;
    void findings(FindingsStore::FileFindings *findings, QVariantMap *counts) const override;

private:
    const KeywordMatcher &m_matcher;
    KeywordMatcher::Stream m_stream;
    std::optional<HitCollector> m_collector;
};

#endif // KEYWORDFILESCANNER_H
