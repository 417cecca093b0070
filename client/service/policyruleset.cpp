#include "policyruleset.h"

#include <QJsonArray>

QJsonObject PolicyRuleset::toJson() const
{
    QJsonArray responses;
    for (const ResponseRule &rule : responseRules)
        responses.append(rule.toJson());
    QJsonObject object;
    object.insert(QStringLiteral("detect_ruleset"), detectRuleset.toJson());
    object.insert(QStringLiteral("response_ruleset"), responses);
    return object;
}
