// MainWindow: choosing the scan target of each module, the idle-time
// switches, the keyword start control's enabling and the help bubbles.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "bubblewidget.h"
#include "hiddencombobox.h"
#include "keywordconfigallinonewidget.h"
#include "mainwindowlog.h"
#include "messagebox.h"
#include "scancontroller.h"

#include <QAbstractItemView>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const char *const HomeTarget = QT_TRANSLATE_NOOP("MainWindow", "用户家目录扫描");
const char *const CustomTarget = QT_TRANSLATE_NOOP("MainWindow", "自定义扫描");

const QString EnabledDisplayStyle = QStringLiteral("QPushButton {\n"
                                                   "    background-color: #3676F5;\n"
                                                   "    color: white;\n"
                                                   "    border: none;\n"
                                                   "    border-top-left-radius: 5px;\n"
                                                   "    border-bottom-left-radius: 5px;\n"
                                                   "    padding: 0px 12px;\n"
                                                   "}");
const QString DisabledDisplayStyle = QStringLiteral("QPushButton:disabled {\n"
                                                    "    background-color: rgba(204, 204, 204, 42%);\n"
                                                    "    border: none;\n"
                                                    "    border-top-left-radius: 5px;\n"
                                                    "    border-bottom-left-radius: 5px;\n"
                                                    "    padding: 0px 12px;\n"
                                                    "}");
const QString EnabledDropdownStyle =
    QStringLiteral("QPushButton {\n"
                   "    background-color: #3676F5;\n"
                   "    border: none;\n"
                   "    border-top-right-radius: 5px;\n"
                   "    border-bottom-right-radius: 5px;\n"
                   "    qproperty-icon: url(\":/SensitiveDiscovery/images/scan/down-symbolic_14_white@1x.png\");\n"
                   "    qproperty-iconSize: 16px;\n"
                   "}");
const QString DisabledDropdownStyle =
    QStringLiteral("QPushButton:disabled {\n"
                   "    background-color: rgba(204, 204, 204, 42%);\n"
                   "    border: none;\n"
                   "    border-top-right-radius: 5px;\n"
                   "    border-bottom-right-radius: 5px;\n"
                   "    qproperty-icon: url(\":/SensitiveDiscovery/images/scan/down-symbolic_14@1x.png\");\n"
                   "    qproperty-iconSize: 16px;\n"
                   "}");

HiddenComboBox *createTargetList(QWidget *parent)
{
    auto *list = new HiddenComboBox(parent);
    list->addItem(MainWindow::tr(HomeTarget));
    list->addItem(MainWindow::tr(CustomTarget));
    list->hide();
    return list;
}

} // namespace

// The keyword page's start control (disabled until the keyword panel
// reports keywords), its target list and help icon, and the panel itself.
void MainWindow::setupKeywordPage()
{
    m_keywordTargetList = createTargetList(this);
    m_keywordTargetList->setAnchorWidget(m_ui->m_KeywordScanComboBoxLikeDisplayButton);
    connect(m_keywordTargetList, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        m_ui->m_KeywordScanComboBoxLikeDisplayButton->setText(m_keywordTargetList->itemText(index));
    });
    m_ui->m_KeywordScanComboBoxLikeDisplayButton->setText(tr(HomeTarget));
    setKeywordStartEnabled(false);

    m_keywordConfigPanel = new KeywordConfigAllinoneWidget(this);
    connect(m_keywordConfigPanel, &KeywordConfigAllinoneWidget::KeywordConfigured, this,
            &MainWindow::onKeywordConfigured);
    connect(m_keywordConfigPanel, &KeywordConfigAllinoneWidget::KeywordTemplateConfigured, this,
            &MainWindow::onKeywordTemplateConfigured);
    m_keywordConfigPanel->hide();

    showKeywordSource();
    m_ui->m_SystemResourceIdleQuestionLabel->installEventFilter(this);
}

