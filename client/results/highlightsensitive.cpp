#include "highlightsensitive.h"

namespace {
const QString HighlightTemplate = QStringLiteral("<font color='#3676F5'>%1</font>");
}

QString highlightSensitive(const QString &context, const QString &word)
{
    int found = word.isEmpty() ? -1 : context.indexOf(word, 0, Qt::CaseSensitive);
    if (found < 0)
        return context.toHtmlEscaped();

    const QString marked = HighlightTemplate.arg(word.toHtmlEscaped());
    QString result;
    result.reserve(context.size() + 32);
    int from = 0;
    while (found >= 0) {
        result += context.mid(from, found - from).toHtmlEscaped();
        result += marked;
        from = found + word.size();
        found = context.indexOf(word, from, Qt::CaseSensitive);
    }
    result += context.mid(from).toHtmlEscaped();

    result.remove(QStringLiteral("\r\n"));
    result.remove(QLatin1Char('\r'));
    result.remove(QLatin1Char('\n'));
    return result.trimmed();
}
