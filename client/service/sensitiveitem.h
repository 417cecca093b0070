#ifndef SENSITIVEITEM_H
#define SENSITIVEITEM_H

#include <QJsonObject>
#include <QString>

// One hit of a detail document: the matched text and the passage of the
// file around it (plain text, possibly holding line breaks).
struct SensitiveItem
{
    QString sensitive;
    QString sensitive_ctx;

    bool operator==(const SensitiveItem &other) const
    {
        return sensitive == other.sensitive && sensitive_ctx == other.sensitive_ctx;
    }
    bool operator!=(const SensitiveItem &other) const { return !(*this == other); }
};

// Reads "sensitive" and "sensitive_ctx"; a member that is missing or not a
// string reads as an empty string.
SensitiveItem parseSensitiveItem(const QJsonObject &object);

#endif // SENSITIVEITEM_H
