#ifndef DETAILREPLY_H
#define DETAILREPLY_H

#include <QJsonObject>
#include <QString>

class QDBusPendingCall;
class QDBusPendingCallWatcher;

// The reply of a detail query (SensitiveDiscoveryGetKeywordDetectedDetail or
// SensitiveDiscoveryGetDataIdDetectedDetail) as a dialog handles it once its
// watcher has finished. The reply is (int return code, QString document).
namespace DetailReply {

// Reads the finished reply of `method` from `watcher`:
// - a bus error (a reply of another type included) is logged at critical
//   level as "Method '<method>' call failed:" with the error's name and
//   message;
// - otherwise "Method '<method>' call successfully.", "Return Code:" and
//   "Sensitives Detail:" are logged at debug level. The return code is
//   not acted on: the document is read whatever its value. Text that is not
//   a JSON object (an empty text and a JSON array included) logs
//   "Invalid JSON format".
// True, with the document's root object in *root, only when the reply
// carried a JSON object. In every case the watcher is scheduled for
// deletion.
bool readDocument(QDBusPendingCallWatcher *watcher, const QString &method, QJsonObject *root);
// The same for a finished call, without a watcher to delete: safe on any
// thread, so that a large document can be read away from the GUI thread.
bool readDocument(const QDBusPendingCall &call, const QString &method, QJsonObject *root);

} // namespace DetailReply

#endif // DETAILREPLY_H
