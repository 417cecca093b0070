#include "officeextractor.h"

#include "scanlimits.h"

#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QVector>
#include <QXmlStreamReader>

#include <algorithm>
#include <unistd.h>
#include <zip.h>

namespace {
// A sheet's cells are handed on with their column header up to this column,
// each value and header cut to this many characters; shared strings are kept
// for that up to this many.
constexpr int MaxLabelledColumns = 256;
constexpr int MaxLabelledValueChars = 256;
constexpr int MaxSharedStrings = 1000000;

// Collects text and hands it to the sink as UTF-8.
class TextBuffer
{
public:
    explicit TextBuffer(TextSink &sink)
        : m_sink(sink)
    {
    }
    void append(QStringRef text)
    {
        m_text.append(text);
        if (m_text.size() > 32768)
            flush();
    }
    void append(QChar c)
    {
        m_text.append(c);
    }
    // Ends the current line unless it has just ended.
    void endLine()
    {
        if (!m_text.isEmpty() ? !m_text.endsWith(QLatin1Char('\n')) : (m_written && !m_endsWithBreak))
            m_text.append(QLatin1Char('\n'));
    }
    bool flush()
    {
        if (m_text.isEmpty())
            return m_ok;
        const QByteArray utf8 = m_text.toUtf8();
        m_written = true;
        m_endsWithBreak = m_text.endsWith(QLatin1Char('\n'));
        m_text.clear();
        if (m_ok)
            m_ok = m_sink.write(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        return m_ok;
    }
    bool ok() const { return m_ok; }
    // A cell's value under its column header, after the text so far.
    void labelled(const QString &label, const QString &value)
    {
        if (flush())
            m_sink.labelledValue(label.toUtf8(), value.toUtf8());
    }

private:
    TextSink &m_sink;
    QString m_text;
    bool m_ok = true;
    bool m_written = false;
    bool m_endsWithBreak = false;
};

// A number cell's stored value ("13912345678", "1.3912345678E10",
// "0.30000000000000004") as a person sees it in the sheet: in full, never in
// exponent form, every digit of a whole number kept, a fraction at the
// spreadsheet's 15 significant digits. Text that is no number, or that would
// be written out longer than the limit, stays as stored.
QString shownNumber(const QString &stored)
{
    static const QRegularExpression number(QStringLiteral("^([-+]?)(\\d*)(?:\\.(\\d*))?(?:[eE]([-+]?\\d{1,4}))?$"));
    const QString trimmed = stored.trimmed();
    const QRegularExpressionMatch m = number.match(trimmed);
    if (!m.hasMatch() || (m.capturedRef(2).isEmpty() && m.capturedRef(3).isEmpty()))
        return trimmed;
    const QString whole = m.captured(2), fraction = m.captured(3);
    QString digits = whole + fraction;
    const int point = whole.size() + m.capturedRef(4).toInt(); // digits before the decimal point
    if (point > Limits::MaxNumberCellChars || point < -Limits::MaxNumberCellChars)
        return trimmed;
    QString integer, decimals;
    if (point <= 0) {
        decimals = QString(-point, QLatin1Char('0')) + digits;
    } else if (point >= digits.size()) {
        integer = digits + QString(point - digits.size(), QLatin1Char('0'));
    } else {
        integer = digits.left(point);
        decimals = digits.mid(point);
    }
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    int significant = 0;
    for (const QChar c : integer + decimals)
        significant += significant > 0 || c != QLatin1Char('0');
    if (!decimals.isEmpty() && significant > 15) {
        // Binary fractions stored with 17 digits ("0.30000000000000004") show with 15.
        const QString rounded = QString::number(trimmed.toDouble(), 'g', 15);
        return rounded == trimmed ? rounded : shownNumber(rounded);
    }
    return m.captured(1).remove(QLatin1Char('+')) + integer + (decimals.isEmpty() ? QString() : QLatin1Char('.') + decimals);
}

// What one kind of part contributes: which elements hold text and where
// line breaks go.
enum class PartType { WordText, SharedStrings, SheetInline, SlideText, Relationships };

// Column letters of a cell reference ("AB12" → 27), 0-based; -1 without any.
int columnOf(QStringRef reference)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : reference) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
        if (++letters > 3)
            return -1;
    }
    return letters ? column - 1 : -1;
}

