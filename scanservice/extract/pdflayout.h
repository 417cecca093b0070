// Rebuilds the lines of a PDF page from the boxes of its words and finds its
// tables and label-beside-value forms, so that a table row reads as one line
// and each cell can be read under its column header.
#ifndef PDFLAYOUT_H
#define PDFLAYOUT_H

#include <QPair>
#include <QString>
#include <QVector>

// One word of a page as the PDF reader gives it: its box in page points, y
// growing downwards.
struct PdfWord
{
    QString text;
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool spaceAfter = false; // the reader saw a space after it
    bool upright = true;     // written left to right, not rotated
};

// Poppler lays a table out cell by cell, header cells first, so a value ends
// up far from its header and rows have no boundary. This analysis works on
// the words alone: lines are rebuilt by baseline, a wide gap parts two cells,
// and consecutive lines whose cells stand under the cells of the line above
// them are a table (the first line its header) or, with two columns or
// labels ending in a colon, a form.
class PdfLayout
{
public:
    struct Line
    {
        QString text;
        // Each cell of a table row (after its header row) with its column header.
        QVector<QPair<QString, QString>> labelled;
    };

    // The page's lines top to bottom when it holds rows of cells (a table, a
    // form or lines of gap-separated cells) or is set in a fixed pitch; none
    // when it holds neither or more words than the analysis takes, and the
    // reader's own layout of the page stands. A table row's cells are separated by two spaces, a
    // form's label and value by one, other cells by a tab; words that are
    // not upright or have no usable box come last, in the order given.
    static QVector<Line> arrange(const QVector<PdfWord> &words);
};

#endif // PDFLAYOUT_H
