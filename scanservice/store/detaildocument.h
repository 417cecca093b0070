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

    // {"filepath": ..., "total": n, "sensitives": hits}, hits being a JSON
    // array text and n the file's hits in all (the sum of `counts`, a JSON
    // object word -> occurrences), which may be more than the passages kept.
    // Without counts (or with counts that do not read) "total" is left out.
    static QString keyword(const QString &filepath, const QByteArray &hits, const QByteArray &counts = QByteArray());
    // The sum of a counts object's values; -1 when it is not an object of
    // whole numbers of at least 0.
    static qint64 totalOf(const QByteArray &counts);
    // {"groupname": ..., "groupsensitives": []}
    static QString emptyPrivacy(const QString &groupname);
    // {"groupname": ..., "groupsensitives": groups}, groups being a JSON array text.
    static QString privacy(const QString &groupname, const QByteArray &groups);
};

#endif // DETAILDOCUMENT_H
