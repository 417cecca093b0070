#ifndef SENSITIVEFILEDETAIL_H
#define SENSITIVEFILEDETAIL_H

#include "sensitiveitem.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// The hits of one file, in the order the service lists them: the keyword
// detail document, and the file level of the privacy detail document.
struct SensitiveFileDetail
{
    QString filepath;
    QList<SensitiveItem> sensitives;

    bool operator==(const SensitiveFileDetail &other) const
    {
        return filepath == other.filepath && sensitives == other.sensitives;
    }
    bool operator!=(const SensitiveFileDetail &other) const { return !(*this == other); }
};

// Reads "filepath" and the array "sensitives". Nothing is required: a
// missing or mistyped member reads as empty, an element that is not an
// object becomes a hit of empty strings; no element is skipped.
SensitiveFileDetail parseSensitiveFileDetail(const QJsonObject &object);

#endif // SENSITIVEFILEDETAIL_H
