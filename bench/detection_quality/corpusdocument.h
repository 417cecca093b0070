// One document of the labelled corpus while it is written: paragraphs and
// tables, with a label for every item of personal data and every look-alike
// planted in them, independent of the file format it is saved in.
#ifndef CORPUSDOCUMENT_H
#define CORPUSDOCUMENT_H

#include "sampledocuments.h"

#include <QList>
#include <QString>
#include <QStringList>

class CorpusDocument
{
public:
    struct Label
    {
        QString category; // one of the fourteen category names
        QString value;    // as written in the document
        QString where;    // paragraph, or table row and column header
        bool item = true; // false: a look-alike that is no personal data
        QString note;     // what a look-alike is
    };
    // A table cell: plain text, or text that is (or holds) a labelled value.
    struct Cell
    {
        QString text;
        QString category;
        bool item = true;
        bool number = false; // a number cell in a spreadsheet
        QString note;
        QString value;       // the labelled part of text; empty: all of it
    };
    static Cell plain(const QString &text) { return {text, QString(), true, false, QString(), QString()}; }
    static Cell itemCell(const QString &category, const QString &text, bool number = false)
    {
        return {text, category, true, number, QString(), QString()};
    }
    static Cell lookAlikeCell(const QString &category, const QString &text, const QString &note, bool number = false)
    {
        return {text, category, false, number, note, QString()};
    }

    // Running text of the paragraph being written.
    CorpusDocument &text(const QString &text);
    CorpusDocument &item(const QString &category, const QString &value);
    CorpusDocument &lookAlike(const QString &category, const QString &value, const QString &note);
    // Another label for a value just written (a child's identity number is
    // also an identity number; a relative's name is also a name).
    void alsoLabel(const QString &category, const QString &value);
    // The same for a cell of the row just written.
    void labelCell(int column, const QString &category);
    // Ends the paragraph being written (nothing when it is empty).
    void endParagraph();
    void paragraph(const QString &text)
    {
        this->text(text);
        endParagraph();
    }

    // Starts a table with this header row; rows follow.
    void table(const QStringList &header);
    void row(const QList<Cell> &cells);

    const QList<Label> &labels() const { return m_labels; }
    // The document for the office and text writers.
    QList<SampleDocuments::Block> blocks() const;
    // One sheet per table; the paragraphs before a table head its sheet.
    QList<SampleDocuments::Sheet> sheets() const;
    // Plain text lines: tables with their cells joined by separator.
    QStringList lines(const QString &separator) const;

private:
    struct Part
    {
        QString paragraph;
        QList<QList<Cell>> rows; // a table when not empty
    };
    QList<Part> m_parts;
    QString m_paragraph;
    QList<Label> m_labels;
    int m_paragraphs = 0;
    int m_tables = 0;
};

#endif // CORPUSDOCUMENT_H
