#include "windowdecoration.h"

#include "xatomhelper.h"

#include <KWindowEffects>
#include <QRegion>
#include <QWidget>
#include <QX11Info>

void decorateMainWindow(QWidget *window)
{
    window->setAttribute(Qt::WA_TranslucentBackground, true);
    window->setAttribute(Qt::WA_AlwaysShowToolTips, true);
    KWindowEffects::enableBlurBehind(window->winId(), true, QRegion());

    if (QX11Info::isPlatformX11()) {
        XAtomHelper::getInstance()->setQOVODecoraiontHint(int(window->winId()), true);
        MotifWmHints hints;
        hints.flags = 3;       // functions and decorations given
        hints.functions = 1;   // all functions
        hints.decorations = 2; // border only
        hints.input_mode = 0;
        hints.status = 0;
        XAtomHelper::getInstance()->setWindowMotifHint(int(window->winId()), hints);
    }
}
