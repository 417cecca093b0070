#pragma once

#include <QIcon>

namespace mvk {

// The kit's own glyphs, drawn with QPainter (see PaintedIconEngine).
class KitIcons
{
public:
    // Message kinds: 0 none, 1 information, 2 warning, 3 error, 4 question.
    enum MessageKind { NoKind = 0, Information = 1, Warning = 2, Critical = 3, Question = 4 };

    // A null icon for NoKind and for any value outside the known kinds.
    static QIcon messageIcon(int kind);

    static QIcon closeIcon();
    static QIcon minimizeIcon();
    static QIcon maximizeIcon();
    static QIcon restoreIcon();
    static QIcon menuIcon();

private:
    KitIcons() = delete;
};

} // namespace mvk
