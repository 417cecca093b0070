// Choosing where the real MainWindow scans: the split start controls and
// their target lists, the directory dialog, the idle-time switches, the
// keyword start control's enabling, and the help bubbles.

#include "scancontrollertest.h"

#include "bubblewidget.h"
#include "fakescanservice.h"
#include "hiddencombobox.h"
#include "keywordconfigallinonewidget.h"
#include "mainwindow.h"
#include "privatebus.h"
#include "switchbutton.h"
#include "ui_mainwindow.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QWindow>

#include <memory>

using namespace ScanControllerTest;

namespace {
const QString SetScanTask = QStringLiteral("SensitiveDiscoverySetScanTask");
const QString HomeTarget = QStringLiteral("用户家目录扫描");
const QString CustomTarget = QStringLiteral("自定义扫描");

// The names of one module's widgets.
struct Module
{
    const char *display;
    const char *dropdown;
    const char *idleSwitch;
    int configPage;
    int scanPage;
    int taskType;
};
const Module Keyword{"m_KeywordScanComboBoxLikeDisplayButton", "m_KeywordScanComboBoxLikeDropdownButton",
                     "m_SystemResourceIdleKeywordScanSwitchButton", 0, 1, 1};
const Module Privacy{"m_PiiScanComboBoxLikeDisplayButton", "m_PiiScanComboBoxLikeDropdownButton",
                     "m_SystemResourceIdlePiiScanSwitchButton", 2, 3, 3};

QList<mvk::BubbleWidget *> bubbles()
{
    QList<mvk::BubbleWidget *> list;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *bubble = qobject_cast<mvk::BubbleWidget *>(widget)) {
            // The file-type bubble of the two pages is not a help bubble.
            if (bubble->objectName() != QLatin1String("fileTypeHintBubble"))
                list << bubble;
        }
    }
    return list;
}
} // namespace

Q_DECLARE_METATYPE(Module)

