// Lines, tables and forms of a PDF page from its word boxes.
#include "pdflayout.h"

#include "scanlimits.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// A page of more words than Limits::MaxPdfLayoutWords is left to the
// reader's own layout: the analysis sorts the words (n log n) and maps each
// line's cells onto at most MaxColumns columns, so its work stays linear
// beyond the sort.
constexpr int MaxColumns = 64;
// Distances in heights of the line: a word whose vertical middle lies within
// this share of the line's height from the line's middle is on that line;
// a gap this wide between words parts two cells (a space is about 0.25,
// two spaces about 0.5 in most fonts); a gap this wide is a space when the
// reader saw none; a line starting further below the last one than this
// ends a run of rows.
constexpr double SameLine = 0.5;
constexpr double CellGap = 0.8;
constexpr double SpaceGap = 0.15;
constexpr double MaxRowGap = 2.0;
// Text set in a fixed-pitch font (a plain-text file printed as it is, or a
// CJK font whose every glyph is one em wide, as a PDF without embedded fonts
// may declare) has spaces one pitch wide, which can be as wide as the line is
// high: there a cell gap is at least this many pitches (two spaces, as in a
// table typed as text). The page is fixed-pitch when its words all advance
// alike per character, within PitchTolerance, and at least MinPitchWords
// of them hold Latin letters or digits.
constexpr double PitchCellGap = 1.5;
constexpr int MinPitchWords = 4;
constexpr double PitchTolerance = 0.03;
// A table typed as text (cells parted by spaces, not standing in columns) is
// read by the order of its cells; a row longer than the page is wide goes on
// at the start of the next line. A line is full when it ends within this many
// pitches (half line heights in other fonts) of the page's right edge.
constexpr double FullLine = 2.5;
constexpr int MinOrderedColumns = 3;
// A cell under a column may stick out past the column's header by this much
// (in line heights) and still stand under it.
constexpr double ColumnSlack = 0.5;
// Cells of rows are short: a longer cell, or a cell holding a sentence, is
// running text (two columns of prose stand side by side like two cells).
constexpr int MaxCellChars = 60;
constexpr int MaxHeaderChars = 30;
constexpr int SentenceCellChars = 12;
// Labels and values handed on are cut to this many characters, as those of
// office tables.
constexpr int MaxLabelledChars = 256;

struct Cell
{
    QString text;
    double left;
    double right;
};

struct Row
{
    double top;
    double bottom;
    double middle;
    double height;
    QVector<Cell> cells;
    bool shortCells = false; // all cells short and none a sentence
};

// A line of cells that may start a table or a run of rows.
bool rowOfCells(const Row &row)
{
    return row.shortCells && row.cells.size() >= 2;
}

// A header names its column: it is not a number (the digits of a data row
// taken for a header would label every row below with that row's values).
bool headerCell(const QString &text)
{
    int digits = 0;
    for (const QChar c : text)
        digits += c.isDigit() ? 1 : 0;
    return text.size() <= MaxHeaderChars && 2 * digits <= text.size();
}

bool isSentence(const QString &text)
{
    if (text.size() < SentenceCellChars)
        return false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar(0xFF0C) || c == QChar(0x3002) || c == QChar(0xFF1B) || c == QChar(0xFF01) || c == QChar(0xFF1F))
            return true;
        // ", " and ". " in Latin text; "10,500" and "3.5" are numbers, not sentences.
        if ((c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char(';')) && i + 1 < text.size()
            && text.at(i + 1) == QLatin1Char(' '))
            return true;
    }
    return false;
}

bool endsWithColon(const QString &text)
{
    return text.endsWith(QLatin1Char(':')) || text.endsWith(QChar(0xFF1A));
}

bool holdsLatin(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80 && c.isLetterOrNumber())
            return true;
    }
    return false;
}

// The advance of one character when the page is set in a fixed pitch, else
// 0: every word of two characters or more advances alike per character,
// and enough of them hold Latin letters or digits (in a proportional font
// those are narrower than ideographs; a page of ideographs alone tells
// nothing).
double fixedPitch(const QVector<PdfWord> &words, const std::vector<int> &placed)
{
    double least = HUGE_VAL, most = 0, sum = 0;
    int count = 0, latin = 0;
    for (int i : placed) {
        const PdfWord &word = words.at(i);
        if (word.text.size() < 2)
            continue;
        const double advance = (word.right - word.left) / word.text.size();
        least = std::min(least, advance);
        most = std::max(most, advance);
        sum += advance;
        ++count;
        latin += holdsLatin(word.text) ? 1 : 0;
    }
    if (latin < MinPitchWords || !(least > 0) || most > least * (1 + PitchTolerance))
        return 0;
    return sum / count;
}