class PartReader
{
public:
    PartReader(PartType type, TextBuffer *out, QVector<QString> *shared = nullptr)
        : m_type(type)
        , m_out(out)
        , m_shared(shared)
    {
    }

    void handle(QXmlStreamReader &xml)
    {
        switch (xml.tokenType()) {
        case QXmlStreamReader::StartElement:
            start(xml);
            break;
        case QXmlStreamReader::EndElement:
            end(xml.name());
            break;
        case QXmlStreamReader::Characters:
            if (m_inText && m_skip == 0) {
                m_out->append(xml.text());
                if (m_shared || m_inCell)
                    m_cellText += xml.text();
            } else if (m_inNumber && m_number.size() <= Limits::MaxNumberCellChars) {
                m_number += xml.text();
            } else if (m_inValue && m_cellText.size() <= Limits::MaxNumberCellChars) {
                m_cellText += xml.text();
            }
            break;
        default:
            break;
        }
    }

    bool ok() const { return m_out->ok(); }

    // Relationship targets of a .rels part, by type suffix.
    QVector<QPair<QString, QString>> relationships;

private:
    void start(const QXmlStreamReader &xml)
    {
        const QStringRef name = xml.name();
        switch (m_type) {
        case PartType::WordText:
            startTablePart(xml);
            if (name == QLatin1String("t") || name == QLatin1String("delText"))
                m_inText = true;
            else if (name == QLatin1String("tab"))
                m_out->append(QLatin1Char('\t'));
            else if (name == QLatin1String("br") || name == QLatin1String("cr"))
                m_out->append(QLatin1Char('\n'));
            break;
        case PartType::SharedStrings:
            if (name == QLatin1String("rPh"))
                ++m_skip; // phonetic guide, not the cell's text
            else if (name == QLatin1String("t"))
                m_inText = true;
            break;
        case PartType::SheetInline:
            if (name == QLatin1String("row")) {
                m_row.clear();
                m_nextColumn = 0;
            } else if (name == QLatin1String("c")) {
                // A cell without a type, or of type "n", holds a number in <v>.
                const QStringRef type = xml.attributes().value(QLatin1String("t"));
                m_numberCell = type.isEmpty() || type == QLatin1String("n");
                m_sharedCell = type == QLatin1String("s");
                m_inCell = true;
                m_cellText.clear();
                const int column = columnOf(xml.attributes().value(QLatin1String("r")));
                m_column = column >= 0 ? column : m_nextColumn;
                m_nextColumn = m_column + 1;
            } else if (name == QLatin1String("v") && m_numberCell) {
                m_inNumber = true;
                m_number.clear();
            } else if (name == QLatin1String("v") && m_sharedCell) {
                m_inValue = true;
            } else if (name == QLatin1String("is"))
                m_inInline = true;
            else if (name == QLatin1String("rPh"))
                ++m_skip;
            else if (name == QLatin1String("t") && m_inInline)
                m_inText = true;
            break;
        case PartType::SlideText:
            startTablePart(xml);
            if (name == QLatin1String("t"))
                m_inText = true;
            else if (name == QLatin1String("br"))
                m_out->append(QLatin1Char('\n'));
            break;
        case PartType::Relationships:
            if (name == QLatin1String("Relationship")) {
                const QXmlStreamAttributes attributes = xml.attributes();
                relationships.append({attributes.value(QLatin1String("Type")).toString(),
                                      attributes.value(QLatin1String("Target")).toString()});
            }
            break;
        }
    }

