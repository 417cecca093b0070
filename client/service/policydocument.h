#ifndef POLICYDOCUMENT_H
#define POLICYDOCUMENT_H

#include "scanpolicy.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// The root of the policy document a scan task carries.
struct PolicyDocument
{
    QString version; // "1.0.0"
    QList<ScanPolicy> policies;

    QJsonObject toJson() const;
};

#endif // POLICYDOCUMENT_H
