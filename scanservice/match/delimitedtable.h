// Finds the tables of delimited text (tab-, bar- or comma-separated lines,
// or columns aligned with spaces, under a header line) so that each cell's
// value can be read with its column header.
#ifndef DELIMITEDTABLE_H
#define DELIMITEDTABLE_H

#include <QByteArray>
#include <QPair>
#include <QVector>

#include <cstddef>

// Fed one line at a time (without its line break). A line of at least three
// short fields, none of them a number, opens a table when the next line has
// as many fields with the same separator; every line of that count after it
// is a row of the table, and the first line of another count ends it (and
// may open the next). Commas inside double quotes part no fields; spaces
// around a bar belong to no field. Columns
// aligned with spaces are parted by two spaces or more, and their rows may
// leave out the last, empty cell.
class DelimitedTable
{
public:
    // Where a cell's header belongs: the byte of the line its value starts
    // at, and the header's text (UTF-8).
    using Label = QPair<int, QByteArray>;

    // The labels of the line's cells when it is a row of a table, else none.
    QVector<Label> line(const char *utf8, std::size_t length);
    // The text that follows is not part of the same table.
    void reset();

private:
    struct Field
    {
        int start;
        int end;
    };
    static QVector<Field> split(const char *utf8, std::size_t length, char separator);
    static bool headerLike(const char *utf8, const QVector<Field> &fields);

    char m_separator = 0;
    QVector<QByteArray> m_header;   // the open table's header, or empty
    QVector<QByteArray> m_candidate; // the last line's fields, when it could be a header
    char m_candidateSeparator = 0;
};

#endif // DELIMITEDTABLE_H
