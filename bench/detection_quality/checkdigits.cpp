// Check characters of identity, card, device and organisation numbers.
#include "checkdigits.h"

#include <cstring>

namespace {
const char CreditCodeAlphabet[] = "0123456789ABCDEFGHJKLMNPQRTUWXY"; // 31 characters, no I O S V Z
}

QChar CheckDigits::residentId(const QString &first17)
{
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static const char checks[] = "10X98765432";
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += first17.at(i).digitValue() * weights[i];
    return QLatin1Char(checks[sum % 11]);
}

QChar CheckDigits::luhn(const QString &digits)
{
    // The digit to append doubles every second digit counted from the right of the given ones.
    int sum = 0;
    bool twice = true;
    for (int i = digits.size() - 1; i >= 0; --i, twice = !twice) {
        int d = digits.at(i).digitValue() * (twice ? 2 : 1);
        sum += d > 9 ? d - 9 : d;
    }
    return QChar('0' + (10 - sum % 10) % 10);
}

bool CheckDigits::luhnValid(const QString &number)
{
    return !number.isEmpty() && luhn(number.left(number.size() - 1)) == number.back();
}

QChar CheckDigits::organisationCode(const QString &first8)
{
    static const int weights[8] = {3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 8; ++i) {
        const QChar c = first8.at(i);
        sum += (c.isDigit() ? c.digitValue() : c.unicode() - 'A' + 10) * weights[i];
    }
    const int check = 11 - sum % 11;
    return check == 10 ? QLatin1Char('X') : check == 11 ? QLatin1Char('0') : QChar('0' + check);
}

QChar CheckDigits::socialCreditCode(const QString &first17)
{
    static const int weights[17] = {1, 3, 9, 27, 19, 26, 16, 17, 20, 29, 25, 13, 8, 24, 10, 30, 28};
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += int(std::strchr(CreditCodeAlphabet, first17.at(i).toLatin1()) - CreditCodeAlphabet) * weights[i];
    return QLatin1Char(CreditCodeAlphabet[(31 - sum % 31) % 31]);
}
