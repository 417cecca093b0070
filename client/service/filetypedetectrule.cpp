#include "filetypedetectrule.h"

#include <QJsonArray>

QJsonObject FiletypeDetectRule::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("name"), name);
    object.insert(QStringLiteral("description"), description);
    object.insert(QStringLiteral("filetypes"), QJsonArray::fromStringList(fileTypes));
    object.insert(QStringLiteral("matchcondition"), matchCondition);
    object.insert(QStringLiteral("exception"), exception);
    return object;
}
