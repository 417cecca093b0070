#include "sensitiveruledetail.h"

#include <QJsonArray>
#include <QJsonValue>

SensitiveRuleDetail parseSensitiveRuleDetail(const QJsonObject &object)
{
    SensitiveRuleDetail detail;
    detail.rulename = object.value(QLatin1String("rulename")).toString();
    const QJsonArray files = object.value(QLatin1String("rulesensitives")).toArray();
    detail.rulesensitives.reserve(files.size());
    for (const QJsonValue &file : files)
        detail.rulesensitives.append(parseSensitiveFileDetail(file.toObject()));
    return detail;
}
