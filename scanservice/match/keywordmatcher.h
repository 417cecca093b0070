#ifndef KEYWORDMATCHER_H
#define KEYWORDMATCHER_H

#include <QString>
#include <QStringList>
#include <QVector>

#include <cstddef>
#include <memory>
#include <string>

struct hs_database;
struct hs_scratch;
struct hs_stream;

// Finds every occurrence of a set of keywords in UTF-8 text: exact,
// case-sensitive, overlapping occurrences each counted. Compiled once per
// task (Hyperscan literal database in streaming mode) and shared read-only
// by the task's workers; each worker scans through its own Stream.
class KeywordMatcher
{
public:
    // Called with the keyword's index and the end offset of the match
    // (counted from the start of the stream, exclusive).
    using Callback = void (*)(void *context, int keyword, unsigned long long end);

    // Empty and repeated keywords are dropped. Returns null and an error
    // text when the database cannot be built.
    static std::shared_ptr<const KeywordMatcher> compile(const QStringList &keywords, QString *error);
    ~KeywordMatcher();

    KeywordMatcher(const KeywordMatcher &) = delete;
    KeywordMatcher &operator=(const KeywordMatcher &) = delete;

    int count() const { return m_words.size(); }
    const QString &word(int index) const { return m_words.at(index); }
    const QByteArray &wordUtf8(int index) const { return m_utf8.at(index); }
    int byteLength(int index) const { return m_lengths.at(index); }
    int maxByteLength() const { return m_maxLength; }

    // One scan of one text at a time: the state carries over from one
    // scan() to the next until reset(), so a keyword split between two
    // pieces is still found.
    class Stream
    {
    public:
        explicit Stream(const KeywordMatcher &matcher);
        ~Stream();
        Stream(const Stream &) = delete;
        Stream &operator=(const Stream &) = delete;

        bool isValid() const { return m_stream && m_scratch; }
        void scan(const char *data, std::size_t length, Callback callback, void *context);
        void reset();

    private:
        const KeywordMatcher &m_matcher;
        hs_scratch *m_scratch = nullptr;
        hs_stream *m_stream = nullptr;
    };

private:
    KeywordMatcher() = default;

    hs_database *m_database = nullptr;
    QStringList m_words;
    QVector<QByteArray> m_utf8;
    QVector<int> m_lengths;
    int m_maxLength = 0;
};

#endif // KEYWORDMATCHER_H
