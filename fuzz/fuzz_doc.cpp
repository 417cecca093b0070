// Fuzz target: the legacy doc reader, compound file included.
#include "fuzzinput.h"
#include "legacyofficeextractor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    DiscardSink sink;
    LegacyOfficeExtractor::extract(input.fd, static_cast<qint64>(size), LegacyOfficeExtractor::Kind::Doc, sink);
    return 0;
}
