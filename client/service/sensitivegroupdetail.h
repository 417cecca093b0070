#ifndef SENSITIVEGROUPDETAIL_H
#define SENSITIVEGROUPDETAIL_H

#include "sensitiveruledetail.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// The privacy detail document: one category and its rules that had hits, in
// document order. A file matched by two rules appears under both.
struct SensitiveGroupDetail
{
    QString groupname;
    QList<SensitiveRuleDetail> groupsensitives;

    bool operator==(const SensitiveGroupDetail &other) const
    {
        return groupname == other.groupname && groupsensitives == other.groupsensitives;
    }
    bool operator!=(const SensitiveGroupDetail &other) const { return !(*this == other); }
};

// Reads "groupname" and the array "groupsensitives" (each element through
// parseSensitiveRuleDetail), as tolerantly as parseSensitiveFileDetail.
SensitiveGroupDetail parseSensitiveGroupDetail(const QJsonObject &object);

#endif // SENSITIVEGROUPDETAIL_H
