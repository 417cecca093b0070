#pragma once

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kittest {

// True when every channel of a and b differs by at most tolerance.
inline bool near(const QColor &a, const QColor &b, int tolerance = 12)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance && qAbs(a.alpha() - b.alpha()) <= tolerance;
}

inline QString describe(const QColor &c)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

// Number of pixels that are not fully transparent.
inline int paintedPixels(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) > 0)
                ++count;
    return count;
}

// Renders only what the widget paints itself and its children, on a
// transparent canvas (no window background), at one device pixel per unit.
inline QImage renderTransparent(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Runs action from the event loop of a modal exec(); should the dialog still
// be open much later (the action failed to close it), closes it so the test
// reports the failure instead of hanging.
inline void whileModal(QWidget *dialog, std::function<void()> action)
{
    QTimer::singleShot(0, dialog, std::move(action));
    QPointer<QWidget> guard(dialog);
    QTimer::singleShot(20000, dialog, [guard] {
        if (guard && guard->isVisible())
            guard->close();
    });
}

} // namespace kittest
