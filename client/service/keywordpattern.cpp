#include "keywordpattern.h"

QJsonObject KeywordPattern::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("pattern"), pattern);
    object.insert(QStringLiteral("maxmatches"), maxMatches);
    object.insert(QStringLiteral("distinct"), distinct);
    object.insert(QStringLiteral("matchcondition"), matchCondition);
    return object;
}
