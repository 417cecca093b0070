// Scores the service's privacy hits against the corpus labels: a hit counts
// for a labelled item of the same file and category when the item's value
// stands in the hit's passage and the hit's value and the item's value
// overlap (one holds the other), both compared with full-width forms folded
// and everything but letters and digits left out.
#ifndef LABELSCORER_H
#define LABELSCORER_H

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class LabelScorer
{
public:
    struct Label
    {
        QString file;
        QString member;
        QString format;
        QString category;
        bool item = true;
        QString where;
        QString value;
        QString note;
        bool found = false;
        QString key; // the value compared
    };
    struct Hit
    {
        QString file; // relative to the corpus
        QString category;
        QString rule;
        QString value;
        QString passage;
    };
    enum class Verdict { Found, Repeated, OtherRule, LookAlike, Unlabelled };
    struct Tally
    {
        int items = 0;
        int found = 0;
        int falsePositives = 0;
        int lookAlikesReported = 0;
        double precision() const { return found + falsePositives ? double(found) / (found + falsePositives) : 1.0; }
        double recall() const { return items ? double(found) / items : 1.0; }
        double f1() const
        {
            const double p = precision(), r = recall();
            return p + r > 0 ? 2 * p * r / (p + r) : 0;
        }
    };

    // Reads labels.tsv; false with the reason.
    bool load(const QString &labelsFile, QString *error);
    // Settles one hit; hits of one file and category should come in text order.
    Verdict score(const Hit &hit);

    const QList<Label> &labels() const { return m_labels; }
    // Per category, and the whole under the empty name.
    QMap<QString, Tally> tallies() const;
    // Per file format.
    QMap<QString, Tally> talliesByFormat() const;
    // Items in tables, and items in running text and forms.
    QMap<QString, Tally> talliesByPlace() const;
    const QList<QPair<Hit, Verdict>> &falseHits() const { return m_falseHits; }

    // Letters and digits only, full-width forms folded, lower case.
    static QString comparable(const QString &text);
    // The shape of a value: digits as 9, ASCII letters as A, Chinese as 字.
    static QString shape(const QString &value);

private:
    QList<Label> m_labels;
    QMap<QString, QList<int>> m_byFileCategory; // "file\tcategory" -> label indexes
    QHash<int, QString> m_foundBy;              // label index -> rule that found it
    QList<QPair<Hit, Verdict>> m_falseHits;
    QMap<QString, int> m_falseByCategory;
    QMap<QString, int> m_lookAlikesByCategory;
};

#endif // LABELSCORER_H
