#ifndef WINDOWDECORATION_H
#define WINDOWDECORATION_H

class QWidget;

// Start-up's decoration of the main window before it is shown: translucent
// background, tooltips for inactive windows, blur behind the whole window,
// and on X11 the desktop's decoration hint and the Motif hints (all
// functions, border only).
void decorateMainWindow(QWidget *window);

#endif // WINDOWDECORATION_H
