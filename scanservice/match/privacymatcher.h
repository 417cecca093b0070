#ifndef PRIVACYMATCHER_H
#define PRIVACYMATCHER_H

#include "privacyrules.h"

#include <QString>
#include <QVector>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct hs_database;
struct hs_scratch;

// The privacy rule table compiled into Hyperscan databases (block mode):
// every pattern (with its leftmost start) and every dictionary word. The
// shapes of numbers and codes (patterns that can match no Chinese
// ideograph, such as an IP address, a card number in groups, the digits
// every run holds) are costly to seek through text full of ordinary numbers
// and can only match between two ideographs: they go into a database of
// their own, scanned only over the stretches of text between ideographs that
// are long enough to hold one, gathered into one buffer. Context
// words are not sought through the text: they are looked for around each
// candidate that needs one (candidates are rare, context words often common). Built once when the service starts and shared read-only by
// all tasks; each worker scans through its own Scratch. Every expression
// has a bounded width, so a text can be scanned in pieces that overlap by
// maxWidth() bytes.
class PrivacyMatcher
{
public:
    struct Role
    {
        int rule;            // a candidate of this rule, or RunTrigger
        bool near = false;   // a context word of a rule whose patterns are sought around it
    };
    // The role of the expression that finds runs of letters and digits.
    static constexpr int RunTrigger = -1;
    // The rules that take runs.
    const QVector<int> &runRules() const { return m_runRules; }
    // Called for every match: the expression, its start and end offsets.
    using Callback = void (*)(void *context, unsigned expression, unsigned long long from, unsigned long long to);

    static std::shared_ptr<const PrivacyMatcher> compile(const PrivacyRuleTable &table, QString *error);
    ~PrivacyMatcher();
    PrivacyMatcher(const PrivacyMatcher &) = delete;
    PrivacyMatcher &operator=(const PrivacyMatcher &) = delete;

    const PrivacyRuleTable &table() const { return m_table; }
    const PrivacyRule &rule(int index) const { return m_table.rules().at(index); }
    int ruleCount() const { return m_table.rules().size(); }
    const QVector<Role> &roles(unsigned expression) const { return m_roles.at(static_cast<int>(expression)); }
    int maxWidth() const { return m_maxWidth; }
    // The context words of a rule, UTF-8.
    const QVector<QByteArray> &context(int rule) const { return m_context.at(rule); }
    // The words one of which must share the hit's sentence, UTF-8.
    const QVector<QByteArray> &with(int rule) const { return m_with.at(rule); }
    const QVector<QByteArray> &notIn(int rule) const { return m_notIn.at(rule); }
    // The first rule of the same category and display name: hits of rules
    // the detail document shows as one count once where they overlap.
    int group(int rule) const { return m_group.at(rule); }
    // Whether the rule finds dictionary words.
    bool dictionary(int rule) const { return !m_table.rules().at(rule).words.isEmpty(); }

    class Scratch
    {
    public:
        explicit Scratch(const PrivacyMatcher &matcher);
        ~Scratch();
        Scratch(const Scratch &) = delete;
        Scratch &operator=(const Scratch &) = delete;
        bool isValid() const { return m_scratch != nullptr; }

    private:
        friend class PrivacyMatcher;
        hs_scratch *m_scratch = nullptr;
        hs_scratch *m_numberScratch = nullptr;
        QVector<hs_scratch *> m_ruleScratch; // per rule found near its context
        std::string m_stretches;              // the stretches between ideographs, each followed by a byte no shape matches
        std::vector<std::pair<std::size_t, std::size_t>> m_stretchAt; // per stretch: its offset there and in the text
    };

    void scan(const char *data, std::size_t length, Scratch &scratch, Callback callback, void *context) const;
    // Scans a piece of text with the patterns of one rule that is found near its context words.
    void scanRule(int rule, const char *data, std::size_t length, Scratch &scratch, Callback callback, void *context) const;

private:
    PrivacyMatcher() = default;

    PrivacyRuleTable m_table;
    hs_database *m_database = nullptr;
    hs_database *m_numberDatabase = nullptr; // the shapes sought between ideographs only, or null
    unsigned m_numberMinWidth = 0;           // the shortest match of the number database, in bytes
    QVector<QVector<Role>> m_roles;  // per expression
    QVector<int> m_literalLength;    // per expression: byte length of a word, 0 for patterns
    QVector<QVector<QByteArray>> m_context; // per rule
    QVector<QVector<QByteArray>> m_with;    // per rule
    QVector<QVector<QByteArray>> m_notIn;   // per rule
    QVector<int> m_group;                   // per rule
    QVector<int> m_runRules;
    QVector<hs_database *> m_ruleDatabases; // per rule: its own patterns when found near its context, else null
    int m_maxWidth = 0;
};

#endif // PRIVACYMATCHER_H
