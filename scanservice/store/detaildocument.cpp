#include "detaildocument.h"

#include "jsonstring.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

void DetailDocument::appendString(QByteArray &json, const char *utf8, int length)
{
    JsonString::append(json, utf8, length);
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
