#ifndef PRIVACYCOLLECTOR_H
#define PRIVACYCOLLECTOR_H

#include "delimitedtable.h"
#include "guardedsink.h"
#include "privacymatcher.h"

#include <QByteArray>
#include <QHash>
#include <QDate>
#include <QVector>

#include <deque>
#include <string>
#include <vector>

// Runs the privacy rules over the text of one file as it is extracted. The
// text is first normalised (TextNormaliser: full-width forms folded, numbers
// written in groups joined) where it holds anything to fold, with a map back
// to the file's own bytes, which the passages show. It is normalised up to
// a point where no number or folded form can continue, the rest waits for
// the next piece. The normalised text is scanned in pieces that overlap by the widest expression, so no
// item is lost at a piece boundary. A candidate waits until the text after
// it is there (Limits::ContextChars characters), then counts when its
// boundaries are clear, its validator accepts it, a context word of its rule
// stands within the rule's window (for rules with context words), one of
// its "with" words stands in its sentence (for rules with such words), a
// dictionary word does not stand in a heading, it does
// not overlap the previous hit of a rule of the same category and name, and,
// for a dictionary, it is not glued to the previous word of the same
// dictionary (at most a few characters apart, no punctuation between: one
// fact), nor the same word again in its sentence (or any word of the rule in
// it, for a rule whose sentence tells one fact); of candidates that start at
// the same place the longest counts ("硕士研究生", not "硕士"). Counts per rule are exact;
// passages (the hit and about Limits::ContextChars characters on each side)
// are kept up to Limits::MaxPassagesPerWord per rule and
// Limits::MaxPassagesPerFile in all, in the order of the hits.
class PrivacyCollector : public GuardedSink
{
public:
    struct Passage
    {
        int rule = -1;
        QByteArray value;   // the hit itself, UTF-8
        QByteArray context; // the passage around it, UTF-8
    };

    PrivacyCollector(const PrivacyMatcher &matcher, PrivacyMatcher::Scratch &scratch, const QDate &today);

    void beginPart(const QByteArray &label) override;
    void labelledValue(const QByteArray &label, const QByteArray &value) override;
    // Settles the last candidates; call once after the last write().
    void finish();

    int hits(int rule) const { return m_counts.at(rule); }
    // The rules that had hits, in the order of their first hit.
    const QVector<int> &foundRules() const { return m_found; }
    const QVector<Passage> &passages() const { return m_passages; }

private:
    struct Candidate
    {
        unsigned long long start;
        unsigned long long end;
        int rule;
        bool near = false; // a context word around which the rule's patterns are sought
    };
    struct Raw
    {
        unsigned long long start;
        unsigned long long end;
        unsigned expression;
    };

    void take(const char *utf8, std::size_t length) override;
    static void onMatch(void *context, unsigned expression, unsigned long long from, unsigned long long to);
    void settle(bool all);
    void accept(const Candidate &candidate);
    void run(const Candidate &trigger);
    void nearContext(const Candidate &word);
    static void onNearMatch(void *context, unsigned expression, unsigned long long from, unsigned long long to);
    // The stretch of the window from `window` characters before [start, end) to as many after it.
    std::pair<std::size_t, std::size_t> around(unsigned long long start, unsigned long long end, int window) const;
    // Whether one of the rule's not_in words holds the bytes [start, end) of the window.
    bool heldByNotIn(int rule, std::size_t start, std::size_t end) const;
    bool contextNear(const Candidate &candidate) const;
    // Whether one of the words stands in the sentence (or line) of the window's bytes [start, end).
    bool sentenceHas(std::size_t start, std::size_t end, const QVector<QByteArray> &words) const;
    // Whether a sentence, line or cell ends between the window's bytes from and to.
    bool sentenceBetween(std::size_t from, std::size_t to) const;
    // Whether the window's bytes [start, end) stand in a heading: a short line
    // without numbers or labels, numbered ("二、…") or ending in what names a
    // document or its part (情况, 明细, 台账 …).
    bool inHeading(std::size_t start, std::size_t end) const;
    // Whether the word ending at the window's byte `end` begins a column's
    // label of a date ("入住日期", "皈依日期"): the register's header, no fact.
    bool labelsADate(std::size_t end) const;
    void trim();
    // Normalises the first `held` bytes of the raw text held back and scans them.
    void scanNew(std::size_t held);
    // Normalises the raw text held back up to `upTo` bytes of it and appends
    // it to the window.
    void normaliseHeld(std::size_t upTo);
    void normaliseSpan(std::size_t from, std::size_t upTo);
    bool inLabelledValue(unsigned long long raw) const;
    // Whether the raw byte belongs to a value read again under its row's first cell.
    bool inRowReading(unsigned long long raw) const;
    // Reads the open row's cells again under its first cell and ends the row.
    void endRow();
    // Text that is not in the file (a cell's column header before its value).
    void appendInjected(const QByteArray &label);
    // Reads the lines completed in the held text from `from` on (all of it when `last`) for tables.
    void takeLines(std::size_t from, bool last);
    void appendIdentity(const char *raw, std::size_t length);
    // The original bytes of the window's bytes [start, end) (absolute offsets).
    std::pair<unsigned long long, unsigned long long> original(unsigned long long start, unsigned long long end) const;
    unsigned long long windowEnd() const { return m_windowStart + m_window.size(); }
    // Whether the window's byte `at` (absolute) is text not in the file.
    bool injectedAt(unsigned long long at) const;
    QByteArray passageFor(unsigned long long start, unsigned long long end, QByteArray *value) const;

