#include "sensitivefiledetail.h"

#include <QJsonArray>
#include <QJsonValue>

SensitiveFileDetail parseSensitiveFileDetail(const QJsonObject &object)
{
    SensitiveFileDetail detail;
    detail.filepath = object.value(QLatin1String("filepath")).toString();
    // toArray() and toObject() give empty values for anything else.
    const QJsonArray hits = object.value(QLatin1String("sensitives")).toArray();
    detail.sensitives.reserve(hits.size());
    for (const QJsonValue &hit : hits)
        detail.sensitives.append(parseSensitiveItem(hit.toObject()));
    return detail;
}