void MainWindow::setupPrivacyPage()
{
    // Parented to the window like the keyword list: inside the page, the
    // page's white style sheet would reach the list and blank its current row.
    m_privacyTargetList = createTargetList(this);
    m_privacyTargetList->setAnchorWidget(m_ui->m_PiiScanComboBoxLikeDisplayButton);
    connect(m_privacyTargetList, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        m_ui->m_PiiScanComboBoxLikeDisplayButton->setText(m_privacyTargetList->itemText(index));
    });
    m_ui->m_PiiScanComboBoxLikeDisplayButton->setText(tr(HomeTarget));

    m_ui->m_SystemResourceIdleQuestionLabel_2->installEventFilter(this);
    m_ui->m_PiiScanFeature1InfomationLabel->installEventFilter(this);

    setupPrivacyCategories();
}

void MainWindow::setKeywordStartEnabled(bool enabled)
{
    QPushButton *display = m_ui->m_KeywordScanComboBoxLikeDisplayButton;
    QPushButton *dropdown = m_ui->m_KeywordScanComboBoxLikeDropdownButton;
    display->setEnabled(enabled);
    dropdown->setEnabled(enabled);
    display->setStyleSheet(enabled ? EnabledDisplayStyle : DisabledDisplayStyle);
    dropdown->setStyleSheet(enabled ? EnabledDropdownStyle : DisabledDropdownStyle);
}

void MainWindow::onKeywordConfigured(const QList<QString> &keywords)
{
    setKeywordStartEnabled(!keywords.isEmpty());
    m_keywordSource = keywords.isEmpty() ? KeywordSource() : KeywordSource{false, QStringList(), keywords.size()};
    showKeywordSource();
}

void MainWindow::onKeywordTemplateConfigured(const QMap<QString, QString> &templates)
{
    setKeywordStartEnabled(!templates.isEmpty());
    m_keywordSource = templates.isEmpty() ? KeywordSource() : KeywordSource{true, templates.keys(), 0};
    showKeywordSource();
}

// What the next keyword scan will use, as the panel last reported it: so
// many typed keywords, or the ticked checklists by name (the first few).
void MainWindow::showKeywordSource()
{
    constexpr int NamedChecklists = 3;
    QLabel *label = m_ui->m_KeywordScanSourceLabel;
    if (!m_keywordSource.checklists && m_keywordSource.typedKeywords == 0) {
        label->setText(tr("尚未配置敏感词，请先进行敏感词配置"));
        return;
    }
    if (!m_keywordSource.checklists) {
        label->setText(tr("下次扫描将使用输入的 %1 个敏感词").arg(QLocale().toString(m_keywordSource.typedKeywords)));
        return;
    }
    const QStringList &names = m_keywordSource.checklistNames;
    QString shown = names.mid(0, NamedChecklists).join(tr("、"));
    if (names.size() > NamedChecklists)
        shown = tr("%1 等 %2 个清单").arg(shown, QLocale().toString(names.size()));
    label->setText(tr("下次扫描将使用自查清单：%1").arg(shown));
    label->setToolTip(names.join(QLatin1Char('\n')).toHtmlEscaped());
}

int MainWindow::keywordScanMode() const
{
    return m_ui->m_SystemResourceIdleKeywordScanSwitchButton->isChecked() ? IdleScanMode : NormalScanMode;
}

int MainWindow::privacyScanMode() const
{
    return m_ui->m_SystemResourceIdlePiiScanSwitchButton->isChecked() ? IdleScanMode : NormalScanMode;
}

// The target the list shows: the home directory, or the directories the
// user picks now. False when the user picked nothing; `pathlist` is then
// left as it was.
bool MainWindow::chooseScanTarget(const QComboBox *targets, QString *pathlist)
{
    // The first item is the home directory. (Its text keeps the language
    // the list was filled in, so the item, not its text, tells.)
    if (targets->currentIndex() == 0) {
        *pathlist = QDir::homePath();
        qCDebug(lcMainWindow) << "用户主目录:" << *pathlist;
        return true;
    }
    const QStringList directories = chooseDirectories();
    if (directories.isEmpty()) {
        showMessage(mvk::MessageBox::Information, tr("请选择扫描目录！"), true);
        return false;
    }
    *pathlist = directories.join(QLatin1Char('|'));
    qCDebug(lcMainWindow) << "Selected directories:" << *pathlist;
    return true;
}

