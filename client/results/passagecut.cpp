// A passage of a detail document cut to a bounded piece around its hit.

#include "passagecut.h"

#include "highlightsensitive.h"
#include "resultlimits.h"

#include <QTextDocument>

namespace {

const QChar Ellipsis(0x2026);

// A start position moved back so that it does not fall on the second half of
// a surrogate pair (the whole character is kept).
int keepWholeAtStart(const QString &text, int at)
{
    if (at > 0 && at < text.size() && text.at(at).isLowSurrogate() && text.at(at - 1).isHighSurrogate())
        return at - 1;
    return at;
}

// An outer start moved forwards, and an outer end backwards, so that the
// piece stays within its bound and still splits no character.
int dropHalfAtStart(const QString &text, int at)
{
    if (at > 0 && at < text.size() && text.at(at).isLowSurrogate() && text.at(at - 1).isHighSurrogate())
        return at + 1;
    return at;
}

int dropHalfAtEnd(const QString &text, int at)
{
    if (at > 0 && at < text.size() && text.at(at).isLowSurrogate() && text.at(at - 1).isHighSurrogate())
        return at - 1;
    return at;
}

} // namespace

namespace PassageCut {

QString cut(const QString &context, const QString &word, int before, int after)
{
    before = qMax(0, before);
    after = qMax(0, after);
    const int found = word.isEmpty() ? -1 : context.indexOf(word, 0, Qt::CaseSensitive);
    int hitStart = 0;
    int hitEnd = 0;
    if (found >= 0) {
        hitStart = keepWholeAtStart(context, found);
        hitEnd = dropHalfAtEnd(context, qMin(context.size(), found + qMin(int(word.size()), ResultLimits::MaxHitChars)));
        hitEnd = qMax(hitEnd, hitStart);
    } else {
        after += before;
        before = 0;
    }
    const int start = dropHalfAtStart(context, qMax(0, hitStart - before));
    const int end = dropHalfAtEnd(context, int(qMin<qint64>(context.size(), qint64(hitEnd) + after)));
    if (start == 0 && end == context.size())
        return context;
    QString piece;
    piece.reserve(end - start + 2);
    if (start > 0)
        piece += Ellipsis;
    piece += context.midRef(start, end - start);
    if (end < context.size())
        piece += Ellipsis;
    return piece;
}

QString rowHtml(const QString &context, const QString &word)
{
    return highlightSensitive(cut(context, word, ResultLimits::RowCharsBefore, ResultLimits::RowCharsAfter), word);
}

QString toolTip(const QString &context, const QString &word)
{
    const QString piece = cut(context, word, ResultLimits::ToolTipCharsBefore, ResultLimits::ToolTipCharsAfter);
    return piece.isEmpty() ? QString() : Qt::convertFromPlainText(piece, Qt::WhiteSpaceNormal);
}

QString kept(const QString &context, const QString &word)
{
    return cut(context, word, ResultLimits::ToolTipCharsBefore, ResultLimits::ToolTipCharsAfter);
}

} // namespace PassageCut
