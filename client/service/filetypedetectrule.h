#ifndef FILETYPEDETECTRULE_H
#define FILETYPEDETECTRULE_H

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The file-type rule of the scan policy: which files the service opens.
struct FiletypeDetectRule
{
    QString name;
    QString description;
    QStringList fileTypes;   // extensions without a dot, in order
    QString matchCondition;  // "ONEOF"
    bool exception = false;

    QJsonObject toJson() const;
};

#endif // FILETYPEDETECTRULE_H
