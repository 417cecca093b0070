#include "detectruleset.h"

#include <QJsonArray>

QJsonObject DetectRuleset::toJson() const
{
    QJsonArray filetypes;
    for (const FiletypeDetectRule &rule : filetypeRules)
        filetypes.append(rule.toJson());
    QJsonArray keywords;
    for (const KeywordDetectRule &rule : keywordRules)
        keywords.append(rule.toJson());
    QJsonObject object;
    object.insert(QStringLiteral("filetype_detect_ruleset"), filetypes);
    object.insert(QStringLiteral("keyword_detect_ruleset"), keywords);
    object.insert(QStringLiteral("dataidentifier_detect_ruleset"), dataIdentifier);
    return object;
}
