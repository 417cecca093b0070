#ifndef DETAILDOCUMENT_H
#define DETAILDOCUMENT_H

#include "findingsstore.h"

#include <QString>
#include <QVector>

// The JSON detail documents the service returns.
class DetailDocument
{
public:
    // {"filepath": ..., "sensitives": [{"sensitive": word, "sensitive_ctx": passage}, ...]}
    static QString keyword(const QString &filepath, const QVector<FindingsStore::Hit> &hits);
    // {"groupname": ..., "groupsensitives": []}
    static QString emptyPrivacy(const QString &groupname);
};

#endif // DETAILDOCUMENT_H
