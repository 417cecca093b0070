#include "sampledocuments.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QVector>

#include <archive.h>
#include <archive_entry.h>
#include <zip.h>
#include <zlib.h>

namespace {
const char *const W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char *const A = "http://schemas.openxmlformats.org/drawingml/2006/main";
const char *const P = "http://schemas.openxmlformats.org/presentationml/2006/main";
const char *const S = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

QByteArray wordParagraph(const QString &text)
{
    return QStringLiteral("<w:p><w:r><w:t xml:space=\"preserve\">%1</w:t></w:r></w:p>")
        .arg(SampleDocuments::xmlEscaped(text))
        .toUtf8();
}

QByteArray drawingText(const QString &text)
{
    return QStringLiteral("<p:txBody><a:p><a:r><a:t>%1</a:t></a:r></a:p></p:txBody>")
        .arg(SampleDocuments::xmlEscaped(text))
        .toUtf8();
}
} // namespace

QString SampleDocuments::xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

bool SampleDocuments::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool SampleDocuments::writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &members)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto &member : members) {
        // The data must outlive zip_close(): libzip copies it then.
        zip_source_t *source = zip_source_buffer(archive, member.second.constData(),
                                                 static_cast<zip_uint64_t>(member.second.size()), 0);
        if (!source || zip_file_add(archive, member.first.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

bool SampleDocuments::writeArchive(const QString &path, const QString &format,
                                   const QList<QPair<QString, QByteArray>> &members)
{
    archive *a = archive_write_new();
    if (format == QLatin1String("zip"))
        archive_write_set_format_zip(a);
    else if (format == QLatin1String("7z"))
        archive_write_set_format_7zip(a);
    else if (format == QLatin1String("gz"))
        archive_write_set_format_raw(a);
    else
        archive_write_set_format_pax_restricted(a);
    if (format == QLatin1String("tar.gz") || format == QLatin1String("gz"))
        archive_write_add_filter_gzip(a);
    bool ok = archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    for (const auto &member : members) {
        if (!ok)
            break;
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, member.first.toUtf8().constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, member.second.size());
        ok = archive_write_header(a, entry) == ARCHIVE_OK
             && archive_write_data(a, member.second.constData(), static_cast<size_t>(member.second.size())) == member.second.size();
        archive_entry_free(entry);
        if (format == QLatin1String("gz"))
            break;
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

bool SampleDocuments::writeBusyPdf(const QString &path, int operations)
{
    // The content stream is compressed as it is made, so it never lies in memory whole.
    const QByteArray block = QByteArray("1 0 0 1 0 0 cm\n").repeated(65536);
    QByteArray compressed;
    z_stream zs{};
    if (deflateInit(&zs, 1) != Z_OK)
        return false;
    QByteArray out(1 << 20, Qt::Uninitialized);
    for (qint64 left = operations; left > 0;) {
        const int ops = static_cast<int>(qMin<qint64>(left, 65536));
        left -= ops;
        zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(block.constData()));
        zs.avail_in = static_cast<uInt>(ops * 15);
        const int flush = left > 0 ? Z_NO_FLUSH : Z_FINISH;
        do {
            zs.next_out = reinterpret_cast<Bytef *>(out.data());
            zs.avail_out = static_cast<uInt>(out.size());
            deflate(&zs, flush);
            compressed.append(out.constData(), out.size() - static_cast<int>(zs.avail_out));
        } while (zs.avail_out == 0);
    }
    deflateEnd(&zs);
    const QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(compressed.size()) + " /Filter /FlateDecode >>\nstream\n" + compressed + "\nendstream"};
    QByteArray pdf("%PDF-1.4\n");
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const int xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(xref) + "\n%%EOF\n";
    return writeFile(path, pdf);
}

QByteArray SampleDocuments::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SampleDocuments::writeDocx(const QString &path, const QString &body, const QStringList &cells,
                             const QString &header, const QString &footer)
{
    QByteArray document = QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document xmlns:w=\"")
                          + W + "\"><w:body>" + wordParagraph(body) + "<w:tbl><w:tr>";
    for (const QString &cell : cells)
        document += "<w:tc>" + wordParagraph(cell) + "</w:tc>";
    document += "</w:tr></w:tbl></w:body></w:document>";
    const QByteArray hdr = QByteArray("<?xml version=\"1.0\"?><w:hdr xmlns:w=\"") + W + "\">" + wordParagraph(header) + "</w:hdr>";
    const QByteArray ftr = QByteArray("<?xml version=\"1.0\"?><w:ftr xmlns:w=\"") + W + "\">" + wordParagraph(footer) + "</w:ftr>";
    const QByteArray types = "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                             "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
    return writeZip(path, {{QStringLiteral("[Content_Types].xml"), types},
                           {QStringLiteral("word/document.xml"), document},
                           {QStringLiteral("word/header1.xml"), hdr},
                           {QStringLiteral("word/footer1.xml"), ftr}});
}

bool SampleDocuments::writeXlsx(const QString &path, const QStringList &sharedStrings, const QString &inlineString)
{
    QByteArray sst = QByteArray("<?xml version=\"1.0\"?><sst xmlns=\"") + S + "\" count=\""
                     + QByteArray::number(sharedStrings.size()) + "\">";
    for (const QString &entry : sharedStrings) {
        if (entry.contains(QLatin1Char('|'))) {
            sst += "<si>";
            for (const QString &run : entry.split(QLatin1Char('|')))
                sst += "<r><rPr><b/></rPr><t>" + xmlEscaped(run).toUtf8() + "</t></r>";
            sst += "</si>";
        } else {
            sst += "<si><t>" + xmlEscaped(entry).toUtf8() + "</t></si>";
        }
    }
    sst += "</sst>";
    const QByteArray sheet = QByteArray("<?xml version=\"1.0\"?><worksheet xmlns=\"") + S
                             + "\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\"><v>12345</v></c>"
                               "<c r=\"C1\" t=\"inlineStr\"><is><t>"
                             + xmlEscaped(inlineString).toUtf8() + "</t></is></c></row></sheetData></worksheet>";
    const QByteArray workbook = QByteArray("<?xml version=\"1.0\"?><workbook xmlns=\"") + S
                                + "\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\"/></sheets></workbook>";
    return writeZip(path, {{QStringLiteral("xl/workbook.xml"), workbook},
                           {QStringLiteral("xl/sharedStrings.xml"), sst},
                           {QStringLiteral("xl/worksheets/sheet1.xml"), sheet}});
}

bool SampleDocuments::writePptx(const QString &path, const QStringList &slides, const QStringList &notes)
{
    QList<QPair<QString, QByteArray>> members;
    members.append({QStringLiteral("ppt/presentation.xml"),
                    QByteArray("<?xml version=\"1.0\"?><p:presentation xmlns:p=\"") + P + "\"/>"});
    for (int i = 0; i < slides.size(); ++i) {
        const QString n = QString::number(i + 1);
        members.append({QStringLiteral("ppt/slides/slide%1.xml").arg(n),
                        QByteArray("<?xml version=\"1.0\"?><p:sld xmlns:a=\"") + A + "\" xmlns:p=\"" + P
                            + "\"><p:cSld><p:spTree><p:sp>" + drawingText(slides.at(i))
                            + "</p:sp></p:spTree></p:cSld></p:sld>"});
        if (i < notes.size() && !notes.at(i).isEmpty()) {
            // Notes numbered in reverse, so that only the relationship links them to their slide.
            const QString m = QString::number(slides.size() - i);
            members.append({QStringLiteral("ppt/slides/_rels/slide%1.xml.rels").arg(n),
                            QStringLiteral("<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                           "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/notesSlide\" "
                                           "Target=\"../notesSlides/notesSlide%1.xml\"/></Relationships>")
                                .arg(m)
                                .toUtf8()});
            members.append({QStringLiteral("ppt/notesSlides/notesSlide%1.xml").arg(m),
                            QByteArray("<?xml version=\"1.0\"?><p:notes xmlns:a=\"") + A + "\" xmlns:p=\"" + P
                                + "\"><p:cSld><p:spTree><p:sp>" + drawingText(notes.at(i))
                                + "</p:sp></p:spTree></p:cSld></p:notes>"});
        }
    }
    return writeZip(path, members);
}

bool SampleDocuments::writePdf(const QString &path, const QStringList &pages)
{
    QPdfWriter writer(path);
    writer.setResolution(300);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(12);
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        painter.drawText(QRect(100, 100, 2000, 400), Qt::AlignLeft | Qt::AlignTop, pages.at(i));
    }
    return painter.end();
}

