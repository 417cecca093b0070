#ifndef DETECTRULESET_H
#define DETECTRULESET_H

#include "filetypedetectrule.h"
#include "keyworddetectrule.h"

#include <QJsonObject>
#include <QList>

// What the service looks for: the file types to open, the keyword rules and
// whether its own data-identifier (personal data) rules apply.
struct DetectRuleset
{
    QList<FiletypeDetectRule> filetypeRules;
    QList<KeywordDetectRule> keywordRules;
    bool dataIdentifier = false;

    QJsonObject toJson() const;
};

#endif // DETECTRULESET_H