// The words of one line, left to right, into cells.
Row makeRow(const QVector<PdfWord> &words, std::vector<int> &members, double pitch)
{
    std::sort(members.begin(), members.end(), [&words](int a, int b) { return words.at(a).left < words.at(b).left; });
    Row row;
    row.top = words.at(members.front()).top;
    row.bottom = words.at(members.front()).bottom;
    double heights = 0;
    for (int i : members) {
        row.top = std::min(row.top, words.at(i).top);
        row.bottom = std::max(row.bottom, words.at(i).bottom);
        heights += words.at(i).bottom - words.at(i).top;
    }
    row.height = heights / static_cast<double>(members.size());
    row.middle = (row.top + row.bottom) / 2;
    const PdfWord *previous = nullptr;
    for (int i : members) {
        const PdfWord &word = words.at(i);
        const double gap = previous ? word.left - previous->right : 0;
        if (!previous || gap >= std::max(CellGap * row.height, PitchCellGap * pitch)) {
            row.cells.append({word.text, word.left, word.right});
        } else {
            Cell &cell = row.cells.last();
            if (previous->spaceAfter || gap >= SpaceGap * row.height)
                cell.text += QLatin1Char(' ');
            cell.text += word.text;
            cell.right = std::max(cell.right, word.right);
        }
        previous = &word;
    }
    row.shortCells = true;
    for (Cell &cell : row.cells) {
        cell.text = cell.text.trimmed();
        if (cell.text.size() > MaxCellChars || isSentence(cell.text))
            row.shortCells = false;
    }
    return row;
}

// The column of each cell of `row` under the cells of `header`, or false
// when a cell stands under none, under two, or shares its column. A line of
// one cell under a column is the rest of a cell written on two lines.
bool underColumns(const Row &row, const Row &header, QVector<int> *columns)
{
    columns->clear();
    const QVector<Cell> &heads = header.cells;
    const double slack = ColumnSlack * std::max(row.height, header.height);
    int next = 0;
    for (const Cell &cell : row.cells) {
        const double middle = (cell.left + cell.right) / 2;
        int found = -1;
        for (int c = next; c < heads.size(); ++c) {
            // The column's room reaches halfway to its neighbours' headers.
            const double from = c == 0 ? -HUGE_VAL : (heads.at(c - 1).right + heads.at(c).left) / 2;
            const double to = c + 1 == heads.size() ? HUGE_VAL : (heads.at(c).right + heads.at(c + 1).left) / 2;
            if (middle >= from && middle < to) {
                found = c;
                break;
            }
        }
        if (found < 0)
            return false;
        const Cell &head = heads.at(found);
        const bool overlaps = cell.left <= head.right + slack && cell.right >= head.left - slack;
        const bool intoLeft = found > 0 && cell.left < heads.at(found - 1).right;
        const bool intoRight = found + 1 < heads.size() && cell.right > heads.at(found + 1).left;
        if (!overlaps || intoLeft || intoRight)
            return false;
        columns->append(found);
        next = found + 1;
    }
    return !columns->isEmpty();
}

QString joined(const QVector<Cell> &cells, const QString &separator)
{
    QString text;
    for (const Cell &cell : cells) {
        if (!text.isEmpty())
            text += separator;
        text += cell.text;
    }
    return text;
}

// A row of a table typed as text: its cells in order and the lines it takes.
struct OrderedRow
{
    QVector<Cell> cells;
    std::size_t first;
    std::size_t last;
};

