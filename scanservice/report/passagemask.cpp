// Masking of personal values in report passages (see passagemask.h).
#include "passagemask.h"

namespace {
bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

QString PassageMask::value(const QString &value)
{
    const int n = value.size();
    const int front = n >= 11 ? 3 : n >= 7 ? 2 : n >= 3 ? 1 : 0;
    const int back = n >= 11 ? 4 : n >= 7 ? 2 : n >= 3 ? 1 : 0;
    QString masked = value;
    for (int i = front; i < n - back; ++i) {
        if (masked.at(i).isLetterOrNumber())
            masked[i] = QLatin1Char('*');
    }
    return masked;
}

QString PassageMask::context(const QString &context, const QString &value)
{
    QString text = context;
    if (!value.isEmpty())
        text.replace(value, PassageMask::value(value));
    // Runs of digits: digits, with single spaces or hyphens between groups,
    // and a final X or x, wherever they stand (also glued to a label: "ID110…").
    QString out;
    out.reserve(text.size());
    int i = 0;
    while (i < text.size()) {
        if (!isDigit(text.at(i))) {
            out.append(text.at(i++));
            continue;
        }
        int end = i;
        int digits = 0;
        while (end < text.size()) {
            const QChar c = text.at(end);
            if (isDigit(c)) {
                ++digits;
                ++end;
            } else if ((c == QLatin1Char(' ') || c == QLatin1Char('-')) && end + 1 < text.size() && isDigit(text.at(end + 1))) {
                ++end;
            } else {
                break;
            }
        }
        if (end < text.size() && (text.at(end) == QLatin1Char('X') || text.at(end) == QLatin1Char('x')))
            ++end;
        const QString run = text.mid(i, end - i);
        out.append(digits >= NumberDigits ? PassageMask::value(run) : run);
        i = end;
    }
    return out;
}

RunReport::Passage PassageMask::passage(const RunReport::Passage &passage, bool personalValue)
{
    RunReport::Passage masked;
    masked.value = personalValue ? value(passage.value) : passage.value;
    masked.context = context(passage.context, personalValue ? passage.value : QString());
    return masked;
}
