#ifndef TEXTSINK_H
#define TEXTSINK_H

#include <QByteArray>

#include <cstddef>

// Receives the text of one file as UTF-8, piece by piece, in reading order.
// write() returns false when the reader should stop (cancelled, time or
// text limit reached). Text of an archive member is preceded by beginPart().
class TextSink
{
public:
    virtual ~TextSink() = default;
    virtual bool write(const char *utf8, std::size_t length) = 0;
    // The text that follows comes from another part of the file: a member of
    // an archive, named by its path inside the archive. Hits are not looked
    // for across the start of a part, and their passages begin with the label.
    virtual void beginPart(const QByteArray &label) { Q_UNUSED(label) }
    // A value the reader found under a label, which the text does not hold
    // beside it: a sheet's cell under its column header. Keyword scans pass
    // it by; privacy matching reads the value with its label as context.
    virtual void labelledValue(const QByteArray &label, const QByteArray &value)
    {
        Q_UNUSED(label)
        Q_UNUSED(value)
    }
};

#endif // TEXTSINK_H
