#include "sensitivegroupdetail.h"

#include <QJsonArray>
#include <QJsonValue>

SensitiveGroupDetail parseSensitiveGroupDetail(const QJsonObject &object)
{
    SensitiveGroupDetail detail;
    detail.groupname = object.value(QLatin1String("groupname")).toString();
    const QJsonArray rules = object.value(QLatin1String("groupsensitives")).toArray();
    detail.groupsensitives.reserve(rules.size());
    for (const QJsonValue &rule : rules)
        detail.groupsensitives.append(parseSensitiveRuleDetail(rule.toObject()));
    return detail;
}
