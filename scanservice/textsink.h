#ifndef TEXTSINK_H
#define TEXTSINK_H

#include <cstddef>

// Receives the text of one file as UTF-8, piece by piece, in reading order.
// write() returns false when the reader should stop (cancelled, time or
// text limit reached).
class TextSink
{
public:
    virtual ~TextSink() = default;
    virtual bool write(const char *utf8, std::size_t length) = 0;
};

#endif // TEXTSINK_H
