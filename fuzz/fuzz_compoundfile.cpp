// Fuzz target: the OLE compound file reader alone: its header, allocation
// tables, directory, and the regular and mini streams the Office readers ask for.
#include "compoundfile.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    CompoundFile file;
    if (!file.open(input.fd, static_cast<qint64>(size)))
        return 0;
    for (const char *name : {"WordDocument", "0Table", "1Table", "Workbook", "PowerPoint Document", "EncryptedSummary"}) {
        QByteArray stream;
        file.stream(QString::fromLatin1(name), &stream, qint64(1) << 24);
    }
    return 0;
}
