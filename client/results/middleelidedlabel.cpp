// A one-line label for a path that shows the path's two ends and elides the middle.

#include "middleelidedlabel.h"

#include "resultlimits.h"

#include <QPainter>
#include <QStyle>

MiddleElidedLabel::MiddleElidedLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    // Asks for the whole path, makes do with what the row leaves it.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QSize MiddleElidedLabel::minimumSizeHint() const
{
    const QSize whole = QLabel::minimumSizeHint();
    const int ends = fontMetrics().horizontalAdvance(QLatin1Char('M')) * ResultLimits::ElidedPathMinChars * 2
                     + fontMetrics().horizontalAdvance(QChar(0x2026));
    const QMargins m = contentsMargins();
    return QSize(qMin(whole.width(), ends + m.left() + m.right()), whole.height());
}

QString MiddleElidedLabel::shownText() const
{
    // Line breaks in a file name would make a second line: shown as blanks.
    QString line = text();
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return fontMetrics().elidedText(line, Qt::ElideMiddle, qMax(0, contentsRect().width() - 2 * margin()));
}

void MiddleElidedLabel::paintEvent(QPaintEvent *event)
{
    // The frame and style-sheet background as any label's; the text elided.
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, int(alignment()) | Qt::TextSingleLine, palette(), isEnabled(), shownText(),
                          foregroundRole());
}