namespace {
// Paragraph text with its line breaks as breaks inside the paragraph.
QByteArray wordParagraphWithBreaks(const QString &text)
{
    QByteArray xml = "<w:p>";
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        xml += "<w:r>";
        if (i > 0)
            xml += "<w:br/>";
        xml += "<w:t xml:space=\"preserve\">" + SampleDocuments::xmlEscaped(lines.at(i)).toUtf8() + "</w:t></w:r>";
    }
    return xml + "</w:p>";
}

QByteArray drawingParagraphs(const QString &text)
{
    QByteArray xml;
    for (const QString &line : text.split(QLatin1Char('\n')))
        xml += "<a:p><a:r><a:t>" + SampleDocuments::xmlEscaped(line).toUtf8() + "</a:t></a:r></a:p>";
    return xml;
}

// "A", "B", ... "Z", "AA" for column index 0, 1, ...
QByteArray columnName(int column)
{
    QByteArray name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(static_cast<char>('A' + (c - 1) % 26));
    return name;
}
} // namespace

bool SampleDocuments::writeDocxBlocks(const QString &path, const QList<Block> &blocks)
{
    QByteArray document = QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document xmlns:w=\"")
                          + W + "\"><w:body>";
    for (const Block &block : blocks) {
        if (block.rows.isEmpty()) {
            document += wordParagraphWithBreaks(block.paragraph);
            continue;
        }
        document += "<w:tbl>";
        for (const QStringList &row : block.rows) {
            document += "<w:tr>";
            for (const QString &cell : row)
                document += "<w:tc>" + wordParagraphWithBreaks(cell) + "</w:tc>";
            document += "</w:tr>";
        }
        document += "</w:tbl>";
    }
    document += "</w:body></w:document>";
    const QByteArray types = "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                             "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
    return writeZip(path, {{QStringLiteral("[Content_Types].xml"), types}, {QStringLiteral("word/document.xml"), document}});
}

