#ifndef PRIVACYSAMPLES_H
#define PRIVACYSAMPLES_H

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Makes text with personal data for the privacy tests, the demo and the
// benchmark, from a seed: sentences that hold a valid item of one rule of
// the service's rule table (with the context the rule asks for), and
// sentences that hold look-alikes which fail validation (a wrong check
// character, an impossible date, a failing Luhn sum, a wrong prefix, a
// reserved address, a missing context word).
class PrivacySamples
{
public:
    struct Item
    {
        QString rule;  // the rule's id in the rule table
        QString value; // the text the rule reports
    };

    explicit PrivacySamples(quint64 seed, const QDate &today = QDate::currentDate());

    // The rules that valid() knows, in the order of the rule table.
    static QStringList rules();
    // A sentence with one valid item of the rule; the item is appended to *items.
    QString valid(const QString &rule, QList<Item> *items);
    // Sentences that hold look-alikes only: no rule may report anything in them.
    QStringList lookAlikes();
    // Neutral Chinese text: no digits, no word of any rule.
    QString filler();
    // perRule valid items of every rule, shuffled, between filler text.
    QString corpus(int perRule, QList<Item> *items);

    // Building blocks, also for the tests.
    QString idNumber(const QDate &birth);      // with a valid check character
    static QChar idCheck(const QString &first17);
    QString luhnNumber(const QString &prefix, int length); // passes the Luhn check
    static QString usccWithCheck(const QString &first17);  // appends the GB 32100 check character

private:
    quint32 next();
    int below(int n) { return static_cast<int>(next() % static_cast<quint32>(n)); }
    QString digits(int n);
    QDate adultBirth();
    QDate childBirth();

    quint64 m_state;
    QDate m_today;
};

#endif // PRIVACYSAMPLES_H
