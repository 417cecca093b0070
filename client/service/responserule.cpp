#include "responserule.h"

QJsonObject ResponseRule::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("name"), name);
    object.insert(QStringLiteral("description"), description);
    object.insert(QStringLiteral("action"), action);
    return object;
}