bool SampleDocuments::writeXlsxSheets(const QString &path, const QList<Sheet> &sheets)
{
    QStringList strings;
    QHash<QString, int> index;
    QList<QPair<QString, QByteArray>> members;
    QByteArray workbook = QByteArray("<?xml version=\"1.0\"?><workbook xmlns=\"") + S + "\"><sheets>";
    for (int s = 0; s < sheets.size(); ++s) {
        workbook += "<sheet name=\"" + xmlEscaped(sheets.at(s).name).toUtf8() + "\" sheetId=\"" + QByteArray::number(s + 1) + "\"/>";
        QByteArray sheet = QByteArray("<?xml version=\"1.0\"?><worksheet xmlns=\"") + S + "\"><sheetData>";
        for (int r = 0; r < sheets.at(s).rows.size(); ++r) {
            sheet += "<row r=\"" + QByteArray::number(r + 1) + "\">";
            const QList<Cell> &row = sheets.at(s).rows.at(r);
            for (int c = 0; c < row.size(); ++c) {
                const QByteArray ref = columnName(c) + QByteArray::number(r + 1);
                const Cell &cell = row.at(c);
                if (cell.text.isEmpty())
                    continue;
                if (cell.number) {
                    sheet += "<c r=\"" + ref + "\"><v>" + cell.text.toUtf8() + "</v></c>";
                    continue;
                }
                if (!index.contains(cell.text)) {
                    index.insert(cell.text, strings.size());
                    strings.append(cell.text);
                }
                sheet += "<c r=\"" + ref + "\" t=\"s\"><v>" + QByteArray::number(index.value(cell.text)) + "</v></c>";
            }
            sheet += "</row>";
        }
        sheet += "</sheetData></worksheet>";
        members.append({QStringLiteral("xl/worksheets/sheet%1.xml").arg(s + 1), sheet});
    }
    workbook += "</sheets></workbook>";
    QByteArray sst = QByteArray("<?xml version=\"1.0\"?><sst xmlns=\"") + S + "\" count=\"" + QByteArray::number(strings.size())
                     + "\" uniqueCount=\"" + QByteArray::number(strings.size()) + "\">";
    for (const QString &text : strings)
        sst += "<si><t xml:space=\"preserve\">" + xmlEscaped(text).toUtf8() + "</t></si>";
    sst += "</sst>";
    members.prepend({QStringLiteral("xl/sharedStrings.xml"), sst});
    members.prepend({QStringLiteral("xl/workbook.xml"), workbook});
    return writeZip(path, members);
}

