#include "scanpolicy.h"

QJsonObject ScanPolicy::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("name"), name);
    object.insert(QStringLiteral("description"), description);
    object.insert(QStringLiteral("ruleset"), ruleset.toJson());
    return object;
}
