#include "kiticons.h"

#include "kitstyle.h"
#include "paintediconengine.h"

#include <QPainter>
#include <QPainterPath>

namespace mvk {

namespace {

// Every glyph is drawn on a 24x24 grid that is scaled into the target rect.
void mapToGrid(QPainter *p, const QRectF &rect)
{
    const qreal side = qMin(rect.width(), rect.height());
    p->translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
    p->scale(side / 24.0, side / 24.0);
}

QColor glyphColor(QIcon::Mode mode)
{
    if (mode == QIcon::Disabled)
        return QColor(KitStyle::TextDisabled);
    return QColor(KitStyle::IconGlyph);
}

QPen glyphPen(const QColor &c, qreal width = 1.8)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawBadge(QPainter *p, const QColor &fill)
{
    p->setPen(Qt::NoPen);
    p->setBrush(fill);
    p->drawEllipse(QPointF(12, 12), 11, 11);
}

void drawDot(QPainter *p, const QPointF &at)
{
    p->setPen(Qt::NoPen);
    p->setBrush(Qt::white);
    p->drawEllipse(at, 1.35, 1.35);
}

QIcon painted(const QString &name, PaintedIconEngine::Painter painter)
{
    return QIcon(new PaintedIconEngine(name, std::move(painter)));
}

} // namespace

QIcon KitIcons::messageIcon(int kind)
{
    switch (kind) {
    case Information:
        return painted(QStringLiteral("mvk-information"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
            mapToGrid(p, r);
            drawBadge(p, m == QIcon::Disabled ? QColor(KitStyle::TextDisabled) : QColor(KitStyle::Accent));
            drawDot(p, QPointF(12, 7.2));
            p->setPen(glyphPen(Qt::white, 2.3));
            p->drawLine(QPointF(12, 10.8), QPointF(12, 17.2));
        });
    case Warning:
        return painted(QStringLiteral("mvk-warning"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
            mapToGrid(p, r);
            drawBadge(p, m == QIcon::Disabled ? QColor(KitStyle::TextDisabled) : QColor(KitStyle::Warning));
            p->setPen(glyphPen(Qt::white, 2.3));
            p->drawLine(QPointF(12, 6.6), QPointF(12, 13.4));
            drawDot(p, QPointF(12, 17.1));
        });
    case Critical:
        return painted(QStringLiteral("mvk-error"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
            mapToGrid(p, r);
            drawBadge(p, m == QIcon::Disabled ? QColor(KitStyle::TextDisabled) : QColor(KitStyle::Danger));
            p->setPen(glyphPen(Qt::white, 2.3));
            p->drawLine(QPointF(8.6, 8.6), QPointF(15.4, 15.4));
            p->drawLine(QPointF(15.4, 8.6), QPointF(8.6, 15.4));
        });
    case Question:
        return painted(QStringLiteral("mvk-question"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
            mapToGrid(p, r);
            drawBadge(p, m == QIcon::Disabled ? QColor(KitStyle::TextDisabled) : QColor(KitStyle::Accent));
            QPainterPath hook;
            hook.moveTo(9.1, 9.4);
            hook.cubicTo(9.1, 7.3, 10.5, 6.0, 12.1, 6.0);
            hook.cubicTo(13.9, 6.0, 15.1, 7.2, 15.1, 8.8);
            hook.cubicTo(15.1, 10.3, 14.1, 11.0, 13.1, 11.7);
            hook.cubicTo(12.3, 12.3, 12.0, 12.8, 12.0, 13.8);
            p->setPen(glyphPen(Qt::white, 2.1));
            p->setBrush(Qt::NoBrush);
            p->drawPath(hook);
            drawDot(p, QPointF(12, 17.3));
        });
    default:
        return QIcon();
    }
}

QIcon KitIcons::closeIcon()
{
    return painted(QStringLiteral("mvk-close"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
        mapToGrid(p, r);
        // Hovered (active) close buttons sit on a red background: draw white.
        p->setPen(glyphPen(m == QIcon::Active ? QColor(Qt::white) : glyphColor(m)));
        p->drawLine(QPointF(7, 7), QPointF(17, 17));
        p->drawLine(QPointF(17, 7), QPointF(7, 17));
    });
}

QIcon KitIcons::minimizeIcon()
{
    return painted(QStringLiteral("mvk-minimize"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
        mapToGrid(p, r);
        p->setPen(glyphPen(glyphColor(m)));
        p->drawLine(QPointF(6, 12), QPointF(18, 12));
    });
}

QIcon KitIcons::maximizeIcon()
{
    return painted(QStringLiteral("mvk-maximize"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
        mapToGrid(p, r);
        p->setPen(glyphPen(glyphColor(m)));
        p->setBrush(Qt::NoBrush);
        p->drawRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5);
    });
}

QIcon KitIcons::restoreIcon()
{
    return painted(QStringLiteral("mvk-restore"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
        mapToGrid(p, r);
        p->setPen(glyphPen(glyphColor(m)));
        p->setBrush(Qt::NoBrush);
        p->drawRoundedRect(QRectF(6, 9, 9, 9), 1.5, 1.5);
        QPainterPath back;
        back.moveTo(9, 9);
        back.lineTo(9, 7.5);
        back.quadTo(9, 6, 10.5, 6);
        back.lineTo(16.5, 6);
        back.quadTo(18, 6, 18, 7.5);
        back.lineTo(18, 13.5);
        back.quadTo(18, 15, 16.5, 15);
        back.lineTo(15, 15);
        p->drawPath(back);
    });
}

QIcon KitIcons::menuIcon()
{
    return painted(QStringLiteral("mvk-menu"), [](QPainter *p, const QRectF &r, QIcon::Mode m, QIcon::State) {
        mapToGrid(p, r);
        p->setPen(glyphPen(glyphColor(m)));
        for (qreal y : {7.0, 12.0, 17.0})
            p->drawLine(QPointF(5.5, y), QPointF(18.5, y));
    });
}

} // namespace mvk