bool SampleDocuments::writePptxBlocks(const QString &path, const QList<QList<Block>> &slides)
{
    QList<QPair<QString, QByteArray>> members;
    members.append({QStringLiteral("ppt/presentation.xml"),
                    QByteArray("<?xml version=\"1.0\"?><p:presentation xmlns:p=\"") + P + "\"/>"});
    for (int i = 0; i < slides.size(); ++i) {
        QByteArray tree;
        for (const Block &block : slides.at(i)) {
            if (block.rows.isEmpty()) {
                tree += "<p:sp><p:txBody>" + drawingParagraphs(block.paragraph) + "</p:txBody></p:sp>";
                continue;
            }
            tree += "<p:graphicFrame><a:graphic><a:graphicData><a:tbl>";
            for (const QStringList &row : block.rows) {
                tree += "<a:tr>";
                for (const QString &cell : row)
                    tree += "<a:tc><a:txBody>" + drawingParagraphs(cell) + "</a:txBody></a:tc>";
                tree += "</a:tr>";
            }
            tree += "</a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
        }
        members.append({QStringLiteral("ppt/slides/slide%1.xml").arg(i + 1),
                        QByteArray("<?xml version=\"1.0\"?><p:sld xmlns:a=\"") + A + "\" xmlns:p=\"" + P
                            + "\"><p:cSld><p:spTree>" + tree + "</p:spTree></p:cSld></p:sld>"});
    }
    return writeZip(path, members);
}

bool SampleDocuments::writePdfLines(const QString &path, const QStringList &lines)
{
    QPdfWriter writer(path);
    writer.setResolution(150);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(10);
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const int margin = 90;
    int y = margin;
    for (const QString &line : lines) {
        if (y + lineHeight > writer.height() - margin) {
            writer.newPage();
            y = margin;
        }
        painter.drawText(QPoint(margin, y + painter.fontMetrics().ascent()), line);
        y += lineHeight;
    }
    return painter.end();
}

bool SampleDocuments::writePdfBlocks(const QString &path, const QList<Block> &blocks)
{
    QPdfWriter writer(path);
    writer.setResolution(150);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const int margin = 90;
    const int width = writer.width() - 2 * margin;
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(10);
    font.setStyleStrategy(QFont::PreferNoShaping);
    int y = margin;
    // Starts a new page when a line of this height no longer fits.
    auto room = [&](int height) {
        if (y + height > writer.height() - margin) {
            writer.newPage();
            y = margin;
        }
    };
    for (const Block &block : blocks) {
        painter.setFont(font);
        const QFontMetrics metrics = painter.fontMetrics();
        if (block.rows.isEmpty()) {
            for (const QString &text : block.paragraph.split(QLatin1Char('\n'))) {
                QString line;
                for (int i = 0; i <= text.size(); ++i) {
                    if (i == text.size() || metrics.horizontalAdvance(line + text.at(i)) > width) {
                        room(metrics.lineSpacing());
                        painter.drawText(QPoint(margin, y + metrics.ascent()), line);
                        y += metrics.lineSpacing();
                        line.clear();
                    }
                    if (i < text.size())
                        line += text.at(i);
                }
            }
            continue;
        }
        // Columns at 10 points; a table wider than the page in a smaller font.
        auto columns = [&block](const QFontMetrics &m) {
            QVector<int> widths;
            for (const QStringList &row : block.rows) {
                for (int c = 0; c < row.size(); ++c) {
                    if (widths.size() <= c)
                        widths.append(0);
                    widths[c] = qMax(widths.at(c), m.horizontalAdvance(row.at(c)) + 2 * m.height());
                }
            }
            return widths;
        };
        QVector<int> widths = columns(metrics);
        int total = 0;
        for (int w : widths)
            total += w;
        if (total > width) {
            QFont smaller = font;
            smaller.setPointSizeF(qMax(3.0, font.pointSizeF() * width / total));
            painter.setFont(smaller);
            widths = columns(painter.fontMetrics());
        }
        const QFontMetrics tableMetrics = painter.fontMetrics();
        for (const QStringList &row : block.rows) {
            room(tableMetrics.lineSpacing() * 3 / 2);
            int x = margin;
            for (int c = 0; c < row.size(); ++c) {
                painter.drawText(QPoint(x, y + tableMetrics.ascent()), row.at(c));
                x += widths.at(c);
            }
            y += tableMetrics.lineSpacing() * 3 / 2;
        }
        y += metrics.lineSpacing();
    }
    return painter.end();
}