    void end(QStringRef name)
    {
        if (name == QLatin1String("t") || name == QLatin1String("delText")) {
            m_inText = false;
            return;
        }
        switch (m_type) {
        case PartType::WordText:
        case PartType::SlideText:
            if (name == QLatin1String("p")) {
                m_out->append(QLatin1Char('\n'));
                if (m_inCell)
                    m_cellText += QLatin1Char(' ');
            } else if (m_tables == 1 && name == QLatin1String("tc")) {
                if (!m_cellText.trimmed().isEmpty() && m_column < MaxLabelledColumns)
                    m_row.append({m_column, m_cellText.trimmed()});
                m_inCell = false;
            } else if (m_tables == 1 && name == QLatin1String("tr")) {
                endRow();
            } else if (name == QLatin1String("tbl")) {
                --m_tables;
            }
            break;
        case PartType::SharedStrings:
            if (name == QLatin1String("rPh")) {
                --m_skip;
            } else if (name == QLatin1String("si")) {
                m_out->append(QLatin1Char('\n'));
                if (m_shared && m_shared->size() < MaxSharedStrings)
                    m_shared->append(m_cellText.left(MaxLabelledValueChars));
                m_cellText.clear();
            }
            break;
        case PartType::SheetInline:
            if (name == QLatin1String("v") && m_inNumber) {
                m_inNumber = false;
                const QString shown = shownNumber(m_number);
                if (!shown.isEmpty()) {
                    m_out->append(QStringRef(&shown));
                    m_out->append(QLatin1Char('\n'));
                }
                m_cellText = shown;
            } else if (name == QLatin1String("v") && m_inValue) {
                m_inValue = false;
                bool ok = false;
                const int index = m_cellText.trimmed().toInt(&ok);
                m_cellText = ok && m_shared && index >= 0 && index < m_shared->size() ? m_shared->at(index) : QString();
            } else if (name == QLatin1String("c")) {
                if (!m_cellText.trimmed().isEmpty() && m_column < MaxLabelledColumns)
                    m_row.append({m_column, m_cellText.trimmed()});
                m_numberCell = false;
                m_sharedCell = false;
                m_inCell = false;
            } else if (name == QLatin1String("row")) {
                endRow();
            } else if (name == QLatin1String("rPh")) {
                --m_skip;
            } else if (name == QLatin1String("is")) {
                m_inInline = false;
                m_out->append(QLatin1Char('\n'));
            }
            break;
        case PartType::Relationships:
            break;
        }
    }

    // A table of a document or slide: the cells of its rows (nested tables
    // are read as text only).
    void startTablePart(const QXmlStreamReader &xml)
    {
        const QStringRef name = xml.name();
        if (name == QLatin1String("tbl")) {
            if (++m_tables == 1)
                m_header.clear();
        } else if (m_tables != 1) {
            return;
        } else if (name == QLatin1String("tr")) {
            m_row.clear();
            m_nextColumn = 0;
        } else if (name == QLatin1String("tc")) {
            m_inCell = true;
            m_cellText.clear();
            m_column = m_nextColumn++;
            const QStringRef span = xml.attributes().value(QLatin1String("gridSpan"));
            if (!span.isEmpty())
                m_nextColumn = m_column + qBound(1, span.toInt(), MaxLabelledColumns);
        } else if (name == QLatin1String("gridSpan") && m_inCell) {
            // A Word cell's span is in its properties, after the cell began.
            const int span = xml.attributes().value(QLatin1String("w:val")).toInt();
            if (span > 1)
                m_nextColumn = m_column + qMin(span, MaxLabelledColumns);
        }
    }

    // The first row of at least two cells is the sheet's header; each cell
    // of a later row goes to the sink with its column's header.
    void endRow()
    {
        if (m_header.isEmpty()) {
            if (m_row.size() >= 2) {
                for (const auto &cell : m_row)
                    m_header.insert(cell.first, cell.second.left(MaxLabelledValueChars));
            }
        } else {
            for (const auto &cell : m_row) {
                const QString label = m_header.value(cell.first);
                if (!label.isEmpty())
                    m_out->labelled(label, cell.second.left(MaxLabelledValueChars));
            }
        }
        m_row.clear();
    }

