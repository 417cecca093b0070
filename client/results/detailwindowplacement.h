#ifndef DETAILWINDOWPLACEMENT_H
#define DETAILWINDOWPLACEMENT_H

class QWidget;

namespace DetailWindowPlacement {

// Moves the top-level `window` to the middle of the screen that holds the
// mouse cursor (the primary screen when no screen does): its top-left
// corner becomes the screen's top-left corner plus half of the difference
// between the screen's size and the window's, per axis.
void centreOnCursorScreen(QWidget *window);

} // namespace DetailWindowPlacement

#endif // DETAILWINDOWPLACEMENT_H
