#ifndef DETAILDOCUMENT_H
#define DETAILDOCUMENT_H

#include <QByteArray>
#include <QString>

// The JSON detail documents the service returns, and the pieces the workers
// build them from.
class DetailDocument
{
public:
    // Appends text (UTF-8; invalid sequences become U+FFFD) as a JSON string.
    static void appendString(QByteArray &json, const char *utf8, int length);
    static void appendString(QByteArray &json, const QByteArray &utf8) { appendString(json, utf8.constData(), utf8.size()); }
    // Appends {"sensitive": word, "sensitive_ctx": context} to a JSON array being built.
    static void appendHit(QByteArray &array, const QByteArray &word, const QByteArray &context);

    // {"filepath": ..., "sensitives": hits}, hits being a JSON array text.
    static QString keyword(const QString &filepath, const QByteArray &hits);
    // {"groupname": ..., "groupsensitives": []}
    static QString emptyPrivacy(const QString &groupname);
    // {"groupname": ..., "groupsensitives": groups}, groups being a JSON array text.
    static QString privacy(const QString &groupname, const QByteArray &groups);
};

#endif // DETAILDOCUMENT_H
