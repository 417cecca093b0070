#include "policydocument.h"

#include <QJsonArray>

QJsonObject PolicyDocument::toJson() const
{
    QJsonArray list;
    for (const ScanPolicy &policy : policies)
        list.append(policy.toJson());
    QJsonObject object;
    object.insert(QStringLiteral("version"), version);
    object.insert(QStringLiteral("policies"), list);
    return object;
}
