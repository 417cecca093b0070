#ifndef SENSITIVERULEDETAIL_H
#define SENSITIVERULEDETAIL_H

#include "sensitivefiledetail.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// One detection rule of a privacy category and the files it matched, in
// document order.
struct SensitiveRuleDetail
{
    QString rulename;
    QList<SensitiveFileDetail> rulesensitives;

    bool operator==(const SensitiveRuleDetail &other) const
    {
        return rulename == other.rulename && rulesensitives == other.rulesensitives;
    }
    bool operator!=(const SensitiveRuleDetail &other) const { return !(*this == other); }
};

// Reads "rulename" and the array "rulesensitives" (each element through
// parseSensitiveFileDetail), as tolerantly as parseSensitiveFileDetail.
SensitiveRuleDetail parseSensitiveRuleDetail(const QJsonObject &object);

#endif // SENSITIVERULEDETAIL_H
