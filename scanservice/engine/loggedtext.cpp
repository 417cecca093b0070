// Cutting caller-supplied text for the log.
#include "loggedtext.h"

#include "scanlimits.h"

QString LoggedText::cut(const QString &text)
{
    if (text.size() <= Limits::MaxLoggedArgumentChars)
        return text;
    int keep = Limits::MaxLoggedArgumentChars;
    if (text.at(keep - 1).isHighSurrogate()) // never half a character
        --keep;
    return text.left(keep) + QStringLiteral("… (%1 characters)").arg(text.size());
}
