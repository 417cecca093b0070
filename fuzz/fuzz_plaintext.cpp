// Fuzz target: text decoding. The first byte chooses how many bytes each
// read returns, so that characters and byte order marks are cut at every
// place a chunk boundary can fall.
#include "fuzzinput.h"
#include "plaintextextractor.h"

#include <algorithm>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] % 64 * 97;
    ++data;
    --size;
    std::size_t at = 0;
    DiscardSink sink;
    PlainTextExtractor::extract(
        [&](char *buffer, std::size_t capacity) -> ssize_t {
            const std::size_t n = std::min({capacity, chunk, size - at});
            std::memcpy(buffer, data + at, n);
            at += n;
            return static_cast<ssize_t>(n);
        },
        sink);
    // The whole-file path too, with its own chunking.
    FuzzInput input(data, size);
    PlainTextExtractor::extract(input.fd, sink);
    return 0;
}