// The rows under the header rows[h] of a table typed as text, read by the
// order of their cells: each row starts a line at the header's left margin
// and has as many cells as the header (or one fewer, its last cell empty,
// on a line that is not full); while it has fewer and its line is
// full, it goes on at the start of the next line. The gap across the wrap
// (the end of the line to the right edge, the margin to the next line's
// first word) is read as a gap between words: narrower than `cellGap`, the
// wrap cut a cell in two. `open(r)` says whether line r may belong to the
// table. Rows end at the first line that does not make such a row.
template<typename Open>
std::vector<OrderedRow> orderedRowsBelow(const std::vector<Row> &rows, std::size_t h, double rightEdge, double unit,
                                         double cellGap, Open open)
{
    const Row &header = rows.at(h);
    const int columns = header.cells.size();
    const double margin = header.cells.first().left;
    auto full = [&](const Row &row) { return row.cells.last().right >= rightEdge - FullLine * unit; };
    auto continues = [&](OrderedRow &row, const Row &next) {
        const double across = (rightEdge - row.cells.last().right) + (next.cells.first().left - margin);
        if (across >= cellGap) {
            row.cells += next.cells;
            return;
        }
        Cell &cell = row.cells.last();
        if (across >= unit / 2)
            cell.text += QLatin1Char(' ');
        cell.text += next.cells.first().text;
        cell.right = next.cells.first().right;
        for (int c = 1; c < next.cells.size(); ++c)
            row.cells.append(next.cells.at(c));
    };
    std::vector<OrderedRow> out;
    for (std::size_t r = h + 1; r < rows.size() && open(r);) {
        if (std::abs(rows.at(r).cells.first().left - margin) > unit / 2)
            break;
        OrderedRow row{rows.at(r).cells, r, r};
        while (row.cells.size() < columns && full(rows.at(row.last)) && row.last + 1 < rows.size() && open(row.last + 1)) {
            continues(row, rows.at(row.last + 1));
            ++row.last;
        }
        // The row's last cell cut by the wrap, its rest alone on the next
        // line (a row of its own would fill its line or have every cell).
        if (row.cells.size() == columns && full(rows.at(row.last)) && row.last + 1 < rows.size() && open(row.last + 1)) {
            const Row &next = rows.at(row.last + 1);
            const int before = row.cells.size();
            OrderedRow joined = row;
            continues(joined, next);
            if (next.cells.size() == 1 && !full(next) && joined.cells.size() == before) {
                row = joined;
                ++row.last;
            }
        }
        // A row may leave out its last cell when it is empty.
        if (row.cells.size() != columns && (row.cells.size() + 1 != columns || full(rows.at(row.last))))
            break;
        out.push_back(row);
        r = row.last + 1;
    }
    return out;
}

} // namespace

