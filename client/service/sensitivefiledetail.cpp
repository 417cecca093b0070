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
    // Doubles hold whole numbers exactly up to 2^53; beyond that, or for a
    // fraction or a negative number, the total is not believed.
    const QJsonValue total = object.value(QLatin1String("total"));
    const double number = total.toDouble(-1);
    if (total.isDouble() && number >= 0 && number <= 9007199254740992.0 && number == qint64(number))
        detail.total = qint64(number);
    return detail;
}
