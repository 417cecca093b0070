// The compiled-in pictures: every one the client's code names exists, each
// has the pixel size it is shown at, and none is a blank or flat square.
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

const QString Root = QStringLiteral(":/SensitiveDiscovery/images/");

// Each picture with the size it is shown at.
const QList<QPair<QString, QSize>> &expectedSizes()
{
    static const QList<QPair<QString, QSize>> table = [] {
        QList<QPair<QString, QSize>> t;
        auto add = [&t](const QString &path, int w, int h) { t.append({path, QSize(w, h)}); };
        // Application mark: icon bars (24), window icon (48), About dialog (96), desktop sizes.
        add("zoq_logo/vorel-security-center@1x.png", 48, 48);
        add("zoq_logo/vorel-security-center@2x.png", 96, 96);
        for (int s : {16, 24, 32, 64, 128, 256})
            add(QStringLiteral("zoq_logo/vorel-security-center-%1.png").arg(s), s, s);
        // Window buttons and close buttons (16 in 30 x 30 buttons); the chip's close mark.
        for (const char *name : {"min", "max", "revert", "close"}) {
            add(QStringLiteral("titlebar/%1.png").arg(QLatin1String(name)), 16, 16);
            add(QStringLiteral("titlebar/%1White.png").arg(QLatin1String(name)), 16, 16);
        }
        add("titlebar/window-close-symbolic@1x.png", 16, 16);
        add("titlebar/window-close-symbolic@2x.png", 32, 32);
        // Sidebar module icons (16 x 16 icon labels).
        for (const char *name : {"keywordscan", "piiscan", "history"}) {
            add(QStringLiteral("siderbar/%1-symbolic.png").arg(QLatin1String(name)), 16, 16);
            add(QStringLiteral("siderbar/%1-pressed-symbolic.png").arg(QLatin1String(name)), 16, 16);
        }
        // Start pages (330 x 330) and scanning pages (96 x 96).
        add("scan/keyword/keywordscan@1x.png", 330, 330);
        add("scan/keyword/keywordscan_128@0.75x.png", 96, 96);
        add("scan/pii/piiscan@1x.png", 330, 330);
        add("scan/pii/piiscan_128@0.75x.png", 96, 96);
        add("scan/无数据-浅色模式@1x.png", 128, 128);
        // Marks: help (16), warning in result rows and dialogs (24), feature ticks (24).
        add("scan/dialog-question-symbolic@1x.png", 16, 16);
        add("scan/dialog-information-symbolic@1x.png", 16, 16);
        add("scan/dialog-warning@1x.png", 24, 24);
        add("scan/pii/对钩@1x.png", 24, 24);
        // Arrows: split-control drop-down (14 in a 16 icon), group arrows (24), detail arrows (16).
        add("scan/down-symbolic_14_white@1x.png", 14, 14);
        add("scan/down-symbolic_14@1x.png", 14, 14);
        add("scan/pii/scanitem/up-symbolic.png", 24, 24);
        add("scan/pii/scanitem/down-symbolic.png", 24, 24);
        add("scan/pii/scanitem/down-symbolic_16@1x.png", 16, 16);
        // Group titles (24) and the category tiles' icons (40, the tile is 120 x 110).
        add("scan/pii/scanitem/隐私信息@1x.png", 24, 24);
        add("scan/pii/scanitem/疑似隐私信息@1x.png", 24, 24);
        for (const char *name : {"身份标识", "宗教信仰", "医疗健康", "账户信息", "行踪轨迹", "未成年人信息",
                                 "法规隐私", "地理位置", "社会关系", "设备信息", "健康生理", "职业教育",
                                 "特殊群体", "金融消费"})
            add(QStringLiteral("scan/pii/scanitem/qovo-%1-symbolic@1x.png").arg(QString::fromUtf8(name)), 40, 40);
        return t;
    }();
    return table;
}

QStringList bundledImages()
{
    QStringList list;
    QDirIterator it(Root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        list.append(it.next().mid(Root.size()));
    list.sort();
    return list;
}

} // namespace

class TestImageResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (const auto &entry : expectedSizes())
            QTest::newRow(qPrintable(entry.first)) << entry.first << entry.second;
    }

    void sizes()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(Root + path);
        QVERIFY2(!image.isNull(), qPrintable(Root + path));
        QCOMPARE(image.size(), size);

        // A real picture: visible pixels, more than a flat fill, and
        // transparent corners (nothing is a square placeholder).
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        QSet<QRgb> colours;
        int visible = 0;
        for (int y = 0; y < argb.height(); ++y) {
            for (int x = 0; x < argb.width(); ++x) {
                const QRgb p = argb.pixel(x, y);
                if (qAlpha(p) > 0) {
                    ++visible;
                    colours.insert(p);
                }
            }
        }
        QVERIFY2(visible > argb.width() * argb.height() / 20, qPrintable(path));
        QVERIFY2(colours.size() > 2, qPrintable(path));
        QCOMPARE(qAlpha(argb.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(argb.pixel(argb.width() - 1, argb.height() - 1)), 0);
    }

    void whiteVariantsAreWhite_data()
    {
        QTest::addColumn<QString>("path");
        for (const auto &entry : expectedSizes()) {
            const QString &p = entry.first;
            if (p.contains(QLatin1String("White")) || p.contains(QLatin1String("_white"))
                || p.contains(QLatin1String("-pressed-")))
                QTest::newRow(qPrintable(p)) << p;
        }
    }

    // Drawn on red (close hover), blue (split control) or the highlight
    // (selected module): every visible pixel is white.
    void whiteVariantsAreWhite()
    {
        QFETCH(QString, path);
        const QImage image = QImage(Root + path).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!image.isNull());
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) > 0)
                    QVERIFY2(qRed(p) == 255 && qGreen(p) == 255 && qBlue(p) == 255, qPrintable(path));
            }
        }
    }

    void everyBundledImageHasAKnownSize()
    {
        QStringList known;
        for (const auto &entry : expectedSizes())
            known.append(entry.first);
        for (const QString &path : bundledImages())
            QVERIFY2(known.contains(path), qPrintable(path + QStringLiteral(" has no size in the table")));
    }

    // Every image path written in the client's sources and forms exists.
    void everyReferencedImageExists()
    {
        const QByteArray source = qgetenv("DISCOVERY_SOURCE_DIR");
        QVERIFY(!source.isEmpty());
        const QRegularExpression ref(QStringLiteral(":/SensitiveDiscovery/images/[^\"'()<>\\s\\\\]*"));
        QDirIterator it(QString::fromLocal8Bit(source) + QStringLiteral("/client"),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")},
                        QDir::Files, QDirIterator::Subdirectories);
        int references = 0;
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            auto matches = ref.globalMatch(text);
            while (matches.hasNext()) {
                const QString path = matches.next().captured(0);
                ++references;
                const QFileInfo info(path);
                if (path.endsWith(QLatin1Char('/')))
                    QVERIFY2(info.isDir(), qPrintable(path + QStringLiteral(" in ") + file.fileName()));
                else
                    QVERIFY2(info.isFile(), qPrintable(path + QStringLiteral(" in ") + file.fileName()));
            }
        }
        QVERIFY(references > 0);
    }
};

QTEST_MAIN(TestImageResources)
#include "tst_imageresources.moc"
