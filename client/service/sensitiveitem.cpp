#include "sensitiveitem.h"

#include <QJsonValue>

SensitiveItem parseSensitiveItem(const QJsonObject &object)
{
    SensitiveItem item;
    // QJsonValue::toString() is empty for anything but a string.
    item.sensitive = object.value(QLatin1String("sensitive")).toString();
    item.sensitive_ctx = object.value(QLatin1String("sensitive_ctx")).toString();
    return item;
}
