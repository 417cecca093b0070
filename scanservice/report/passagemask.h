// Masking of personal values in the passages of a report: a value keeps
// only its first and last few characters, so that a reader can tell which
// record it was without the report carrying it.
#ifndef PASSAGEMASK_H
#define PASSAGEMASK_H

#include "runreport.h"

#include <QString>

class PassageMask
{
public:
    // Digits a run needs to be taken for an identity, card, mobile or account number.
    static constexpr int NumberDigits = 7;

    // The value with its middle letters and digits replaced by '*' (separators
    // stay): 11 characters or more keep 3 and 4, 7 to 10 keep 2 and 2, 3 to 6
    // keep 1 and 1, shorter ones keep nothing.
    static QString value(const QString &value);
    // The passage with the value masked wherever it stands in it, and every
    // run of at least NumberDigits digits (spaces and hyphens between groups,
    // a final X of an identity number) masked as a value. An empty value
    // masks the numbers only (keyword runs: the keyword is no personal value).
    static QString context(const QString &context, const QString &value);
    // A passage masked: its value too when it is a personal value (privacy
    // runs); a keyword is the policy's word, so only numbers around it go.
    static RunReport::Passage passage(const RunReport::Passage &passage, bool personalValue);
};

#endif // PASSAGEMASK_H
