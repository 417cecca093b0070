#ifndef PRIVACYRULES_H
#define PRIVACYRULES_H

#include <QString>
#include <QStringList>
#include <QVector>

// The table of privacy detection rules, read from a text file when the
// service starts (privacy-rules.conf; README.md gives the format). Each rule
// belongs to one of the fourteen categories, has a display name, and finds
// candidates through regular expressions or dictionary words; a candidate
// counts when its validator accepts it, its boundaries are clear and, for
// rules with context words, a context word stands near it.
struct PrivacyRule
{
    enum class Validator {
        None, IdCard, IdCardMinor, Mobile, FixedLine, Email, BankCard, Imei, Uscc, UsccDigits, Ipv4, Mac,
        Coordinates, Address, AgeMinor, DisabilityCard, Serial, Value, Passport, HkMacauPermit, TaiwanPermit, PersonName,
        LabelledName, LabelValue, VehiclePlate, CoordinatesDms, Measurement
    };
    enum class Boundary { None, Digit, Alnum };

    QString id;
    QString name;
    QString category;
    int categoryIndex = -1;
    QStringList patterns;   // Hyperscan expressions, {HAN} already expanded
    int runMin = 0;         // a run of runMin to runMax ASCII letters and digits (0: none)
    int runMax = 0;
    QStringList words;      // dictionary words (literal)
    QStringList context;    // context words (literal)
    QStringList with;       // words one of which must stand in the hit's sentence or line (literal)
    QStringList notIn;      // longer words that hold a hit and make it none (literal): 征信系统 names no one's record
    int window = 20;        // characters between a hit and its context word
    bool nearContext = false; // patterns are sought only around the context words
    bool factPerSentence = false; // all hits of the rule in one sentence are one fact
    Validator validator = Validator::None;
    Boundary boundary = Boundary::Alnum; // patterns: alnum unless given; dictionaries: none
    bool boundarySet = false;
    int line = 0;           // where the rule starts in its file
};

class PrivacyRuleTable
{
public:
    // The fourteen categories in the order the client shows them.
    static const QStringList &categories();
    // The byte-level expression {HAN} stands for: one CJK unified ideograph in UTF-8.
    static const char *hanExpression() { return "(?:[\\xE4-\\xE9][\\x80-\\xBF][\\x80-\\xBF])"; }
    // Digits in a row that every run holds; runs are found through this many.
    static constexpr int RunDigits = 7;
    static constexpr int MaxRun = 64;
    // A not_in word is at most this long: a candidate is settled once 40
    // characters after it are there.
    static constexpr int MaxNotInBytes = 40;

    bool load(const QString &path, QString *error);
    bool parse(const QByteArray &text, QString *error);

    const QVector<PrivacyRule> &rules() const { return m_rules; }
    int indexOf(const QString &id) const;
    // The rules of a category in table order.
    QVector<int> rulesOf(const QString &category) const;

private:
    QVector<PrivacyRule> m_rules;
};

#endif // PRIVACYRULES_H