bool SampleDocuments::writePdfUnembeddedCjk(const QString &path, const QStringList &lines)
{
    const int linesPerPage = 50;
    QList<QByteArray> contents;
    for (int first = 0; first == 0 || first < lines.size(); first += linesPerPage) {
        QByteArray stream = "BT /F1 10 Tf 14 TL 40 800 Td\n";
        for (int i = first; i < qMin(first + linesPerPage, lines.size()); ++i) {
            QByteArray hex;
            for (const QChar c : lines.at(i)) {
                if (c.isSurrogate())
                    continue;
                hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
            }
            stream += "<" + hex + "> Tj T*\n";
        }
        stream += "ET";
        contents.append(stream);
    }
    // Objects: 1 catalog, 2 pages, 3 Type0 font, 4 CID font, 5 descriptor, then page and content pairs.
    QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>", QByteArray(),
                              "<< /Type /Font /Subtype /Type0 /BaseFont /STSong-Light /Encoding /UniGB-UCS2-H /DescendantFonts [4 0 R] >>",
                              "<< /Type /Font /Subtype /CIDFontType0 /BaseFont /STSong-Light "
                              "/CIDSystemInfo << /Registry (Adobe) /Ordering (GB1) /Supplement 2 >> /FontDescriptor 5 0 R /DW 1000 >>",
                              "<< /Type /FontDescriptor /FontName /STSong-Light /Flags 6 /FontBBox [-25 -254 1000 880] "
                              "/ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 880 /StemV 93 >>"};
    QByteArray kids;
    for (int p = 0; p < contents.size(); ++p) {
        const int page = objects.size() + 1;
        kids += QByteArray::number(page) + " 0 R ";
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >> >> /Contents "
                       + QByteArray::number(page + 1) + " 0 R >>");
        objects.append("<< /Length " + QByteArray::number(contents.at(p).size()) + " >>\nstream\n" + contents.at(p) + "\nendstream");
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids.trimmed() + "] /Count " + QByteArray::number(contents.size()) + " >>";
    QByteArray pdf("%PDF-1.4\n");
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const int xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(xref) + "\n%%EOF\n";
    return writeFile(path, pdf);
}

