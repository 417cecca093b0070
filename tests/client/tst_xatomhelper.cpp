#include "windowdecoration.h"
#include "xatomhelper.h"

#include <QMainWindow>
#include <QTest>
#include <QX11Info>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

// Runs on a real X server (Xvfb from scripts/test).
class TestXAtomHelper : public QObject
{
    Q_OBJECT

private:
    static QVector<long> property(Window window, Atom atom, Atom *typeOut, int *formatOut)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        QVector<long> values;
        if (XGetWindowProperty(QX11Info::display(), window, atom, 0, 32, False, AnyPropertyType, &type, &format,
                               &count, &after, &data) == Success && data) {
            const long *longs = reinterpret_cast<const long *>(data);
            for (unsigned long i = 0; i < count; ++i)
                values << longs[i];
            XFree(data);
        }
        *typeOut = type;
        *formatOut = format;
        return values;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QX11Info::isPlatformX11(), "this test needs the xcb platform and an X server");
    }

    void atomsAreInterned()
    {
        XAtomHelper *helper = XAtomHelper::getInstance();
        QCOMPARE(XAtomHelper::getInstance(), helper);
        Display *display = QX11Info::display();
        QVERIFY(helper->motifWmHintsAtom() != None);
        QVERIFY(helper->unityBorderRadiusAtom() != None);
        QVERIFY(helper->decorationAtom() != None);
        QCOMPARE(helper->decorationAtom(), XInternAtom(display, "_KWIN_QOVO_DECORAION", True));
        QCOMPARE(helper->unityBorderRadiusAtom(), XInternAtom(display, "_UNITY_GTK_BORDER_RADIUS", True));
        QCOMPARE(helper->motifWmHintsAtom(), XInternAtom(display, "_MOTIF_WM_HINTS", True));
    }

    void shownWindowCarriesBothProperties()
    {
        QMainWindow window;
        window.resize(400, 300);
        decorateMainWindow(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(window.testAttribute(Qt::WA_AlwaysShowToolTips));

        XAtomHelper *helper = XAtomHelper::getInstance();
        Atom type = None;
        int format = 0;
        const QVector<long> decoration =
            property(Window(window.winId()), helper->decorationAtom(), &type, &format);
        QCOMPARE(decoration, QVector<long>{1});
        QCOMPARE(type, Atom(helper->decorationAtom()));
        QCOMPARE(format, 32);

        const QVector<long> motif = property(Window(window.winId()), helper->motifWmHintsAtom(), &type, &format);
        QCOMPARE(motif, (QVector<long>{3, 1, 2, 0, 0}));
        QCOMPARE(type, Atom(helper->motifWmHintsAtom()));
        QCOMPARE(format, 32);
    }

    void hintCanBeCleared()
    {
        QWidget widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        XAtomHelper::getInstance()->setQOVODecoraiontHint(int(widget.winId()), false);
        Atom type = None;
        int format = 0;
        QCOMPARE(property(Window(widget.winId()), XAtomHelper::getInstance()->decorationAtom(), &type, &format),
                 QVector<long>{0});
    }
};

QTEST_MAIN(TestXAtomHelper)
#include "tst_xatomhelper.moc"
