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
    // The file's hits in all, which may be more than the passages the service
    // kept; -1 where the document does not say (older services).
    qint64 total = -1;

    bool operator==(const SensitiveFileDetail &other) const
    {
        return filepath == other.filepath && sensitives == other.sensitives && total == other.total;
    }
    bool operator!=(const SensitiveFileDetail &other) const { return !(*this == other); }
};

// Reads "filepath", the array "sensitives" and the number "total" (a
// whole number of at least 0; anything else reads as -1). Nothing is required: a
// missing or mistyped member reads as empty, an element that is not an
// object becomes a hit of empty strings; no element is skipped.
SensitiveFileDetail parseSensitiveFileDetail(const QJsonObject &object);

#endif // SENSITIVEFILEDETAIL_H
