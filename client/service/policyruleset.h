#ifndef POLICYRULESET_H
#define POLICYRULESET_H

#include "detectruleset.h"
#include "responserule.h"

#include <QJsonObject>
#include <QList>

// The rules of a policy: what to detect and how to respond.
struct PolicyRuleset
{
    DetectRuleset detectRuleset;
    QList<ResponseRule> responseRules;

    QJsonObject toJson() const;
};

#endif // POLICYRULESET_H
