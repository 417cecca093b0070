#ifndef SAMPLEDOCUMENTS_H
#define SAMPLEDOCUMENTS_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Makes real documents for the scan tests and the demo: zip containers of Office Open
// XML with text where each format keeps it, and PDFs through Qt's PDF writer
// with a CJK font.
class SampleDocuments
{
public:
    static bool writeFile(const QString &path, const QByteArray &bytes);
    static bool writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &members);
    // An archive in one of the formats "zip", "7z", "tar", "tar.gz" (members
    // as given), or "gz" (one compressed file: the first member's data).
    static bool writeArchive(const QString &path, const QString &format, const QList<QPair<QString, QByteArray>> &members);
    static QByteArray readFile(const QString &path);
    // A small PDF that keeps a parser busy: its one page's content stream
    // (compressed) holds this many transformation operators.
    static bool writeBusyPdf(const QString &path, int operations);

    // A DOCX whose body holds one paragraph and a table (one row, the given
    // cells), with one header and one footer.
    static bool writeDocx(const QString &path, const QString &body, const QStringList &cells, const QString &header,
                          const QString &footer);
    // An XLSX whose shared strings are the given entries; an entry holding
    // "|" becomes a rich-text string with one run per piece. One sheet cell
    // holds an inline string.
    static bool writeXlsx(const QString &path, const QStringList &sharedStrings, const QString &inlineString);
    // A PPTX with one slide per entry of slides, and notes on the slides that have them.
    static bool writePptx(const QString &path, const QStringList &slides, const QStringList &notes);
    // A PDF with one page per entry, written in a CJK font.
    static bool writePdf(const QString &path, const QStringList &pages);

    static QString xmlEscaped(const QString &text);

    // A paragraph (its line breaks kept as breaks inside it) when rows is
    // empty, else a table whose first row is its header.
    struct Block
    {
        QString paragraph;
        QList<QStringList> rows;
    };
    // A cell of a sheet: text (a shared string), or a number cell whose
    // stored value is text as a spreadsheet writes it ("13912345678", "8500.5").
    struct Cell
    {
        QString text;
        bool number = false;
    };
    struct Sheet
    {
        QString name;
        QList<QList<Cell>> rows;
    };
    // A DOCX of paragraphs and tables in the given order.
    static bool writeDocxBlocks(const QString &path, const QList<Block> &blocks);
    // An XLSX with one worksheet per sheet; text cells are shared strings
    // in the order they first appear, as spreadsheet programs write them.
    static bool writeXlsxSheets(const QString &path, const QList<Sheet> &sheets);
    // A PPTX with one slide per entry; a slide's tables become drawing tables.
    static bool writePptxBlocks(const QString &path, const QList<QList<Block>> &slides);
    // A PDF of these lines, as many to a page as fit, in an embedded CJK font.
    static bool writePdfLines(const QString &path, const QStringList &lines);
    // A PDF of paragraphs and tables in the given order, in an embedded CJK
    // font: paragraph lines wrapped at the page's width, table cells drawn at
    // their columns' places (each column as wide as its widest cell, plus a
    // gap), as office programs print a table without borders; a table too
    // wide for the page is drawn in a smaller font, as when printed to fit.
    static bool writePdfBlocks(const QString &path, const QList<Block> &blocks);
    // A PDF of these lines whose CJK font is named, not embedded: Adobe's
    // STSong-Light through the predefined CMap UniGB-UCS2-H, as office
    // programs write PDFs that rely on the reader's fonts. Text outside the
    // Basic Multilingual Plane is not written.
    static bool writePdfUnembeddedCjk(const QString &path, const QStringList &lines);
    // A Word 97 document (.doc) of these lines, as one UTF-16 piece in an
    // OLE compound file: the layout of tests/scanservice/fixtures/make-multipiece-doc.py.
    static bool writeWordDoc(const QString &path, const QStringList &lines);
};

#endif // SAMPLEDOCUMENTS_H
