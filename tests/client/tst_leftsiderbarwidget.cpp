// Built twice: with WITH_SCHEMA the desktop's personalisation schema comes from
// the build's compiled schema directory (memory settings backend); without
// it no schema directory holds it. Each needs its own process because GLib
// reads the schema sources once.
#include "leftsiderbarwidget.h"

#include <QGSettings>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class TestLeftSiderbarWidget : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_empty;

    // The alpha the sidebar paints with, read from a rendering onto a
    // transparent image.
    static int paintedAlpha(LeftSiderbarWidget &widget)
    {
        QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        return qAlpha(image.pixel(widget.width() / 2, widget.height() / 2));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_empty.isValid());
        // No system schema may take part, whatever this machine has installed.
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_empty.path()));
        qputenv("GSETTINGS_BACKEND", "memory");
#ifdef WITH_SCHEMA
        const QByteArray dir = qgetenv("DISCOVERY_BINARY_DIR") + "/schemas";
        QVERIFY2(QFile::exists(QString::fromLocal8Bit(dir + "/gschemas.compiled")), dir.constData());
        qputenv("GSETTINGS_SCHEMA_DIR", dir);
#else
        qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(m_empty.path()));
#endif
    }

#ifdef WITH_SCHEMA
    void followsTransparency_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("alpha");
        QTest::newRow("opaque") << 1.0 << 255;
        QTest::newRow("half") << 0.5 << 127;
        QTest::newRow("quarter") << 0.25 << 63;
        QTest::newRow("clear") << 0.0 << 0;
    }

    void followsTransparency()
    {
        QFETCH(double, value);
        QFETCH(int, alpha);

        QVERIFY(QGSettings::isSchemaInstalled(LeftSiderbarWidget::SchemaId));
        QGSettings settings(LeftSiderbarWidget::SchemaId);
        settings.set(QStringLiteral("transparency"), value);

        LeftSiderbarWidget widget;
        widget.resize(200, 580);
        QCOMPARE(int(widget.alpha()), alpha);
        QCOMPARE(paintedAlpha(widget), alpha);
    }

    void followsChanges()
    {
        QGSettings settings(LeftSiderbarWidget::SchemaId);
        settings.set(QStringLiteral("transparency"), 1.0);
        LeftSiderbarWidget widget;
        widget.resize(200, 580);
        QCOMPARE(paintedAlpha(widget), 255);

        settings.set(QStringLiteral("transparency"), 0.4);
        QTRY_COMPARE(int(widget.alpha()), 102);
        QCOMPARE(paintedAlpha(widget), 102);
    }

    void keepsAlphaWithinRange()
    {
        // The schema's range guards the setting; a value outside it is
        // refused and the sidebar keeps a valid alpha.
        QGSettings settings(LeftSiderbarWidget::SchemaId);
        settings.set(QStringLiteral("transparency"), 0.6);
        QVERIFY(!settings.trySet(QStringLiteral("transparency"), 3.0));
        LeftSiderbarWidget widget;
        widget.resize(10, 10);
        QCOMPARE(int(widget.alpha()), 153);
    }
#else
    void staysTransparentWithoutSchema()
    {
        QVERIFY(!QGSettings::isSchemaInstalled(LeftSiderbarWidget::SchemaId));
        QTest::ignoreMessage(QtDebugMsg, "org.qovo.control-center.personalise not installed!");
        LeftSiderbarWidget widget;
        widget.resize(200, 580);
        QCOMPARE(widget.alpha(), 0.0);
        QCOMPARE(paintedAlpha(widget), 0);
    }
#endif

    void styleSheetStillApplies()
    {
        LeftSiderbarWidget widget;
        widget.setStyleSheet(QStringLiteral("LeftSiderbarWidget { background-color: rgb(10, 200, 30); }"));
        widget.resize(50, 50);
        QImage image(widget.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        QCOMPARE(QColor(image.pixel(25, 25)), QColor(10, 200, 30));
    }
};

QTEST_MAIN(TestLeftSiderbarWidget)
#include "tst_leftsiderbarwidget.moc"
