// Folds extracted text into the forms the privacy rules are written for,
// with a map back to the original bytes so that a passage can show the
// file's own text.
#ifndef TEXTNORMALISER_H
#define TEXTNORMALISER_H

#include <QByteArray>
#include <QPair>
#include <QVector>

// What it does, on UTF-8 (bytes that are no UTF-8 pass unchanged):
// - full-width ASCII forms (digits, letters, punctuation) become ASCII, the
//   ideographic and the no-break space a space, and the radical characters
//   PDF text extraction gives for some ideographs (Kangxi radicals, CJK
//   radicals supplement) the ideograph;
// - a number written in digit groups the way phone, identity, card and
//   device numbers are written becomes one run of digits: groups parted by
//   one kind of single separator (space, hyphen, or dot for phone numbers),
//   a parenthesised area code, a "+86" or "86" before a mobile number, and a
//   number broken by one line break where neither part is a whole number of
//   its own and the first part follows text on its line ("199-7436-2293", "420111 19840712 0426", "(028)34708845",
//   "+86-151-6081-0007" → "+8615160810007"). Dates, times, amounts,
//   decimals, dotted addresses and versions keep their separators.
class TextNormaliser
{
public:
    struct Normalised
    {
        QByteArray text;
        // For each byte of text, the span of original bytes it comes from.
        QVector<int> from;
        QVector<int> to;
        // The original bytes of text's bytes [start, end); (-1, -1) for an
        // empty span or one outside text.
        QPair<int, int> original(int start, int end) const;
    };

    static Normalised normalise(const QByteArray &utf8);
};

#endif // TEXTNORMALISER_H
