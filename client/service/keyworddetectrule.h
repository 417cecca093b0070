#ifndef KEYWORDDETECTRULE_H
#define KEYWORDDETECTRULE_H

#include "keywordpattern.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// A keyword rule of the scan policy: a file matches when its text holds one
// of the patterns.
struct KeywordDetectRule
{
    QString name;
    QString description;
    QList<KeywordPattern> keywords;
    bool exception = false;

    QJsonObject toJson() const;
};

#endif // KEYWORDDETECTRULE_H
