#include "pdfextractor.h"

#include "scanlimits.h"

#include <QChar>
#include <QFile>

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <memory>
#include <sys/mman.h>
#include <sys/stat.h>
#include <mutex>

namespace {

void quietPoppler(const std::string &, void *)
{
    // Poppler's complaints about damaged files would flood the log; the
    // outcome of each file is logged by the task.
}

// Kangxi radicals (U+2F00..U+2FD5) and CJK radicals supplement (U+2E80..U+2EF3)
// with a compatibility decomposition to a unified ideograph.
char16_t ideographFor(char16_t c)
{
    static char16_t table[0x2FE0 - 0x2E80];
    static std::once_flag once;
    std::call_once(once, [] {
        for (char16_t u = 0x2E80; u < 0x2FE0; ++u) {
            const QChar ch(u);
            const QString decomposed = ch.decomposition();
            table[u - 0x2E80] = (ch.decompositionTag() == QChar::Compat && decomposed.size() == 1)
                                    ? static_cast<char16_t>(decomposed.at(0).unicode())
                                    : u;
        }
    });
    return (c >= 0x2E80 && c < 0x2FE0) ? table[c - 0x2E80] : c;
}

} // namespace

ExtractStatus PdfExtractor::extract(int fd, const QByteArray &path, TextSink &sink)
{
    static std::once_flag once;
    std::call_once(once, [] { poppler::set_debug_error_function(quietPoppler, nullptr); });

    // Read through the descriptor (mapped), so that the file checked by the caller is the file
    // read, and so that a reader without the right to open the file by name can read it.
    Q_UNUSED(path)
    struct stat st;
    if (::fstat(fd, &st) != 0 || st.st_size <= 0 || st.st_size > Limits::MaxDocumentFileBytes)
        return st.st_size <= 0 ? ExtractStatus::Corrupt : ExtractStatus::TooLarge;
    const std::size_t size = static_cast<std::size_t>(st.st_size);
    void *mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED)
        return ExtractStatus::Unreadable;
    struct Unmap
    {
        void *data;
        std::size_t size;
        ~Unmap() { ::munmap(data, size); }
    } unmap{mapped, size};
    std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(static_cast<const char *>(mapped), static_cast<int>(size)));
    if (!document)
        return ExtractStatus::Corrupt;
    if (document->is_locked())
        return ExtractStatus::Encrypted;
    const int pages = document->pages();
    if (pages > Limits::MaxPdfPages)
        return ExtractStatus::LimitExceeded;
    for (int i = 0; i < pages; ++i) {
        std::unique_ptr<poppler::page> page(document->create_page(i));
        if (!page)
            continue;
        poppler::ustring text = page->text(poppler::rectf(), poppler::page::non_raw_non_physical_layout);
        for (auto &c : text)
            c = ideographFor(c);
        poppler::byte_array utf8 = text.to_utf8();
        utf8.push_back('\n');
        if (!sink.write(utf8.data(), utf8.size()))
            return ExtractStatus::Stopped;
    }
    return ExtractStatus::Ok;
}
