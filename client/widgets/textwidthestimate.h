#ifndef TEXTWIDTHESTIMATE_H
#define TEXTWIDTHESTIMATE_H

#include <QFontMetricsF>
#include <QHash>
#include <QString>

// The width of one line of text in a font, fast enough to measure every row
// of a long list: the sum of its characters' advances, each measured once.
// Kerning is left out, so for Latin and CJK text the estimate is the laid-out
// width or a little more; scripts whose letters change shape with their
// neighbours can come out a little narrower. A tab counts as a tab measured
// on its own, more than it takes inside a line.
class TextWidthEstimate
{
public:
    explicit TextWidthEstimate(const QFont &font);

    qreal width(const QString &text);

private:
    QFontMetricsF m_metrics;
    QHash<uint, qreal> m_advances; // by code point
};

#endif // TEXTWIDTHESTIMATE_H
