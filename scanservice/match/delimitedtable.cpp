// Tables of delimited text: column headers for the cells below them.
#include "delimitedtable.h"

#include <algorithm>
#include <cstring>

namespace {
// A header line has at least this many fields, each at most this long.
constexpr int MinColumns = 3;
constexpr int MaxHeaderBytes = 60;
// Lines longer than this are no table rows.
constexpr std::size_t MaxRowBytes = 16384;
// Columns aligned with spaces are parted by at least two.
constexpr char AlignedGap[] = "  ";
} // namespace

QVector<DelimitedTable::Field> DelimitedTable::split(const char *utf8, std::size_t length, char separator)
{
    QVector<Field> fields;
    if (separator == ' ') {
        // Columns aligned with spaces: two or more part the fields; one is
        // part of a value ("+86 181…", "航班 HU7149").
        std::size_t i = 0;
        while (i < length && utf8[i] == ' ')
            ++i;
        while (i < length) {
            std::size_t end = i;
            while (end < length && !(utf8[end] == ' ' && (end + 1 >= length || utf8[end + 1] == ' ')))
                ++end;
            fields.append({static_cast<int>(i), static_cast<int>(end)});
            i = end;
            while (i < length && utf8[i] == ' ')
                ++i;
        }
        return fields;
    }
    if (separator == '|') {
        // Columns parted by bars, as text exports and terminals print them
        // ("姓名 | 门诊号", "| 姓名 | 门诊号 |"): the spaces around a bar are
        // no part of a value, nor are the empty ends outside the first and last bar.
        std::size_t i = 0;
        while (i < length && utf8[i] == ' ')
            ++i;
        if (i < length && utf8[i] == '|')
            ++i;
        std::size_t last = length;
        while (last > i && utf8[last - 1] == ' ')
            --last;
        if (last > i && utf8[last - 1] == '|')
            --last;
        while (i <= last) {
            std::size_t end = i;
            while (end < last && utf8[end] != '|')
                ++end;
            std::size_t from = i, to = end;
            while (from < to && utf8[from] == ' ')
                ++from;
            while (to > from && utf8[to - 1] == ' ')
                --to;
            fields.append({static_cast<int>(from), static_cast<int>(to)});
            i = end + 1;
        }
        return fields;
    }
    int start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i <= length; ++i) {
        const char c = i < length ? utf8[i] : separator;
        if (c == '"' && separator == ',')
            quoted = !quoted;
        if (c == separator && !(quoted && i < length)) {
            int end = static_cast<int>(i);
            if (i < length || end > start || !fields.isEmpty())
                fields.append({start, end});
            start = static_cast<int>(i) + 1;
        }
    }
    return fields;
}

bool DelimitedTable::headerLike(const char *utf8, const QVector<Field> &fields)
{
    if (fields.size() < MinColumns)
        return false;
    for (const Field &f : fields) {
        const int length = f.end - f.start;
        if (length == 0 || length > MaxHeaderBytes)
            return false;
        int digits = 0;
        for (int i = f.start; i < f.end; ++i)
            digits += (utf8[i] >= '0' && utf8[i] <= '9') ? 1 : 0;
        if (digits * 2 > length)
            return false;
    }
    return true;
}

QVector<DelimitedTable::Label> DelimitedTable::line(const char *utf8, std::size_t length)
{
    if (length > 0 && utf8[length - 1] == '\r')
        --length;
    if (m_header.isEmpty() && m_candidate.isEmpty()) {
        // Neither row nor first row: only a header could start a table, and
        // a header holds no digits (most text with commas does).
        for (std::size_t i = 0; i < length; ++i) {
            if (utf8[i] >= '0' && utf8[i] <= '9')
                return {};
        }
    }
    char separator = 0;
    if (length <= MaxRowBytes) {
        if (std::memchr(utf8, '\t', length))
            separator = '\t';
        else if (std::memchr(utf8, '|', length))
            separator = '|';
        else if (std::memchr(utf8, ',', length))
            separator = ',';
        else if (std::search(utf8, utf8 + length, AlignedGap, AlignedGap + 2) != utf8 + length)
            separator = ' ';
    }
    const QVector<Field> fields = separator ? split(utf8, length, separator) : QVector<Field>();
    QVector<Label> labels;
    // A row of aligned columns may end before its last, empty cell.
    const bool rowOfTable = !m_header.isEmpty() && separator == m_separator
                            && (fields.size() == m_header.size()
                                || (separator == ' ' && fields.size() == m_header.size() - 1 && fields.size() >= MinColumns));
    if (rowOfTable) {
        for (int i = 0; i < fields.size(); ++i) {
            if (fields.at(i).end > fields.at(i).start)
                labels.append({fields.at(i).start, m_header.at(i)});
        }
        return labels;
    }
    m_header.clear();
    if (!m_candidate.isEmpty() && separator == m_candidateSeparator
        && (fields.size() == m_candidate.size()
            || (separator == ' ' && fields.size() == m_candidate.size() - 1 && fields.size() >= MinColumns))) {
        // The line before was the header: this is the table's first row.
        m_header = m_candidate;
        m_separator = separator;
        m_candidate.clear();
        for (int i = 0; i < fields.size(); ++i) {
            if (fields.at(i).end > fields.at(i).start)
                labels.append({fields.at(i).start, m_header.at(i)});
        }
        return labels;
    }
    m_candidate.clear();
    if (separator && headerLike(utf8, fields)) {
        for (const Field &f : fields) {
            QByteArray name(utf8 + f.start, f.end - f.start);
            m_candidate.append(name.trimmed().replace('"', QByteArray()));
        }
        m_candidateSeparator = separator;
    }
    return labels;
}

void DelimitedTable::reset()
{
    m_header.clear();
    m_candidate.clear();
}
