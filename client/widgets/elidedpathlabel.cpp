// ElidedPathLabel: a path cut in the middle, in a label whose size does not
// depend on the path.
#include "elidedpathlabel.h"

#include <QPainter>
#include <QStyle>
#include <QTextDocument>

namespace {
// The width the label asks for, in average character widths: enough for a
// recognisable start and file name when the layout gives it no more.
constexpr int HintCharacters = 12;
} // namespace

ElidedPathLabel::ElidedPathLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void ElidedPathLabel::setPath(const QString &path)
{
    setText(path);
    // A tooltip decides by itself whether its text is markup, so a path that
    // looks like markup goes into it escaped.
    setToolTip(Qt::mightBeRichText(path) ? Qt::convertFromPlainText(path, Qt::WhiteSpaceNormal) : path);
}

QString ElidedPathLabel::elidedText() const
{
    // Line breaks in a file name would make a second line the label has no
    // room for.
    QString line = text();
    line.replace(QLatin1Char('\n'), QChar(0x21b5));
    return fontMetrics().elidedText(line, Qt::ElideMiddle, contentsRect().width());
}

QSize ElidedPathLabel::sizeHint() const
{
    const QMargins m = contentsMargins();
    return {fontMetrics().averageCharWidth() * HintCharacters + m.left() + m.right(),
            fontMetrics().height() + m.top() + m.bottom()};
}

QSize ElidedPathLabel::minimumSizeHint() const
{
    const QMargins m = contentsMargins();
    return {fontMetrics().horizontalAdvance(QChar(0x2026)) + m.left() + m.right(),
            fontMetrics().height() + m.top() + m.bottom()};
}

void ElidedPathLabel::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), elidedText(), foregroundRole());
}
