#include "detailreply.h"

#include "servicelog.h"

#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QJsonDocument>

namespace DetailReply {

bool readDocument(QDBusPendingCallWatcher *watcher, const QString &method, QJsonObject *root)
{
    if (!watcher)
        return false;
    // Whatever happens below, the watcher has done its work.
    watcher->deleteLater();
    return readDocument(static_cast<const QDBusPendingCall &>(*watcher), method, root);
}

bool readDocument(const QDBusPendingCall &call, const QString &method, QJsonObject *root)
{
    const QDBusPendingReply<int, QString> reply = call;
    if (reply.isError()) {
        const QDBusError error = reply.error();
        qCCritical(lcService) << QStringLiteral("Method '%1' call failed:").arg(method).toUtf8().constData() << error.name()
                    << error.message();
        return false;
    }

    const int code = reply.argumentAt<0>();
    const QString text = reply.argumentAt<1>();
    qCDebug(lcService) << QStringLiteral("Method '%1' call successfully.").arg(method).toUtf8().constData();
    qCDebug(lcService) << "Return Code:" << code;
    qCDebug(lcService).noquote() << "Sensitives Detail:" << text;

    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject()) {
        qCDebug(lcService) << "Invalid JSON format";
        return false;
    }
    if (root)
        *root = document.object();
    return true;
}

} // namespace DetailReply
