// The seeded random numbers the corpus generators draw from: the same seed
// gives the same documents on every machine.
#ifndef SEEDEDRANDOM_H
#define SEEDEDRANDOM_H

#include <QString>
#include <QStringList>

class SeededRandom
{
public:
    explicit SeededRandom(quint64 state) : m_state(state) {}

    // splitmix64: small, and the same sequence on every platform.
    quint64 next();
    int below(int n) { return static_cast<int>(next() % static_cast<quint64>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    const QString &pick(const QStringList &list) { return list.at(below(list.size())); }
    // n decimal digits.
    QString digits(int n);

private:
    quint64 m_state;
};

#endif // SEEDEDRANDOM_H
