#ifndef HITCOLLECTOR_H
#define HITCOLLECTOR_H

#include "guardedsink.h"
#include "keywordmatcher.h"

#include <QString>
#include <QVector>

#include <deque>
#include <string>

// Runs the keyword matcher over the text of one file as it is extracted and
// keeps, for every hit, the passage of about Limits::ContextChars characters
// on each side (line breaks kept). Counts are exact; passages are kept up to
// Limits::MaxPassagesPerWord per keyword and Limits::MaxPassagesPerFile in
// all, in the order of the hits in the text. They are kept in the compact
// form the findings store takes (keywordpassages.h), copied straight from
// the text at hand: hundreds of thousands of passages in a large scan each
// cost an allocation and a copy more when built first, and their escaping
// into JSON waits until a detail document or report asks for them.
class HitCollector : public GuardedSink
{
public:
    HitCollector(const KeywordMatcher &matcher, KeywordMatcher::Stream &stream);

    void beginPart(const QByteArray &label) override;
    // Completes the passages of the last hits; call once after the last write().
    void finish();

    int occurrences(int keyword) const { return m_counts.at(keyword); }
    // The keywords that occurred, in the order of their first hit.
    const QVector<int> &foundKeywords() const { return m_found; }
    // The kept passages (KeywordPassages), complete after finish(); empty without passages.
    const QByteArray &passages() const { return m_passages; }
    int passageCount() const { return m_passageCount; }

    // The passage around [start, end) of a text: Limits::ContextChars
    // characters on each side, line breaks kept, led by "label：" when the
    // text is an archive member's.
    static QByteArray passageAround(const std::string &text, std::size_t start, std::size_t end, const QByteArray &label);
    static QByteArray passageAround(const char *text, std::size_t size, std::size_t start, std::size_t end,
                                    const QByteArray &label);
    // Where that passage starts and ends in the text.
    static void passageBounds(const char *text, std::size_t size, std::size_t start, std::size_t end, std::size_t *from,
                              std::size_t *to);

private:
    struct Hit
    {
        unsigned long long start;
        unsigned long long end;
        int keyword;
    };

    void take(const char *utf8, std::size_t length) override;
    static void onMatch(void *context, int keyword, unsigned long long end);
    void complete(bool all);
    void trim();
    // Appends the hit's passage to the kept passages.
    void appendPassage(const Hit &hit);
    void appendPassageFrom(int keyword, const char *text, std::size_t size, std::size_t start, std::size_t end);

    const KeywordMatcher &m_matcher;
    KeywordMatcher::Stream &m_stream;

    // The text from m_windowStart: only what later passages may need is kept
    // (a few hundred bytes); during take() the piece being taken follows it.
    std::string m_window;
    unsigned long long m_windowStart = 0;
    const char *m_piece = nullptr;
    std::size_t m_pieceLength = 0;
    unsigned long long m_streamBase = 0; // where the matcher's stream (re)started
    std::vector<Hit> m_fresh;          // hits of the current write()
    std::deque<Hit> m_pending;         // hits waiting for their following context
    QVector<int> m_counts;
    QVector<int> m_kept;
    QVector<int> m_found;
    QByteArray m_passages;
    int m_passageCount = 0;
    QVector<int> m_wordNumber; // per keyword: its number in m_passages, 0 until first kept
    int m_wordsWritten = 0;
    QByteArray m_label;
};

#endif // HITCOLLECTOR_H
