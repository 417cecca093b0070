#include "paintediconengine.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

namespace mvk {

PaintedIconEngine::PaintedIconEngine(const QString &name, Painter painter)
    : m_name(name)
    , m_painter(std::move(painter))
{
}

void PaintedIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    if (!m_painter || rect.isEmpty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    m_painter(painter, QRectF(rect), mode, state);
    painter->restore();
}

QPixmap PaintedIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    if (size.isEmpty())
        return pm;
    QPainter p(&pm);
    paint(&p, QRect(QPoint(0, 0), size), mode, state);
    return pm;
}

QSize PaintedIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    return size;
}

QIconEngine *PaintedIconEngine::clone() const
{
    return new PaintedIconEngine(m_name, m_painter);
}

QString PaintedIconEngine::key() const
{
    return QStringLiteral("mvk-painted");
}

QString PaintedIconEngine::iconName() const
{
    return m_name;
}

void PaintedIconEngine::virtual_hook(int id, void *data)
{
    switch (id) {
    case QIconEngine::IsNullHook:
        *static_cast<bool *>(data) = !m_painter;
        return;
    default:
        QIconEngine::virtual_hook(id, data);
    }
}

} // namespace mvk