QVector<PdfLayout::Line> PdfLayout::arrange(const QVector<PdfWord> &words)
{
    if (words.size() > Limits::MaxPdfLayoutWords)
        return {};
    std::vector<int> placed;
    std::vector<int> loose;
    for (int i = 0; i < words.size(); ++i) {
        const PdfWord &w = words.at(i);
        const bool usable = w.upright && std::isfinite(w.left) && std::isfinite(w.right) && std::isfinite(w.top)
                            && std::isfinite(w.bottom) && w.bottom > w.top && w.right >= w.left;
        if (w.text.trimmed().isEmpty())
            continue;
        (usable ? placed : loose).push_back(i);
    }
    auto middle = [&words](int i) { return (words.at(i).top + words.at(i).bottom) / 2; };
    std::stable_sort(placed.begin(), placed.end(), [&](int a, int b) { return middle(a) < middle(b); });
    const double pitch = fixedPitch(words, placed);

    // Lines: words whose middles lie close to the middle of the line's first word.
    std::vector<Row> rows;
    for (std::size_t i = 0; i < placed.size();) {
        const int first = placed.at(i);
        const double height = words.at(first).bottom - words.at(first).top;
        std::vector<int> members{first};
        std::size_t j = i + 1;
        while (j < placed.size()) {
            const int w = placed.at(j);
            const double h = std::min(height, words.at(w).bottom - words.at(w).top);
            if (middle(w) - middle(first) > SameLine * h)
                break;
            members.push_back(w);
            ++j;
        }
        rows.push_back(makeRow(words, members, pitch));
        i = j;
    }

    // Runs of consecutive short-celled lines; within them, tables and forms.
    enum class Kind { Text, Cells, Header, TableRow, FormRow, OrderedRow, Continued };
    std::vector<Kind> kinds(rows.size(), Kind::Text);
    std::vector<int> headerOf(rows.size(), -1);
    std::vector<QVector<int>> columnsOf(rows.size());
    bool anyRows = false;
    auto follows = [&rows](std::size_t below) {
        const Row &a = rows.at(below - 1), &b = rows.at(below);
        return b.top - a.bottom <= MaxRowGap * std::max(a.height, b.height);
    };
    for (std::size_t i = 0; i < rows.size();) {
        if (!rowOfCells(rows.at(i)) || rows.at(i).cells.size() > MaxColumns) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        QVector<int> columns;
        std::vector<QVector<int>> mapped{QVector<int>()};
        while (end < rows.size() && rows.at(end).shortCells && follows(end) && underColumns(rows.at(end), rows.at(i), &columns)) {
            mapped.push_back(columns);
            ++end;
        }
        if (end - i >= 2) {
            anyRows = true;
            const Row &header = rows.at(i);
            int colonLabels = 0;
            for (std::size_t r = i; r < end; ++r)
                colonLabels += endsWithColon(rows.at(r).cells.first().text) ? 1 : 0;
            bool headed = true;
            for (const Cell &cell : header.cells)
                headed = headed && headerCell(cell.text);
            const bool form = header.cells.size() == 2 || 2 * colonLabels >= static_cast<int>(end - i);
            for (std::size_t r = i; r < end; ++r) {
                kinds[r] = form ? Kind::FormRow : !headed ? Kind::Cells : r == i ? Kind::Header : Kind::TableRow;
                headerOf[r] = static_cast<int>(i);
                columnsOf[r] = mapped.at(r - i);
            }
            i = end;
        } else {
            // Gap-separated cells that stand under no header still read as a row.
            if ((i > 0 && rowOfCells(rows.at(i - 1)) && follows(i))
                || (i + 1 < rows.size() && rowOfCells(rows.at(i + 1)) && follows(i + 1))) {
                kinds[i] = Kind::Cells;
                anyRows = true;
            }
            ++i;
        }
    }

    // Tables typed as text: a header line of gap-separated names over lines
    // whose cells stand under no column of it.
    double rightEdge = 0;
    for (const Row &row : rows)
        rightEdge = std::max(rightEdge, row.cells.last().right);
    std::vector<QVector<Cell>> orderedCells(rows.size());
    auto unclaimed = [&kinds](std::size_t r) { return kinds.at(r) == Kind::Text || kinds.at(r) == Kind::Cells; };
    for (std::size_t h = 0; h < rows.size(); ++h) {
        const Row &header = rows.at(h);
        if (!unclaimed(h) || !rowOfCells(header) || header.cells.size() < MinOrderedColumns || header.cells.size() > MaxColumns)
            continue;
        bool headed = true;
        for (const Cell &cell : header.cells)
            headed = headed && headerCell(cell.text) && !endsWithColon(cell.text);
        if (!headed)
            continue;
        const double unit = pitch > 0 ? pitch : header.height / 2;
        const double cellGap = std::max(CellGap * header.height, PitchCellGap * pitch);
        const std::vector<OrderedRow> table = orderedRowsBelow(rows, h, rightEdge, unit, cellGap, [&](std::size_t r) {
            return unclaimed(r) && rows.at(r).shortCells && follows(r);
        });
        if (table.empty())
            continue;
        anyRows = true;
        kinds[h] = Kind::Header;
        for (const OrderedRow &row : table) {
            kinds[row.first] = Kind::OrderedRow;
            orderedCells[row.first] = row.cells;
            for (std::size_t r = row.first + 1; r <= row.last; ++r)
                kinds[r] = Kind::Continued;
            headerOf[row.first] = static_cast<int>(h);
        }
        h = table.back().last;
    }
    // Poppler's reading order takes a space as wide as a fixed pitch's for
    // the edge of a column and breaks a number written in groups across
    // lines, so such a page keeps these lines even without rows of cells.
    if (!anyRows && pitch <= 0)
        return {};

    QVector<Line> lines;
    lines.reserve(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row &row = rows.at(r);
        Line line;
        // A table's cells reach the matcher under their headers through the
        // sink; were they parted by tabs, its reading of tab-separated tables
        // would label them a second time. Two spaces part them without
        // joining two numbers into one (as one space could).
        const Kind kind = kinds.at(r);
        if (kind == Kind::Continued)
            continue;
        if (kind == Kind::OrderedRow) {
            const QVector<Cell> &cells = orderedCells.at(r);
            const Row &header = rows.at(static_cast<std::size_t>(headerOf.at(r)));
            line.text = joined(cells, QStringLiteral("  "));
            for (int c = 0; c < cells.size(); ++c)
                line.labelled.append({header.cells.at(c).text.left(MaxLabelledChars), cells.at(c).text.left(MaxLabelledChars)});
            lines.append(line);
            continue;
        }
        line.text = joined(row.cells, kind == Kind::FormRow                           ? QStringLiteral(" ")
                                : kind == Kind::Header || kind == Kind::TableRow ? QStringLiteral("  ")
                                                                                 : QStringLiteral("\t"));
        if (kinds.at(r) == Kind::TableRow) {
            const Row &header = rows.at(static_cast<std::size_t>(headerOf.at(r)));
            const QVector<int> &columns = columnsOf.at(r);
            for (int c = 0; c < row.cells.size(); ++c) {
                line.labelled.append({header.cells.at(columns.at(c)).text.left(MaxLabelledChars),
                                      row.cells.at(c).text.left(MaxLabelledChars)});
            }
        }
        lines.append(line);
    }
    if (!loose.empty()) {
        Line line;
        for (int i : loose) {
            if (!line.text.isEmpty())
                line.text += QLatin1Char(' ');
            line.text += words.at(i).text;
        }
        lines.append(line);
    }
    return lines;
}