    PartType m_type;
    TextBuffer *m_out;
    QVector<QString> *m_shared; // the workbook's shared strings, when they are kept
    int m_tables = 0;           // depth of tables in a document or slide
    bool m_inCell = false;
    bool m_sharedCell = false;  // inside a <c> whose <v> indexes the shared strings
    bool m_inValue = false;     // inside that cell's <v>
    QString m_cellText;         // the cell's (or shared string's) text so far
    int m_column = 0;
    int m_nextColumn = 0;
    QVector<QPair<int, QString>> m_row;
    QHash<int, QString> m_header;
    bool m_inText = false;
    bool m_inInline = false;
    bool m_numberCell = false; // inside a <c> that holds a number
    bool m_inNumber = false;   // inside that cell's <v>
    QString m_number;
    int m_skip = 0;
};

class Container
{
public:
    explicit Container(zip_t *archive)
        : m_archive(archive)
    {
        const zip_int64_t count = zip_get_num_entries(archive, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const char *name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
            if (name)
                m_index.insert(QString::fromUtf8(name), static_cast<zip_uint64_t>(i));
        }
    }
    ~Container() { zip_discard(m_archive); }

    bool contains(const QString &name) const { return m_index.contains(name); }

    // Names "<prefix><number><suffix>" in the order of their numbers.
    QStringList numbered(const QString &prefix, const QString &suffix) const
    {
        QVector<QPair<int, QString>> found;
        const QRegularExpression pattern(QLatin1Char('^') + QRegularExpression::escape(prefix)
                                         + QStringLiteral("(\\d+)") + QRegularExpression::escape(suffix)
                                         + QLatin1Char('$'));
        for (auto it = m_index.constBegin(); it != m_index.constEnd(); ++it) {
            const QRegularExpressionMatch match = pattern.match(it.key());
            if (match.hasMatch())
                found.append({match.captured(1).toInt(), it.key()});
        }
        std::sort(found.begin(), found.end());
        QStringList names;
        for (const auto &entry : found)
            names.append(entry.second);
        return names;
    }

    ExtractStatus read(const QString &name, PartReader &reader)
    {
        const auto it = m_index.constFind(name);
        if (it == m_index.constEnd())
            return ExtractStatus::Ok;
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(m_archive, *it, 0, &stat) != 0)
            return ExtractStatus::Corrupt;
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            return ExtractStatus::Encrypted;
        if ((stat.valid & ZIP_STAT_SIZE) && static_cast<qint64>(stat.size) > Limits::MaxZipPartBytes)
            return ExtractStatus::LimitExceeded;
        if ((stat.valid & ZIP_STAT_SIZE) && (stat.valid & ZIP_STAT_COMP_SIZE)
            && static_cast<qint64>(stat.size) > Limits::ZipRatioFloorBytes
            && static_cast<qint64>(stat.size) > Limits::MaxZipRatio * static_cast<qint64>(qMax<zip_uint64_t>(stat.comp_size, 1)))
            return ExtractStatus::LimitExceeded;
        zip_file_t *file = zip_fopen_index(m_archive, *it, 0);
        if (!file)
            return ExtractStatus::Corrupt;
        QXmlStreamReader xml;
        xml.setEntityExpansionLimit(Limits::MaxXmlEntityExpansion);
        QByteArray block(65536, Qt::Uninitialized);
        qint64 partBytes = 0;
        ExtractStatus status = ExtractStatus::Ok;
        bool atEnd = false;
        while (status == ExtractStatus::Ok && !atEnd && reader.ok()) {
            const zip_int64_t got = zip_fread(file, block.data(), static_cast<zip_uint64_t>(block.size()));
            if (got < 0) {
                status = ExtractStatus::Corrupt;
                break;
            }
            if (got == 0) {
                atEnd = true;
            } else {
                partBytes += got;
                m_totalBytes += got;
                if (partBytes > Limits::MaxZipPartBytes || m_totalBytes > Limits::MaxZipTotalBytes) {
                    status = ExtractStatus::LimitExceeded;
                    break;
                }
                xml.addData(QByteArray::fromRawData(block.constData(), static_cast<int>(got)));
            }
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.hasError())
                    break;
                reader.handle(xml);
            }
            if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                status = ExtractStatus::Corrupt;
            else if (xml.hasError() && atEnd)
                status = ExtractStatus::Corrupt;
            // QXmlStreamReader copies what it is given, so the block can be reused.
        }
        zip_fclose(file);
        return status;
    }

