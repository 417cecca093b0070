#include "xatomhelper.h"

#include <QX11Info>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

XAtomHelper *XAtomHelper::getInstance()
{
    static XAtomHelper *instance = new XAtomHelper;
    return instance;
}

XAtomHelper::XAtomHelper(QObject *parent) : QObject(parent)
{
    if (!QX11Info::isPlatformX11())
        return;
    Display *display = QX11Info::display();
    if (!display)
        return;
    m_motifWmHints = XInternAtom(display, "_MOTIF_WM_HINTS", True);
    m_unityBorderRadius = XInternAtom(display, "_UNITY_GTK_BORDER_RADIUS", False);
    m_decoration = XInternAtom(display, "_KWIN_QOVO_DECORAION", False);
}

void XAtomHelper::setQOVODecoraiontHint(int winId, bool set)
{
    if (m_decoration == None || !QX11Info::isPlatformX11())
        return;
    Display *display = QX11Info::display();
    const long data = set ? 1 : 0;
    XChangeProperty(display, Window(winId), m_decoration, m_decoration, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(&data), 1);
    XFlush(display);
}

void XAtomHelper::setWindowMotifHint(int winId, const MotifWmHints &hints)
{
    if (m_motifWmHints == None || m_unityBorderRadius == None || !QX11Info::isPlatformX11())
        return;
    Display *display = QX11Info::display();
    // Format-32 properties travel as longs on the client side.
    const long data[5] = {long(hints.flags), long(hints.functions), long(hints.decorations), hints.input_mode,
                          long(hints.status)};
    XChangeProperty(display, Window(winId), m_motifWmHints, m_motifWmHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(data), 5);
    XFlush(display);
}
