// Matches reported hits to labels and counts.
#include "labelscorer.h"

#include "cjkradicals.h"

#include <QFile>
#include <QHash>

namespace {
QString unescaped(const QString &field)
{
    QString out;
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) == QLatin1Char('\\') && i + 1 < field.size()) {
            const QChar next = field.at(++i);
            out += next == QLatin1Char('n') ? QChar('\n') : next == QLatin1Char('t') ? QChar('\t') : next;
        } else {
            out += field.at(i);
        }
    }
    return out;
}

// The hit and the item share most of the shorter of them: one holds the
// other, or a common stretch covers at least 60% of the shorter ("余额72万"
// reported for "72万余元").
bool overlaps(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (a.contains(b) || b.contains(a))
        return true;
    const int shorter = qMin(a.size(), b.size());
    const int needed = qMax(2, (shorter * 3 + 4) / 5);
    for (int i = 0; i + needed <= a.size(); ++i) {
        if (b.contains(a.midRef(i, needed)))
            return true;
    }
    return false;
}

} // namespace

QString LabelScorer::comparable(const QString &text)
{
    const QString folded = text.normalized(QString::NormalizationForm_KC).toLower();
    QString out;
    for (const QChar c : folded) {
        const QChar u(unifiedIdeograph(c.unicode()));
        if (u.isLetterOrNumber())
            out += u;
    }
    return out;
}

QString LabelScorer::shape(const QString &value)
{
    QString out;
    for (const QChar c : value.normalized(QString::NormalizationForm_KC)) {
        if (c.isDigit())
            out += QLatin1Char('9');
        else if (c.unicode() < 128 && c.isLetter())
            out += QLatin1Char('A');
        else if (c.script() == QChar::Script_Han)
            out += QStringLiteral("字");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("⏎");
        else
            out += c;
    }
    // Runs of one class count once, so that shapes of different lengths group together.
    QString squeezed;
    for (const QChar c : out) {
        if (squeezed.isEmpty() || squeezed.back() != c || c == QLatin1Char(' ') || c == QLatin1Char('-'))
            squeezed += c;
    }
    return squeezed;
}

bool LabelScorer::load(const QString &labelsFile, QString *error)
{
    QFile file(labelsFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(labelsFile);
        return false;
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (int n = 1; n < lines.size(); ++n) {
        if (lines.at(n).isEmpty())
            continue;
        const QStringList f = QString::fromUtf8(lines.at(n)).split(QLatin1Char('\t'));
        if (f.size() < 8) {
            *error = QStringLiteral("%1 line %2: %3 fields, not 8").arg(labelsFile).arg(n + 1).arg(f.size());
            return false;
        }
        Label label{f.at(0), f.at(1), f.at(2), f.at(3), f.at(4) == QLatin1String("item"), f.at(5), unescaped(f.at(6)), f.at(7), false, QString()};
        label.key = comparable(label.value);
        m_byFileCategory[label.file + QLatin1Char('\t') + label.category].append(m_labels.size());
        m_labels.append(label);
    }
    return true;
}

LabelScorer::Verdict LabelScorer::score(const Hit &hit)
{
    const QString value = comparable(hit.value);
    const QString passage = comparable(hit.passage);
    const QList<int> candidates = m_byFileCategory.value(hit.file + QLatin1Char('\t') + hit.category);
    // The label the hit is about: one whose value holds the hit's or is held
    // by it before one that only shares most of it; among those an item not
    // yet found, then a look-alike, then an item found already; of labels
    // alike the one nearest the hit in length (an address "xiaokai@hotmail.com"
    // holds the name "Xiao Kai" of the same form, but is about itself).
    int best = -1, bestRank = 0, bestDistance = 0;
    for (int index : candidates) {
        const Label &label = m_labels.at(index);
        if (!passage.contains(label.key) || !overlaps(value, label.key))
            continue;
        const bool whole = value.contains(label.key) || label.key.contains(value);
        const int rank = (whole ? 3 : 0) + (label.item && !label.found ? 3 : !label.item ? 2 : 1);
        const int distance = qAbs(label.key.size() - value.size());
        if (rank > bestRank || (rank == bestRank && distance < bestDistance)) {
            best = index;
            bestRank = rank;
            bestDistance = distance;
        }
    }
    int repeated = -1, lookAlike = -1;
    if (best >= 0) {
        Label &label = m_labels[best];
        if (label.item && !label.found) {
            label.found = true;
            m_foundBy.insert(best, hit.rule);
            return Verdict::Found;
        }
        (label.item ? repeated : lookAlike) = best;
    }
    Verdict verdict = Verdict::Unlabelled;
    if (repeated >= 0) {
        // One fact counted twice by one rule is a false positive; another
        // rule of the category agreeing on it is not counted either way.
        if (m_foundBy.value(repeated) != hit.rule)
            return Verdict::OtherRule;
        verdict = Verdict::Repeated;
    } else if (lookAlike >= 0) {
        verdict = Verdict::LookAlike;
        ++m_lookAlikesByCategory[hit.category];
    }
    ++m_falseByCategory[hit.category];
    m_falseHits.append({hit, verdict});
    return verdict;
}

QMap<QString, LabelScorer::Tally> LabelScorer::tallies() const
{
    QMap<QString, Tally> t;
    for (const Label &label : m_labels) {
        if (!label.item)
            continue;
        for (const QString &key : {label.category, QString()}) {
            ++t[key].items;
            t[key].found += label.found;
        }
    }
    for (auto it = m_falseByCategory.constBegin(); it != m_falseByCategory.constEnd(); ++it) {
        t[it.key()].falsePositives += it.value();
        t[QString()].falsePositives += it.value();
    }
    for (auto it = m_lookAlikesByCategory.constBegin(); it != m_lookAlikesByCategory.constEnd(); ++it) {
        t[it.key()].lookAlikesReported += it.value();
        t[QString()].lookAlikesReported += it.value();
    }
    return t;
}

QMap<QString, LabelScorer::Tally> LabelScorer::talliesByFormat() const
{
    QMap<QString, Tally> t;
    for (const Label &label : m_labels) {
        if (!label.item)
            continue;
        const QString key = label.member.isEmpty() ? label.format : QStringLiteral("archive member");
        ++t[key].items;
        t[key].found += label.found;
    }
    return t;
}

QMap<QString, LabelScorer::Tally> LabelScorer::talliesByPlace() const
{
    QMap<QString, Tally> t;
    for (const Label &label : m_labels) {
        if (!label.item)
            continue;
        const QString key = label.where.startsWith(QStringLiteral("表")) ? QStringLiteral("table cells") : QStringLiteral("running text and forms");
        ++t[key].items;
        t[key].found += label.found;
    }
    return t;
}
