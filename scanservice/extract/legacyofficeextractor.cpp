#include "legacyofficeextractor.h"

#include "compoundfile.h"
#include "scanlimits.h"

#include <QString>
#include <QTextCodec>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

quint32 u32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 u16(const char *p) { return qFromLittleEndian<quint16>(p); }

// Collects text and hands it to the sink as UTF-8 in pieces.
class Output
{
public:
    explicit Output(TextSink &sink)
        : m_sink(sink)
    {
    }
    void append(QChar c)
    {
        m_text.append(c);
        if (m_text.size() >= 32768)
            flush();
    }
    void append(const QString &text)
    {
        m_text.append(text);
        if (m_text.size() >= 32768)
            flush();
    }
    void endLine()
    {
        if (!m_text.isEmpty() && !m_text.endsWith(QLatin1Char('\n')))
            m_text.append(QLatin1Char('\n'));
    }
    bool flush()
    {
        if (m_ok && !m_text.isEmpty()) {
            const QByteArray utf8 = m_text.toUtf8();
            m_ok = m_sink.write(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        }
        m_text.clear();
        return m_ok;
    }
    bool ok() const { return m_ok; }

private:
    TextSink &m_sink;
    QString m_text;
    bool m_ok = true;
};

// Word's text as the reader shows it: control characters become line
// breaks or disappear, field codes are left out, field results kept.
class WordText
{
public:
    explicit WordText(Output &out)
        : m_out(out)
    {
    }
    void put(char16_t c)
    {
        switch (c) {
        case 0x13: // field begins: its code follows
            ++m_fieldDepth;
            m_inCode.append(true);
            return;
        case 0x14: // field separator: the result follows
            if (!m_inCode.isEmpty())
                m_inCode.last() = false;
            return;
        case 0x15: // field ends
            if (!m_inCode.isEmpty())
                m_inCode.removeLast();
            return;
        default:
            break;
        }
        if (!m_inCode.isEmpty() && m_inCode.last())
            return;
        switch (c) {
        case 0x0D:
        case 0x0B:
        case 0x0C:
            m_out.append(QLatin1Char('\n'));
            break;
        case 0x07:
            m_out.append(QLatin1Char('\t'));
            break;
        case 0x09:
            m_out.append(QLatin1Char('\t'));
            break;
        case 0x1E:
            m_out.append(QLatin1Char('-'));
            break;
        default:
            if (c >= 0x20 && c != 0xFFFF)
                m_out.append(QChar(c));
            break;
        }
    }

private:
    Output &m_out;
    int m_fieldDepth = 0;
    QVector<bool> m_inCode;
};

ExtractStatus readDoc(const CompoundFile &file, Output &out)
{
    QByteArray word;
    if (!file.stream(QStringLiteral("WordDocument"), &word, Limits::MaxDocumentFileBytes) || word.size() < 0x200)
        return ExtractStatus::Corrupt;
    const char *fib = word.constData();
    if (u16(fib) != 0xA5EC)
        return ExtractStatus::Corrupt;
    const quint16 nFib = u16(fib + 2);
    const quint16 flags = u16(fib + 0x0A);
    if (flags & 0x0100)
        return ExtractStatus::Encrypted;
    if (nFib < 0xC1)
        return ExtractStatus::Corrupt; // Word 6 and older
    // The variable parts of the FIB: csw 16-bit words, cslw 32-bit words, then the fc/lcb pairs.
    int at = 32;
    const int csw = u16(fib + at);
    at += 2 + csw * 2;
    if (at + 2 > word.size())
        return ExtractStatus::Corrupt;
    const int cslw = u16(fib + at);
    at += 2 + cslw * 4;
    if (at + 2 > word.size())
        return ExtractStatus::Corrupt;
    const int pairs = u16(fib + at);
    at += 2;
    if (pairs < 34 || at + 34 * 8 > word.size())
        return ExtractStatus::Corrupt;
    const quint32 fcClx = u32(fib + at + 33 * 8);
    const quint32 lcbClx = u32(fib + at + 33 * 8 + 4);
    QByteArray table;
    const QString tableName = (flags & 0x0200) ? QStringLiteral("1Table") : QStringLiteral("0Table");
    if (!file.stream(tableName, &table, Limits::MaxDocumentFileBytes))
        return ExtractStatus::Corrupt;
    if (lcbClx == 0 || quint64(fcClx) + lcbClx > quint64(table.size()))
        return ExtractStatus::Corrupt;
    // The Clx: property runs (0x01) to skip, then the piece table (0x02).
    // Positions are 64-bit so that a crafted length cannot wrap a bounds check.
    const char *clx = table.constData() + fcClx;
    quint64 pos = 0;
    while (pos < lcbClx && clx[pos] == 0x01) {
        if (pos + 3 > lcbClx)
            return ExtractStatus::Corrupt;
        pos += 3 + quint64(u16(clx + pos + 1));
    }
    if (pos + 5 > lcbClx || clx[pos] != 0x02)
        return ExtractStatus::Corrupt;
    const quint64 lcb = u32(clx + pos + 1);
    pos += 5;
    // The piece table: n + 1 character positions (4 bytes each), then n
    // piece descriptors of 8 bytes (2 bytes of flags, the 4-byte fc, 2 bytes prm).
    constexpr quint64 CpBytes = 4;
    constexpr quint64 PcdBytes = 8;
    if (lcb < CpBytes || pos + lcb > lcbClx || (lcb - CpBytes) % (CpBytes + PcdBytes) != 0)
        return ExtractStatus::Corrupt;
    const quint64 pieces = (lcb - CpBytes) / (CpBytes + PcdBytes);
    const char *cps = clx + pos;
    const char *pcds = cps + CpBytes * (pieces + 1);
    QTextCodec *ansi = QTextCodec::codecForName("Windows-1252");
    WordText text(out);
    for (quint64 i = 0; i < pieces; ++i) {
        const quint32 cpStart = u32(cps + CpBytes * i);
        const quint32 cpEnd = u32(cps + CpBytes * (i + 1));
        if (cpEnd < cpStart)
            return ExtractStatus::Corrupt;
        const quint32 count = cpEnd - cpStart;
        const quint32 fcValue = u32(pcds + PcdBytes * i + 2);
        const bool compressed = fcValue & 0x40000000u;
        const quint32 fc = fcValue & 0x3FFFFFFFu;
        if (compressed) {
            const quint64 offset = fc / 2;
            if (offset + count > quint64(word.size()))
                return ExtractStatus::Corrupt;
            const QString piece = ansi ? ansi->toUnicode(word.constData() + offset, static_cast<int>(count))
                                       : QString::fromLatin1(word.constData() + offset, static_cast<int>(count));
            for (QChar c : piece)
                text.put(c.unicode());
        } else {
            if (quint64(fc) + 2 * quint64(count) > quint64(word.size()))
                return ExtractStatus::Corrupt;
            const char *p = word.constData() + fc;
            for (quint32 k = 0; k < count; ++k)
                text.put(u16(p + 2 * k));
        }
        if (!out.flush())
            return ExtractStatus::Stopped;
    }
    out.endLine();
    return out.flush() ? ExtractStatus::Ok : ExtractStatus::Stopped;
}

// The records of a BIFF8 workbook, with CONTINUE records joined to the
// record they continue (and their boundaries kept, as strings need them).
class BiffReader
{
public:
    explicit BiffReader(const QByteArray &stream)
        : m_stream(stream)
    {
    }
    // Moves to the next record; false at the end or on damage.
    bool next()
    {
        if (m_next + 4 > m_stream.size())
            return false;
        type = u16(m_stream.constData() + m_next);
        int length = u16(m_stream.constData() + m_next + 2);
        int at = m_next + 4;
        if (at + length > m_stream.size())
            return false;
        data = QByteArray::fromRawData(m_stream.constData() + at, length);
        breaks.clear();
        int after = at + length;
        // Gather CONTINUE records.
        QByteArray joined;
        while (after + 4 <= m_stream.size() && u16(m_stream.constData() + after) == 0x003C) {
            const int more = u16(m_stream.constData() + after + 2);
            if (after + 4 + more > m_stream.size())
                break;
            if (joined.isEmpty())
                joined = QByteArray(data.constData(), data.size());
            breaks.append(joined.size());
            joined.append(m_stream.constData() + after + 4, more);
            after += 4 + more;
        }
        if (!joined.isEmpty())
            data = joined;
        m_next = after;
        return true;
    }
    quint16 type = 0;
    QByteArray data;
    QVector<int> breaks; // offsets in data where a CONTINUE record began

private:
    const QByteArray &m_stream;
    int m_next = 0;
};

// Reads an XLUnicodeRichExtendedString at *at; false when the data ends.
bool biffString(const QByteArray &data, const QVector<int> &breaks, int *at, QString *out, bool lengthIs16 = true)
{
    const char *p = data.constData();
    int pos = *at;
    const int headerSize = lengthIs16 ? 3 : 2;
    if (pos + headerSize > data.size())
        return false;
    const int cch = lengthIs16 ? u16(p + pos) : static_cast<unsigned char>(p[pos]);
    pos += lengthIs16 ? 2 : 1;
    quint8 flags = static_cast<quint8>(p[pos++]);
    int runs = 0;
    qint64 ext = 0;
    if (flags & 0x08) {
        if (pos + 2 > data.size())
            return false;
        runs = u16(p + pos);
        pos += 2;
    }
    if (flags & 0x04) {
        if (pos + 4 > data.size())
            return false;
        ext = u32(p + pos);
        pos += 4;
    }
    out->clear();
    int read = 0;
    while (read < cch) {
        // Characters run to the next CONTINUE boundary, where a new flags byte says their width.
        int boundary = data.size();
        for (int b : breaks) {
            if (b > pos) {
                boundary = b;
                break;
            }
        }
        const bool wide = flags & 0x01;
        while (read < cch && pos + (wide ? 2 : 1) <= boundary) {
            out->append(QChar(wide ? u16(p + pos) : static_cast<unsigned char>(p[pos])));
            pos += wide ? 2 : 1;
            ++read;
        }
        if (read < cch) {
            if (pos != boundary || pos >= data.size())
                return false;
            flags = static_cast<quint8>(p[pos++]);
        }
    }
    const qint64 skip = qint64(runs) * 4 + ext;
    if (pos + skip > data.size())
        return false;
    *at = pos + static_cast<int>(skip);
    return true;
}

QString number(double value)
{
    if (std::isfinite(value) && std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

double rkValue(quint32 rk)
{
    double value;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<qint32>(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

ExtractStatus readXls(const CompoundFile &file, Output &out)
{
    QByteArray book;
    if (!file.stream(QStringLiteral("Workbook"), &book, Limits::MaxDocumentFileBytes))
        return ExtractStatus::Corrupt; // "Book" is Excel 5 and older
    BiffReader reader(book);
    bool first = true;
    while (reader.next()) {
        const QByteArray &d = reader.data;
        const char *p = d.constData();
        if (first) {
            first = false;
            if (reader.type != 0x0809 || d.size() < 2 || u16(p) != 0x0600)
                return ExtractStatus::Corrupt; // not BIFF8
        }
        QString text;
        switch (reader.type) {
        case 0x002F: // FILEPASS
            return ExtractStatus::Encrypted;
        case 0x0085: { // BOUNDSHEET: the sheet's name
            int at = 6;
            if (d.size() > 6 && biffString(d, reader.breaks, &at, &text, false)) {
                out.append(text);
                out.endLine();
            }
            break;
        }
        case 0x00FC: { // SST
            if (d.size() < 8)
                return ExtractStatus::Corrupt;
            const quint32 unique = u32(p + 4);
            int at = 8;
            for (quint32 i = 0; i < unique && at < d.size(); ++i) {
                if (!biffString(d, reader.breaks, &at, &text))
                    break;
                out.append(text);
                out.endLine();
            }
            break;
        }
        case 0x0204: // LABEL
        case 0x0207: { // STRING (a formula's result)
            int at = reader.type == 0x0204 ? 6 : 0;
            if (biffString(d, reader.breaks, &at, &text)) {
                out.append(text);
                out.endLine();
            }
            break;
        }
        case 0x0203: // NUMBER
            if (d.size() >= 14) {
                double value;
                std::memcpy(&value, p + 6, sizeof value);
                out.append(number(qFromLittleEndian(value)));
                out.endLine();
            }
            break;
        case 0x027E: // RK
            if (d.size() >= 10) {
                out.append(number(rkValue(u32(p + 6))));
                out.endLine();
            }
            break;
        case 0x00BD: // MULRK
            for (int at = 4; at + 6 <= d.size() - 2; at += 6) {
                out.append(number(rkValue(u32(p + at + 2))));
                out.endLine();
            }
            break;
        default:
            break;
        }
        if (!out.ok())
            return ExtractStatus::Stopped;
    }
    return out.flush() ? ExtractStatus::Ok : ExtractStatus::Stopped;
}

ExtractStatus readPpt(const CompoundFile &file, Output &out)
{
    QByteArray stream;
    if (!file.stream(QStringLiteral("PowerPoint Document"), &stream, Limits::MaxDocumentFileBytes))
        return ExtractStatus::Corrupt;
    if (file.contains(QStringLiteral("EncryptedSummary")))
        return ExtractStatus::Encrypted;
    const char *p = stream.constData();
    int at = 0;
    bool any = false;
    while (at + 8 <= stream.size()) {
        const quint16 versionAndInstance = u16(p + at);
        const quint16 type = u16(p + at + 2);
        const quint32 length = u32(p + at + 4);
        at += 8;
        if ((versionAndInstance & 0x0F) == 0x0F)
            continue; // a container: its records follow
        if (length > quint32(stream.size() - at))
            break;
        any = true;
        if (type == 0x0FA0) { // TextCharsAtom, UTF-16
            QString text;
            for (quint32 k = 0; k + 1 < length; k += 2) {
                const char16_t c = u16(p + at + k);
                text.append(c == 0x0D || c == 0x0B ? QChar('\n') : QChar(c));
            }
            out.append(text);
            out.endLine();
        } else if (type == 0x0FA8) { // TextBytesAtom, the low bytes of UTF-16
            QString text;
            for (quint32 k = 0; k < length; ++k) {
                const unsigned char c = static_cast<unsigned char>(p[at + k]);
                text.append(c == 0x0D || c == 0x0B ? QChar('\n') : QChar(c));
            }
            out.append(text);
            out.endLine();
        }
        at += static_cast<int>(length);
        if (!out.ok())
            return ExtractStatus::Stopped;
    }
    if (!any)
        return ExtractStatus::Corrupt;
    return out.flush() ? ExtractStatus::Ok : ExtractStatus::Stopped;
}

} // namespace

ExtractStatus LegacyOfficeExtractor::extract(int fd, qint64 size, Kind kind, TextSink &sink)
{
    CompoundFile file;
    if (!file.open(fd, size))
        return ExtractStatus::Corrupt;
    Output out(sink);
    switch (kind) {
    case Kind::Doc:
        return readDoc(file, out);
    case Kind::Xls:
        return readXls(file, out);
    case Kind::Ppt:
        return readPpt(file, out);
    }
    return ExtractStatus::Unsupported;
}
