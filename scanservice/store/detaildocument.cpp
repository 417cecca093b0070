#include "detaildocument.h"

#include "utf8.h"

#include <cstring>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Whether any of the eight bytes at data is below 0x20, '"' or '\\' (the
// usual tests for a zero byte, exact as yes or no).
inline bool needsEscape(const char *data)
{
    constexpr quint64 ones = Q_UINT64_C(0x0101010101010101);
    constexpr quint64 highs = Q_UINT64_C(0x8080808080808080);
    quint64 word;
    std::memcpy(&word, data, 8);
    const quint64 control = (word - ones * 0x20) & ~word & highs;
    const quint64 quote = word ^ (ones * '"');
    const quint64 backslash = word ^ (ones * '\\');
    return (control | ((quote - ones) & ~quote & highs) | ((backslash - ones) & ~backslash & highs)) != 0;
}
} // namespace

void DetailDocument::appendString(QByteArray &json, const char *utf8, int length)
{
    if (!Utf8::isValid(utf8, static_cast<std::size_t>(length), false)) {
        const QByteArray repaired = QString::fromUtf8(utf8, length).toUtf8();
        appendString(json, repaired.constData(), repaired.size());
        return;
    }
    static const char hex[] = "0123456789abcdef";
    json.append('"');
    int plain = 0; // start of the run of characters that need no escape
    for (int i = 0; i < length; ++i) {
        // Eight bytes at a time while none of them is a control character, '"' or '\\'.
        while (i + 8 <= length && !needsEscape(utf8 + i))
            i += 8;
        if (i >= length)
            break;
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        json.append(utf8 + plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"': json.append("\\\"", 2); break;
        case '\\': json.append("\\\\", 2); break;
        case '\n': json.append("\\n", 2); break;
        case '\r': json.append("\\r", 2); break;
        case '\t': json.append("\\t", 2); break;
        default: {
            const char escaped[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
            json.append(escaped, 6);
        }
        }
    }
    json.append(utf8 + plain, length - plain);
    json.append('"');
}

void DetailDocument::appendHit(QByteArray &array, const QByteArray &word, const QByteArray &context)
{
    array.append(array.isEmpty() ? "[{\"sensitive\":" : ",{\"sensitive\":");
    appendString(array, word);
    array.append(",\"sensitive_ctx\":");
    appendString(array, context);
    array.append('}');
}

QString DetailDocument::keyword(const QString &filepath, const QByteArray &hits, const QByteArray &counts)
{
    QByteArray json("{\"filepath\":");
    appendString(json, filepath.toUtf8());
    const qint64 total = counts.isEmpty() ? -1 : totalOf(counts);
    if (total >= 0)
        json.append(",\"total\":").append(QByteArray::number(total));
    json.append(",\"sensitives\":");
    json.append(hits.isEmpty() ? QByteArray("[]") : hits);
    json.append('}');
    return QString::fromUtf8(json);
}

qint64 DetailDocument::totalOf(const QByteArray &counts)
{
    const QJsonDocument document = QJsonDocument::fromJson(counts);
    if (!document.isObject())
        return -1;
    qint64 total = 0;
    const QJsonObject object = document.object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const double value = it.value().toDouble(-1);
        if (!it.value().isDouble() || value < 0 || value != double(qint64(value)))
            return -1;
        total += qint64(value);
    }
    return total;
}

QString DetailDocument::privacy(const QString &groupname, const QByteArray &groups)
{
    QByteArray json("{\"groupname\":");
    appendString(json, groupname.toUtf8());
    json.append(",\"groupsensitives\":");
    json.append(groups.isEmpty() ? QByteArray("[]") : groups);
    json.append('}');
    return QString::fromUtf8(json);
}

QString DetailDocument::emptyPrivacy(const QString &groupname)
{
    const QJsonObject root{{QStringLiteral("groupname"), groupname}, {QStringLiteral("groupsensitives"), QJsonArray()}};
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}
