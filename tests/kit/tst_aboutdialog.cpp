#include "aboutdialog.h"

#include "kittesthelpers.h"
#include "titlebutton.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

using mvk::AboutDialog;

namespace {

QIcon squareIcon(const QColor &color)
{
    QPixmap pm(96, 96);
    pm.fill(color);
    return QIcon(pm);
}

QString labelText(const AboutDialog &dialog, const char *name)
{
    auto *label = dialog.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

} // namespace

class TestAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void constructors_data();
    void constructors();
    void execShowsModallyOverParent();
    void panelLooksRight();
};

void TestAboutDialog::constructors_data()
{
    QTest::addColumn<bool>("parentFirst");
    QTest::newRow("parent first") << true;
    QTest::newRow("parent last") << false;
}

void TestAboutDialog::constructors()
{
    QFETCH(bool, parentFirst);

    QWidget parent;
    const QIcon icon = squareIcon(Qt::darkCyan);
    const QString name = QStringLiteral("敏感数据发现");
    const QString version = QStringLiteral("版本：1.0.3");
    const QString description = QStringLiteral("扫描本机文件中的敏感信息。");
    AboutDialog *dialog = parentFirst ? new AboutDialog(&parent, icon, name, version, description)
                                      : new AboutDialog(icon, name, version, description, &parent);

    QCOMPARE(dialog->parentWidget(), &parent);
    QCOMPARE(dialog->appName(), name);
    QCOMPARE(dialog->appVersion(), version);
    QCOMPARE(dialog->description(), description);
    QCOMPARE(labelText(*dialog, "appNameLabel"), name);
    QCOMPARE(labelText(*dialog, "appVersionLabel"), version);
    QCOMPARE(labelText(*dialog, "descriptionLabel"), description);
    QVERIFY(!dialog->appIcon().isNull());
    auto *iconLabel = dialog->findChild<QLabel *>(QStringLiteral("appIconLabel"));
    QVERIFY(iconLabel);
    QVERIFY(!iconLabel->isHidden());
    const QImage shown = iconLabel->pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(shown.pixelColor(shown.rect().center()), QColor(Qt::darkCyan));
}

void TestAboutDialog::execShowsModallyOverParent()
{
    QWidget parent;
    parent.setGeometry(50, 50, 800, 560);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    AboutDialog dialog(&parent, squareIcon(Qt::blue), QStringLiteral("应用"), QStringLiteral("1.0"),
                       QStringLiteral("描述"));
    QWidget *modal = nullptr;
    QRect geometry;
    kittest::whileModal(&dialog, [&] {
        modal = QApplication::activeModalWidget();
        geometry = dialog.frameGeometry();
        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));

    QCOMPARE(modal, static_cast<QWidget *>(&dialog));
    QVERIFY(!dialog.isVisible());
    QVERIFY((geometry.center() - parent.frameGeometry().center()).manhattanLength() <= 2);
}

void TestAboutDialog::panelLooksRight()
{
    AboutDialog dialog(squareIcon(Qt::blue), QStringLiteral("应用"), QStringLiteral("1.0"), QStringLiteral("描述"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage image = kittest::renderTransparent(&dialog);

    // Transparent outside the rounded corner, the light border on the edge, white inside.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
    const QColor edge = image.pixelColor(image.width() / 2, 0);
    QVERIFY2(kittest::near(edge, QColor(230, 230, 230), 6), qPrintable(kittest::describe(edge)));
    const QColor inside = image.pixelColor(12, image.height() / 2);
    QCOMPARE(inside, QColor(Qt::white));

    // The close button sits at the top right.
    const QRect close = dialog.closeButton()->geometry();
    QVERIFY(close.right() > dialog.width() - 24);
    QVERIFY(close.top() < 24);
    dialog.close();
}

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