private:
    zip_t *m_archive;
    QHash<QString, zip_uint64_t> m_index;
    qint64 m_totalBytes = 0;
};

// "../notesSlides/notesSlide1.xml" relative to "ppt/slides/" -> "ppt/notesSlides/notesSlide1.xml".
QString resolveTarget(const QString &baseDir, const QString &target)
{
    QStringList parts = target.startsWith(QLatin1Char('/')) ? QStringList()
                                                            : baseDir.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &piece : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (piece == QLatin1String(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (piece != QLatin1String("."))
            parts.append(piece);
    }
    return parts.join(QLatin1Char('/'));
}

} // namespace

ExtractStatus OfficeExtractor::extract(int fd, Kind kind, TextSink &sink)
{
    const int own = ::dup(fd);
    if (own < 0)
        return ExtractStatus::Unreadable;
    int error = 0;
    zip_t *archive = zip_fdopen(own, ZIP_RDONLY, &error);
    if (!archive) {
        ::close(own);
        return ExtractStatus::Corrupt;
    }
    if (zip_get_num_entries(archive, 0) > Limits::MaxZipEntries) {
        zip_discard(archive);
        return ExtractStatus::LimitExceeded;
    }
    Container container(archive);
    TextBuffer out(sink);

    QVector<QPair<QString, PartType>> parts;
    switch (kind) {
    case Kind::Docx: {
        if (!container.contains(QStringLiteral("word/document.xml")))
            return ExtractStatus::Corrupt;
        parts.append({QStringLiteral("word/document.xml"), PartType::WordText});
        for (const QString &name : container.numbered(QStringLiteral("word/header"), QStringLiteral(".xml")))
            parts.append({name, PartType::WordText});
        for (const QString &name : container.numbered(QStringLiteral("word/footer"), QStringLiteral(".xml")))
            parts.append({name, PartType::WordText});
        for (const char *name : {"word/footnotes.xml", "word/endnotes.xml", "word/comments.xml"})
            parts.append({QString::fromLatin1(name), PartType::WordText});
        break;
    }
    case Kind::Xlsx:
        if (!container.contains(QStringLiteral("xl/workbook.xml")))
            return ExtractStatus::Corrupt;
        parts.append({QStringLiteral("xl/sharedStrings.xml"), PartType::SharedStrings});
        for (const QString &name : container.numbered(QStringLiteral("xl/worksheets/sheet"), QStringLiteral(".xml")))
            parts.append({name, PartType::SheetInline});
        break;
    case Kind::Pptx: {
        if (!container.contains(QStringLiteral("ppt/presentation.xml")))
            return ExtractStatus::Corrupt;
        for (const QString &slide : container.numbered(QStringLiteral("ppt/slides/slide"), QStringLiteral(".xml"))) {
            parts.append({slide, PartType::SlideText});
            const QString base = slide.section(QLatin1Char('/'), -1);
            PartReader rels(PartType::Relationships, &out);
            if (container.read(QStringLiteral("ppt/slides/_rels/") + base + QStringLiteral(".rels"), rels)
                != ExtractStatus::Ok)
                continue;
            for (const auto &relationship : rels.relationships) {
                if (relationship.first.endsWith(QLatin1String("/notesSlide")))
                    parts.append({resolveTarget(QStringLiteral("ppt/slides"), relationship.second), PartType::SlideText});
            }
        }
        break;
    }
    }

    QVector<QString> shared; // a workbook's shared strings, for the labels of its cells
    for (const auto &part : parts) {
        PartReader reader(part.second, &out, kind == Kind::Xlsx ? &shared : nullptr);
        const ExtractStatus status = container.read(part.first, reader);
        if (!out.flush() || !out.ok())
            return ExtractStatus::Stopped;
        if (status != ExtractStatus::Ok)
            return status;
        out.endLine();
    }
    return out.flush() ? ExtractStatus::Ok : ExtractStatus::Stopped;
}
