#include "keyworddetectrule.h"

#include <QJsonArray>

QJsonObject KeywordDetectRule::toJson() const
{
    QJsonArray patterns;
    for (const KeywordPattern &pattern : keywords)
        patterns.append(pattern.toJson());
    QJsonObject object;
    object.insert(QStringLiteral("name"), name);
    object.insert(QStringLiteral("description"), description);
    object.insert(QStringLiteral("keywords"), patterns);
    object.insert(QStringLiteral("exception"), exception);
    return object;
}