class TestScanTarget : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_dir;

    void enterModule(const Module &module)
    {
        if (module.taskType == 1) {
            configureKeywords(*m_window, {QStringLiteral("机密")});
            click(m_window.get(), "m_KeywordScanButton");
        } else {
            click(m_window.get(), "m_PiiScanButton");
        }
        QCOMPARE(page(*m_window, "stackedWidget"), module.configPage);
    }

    QString pathList(const Module &module) const
    {
        return module.taskType == 1 ? m_window->keywordPathList() : m_window->privacyPathList();
    }

    // Picks the custom target through the dropdown's list, as the user does.
    void chooseCustomTarget(const Module &module)
    {
        click(m_window.get(), module.dropdown);
        HiddenComboBox *targets = targetList(module);
        QVERIFY(targets);
        QAbstractItemView *view = targets->view();
        QTRY_VERIFY(view->isVisible());
        const QRect row = view->visualRect(view->model()->index(1, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(targets->currentText(), CustomTarget);
    }

    HiddenComboBox *targetList(const Module &module) const
    {
        auto *display = child<QWidget>(m_window.get(), module.display);
        for (HiddenComboBox *list : m_window->findChildren<HiddenComboBox *>()) {
            // The keyword list opens under its display button; the privacy
            // list lives in the privacy split control.
            if (list->anchorWidget() == display || list->parentWidget() == display->parentWidget())
                return list;
        }
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char *name : {"甲 目录", "乙目录", "丙"})
            QVERIFY(QDir(m_dir.path()).mkdir(QString::fromUtf8(name)));
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
    }

    void init()
    {
        m_fake->reset();
        m_window = std::make_unique<MainWindow>();
        m_window->setEffectiveUidFunction([] { return 0u; });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void cleanupTestCase()
    {
        m_fake.reset();
        m_bus.reset();
    }

    void modules_data()
    {
        QTest::addColumn<Module>("module");
        QTest::newRow("keyword") << Keyword;
        QTest::newRow("privacy") << Privacy;
    }

    // The lists hold the two targets; the display shows the home target.
    void targetLists_data() { modules_data(); }
    void targetLists()
    {
        QFETCH(Module, module);
        HiddenComboBox *targets = targetList(module);
        QVERIFY(targets);
        QVERIFY(!targets->isVisible());
        QCOMPARE(targets->count(), 2);
        QCOMPARE(targets->itemText(0), HomeTarget);
        QCOMPARE(targets->itemText(1), CustomTarget);
        QCOMPARE(text(m_window.get(), module.display), HomeTarget);
    }

    void homeTarget_data() { modules_data(); }
    void homeTarget()
    {
        QFETCH(Module, module);
        enterModule(module);
        click(m_window.get(), module.display);
        const QList<FakeScanService::Call> created = m_fake->calls(SetScanTask);
        QCOMPARE(created.size(), 1);
        QCOMPARE(created.first().arguments.value(0).toString(), QDir::homePath());
        QVERIFY(!QDir::homePath().endsWith(QLatin1Char('/')) || QDir::homePath() == QLatin1String("/"));
        QCOMPARE(created.first().arguments.value(1).toInt(), module.taskType);
        QCOMPARE(pathList(module), QDir::homePath());
        QCOMPARE(page(*m_window, "stackedWidget"), module.scanPage);
    }

    // A language change while the window is open: the home target stays
    // the home directory.
    void homeTargetAfterLanguageChange()
    {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/Languages/translations/en_US.qm")));
        QVERIFY(QCoreApplication::installTranslator(&english));
        QCoreApplication::processEvents();
        QVERIFY(MainWindow::tr("用户家目录扫描") != HomeTarget);
        enterModule(Privacy);
        BoxScript boxes;
        click(m_window.get(), Privacy.display);
        QCoreApplication::removeTranslator(&english);
        QVERIFY(boxes.boxes().isEmpty());
        QCOMPARE(m_fake->calls(SetScanTask).size(), 1);
        QCOMPARE(m_fake->calls(SetScanTask).first().arguments.value(0).toString(), QDir::homePath());
    }

    // The open list shows its current target highlighted: the pages' white
    // style sheets must not reach it (they once blanked the privacy list's
    // current row).
    void openListShowsTheCurrentTarget_data() { modules_data(); }
    void openListShowsTheCurrentTarget()
    {
        QFETCH(Module, module);
        m_window->ui()->stackedWidget->setCurrentIndex(module.configPage);
        HiddenComboBox *targets = targetList(module);
        QVERIFY(targets);
        targets->showPopup();
        QAbstractItemView *view = targets->view();
        QTRY_VERIFY(view->isVisible());
        const QRect row = view->visualRect(targets->model()->index(targets->currentIndex(), 0));
        const QImage image = view->viewport()->grab(row).toImage();
        const QColor highlight = view->palette().color(QPalette::Highlight);
        int highlighted = 0;
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                colours << c.rgb();
                if (qAbs(c.red() - highlight.red()) + qAbs(c.green() - highlight.green())
                        + qAbs(c.blue() - highlight.blue()) < 40)
                    ++highlighted;
            }
        }
        targets->hidePopup();
        QVERIFY2(highlighted * 3 > image.width() * image.height(), "the current row is not highlighted");
        // Text on the highlight: more than the highlight and its edge.
        QVERIFY(colours.size() > 4);
    }

    // Choosing the custom target only changes the caption; the dialog comes
    // with the next press of the display button.
    void customTargetChangesTheCaption_data() { modules_data(); }
    void customTargetChangesTheCaption()
    {
        QFETCH(Module, module);
        enterModule(module);
        BoxScript boxes;
        chooseCustomTarget(module);
        QCOMPARE(text(m_window.get(), module.display), CustomTarget);
        QCoreApplication::processEvents();
        QVERIFY(boxes.boxes().isEmpty());
        QVERIFY(m_fake->calls().isEmpty());
        QCOMPARE(page(*m_window, "stackedWidget"), module.configPage);
    }

    // A dialog cancelled: the prompt, no task, the old path list kept.
    void noDirectoryChosen_data() { modules_data(); }
    void noDirectoryChosen()
    {
        QFETCH(Module, module);
        enterModule(module);
        chooseCustomTarget(module);
        const QString earlier = QStringLiteral("/srv/earlier");
        if (module.taskType == 1)
            m_window->setKeywordPathList(earlier);
        else
            m_window->setPrivacyPathList(earlier);

        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        QFileDialog::ViewMode view = QFileDialog::List;
        QWidget *dialogParent = nullptr;
        BoxScript boxes({[&](QWidget *box) {
                             auto *dialog = qobject_cast<QFileDialog *>(box);
                             if (dialog) {
                                 mode = dialog->fileMode();
                                 view = dialog->viewMode();
                                 dialogParent = dialog->parentWidget();
                             }
                             BoxScript::close(box);
                         },
                         BoxScript::press(QStringLiteral("确认"))});
        click(m_window.get(), module.display);

        QCOMPARE(boxes.boxes().size(), 2);
        QCOMPARE(boxes.boxes().at(0).kind, QStringLiteral("QFileDialog"));
        QCOMPARE(mode, QFileDialog::Directory);
        QCOMPARE(view, QFileDialog::Detail);
        QCOMPARE(dialogParent, m_window.get());
        const Box prompt = boxes.boxes().at(1);
        QCOMPARE(prompt.kind, QStringLiteral("mvk::MessageBox"));
        QCOMPARE(prompt.text, QStringLiteral("请选择扫描目录！"));
        QCOMPARE(prompt.icon, 1);
        QCOMPARE(prompt.buttons, (QStringList{QStringLiteral("确认"), QStringLiteral("取消")}));
        QCOMPARE(prompt.important, QStringList{QStringLiteral("确认")});
        QCOMPARE(prompt.secondary, QStringList{QStringLiteral("取消")});
        QVERIFY(m_fake->calls().isEmpty());
        QCOMPARE(page(*m_window, "stackedWidget"), module.configPage);
        QCOMPARE(pathList(module), earlier);
    }

    // Several directories picked at once travel joined with "|", in the
    // order of the dialog's selection.
    void chosenDirectories_data()
    {
        QTest::addColumn<Module>("module");
        QTest::addColumn<QStringList>("picked");
        QTest::newRow("keyword, one") << Keyword << QStringList{QStringLiteral("丙")};
        QTest::newRow("keyword, two") << Keyword << QStringList{QStringLiteral("乙目录"), QStringLiteral("甲 目录")};
        QTest::newRow("privacy, two") << Privacy << QStringList{QStringLiteral("甲 目录"), QStringLiteral("丙")};
        QTest::newRow("privacy, three")
            << Privacy << QStringList{QStringLiteral("丙"), QStringLiteral("甲 目录"), QStringLiteral("乙目录")};
    }
    void chosenDirectories()
    {
        QFETCH(Module, module);
        QFETCH(QStringList, picked);
        enterModule(module);
        chooseCustomTarget(module);

        QStringList expected;
        for (const QString &name : picked)
            expected << QDir(m_dir.path()).absoluteFilePath(name);
        bool extended = false;
        BoxScript boxes({[&](QWidget *box) {
            auto *dialog = qobject_cast<QFileDialog *>(box);
            if (!dialog) {
                BoxScript::close(box);
                return;
            }
            dialog->setDirectory(m_dir.path());
            auto *list = dialog->findChild<QAbstractItemView *>(QStringLiteral("treeView"));
            auto *model = dialog->findChild<QFileSystemModel *>();
            if (!list || !model) {
                BoxScript::close(box);
                return;
            }
            extended = list->selectionMode() == QAbstractItemView::ExtendedSelection;
            // Ctrl-click each directory in turn, as the user picks them.
            for (const QString &path : expected) {
                const QModelIndex index = model->index(path);
                QTRY_VERIFY(list->visualRect(index).isValid());
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                  list->visualRect(index).center());
            }
            static_cast<QDialog *>(dialog)->accept();
            if (dialog->isVisible())
                BoxScript::close(box);
        }});
        click(m_window.get(), module.display);

        QVERIFY(extended);
        QCOMPARE(boxes.boxes().size(), 1);
        const QList<FakeScanService::Call> created = m_fake->calls(SetScanTask);
        QCOMPARE(created.size(), 1);
        QCOMPARE(created.first().arguments.value(0).toString(), expected.join(QLatin1Char('|')));
        QCOMPARE(pathList(module), expected.join(QLatin1Char('|')));
        QCOMPARE(page(*m_window, "stackedWidget"), module.scanPage);
    }

    void idleSwitch_data()
    {
        QTest::addColumn<Module>("module");
        QTest::addColumn<bool>("idle");
        QTest::addColumn<int>("scanMode");
        QTest::newRow("keyword, off") << Keyword << false << 1;
        QTest::newRow("keyword, on") << Keyword << true << 4;
        QTest::newRow("privacy, off") << Privacy << false << 1;
        QTest::newRow("privacy, on") << Privacy << true << 4;
    }
    void idleSwitch()
    {
        QFETCH(Module, module);
        QFETCH(bool, idle);
        QFETCH(int, scanMode);
        enterModule(module);
        auto *toggle = child<mvk::SwitchButton>(m_window.get(), module.idleSwitch);
        QVERIFY(toggle);
        if (idle)
            QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->isChecked(), idle);
        QCOMPARE(module.taskType == 1 ? m_window->keywordScanMode() : m_window->privacyScanMode(), scanMode);
        click(m_window.get(), module.display);
        QCOMPARE(m_fake->calls(SetScanTask).size(), 1);
        QCOMPARE(m_fake->calls(SetScanTask).first().arguments.value(2).toInt(), scanMode);
    }

    // Each report of the keyword panel decides alone: the last one wins.
    void keywordStartControl_data()
    {
        QTest::addColumn<QList<QVariant>>("reports"); // QStringList: keywords; QVariantMap: checklists
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("source"); // what the page says the next scan uses
        const QVariant none = QVariant::fromValue(QStringList());
        const QVariant some = QVariant::fromValue(QStringList{QStringLiteral("机密")});
        const QVariant three = QVariant::fromValue(QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("甲")});
        const QVariant noChecklist = QVariant::fromValue(QVariantMap());
        const QVariant checklist = QVariant::fromValue(QVariantMap{{QStringLiteral("清单"), QStringLiteral("2024")}});
        QVariantMap five;
        for (const char *name : {"A", "B", "C", "D", "E"})
            five.insert(QLatin1String(name), QStringLiteral("2024"));
        const QString unset = QStringLiteral("尚未配置敏感词，请先进行敏感词配置");
        QTest::newRow("nothing reported") << QList<QVariant>() << false << unset;
        QTest::newRow("keywords") << QList<QVariant>{some} << true << "下次扫描将使用输入的 1 个敏感词";
        QTest::newRow("no keywords") << QList<QVariant>{none} << false << unset;
        QTest::newRow("keywords, then no checklist") << QList<QVariant>{some, noChecklist} << false << unset;
        QTest::newRow("checklist") << QList<QVariant>{checklist} << true << "下次扫描将使用自查清单：清单";
        QTest::newRow("checklist, then no keywords") << QList<QVariant>{checklist, none} << false << unset;
        QTest::newRow("no keywords, then keywords") << QList<QVariant>{none, some} << true
                                                    << "下次扫描将使用输入的 1 个敏感词";
        QTest::newRow("a keyword typed twice counts twice") << QList<QVariant>{three} << true
                                                            << "下次扫描将使用输入的 3 个敏感词";
        QTest::newRow("many checklists, the first named")
            << QList<QVariant>{some, QVariant::fromValue(five)} << true << "下次扫描将使用自查清单：A、B、C 等 5 个清单";
    }
    void keywordStartControl()
    {
        QFETCH(QList<QVariant>, reports);
        QFETCH(bool, enabled);
        QFETCH(QString, source);
        auto *panel = m_window->findChild<KeywordConfigAllinoneWidget *>();
        QVERIFY(panel);
        QVERIFY(!panel->isVisible());
        for (const QVariant &report : reports) {
            if (report.userType() == QMetaType::QStringList) {
                emit panel->KeywordConfigured(report.toStringList());
            } else {
                QMap<QString, QString> templates;
                const QVariantMap map = report.toMap();
                for (auto it = map.constBegin(); it != map.constEnd(); ++it)
                    templates.insert(it.key(), it.value().toString());
                emit panel->KeywordTemplateConfigured(templates);
            }
        }
        auto *display = child<QPushButton>(m_window.get(), Keyword.display);
        auto *dropdown = child<QPushButton>(m_window.get(), Keyword.dropdown);
        QCOMPARE(display->isEnabled(), enabled);
        QCOMPARE(dropdown->isEnabled(), enabled);
        if (enabled) {
            QVERIFY(display->styleSheet().startsWith(QLatin1String("QPushButton {")));
            QVERIFY(display->styleSheet().contains(QLatin1String("#3676F5")));
            QVERIFY(dropdown->styleSheet().contains(QLatin1String("down-symbolic_14_white@1x.png")));
        } else {
            QVERIFY(display->styleSheet().startsWith(QLatin1String("QPushButton:disabled {")));
            QVERIFY(display->styleSheet().contains(QLatin1String("rgba(204, 204, 204, 42%)")));
            QVERIFY(dropdown->styleSheet().contains(QLatin1String("down-symbolic_14@1x.png")));
        }
        QCOMPARE(child<QLabel>(m_window.get(), "m_KeywordScanSourceLabel")->text(), source);
        // The privacy start control is never disabled.
        QVERIFY(child<QPushButton>(m_window.get(), Privacy.display)->isEnabled());
        QVERIFY(child<QPushButton>(m_window.get(), Privacy.dropdown)->isEnabled());
    }

    // The same through the panel's own buttons: typed keywords enable the
    // control, an empty checklist tab closed later disables it again.
    void keywordStartControlThroughThePanel()
    {
        auto *display = child<QPushButton>(m_window.get(), Keyword.display);
        QVERIFY(!display->isEnabled());
        configureKeywords(*m_window, {QStringLiteral("机密")});
        QVERIFY(display->isEnabled());
        auto *panel = m_window->findChild<KeywordConfigAllinoneWidget *>();
        click(m_window.get(), "m_KeywordConfigButton");
        QVERIFY(panel->isVisible());
        QTest::mouseClick(child<QPushButton>(panel, "m_TemplateConfirmButton"), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QVERIFY(!display->isEnabled());
    }

    void helpBubbles_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("rightOfIcon"); // else below it
        QTest::newRow("keyword idle help") << "m_SystemResourceIdleQuestionLabel" << 0
                                           << "开启后仅在系统资源闲时进行扫描，不影响正常办公" << true;
        QTest::newRow("privacy idle help") << "m_SystemResourceIdleQuestionLabel_2" << 2
                                           << "开启后仅在系统资源闲时进行扫描，不影响正常办公" << true;
        QTest::newRow("privacy law") << "m_PiiScanFeature1InfomationLabel" << 2 << "遵循《个人信息保护法》要求"
                                     << false;
    }
    void helpBubbles()
    {
        QFETCH(QString, icon);
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(bool, rightOfIcon);
        if (page == 2)
            click(m_window.get(), "m_PiiScanButton");
        auto *label = m_window->findChild<QLabel *>(icon);
        QVERIFY(label && label->isVisible());
        QVERIFY(bubbles().isEmpty());

        for (int press = 0; press < 3; ++press) {
            QTest::mousePress(label, Qt::LeftButton);
            const QList<mvk::BubbleWidget *> shown = bubbles();
            // One bubble per icon, however often it is pressed.
            QCOMPARE(shown.size(), 1);
            mvk::BubbleWidget *bubble = shown.first();
            QVERIFY(bubble->isVisible());
            QVERIFY(bubble->windowFlags().testFlag(Qt::Popup));
            auto *bubbleText = bubble->findChild<QLabel *>();
            QVERIFY(bubbleText);
            QCOMPARE(bubbleText->text(), text);
            const QPoint g = label->mapToGlobal(QPoint(0, 0));
            QCOMPARE(bubble->tailLocation(), int(mvk::BubbleWidget::MiddleLocation));
            QVERIFY(bubble->width() >= bubbleText->sizeHint().width());
            // move() places the window's frame. (The offscreen platform
            // invents frame margins for a popup shown again, so the place
            // is checked on the first show.)
            const QPoint placed = bubble->windowHandle()->framePosition();
            if (press == 0) {
                QCOMPARE(placed, rightOfIcon ? QPoint(g.x() + label->width(), g.y() - bubble->height() / 2)
                                             : QPoint(g.x() - bubble->width() / 2, g.y() + label->height()));
            }
            if (rightOfIcon) {
                QCOMPARE(bubble->tailDirection(), int(mvk::BubbleWidget::LeftTail));
            } else {
                QCOMPARE(bubble->tailDirection(), int(mvk::BubbleWidget::TopTail));
                QVERIFY(bubble->width() >= 200);
            }
            bubble->close();
        }
    }
};

QTEST_MAIN(TestScanTarget)
#include "tst_scantarget.moc"
