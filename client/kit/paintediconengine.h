#pragma once

#include <QIconEngine>

#include <functional>

namespace mvk {

// An icon engine that draws its glyph with QPainter at whatever size and
// device pixel ratio is asked for, so the kit's icons stay crisp on any
// screen without shipping bitmaps.
class PaintedIconEngine : public QIconEngine
{
public:
    using Painter = std::function<void(QPainter *painter, const QRectF &rect, QIcon::Mode mode, QIcon::State state)>;

    PaintedIconEngine(const QString &name, Painter painter);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
    QString iconName() const override;
    void virtual_hook(int id, void *data) override;

private:
    QString m_name;
    Painter m_painter;
};

} // namespace mvk
