// Fuzz target: the legacy ppt reader, compound file included.
#include "fuzzinput.h"
#include "legacyofficeextractor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    DiscardSink sink;
    LegacyOfficeExtractor::extract(input.fd, static_cast<qint64>(size), LegacyOfficeExtractor::Kind::Ppt, sink);
    return 0;
}
