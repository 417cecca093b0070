// The seeded random numbers the corpus generators draw from.
#include "seededrandom.h"

quint64 SeededRandom::next()
{
    quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

QString SeededRandom::digits(int n)
{
    QString out;
    for (int i = 0; i < n; ++i)
        out += QChar('0' + below(10));
    return out;
}
