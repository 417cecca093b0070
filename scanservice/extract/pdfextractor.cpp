// Reads the text of a PDF page by page with poppler; pages with rows of
// cells are laid out again from their word boxes (PdfLayout).
#include "pdfextractor.h"

#include "cjkradicals.h"
#include "pdflayout.h"
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

// Reading a page's word boxes costs as much again as reading its text, so
// only a page whose text may hold a table is laid out again: poppler gives a
// table's cells one to a line, so such a page holds a run of at least
// MinShortLines short lines (blank lines between them aside).
constexpr int MinShortLines = 4;
constexpr std::size_t MaxShortLineChars = 24;

bool mayHoldRows(const poppler::ustring &text)
{
    int run = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\n')
            ++end;
        const std::size_t length = end - start;
        if (length > MaxShortLineChars)
            run = 0;
        else if (length > 0 && ++run >= MinShortLines)
            return true;
        start = end + 1;
    }
    return false;
}

// The page's words with their boxes, radicals read as ideographs; none when
// there are more than the layout analysis takes.
QVector<PdfWord> wordsOf(const poppler::page &page)
{
    const std::vector<poppler::text_box> boxes = page.text_list();
    QVector<PdfWord> words;
    if (boxes.size() > static_cast<std::size_t>(Limits::MaxPdfLayoutWords))
        return words;
    words.reserve(static_cast<int>(boxes.size()));
    for (const poppler::text_box &box : boxes) {
        poppler::ustring text = box.text();
        for (auto &c : text)
            c = unifiedIdeograph(c);
        const poppler::rectf r = box.bbox();
        PdfWord word;
        word.text = QString(reinterpret_cast<const QChar *>(text.data()), static_cast<int>(text.size()));
        word.left = r.left();
        word.top = r.top();
        word.right = r.right();
        word.bottom = r.bottom();
        word.spaceAfter = box.has_space_after();
        word.upright = box.rotation() == 0;
        words.append(word);
    }
    return words;
}

// Writes a page laid out by PdfLayout: each line, and after a table row the
// row's cells with their column headers.
bool writeLines(const QVector<PdfLayout::Line> &lines, TextSink &sink)
{
    QByteArray pending;
    for (const PdfLayout::Line &line : lines) {
        pending += line.text.toUtf8();
        pending += '\n';
        if (line.labelled.isEmpty())
            continue;
        if (!sink.write(pending.constData(), static_cast<std::size_t>(pending.size())))
            return false;
        pending.clear();
        for (const auto &cell : line.labelled)
            sink.labelledValue(cell.first.toUtf8(), cell.second.toUtf8());
    }
    // A blank line ends the page, as after poppler's text of a page.
    pending += '\n';
    return sink.write(pending.constData(), static_cast<std::size_t>(pending.size()));
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
        if (mayHoldRows(text)) {
            const QVector<PdfLayout::Line> lines = PdfLayout::arrange(wordsOf(*page));
            if (!lines.isEmpty()) {
                if (!writeLines(lines, sink))
                    return ExtractStatus::Stopped;
                continue;
            }
        }
        for (auto &c : text)
            c = unifiedIdeograph(c);
        poppler::byte_array utf8 = text.to_utf8();
        utf8.push_back('\n');
        if (!sink.write(utf8.data(), utf8.size()))
            return ExtractStatus::Stopped;
    }
    return ExtractStatus::Ok;
}
