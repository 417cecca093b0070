#ifndef SCANPOLICY_H
#define SCANPOLICY_H

#include "policyruleset.h"

#include <QJsonObject>
#include <QString>

// One named policy of the policy document.
struct ScanPolicy
{
    QString name;
    QString description;
    PolicyRuleset ruleset;

    QJsonObject toJson() const;
};

#endif // SCANPOLICY_H
