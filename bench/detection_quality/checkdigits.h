// Check characters of the numbers the labelled corpus writes, computed from
// the public standards themselves, so that the corpus does not depend on the
// service's validators it is meant to measure.
#ifndef CHECKDIGITS_H
#define CHECKDIGITS_H

#include <QChar>
#include <QString>

class CheckDigits
{
public:
    // Resident identity number (GB 11643): the 18th character of these 17 digits.
    static QChar residentId(const QString &first17);
    // The Luhn digit to append to these digits (bank cards, IMEI).
    static QChar luhn(const QString &digits);
    // True when the whole number passes the Luhn check.
    static bool luhnValid(const QString &number);
    // Organisation code (GB 11714): the 9th character of these 8.
    static QChar organisationCode(const QString &first8);
    // Unified social credit code (GB 32100): the 18th character of these 17.
    static QChar socialCreditCode(const QString &first17);
};

#endif // CHECKDIGITS_H
