#ifndef KEYWORDPATTERN_H
#define KEYWORDPATTERN_H

#include <QJsonObject>
#include <QString>

// One pattern of a keyword rule of the scan policy.
struct KeywordPattern
{
    QString pattern;         // the keyword, exactly as the user gave it
    int maxMatches = -1;     // -1: no limit
    bool distinct = false;
    int matchCondition = 1;  // a number here, unlike the file-type rule's

    QJsonObject toJson() const;
};

#endif // KEYWORDPATTERN_H
