#ifndef FUZZINPUT_H
#define FUZZINPUT_H

// What every fuzz target needs: the input as an open file (the readers take
// a descriptor, as they do in the extraction worker) and a text sink that
// throws the text away. The readers run in the fuzzing process itself.

#include "textsink.h"

#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

// Accepts all text, so that a reader goes through the whole input.
class DiscardSink : public TextSink
{
public:
    bool write(const char *, std::size_t length) override
    {
        bytes += length;
        return true;
    }
    std::size_t bytes = 0;
};

// The input in a memory file, positioned at its start; closed with the object.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *data, std::size_t size)
        : fd(::memfd_create("fuzz-input", MFD_CLOEXEC))
    {
        std::size_t done = 0;
        while (fd >= 0 && done < size) {
            const ssize_t got = ::write(fd, data + done, size - done);
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        if (fd >= 0)
            ::lseek(fd, 0, SEEK_SET);
    }
    ~FuzzInput()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FuzzInput(const FuzzInput &) = delete;
    FuzzInput &operator=(const FuzzInput &) = delete;

    const int fd;
};

#endif // FUZZINPUT_H
