#include "underlinetabbar.h"

#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>

UnderlineTabBar::UnderlineTabBar(QWidget *parent)
    : QTabBar(parent)
{
}

QColor UnderlineTabBar::underlineColor()
{
    return QColor(QStringLiteral("#2c89ff"));
}

void UnderlineTabBar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        const QString text = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_TabBarTab, option);

        option.text = text;
        const QRect textRect = style()->subElementRect(QStyle::SE_TabBarTabText, &option, this);
        style()->drawItemText(&painter, textRect, Qt::AlignCenter, option.palette, isEnabled(), text,
                              QPalette::WindowText);

        if (i == currentIndex()) {
            const int textWidth = fontMetrics().horizontalAdvance(text);
            const int x0 = textRect.left() + (textRect.right() - textRect.left() - textWidth + 1) / 2;
            // Two pixels under the text. Styles whose text rectangle is the
            // whole tab would put the line below the bar, so the text's own
            // box counts, and the line stays inside the bar.
            const QRect drawn = fontMetrics().boundingRect(textRect, Qt::AlignCenter, text);
            const int y = qMin(qMin(textRect.bottom(), drawn.bottom()) + 2, height() - 2);
            painter.save();
            painter.setPen(QPen(underlineColor(), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
            painter.drawLine(x0, y, x0 + textWidth, y);
            painter.restore();
        }
    }
}
