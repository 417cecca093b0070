#ifndef RESPONSERULE_H
#define RESPONSERULE_H

#include <QJsonObject>
#include <QString>

// What the service does with a hit.
struct ResponseRule
{
    QString name;
    QString description;
    QString action; // "WriteDatabase"

    QJsonObject toJson() const;
};

#endif // RESPONSERULE_H
