#include "detaildocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString DetailDocument::keyword(const QString &filepath, const QVector<FindingsStore::Hit> &hits)
{
    QJsonArray sensitives;
    for (const FindingsStore::Hit &hit : hits) {
        sensitives.append(QJsonObject{{QStringLiteral("sensitive"), hit.word},
                                      {QStringLiteral("sensitive_ctx"), hit.context}});
    }
    const QJsonObject root{{QStringLiteral("filepath"), filepath}, {QStringLiteral("sensitives"), sensitives}};
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

QString DetailDocument::emptyPrivacy(const QString &groupname)
{
    const QJsonObject root{{QStringLiteral("groupname"), groupname}, {QStringLiteral("groupsensitives"), QJsonArray()}};
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}
