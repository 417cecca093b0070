#include "textwidthestimate.h"

TextWidthEstimate::TextWidthEstimate(const QFont &font)
    : m_metrics(font)
{
}

qreal TextWidthEstimate::width(const QString &text)
{
    qreal total = 0;
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        uint codePoint = c.unicode();
        int length = 1;
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(c, text.at(i + 1));
            length = 2;
        }
        auto advance = m_advances.constFind(codePoint);
        if (advance == m_advances.constEnd())
            advance = m_advances.insert(codePoint, m_metrics.horizontalAdvance(text.mid(i, length)));
        total += *advance;
        i += length - 1;
    }
    return total;
}
