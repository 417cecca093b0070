#ifndef PRIVACYVALIDATORS_H
#define PRIVACYVALIDATORS_H

#include "privacyrules.h"

#include <QDate>

#include <cstddef>

// The checks behind the privacy rules. Each works on a candidate
// [start, end) in a text buffer (UTF-8) whose neighbouring bytes are
// available, and may narrow the candidate to the value itself.
namespace PrivacyValidators {

// Resident identity number: 18 characters, a province code, a birth date
// between 1900 and today, and the GB 11643 check character.
bool idCard(const char *p, std::size_t length, const QDate &today, QDate *birth = nullptr);
bool luhn(const char *digits, std::size_t length);
// The GB 32100 check character of the first 17 characters, or 0 when one of
// them is not in the code's alphabet.
char usccCheckCharacter(const char *p);
bool mobilePrefix(const char *digits);

bool boundaryClear(PrivacyRule::Boundary boundary, const char *text, std::size_t size, std::size_t start,
                   std::size_t end);
bool check(PrivacyRule::Validator validator, const char *text, std::size_t size, std::size_t &start,
           std::size_t &end, const QDate &today);

} // namespace PrivacyValidators

#endif // PRIVACYVALIDATORS_H
