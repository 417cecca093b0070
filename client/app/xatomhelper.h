#ifndef XATOMHELPER_H
#define XATOMHELPER_H

#include <QObject>

// The five fields of the _MOTIF_WM_HINTS window property.
struct MotifWmHints
{
    unsigned long flags = 0;
    unsigned long functions = 0;
    unsigned long decorations = 0;
    long input_mode = 0;
    unsigned long status = 0;
};

// Window-manager hints through X atoms. The atoms are interned once, at
// construction, and only on X11; elsewhere every operation does nothing.
class XAtomHelper : public QObject
{
    Q_OBJECT

public:
    static XAtomHelper *getInstance();

    // Sets the desktop's own decoration hint ("_KWIN_QOVO_DECORAION") on a window.
    void setQOVODecoraiontHint(int winId, bool set);
    // Replaces the window's _MOTIF_WM_HINTS property with the five fields.
    void setWindowMotifHint(int winId, const MotifWmHints &hints);

    // The interned atoms, 0 when not known.
    unsigned long motifWmHintsAtom() const { return m_motifWmHints; }
    unsigned long unityBorderRadiusAtom() const { return m_unityBorderRadius; }
    unsigned long decorationAtom() const { return m_decoration; }

private:
    explicit XAtomHelper(QObject *parent = nullptr);

    unsigned long m_motifWmHints = 0;
    unsigned long m_unityBorderRadius = 0;
    unsigned long m_decoration = 0;
};

#endif // XATOMHELPER_H