    // A point of the map from window bytes to original bytes: from `norm` on,
    // byte norm+k comes from original bytes [from+k, to+k) until the next anchor.
    struct Anchor
    {
        unsigned long long norm;
        unsigned long long from;
        unsigned long long to;
        bool zero; // text not in the file: every byte maps to the point [from, to)
    };

    const PrivacyMatcher &m_matcher;
    PrivacyMatcher::Scratch &m_scratch;
    const QDate m_today;

    std::string m_held;        // raw text not yet normalised
    std::string m_original;    // the raw text from m_originalStart on
    unsigned long long m_originalStart = 0;
    unsigned long long m_originalEnd = 0; // raw offset of m_held's first byte
    std::deque<Anchor> m_anchors;
    DelimitedTable m_table;
    std::size_t m_lineStart = 0; // in m_held: where the open line starts
    bool m_lineLong = false;     // the open line is too long to be a table row
    std::vector<std::pair<std::size_t, QByteArray>> m_injections; // in m_held: labels before cells
    std::deque<std::pair<unsigned long long, unsigned long long>> m_pairs; // raw spans of labelled values
    std::deque<std::pair<unsigned long long, unsigned long long>> m_rowPairs; // raw spans read again under the row's first cell
    // The row the labelled values handed on belong to: its first cell's value
    // and the headers met in it. Text of the file between two labelled values
    // ends the row, and so does a header met again.
    QByteArray m_rowFirst;
    QVector<QByteArray> m_rowHeaders;
    QVector<QByteArray> m_rowAgain; // its cells to read again under the first
    bool m_inLabelled = false; // the text taken is a labelled value, not the file's
    QHash<QByteArray, int> m_flatHits; // per rule group and value: hits in the text not yet met again as a labelled value
    QMultiHash<QByteArray, QByteArray> m_flatHeads; // a value's group and first bytes -> its key in m_flatHits
    std::string m_window; // the normalised text from m_windowStart to windowEnd()
    unsigned long long m_windowStart = 0;
    unsigned long long m_scanBase = 0;   // offset of the current scan's first byte
    unsigned long long m_scannedTo = 0;  // matches ending here or before were seen
    unsigned long long m_partStart = 0;
    unsigned long long m_lastRunEnd = 0; // the run last looked at ends here
    QByteArray m_label;                  // archive member the text comes from, if any
    std::vector<Raw> m_raw;
    std::vector<std::pair<unsigned long long, unsigned long long>> m_near; // matches of a rule's own patterns
    std::deque<Candidate> m_pending;
    std::vector<unsigned long long> m_lastStart;                                            // per rule
    std::vector<unsigned long long> m_lastEnd;                                              // per rule
    std::vector<int> m_lastPassage;                                                         // per rule, or -1
    std::vector<bool> m_hasLast;                                                            // per rule
    QVector<int> m_counts;
    QVector<int> m_kept;
    QVector<int> m_found;
    QVector<Passage> m_passages;
};

#endif // PRIVACYCOLLECTOR_H
