// Fuzz target: the Office Open XML reader. Each input is read as a DOCX, an
// XLSX and a PPTX, since a mutated zip may hold the parts of any of them.
#include "fuzzinput.h"
#include "officeextractor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    for (OfficeExtractor::Kind kind : {OfficeExtractor::Kind::Docx, OfficeExtractor::Kind::Xlsx, OfficeExtractor::Kind::Pptx}) {
        FuzzInput input(data, size);
        DiscardSink sink;
        OfficeExtractor::extract(input.fd, kind, sink);
    }
    return 0;
}
