#ifndef PATHNAME_H
#define PATHNAME_H

#include <QByteArray>
#include <QString>

// File names on the bus and in the findings store. A Linux file name is
// bytes; the bus carries UTF-8 text. A name that is valid UTF-8 goes as its
// text; every byte that is not part of a valid UTF-8 sequence goes as the
// four characters "\xHH" (two upper-case hex digits), and a backslash that
// is followed by "x" and two hex digits in the name itself goes as "\x5C",
// so that no two names give the same text and the text gives back the very
// bytes. Any other backslash stays as it is: a UTF-8 name without "\x"
// followed by two hex digits is sent unchanged.
class PathName
{
public:
    // The text of a file name (or path) for the bus and the store.
    static QString toText(const QByteArray &bytes);
    // The bytes of a name given as text: "\xHH" (either case, not "\x00")
    // is that byte, everything else its UTF-8.
    static QByteArray fromText(const QString &text);
};

#endif // PATHNAME_H
