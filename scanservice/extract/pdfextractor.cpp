// Reads the text of a PDF page by page with poppler; pages with rows of
// cells are laid out again from their word boxes (PdfLayout).
#include "pdfextractor.h"

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

// Fonts without a Unicode map of their own often give an ideograph as the
// radical drawn by the same glyph: 人⺠币, ⻘岛, 最⻓. Kangxi radicals
// (U+2F00..U+2FD5) have a compatibility decomposition to their ideograph;
// the CJK radicals supplement (U+2E80..U+2EF3) mostly has none, so its
// equivalents are those of Unicode's EquivalentUnifiedIdeograph.txt.
char16_t ideographFor(char16_t c)
{
    static const char16_t supplement[][2] = {
        {0x2E84, 0x4E59}, {0x2E8C, 0x5C0F}, {0x2E8E, 0x5140}, {0x2E8F, 0x5C23}, {0x2E93, 0x5E7A}, {0x2E95, 0x5F50},
        {0x2E97, 0x5FC3}, {0x2E98, 0x624C}, {0x2E99, 0x6535}, {0x2E9B, 0x65E1}, {0x2E9F, 0x6BCD}, {0x2EA0, 0x6C11},
        {0x2EA1, 0x6C35}, {0x2EA3, 0x706C}, {0x2EA8, 0x72AD}, {0x2EA9, 0x738B}, {0x2EAA, 0x758B}, {0x2EAB, 0x76EE},
        {0x2EAC, 0x793A}, {0x2EAD, 0x793B}, {0x2EAF, 0x7CF9}, {0x2EB2, 0x7F52}, {0x2EB7, 0x7F8A}, {0x2EBB, 0x8080},
        {0x2EC0, 0x8279}, {0x2EC3, 0x8980}, {0x2EC4, 0x897F}, {0x2EC5, 0x89C1}, {0x2EC6, 0x89D2}, {0x2EC8, 0x8BA0},
        {0x2EC9, 0x8D1D}, {0x2ECB, 0x8F66}, {0x2ECC, 0x8FB6}, {0x2ECF, 0x961D}, {0x2ED0, 0x9485}, {0x2ED1, 0x9577},
        {0x2ED2, 0x9578}, {0x2ED3, 0x957F}, {0x2ED4, 0x95E8}, {0x2ED7, 0x96E8}, {0x2ED8, 0x9752}, {0x2ED9, 0x97E6},
        {0x2EDA, 0x9875}, {0x2EDB, 0x98CE}, {0x2EDC, 0x98DE}, {0x2EDD, 0x98DF}, {0x2EDF, 0x98E0}, {0x2EE0, 0x9963},
        {0x2EE2, 0x9A6C}, {0x2EE3, 0x9AA8}, {0x2EE4, 0x9B3C}, {0x2EE5, 0x9C7C}, {0x2EE6, 0x9E1F}, {0x2EE7, 0x5364},
        {0x2EE8, 0x9EA6}, {0x2EE9, 0x9EC4}, {0x2EEA, 0x9EFE}, {0x2EEB, 0x6589}, {0x2EEC, 0x9F50}, {0x2EED, 0x6B6F},
        {0x2EEE, 0x9F7F}, {0x2EEF, 0x7ADC}, {0x2EF0, 0x9F99}, {0x2EF1, 0x9F9C}, {0x2EF2, 0x4E80}, {0x2EF3, 0x9F9F}};
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
        for (const auto &pair : supplement)
            table[pair[0] - 0x2E80] = pair[1];
    });
    return (c >= 0x2E80 && c < 0x2FE0) ? table[c - 0x2E80] : c;
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
            c = ideographFor(c);
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
            c = ideographFor(c);
        poppler::byte_array utf8 = text.to_utf8();
        utf8.push_back('\n');
        if (!sink.write(utf8.data(), utf8.size()))
            return ExtractStatus::Stopped;
    }
    return ExtractStatus::Ok;
}