// A directory dialog in which several directories can be chosen at once
// (Ctrl or Shift with the mouse), returned absolute in the dialog's order.
QStringList MainWindow::chooseDirectories()
{
    QFileDialog dialog(this, QString(), QString(), QString());
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setViewMode(QFileDialog::Detail);
    // The dialog makes its views single-selection for this file mode.
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(dialog.findChild<QListView *>(QStringLiteral("listView"))),
                                    static_cast<QAbstractItemView *>(dialog.findChild<QTreeView *>(QStringLiteral("treeView")))}) {
        if (view)
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    if (dialog.exec() != QDialog::Accepted)
        return QStringList();
    QStringList directories;
    const QStringList selected = dialog.selectedFiles();
    for (const QString &path : selected) {
        if (!path.isEmpty())
            directories << QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    }
    return directories;
}

void MainWindow::on_m_KeywordScanComboBoxLikeDisplayButton_clicked()
{
    QString pathlist;
    if (!chooseScanTarget(m_keywordTargetList, &pathlist))
        return;
    m_keywordScan->setPathList(pathlist);
    startKeywordScan();
}

void MainWindow::on_m_PiiScanComboBoxLikeDisplayButton_clicked()
{
    QString pathlist;
    if (!chooseScanTarget(m_privacyTargetList, &pathlist))
        return;
    m_privacyScan->setPathList(pathlist);
    startPrivacyScan();
}

void MainWindow::on_m_KeywordScanComboBoxLikeDropdownButton_clicked()
{
    m_keywordTargetList->showPopup();
}

void MainWindow::on_m_PiiScanComboBoxLikeDropdownButton_clicked()
{
    m_privacyTargetList->showPopup();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return QMainWindow::eventFilter(watched, event);
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label)
        return QMainWindow::eventFilter(watched, event);

    if (label == m_ui->m_SystemResourceIdleQuestionLabel || label == m_ui->m_SystemResourceIdleQuestionLabel_2) {
        mvk::BubbleWidget *bubble = helpBubble(label, tr("开启后仅在系统资源闲时进行扫描，不影响正常办公"),
                                               QSize(0, 55), mvk::BubbleWidget::LeftTail);
        const QPoint g = label->mapToGlobal(QPoint(0, 0));
        bubble->move(g.x() + label->width(), g.y() - bubble->height() / 2);
        bubble->show();
        return true;
    }
    if (label == m_ui->m_PiiScanFeature1InfomationLabel) {
        mvk::BubbleWidget *bubble =
            helpBubble(label, tr("遵循《个人信息保护法》要求"), QSize(200, 0), mvk::BubbleWidget::TopTail);
        const QPoint g = label->mapToGlobal(QPoint(0, 0));
        bubble->move(g.x() - bubble->width() / 2, g.y() + label->height());
        bubble->show();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// One bubble per help icon, made at its first press and shown again at the
// next ones; the window deletes them.
mvk::BubbleWidget *MainWindow::helpBubble(QObject *icon, const QString &text, const QSize &size, int tailDirection)
{
    mvk::BubbleWidget *bubble = m_helpBubbles.value(icon);
    if (!bubble) {
        bubble = new mvk::BubbleWidget;
        auto *layout = new QVBoxLayout(bubble);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QLabel(text, bubble));
        bubble->setWindowFlags(Qt::Popup);
        bubble->setTailSize(QSize(20, 10));
        bubble->setTailPosition(tailDirection, mvk::BubbleWidget::MiddleLocation);
        bubble->setOpacity(0.5);
        bubble->setEnableBlur(true);
        bubble->resize(size);
        m_helpBubbles.insert(icon, bubble);
    }
    // Settle the size the layout asks for before the bubble is placed by it.
    bubble->layout()->activate();
    bubble->resize(bubble->size().expandedTo(bubble->minimumSizeHint()));
    return bubble;
}
