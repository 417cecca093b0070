// WrappingLabel: one line when there is room, wrapped when there is not.
#include "wrappinglabel.h"

#include <QTextDocument>
#include <QtMath>

WrappingLabel::WrappingLabel(QWidget *parent)
    : QLabel(parent)
{
    setWordWrap(true);
}

QSize WrappingLabel::sizeHint() const
{
    ensurePolished();
    QTextDocument document;
    document.setDefaultFont(font());
    document.setDocumentMargin(0);
    const bool rich = textFormat() == Qt::RichText || (textFormat() == Qt::AutoText && Qt::mightBeRichText(text()));
    if (rich)
        document.setHtml(text());
    else
        document.setPlainText(text());
    const QMargins m = contentsMargins();
    const int frame = m.left() + m.right() + 2 * margin() + qMax(0, indent());
    // Fractional advances: one pixel more keeps the line whole.
    const int width = qCeil(document.idealWidth()) + 1 + frame;
    return {width, heightForWidth(width)};
}