namespace {
void put16(QByteArray &out, quint32 v)
{
    out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
void put32(QByteArray &out, quint32 v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void pad(QByteArray &out, int size)
{
    if (out.size() < size)
        out.append(QByteArray(size - out.size(), '\0'));
}

// A directory entry of a compound file (128 bytes).
QByteArray directoryEntry(const QString &name, int type, quint32 start, quint32 size, quint32 child, quint32 right)
{
    const quint32 none = 0xFFFFFFFF;
    QByteArray entry;
    for (const QChar c : name)
        put16(entry, c.unicode());
    put16(entry, 0);
    const int nameBytes = entry.size();
    pad(entry, 64);
    put16(entry, quint32(nameBytes));
    entry.append(char(type)).append(char(1)); // type, black
    put32(entry, none);                      // left sibling
    put32(entry, right);
    put32(entry, child);
    entry.append(QByteArray(16 + 4 + 16, '\0')); // class id, state bits, times
    put32(entry, start);
    put32(entry, size);
    put32(entry, 0);
    return entry;
}
} // namespace

bool SampleDocuments::writeWordDoc(const QString &path, const QStringList &lines)
{
    const int sector = 512, miniCutoff = 4096, textStart = 0x800;
    const quint32 endOfChain = 0xFFFFFFFE, freeSector = 0xFFFFFFFF, fatSector = 0xFFFFFFFD, none = 0xFFFFFFFF;
    // Word ends paragraphs with a carriage return.
    const QString text = lines.join(QLatin1Char('\r')) + QLatin1Char('\r');
    QByteArray body;
    for (const QChar c : text)
        put16(body, c.unicode());

    // The table stream: the piece table (one UTF-16 piece at textStart) after 0x40 bytes.
    QByteArray plc;
    put32(plc, 0);
    put32(plc, quint32(text.size()));
    put16(plc, 0);
    put32(plc, quint32(textStart)); // no 0x40000000 flag: UTF-16 text
    put16(plc, 0);
    QByteArray clx("\x02");
    put32(clx, quint32(plc.size()));
    clx += plc;
    QByteArray table(0x40, '\0');
    table += clx;
    pad(table, miniCutoff);

    // The FIB: base, 14 short words, 22 long words, 93 fc/lcb pairs, no newer part.
    QByteArray word;
    put16(word, 0xA5EC); // wIdent
    put16(word, 0x00C1); // nFib
    put16(word, 0);
    put16(word, 0x0409); // lid
    pad(word, 0x0A);
    put16(word, 0x0200); // fWhichTblStm: the table is 1Table
    put16(word, 0x00BF); // nFibBack
    pad(word, 32);
    put16(word, 14);
    word.append(QByteArray(28, '\0'));
    put16(word, 22);
    for (int i = 0; i < 22; ++i)
        put32(word, i == 0 ? quint32(textStart + body.size()) : i == 3 ? quint32(text.size()) : 0);
    put16(word, 93);
    for (int i = 0; i < 93; ++i) {
        put32(word, i == 33 ? 0x40 : 0); // fcClx
        put32(word, i == 33 ? quint32(clx.size()) : 0);
    }
    put16(word, 0);
    pad(word, textStart);
    word += body;
    pad(word, miniCutoff);

    // The compound file: header, FAT, one directory sector, then the streams
    // ("1Table" before "WordDocument": the directory orders names by length).
    const QList<QPair<QString, QByteArray>> streams{{QStringLiteral("1Table"), table}, {QStringLiteral("WordDocument"), word}};
    QList<int> sectorsOf;
    int dataSectors = 1;
    for (const auto &stream : streams) {
        sectorsOf.append((stream.second.size() + sector - 1) / sector);
        dataSectors += sectorsOf.last();
    }
    int fatSectors = 1;
    while (fatSectors * (sector / 4) < fatSectors + dataSectors)
        ++fatSectors;
    if (fatSectors > 109)
        return false;
    QList<quint32> fat;
    for (int i = 0; i < fatSectors; ++i)
        fat.append(fatSector);
    const quint32 directoryStart = quint32(fat.size());
    fat.append(endOfChain);
    QList<quint32> starts;
    for (int count : sectorsOf) {
        const quint32 start = quint32(fat.size());
        starts.append(start);
        for (int k = 0; k + 1 < count; ++k)
            fat.append(start + quint32(k) + 1);
        fat.append(endOfChain);
    }
    while (fat.size() < fatSectors * (sector / 4))
        fat.append(freeSector);

    QByteArray entries = directoryEntry(QStringLiteral("Root Entry"), 5, endOfChain, 0, 1, none);
    for (int k = 0; k < streams.size(); ++k)
        entries += directoryEntry(streams.at(k).first, 2, starts.at(k), quint32(streams.at(k).second.size()), none,
                                  k + 1 < streams.size() ? quint32(k + 2) : none);
    pad(entries, sector);

    QByteArray out("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    out.append(QByteArray(16, '\0'));
    put16(out, 0x003E);
    put16(out, 0x0003);
    put16(out, 0xFFFE);
    put16(out, 9);
    put16(out, 6);
    out.append(QByteArray(6, '\0'));
    put32(out, 0);
    put32(out, quint32(fatSectors));
    put32(out, directoryStart);
    put32(out, 0);
    put32(out, quint32(miniCutoff));
    put32(out, endOfChain);
    put32(out, 0);
    put32(out, endOfChain);
    put32(out, 0);
    for (int i = 0; i < 109; ++i)
        put32(out, i < fatSectors ? quint32(i) : freeSector);
    for (quint32 v : fat)
        put32(out, v);
    out += entries;
    for (const auto &stream : streams) {
        out += stream.second;
        pad(out, out.size() + (sector - stream.second.size() % sector) % sector);
    }
    return writeFile(path, out);
}
