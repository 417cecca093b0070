// Builds a corpus document and its labels.
#include "corpusdocument.h"

CorpusDocument &CorpusDocument::text(const QString &text)
{
    m_paragraph += text;
    return *this;
}

CorpusDocument &CorpusDocument::item(const QString &category, const QString &value)
{
    m_labels.append({category, value, QStringLiteral("段落%1").arg(m_paragraphs + 1), true, QString()});
    m_paragraph += value;
    return *this;
}

CorpusDocument &CorpusDocument::lookAlike(const QString &category, const QString &value, const QString &note)
{
    m_labels.append({category, value, QStringLiteral("段落%1").arg(m_paragraphs + 1), false, note});
    m_paragraph += value;
    return *this;
}

void CorpusDocument::alsoLabel(const QString &category, const QString &value)
{
    Label label = m_labels.last();
    label.category = category;
    label.value = value;
    m_labels.append(label);
}

void CorpusDocument::labelCell(int column, const QString &category)
{
    const QList<QList<Cell>> &rows = m_parts.last().rows;
    const Cell &cell = rows.last().at(column);
    m_labels.append({category, cell.value.isEmpty() ? cell.text : cell.value,
                     QStringLiteral("表%1第%2行[%3]").arg(m_tables).arg(rows.size() - 1).arg(rows.first().at(column).text), true, QString()});
}

void CorpusDocument::endParagraph()
{
    if (m_paragraph.isEmpty())
        return;
    m_parts.append({m_paragraph, {}});
    m_paragraph.clear();
    ++m_paragraphs;
}

void CorpusDocument::table(const QStringList &header)
{
    endParagraph();
    QList<Cell> cells;
    for (const QString &h : header)
        cells.append(plain(h));
    m_parts.append({QString(), {cells}});
    ++m_tables;
}

void CorpusDocument::row(const QList<Cell> &cells)
{
    Part &part = m_parts.last();
    const QList<Cell> &header = part.rows.first();
    for (int c = 0; c < cells.size(); ++c) {
        const Cell &cell = cells.at(c);
        if (cell.category.isEmpty())
            continue;
        const QString column = c < header.size() ? header.at(c).text : QString();
        m_labels.append({cell.category, cell.value.isEmpty() ? cell.text : cell.value,
                         QStringLiteral("表%1第%2行[%3]").arg(m_tables).arg(part.rows.size()).arg(column), cell.item, cell.note});
    }
    part.rows.append(cells);
}

QList<SampleDocuments::Block> CorpusDocument::blocks() const
{
    QList<SampleDocuments::Block> blocks;
    for (const Part &part : m_parts) {
        SampleDocuments::Block block{part.paragraph, {}};
        for (const QList<Cell> &row : part.rows) {
            QStringList cells;
            for (const Cell &cell : row)
                cells.append(cell.text);
            block.rows.append(cells);
        }
        blocks.append(block);
    }
    if (!m_paragraph.isEmpty())
        blocks.append({m_paragraph, {}});
    return blocks;
}

QList<SampleDocuments::Sheet> CorpusDocument::sheets() const
{
    QList<SampleDocuments::Sheet> sheets;
    QList<QList<SampleDocuments::Cell>> pending;
    for (const Part &part : m_parts) {
        if (part.rows.isEmpty()) {
            pending.append({SampleDocuments::Cell{part.paragraph, false}});
            continue;
        }
        SampleDocuments::Sheet sheet{QStringLiteral("Sheet%1").arg(sheets.size() + 1), pending};
        pending.clear();
        for (const QList<Cell> &row : part.rows) {
            QList<SampleDocuments::Cell> cells;
            for (const Cell &cell : row)
                cells.append({cell.text, cell.number});
            sheet.rows.append(cells);
        }
        sheets.append(sheet);
    }
    if (!m_paragraph.isEmpty())
        pending.append({SampleDocuments::Cell{m_paragraph, false}});
    if (!pending.isEmpty()) {
        if (sheets.isEmpty())
            sheets.append({QStringLiteral("Sheet1"), pending});
        else
            sheets.last().rows += pending;
    }
    return sheets;
}

QStringList CorpusDocument::lines(const QString &separator) const
{
    QStringList lines;
    for (const SampleDocuments::Block &block : blocks()) {
        if (block.rows.isEmpty()) {
            lines += block.paragraph.split(QLatin1Char('\n'));
            continue;
        }
        for (const QStringList &row : block.rows) {
            QStringList cells = row;
            for (QString &cell : cells) {
                cell.replace(QLatin1Char('\n'), QLatin1Char(' '));
                // Comma-separated values quote a cell that holds the separator.
                if (separator == QLatin1String(",") && (cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"'))))
                    cell = QLatin1Char('"') + cell.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
            }
            lines.append(cells.join(separator));
        }
    }
    return lines;
}
