// Every page and dialog the main window shows, in each interface catalogue,
// at the window's minimum size and with long paths and large counts: no
// label or button shows less than its whole text (texts the widget elides
// on purpose excepted) and no two visible widgets side by side overlap or
// leave their parent. Also: the scanning page's controls stay where they are
// whatever the length of the path being scanned.

#include "acceptingtaskcalls.h"
#include "catalogues.h"
#include "elidedpathlabel.h"
#include "fakescanservice.h"
#include "filesnotreadlink.h"
#include "fixlabel.h"
#include "headercheckbox.h"
#include "keywordconfigallinonewidget.h"
#include "keywordsensitivedetailexwidget.h"
#include "mainwindow.h"
#include "menubutton.h"
#include "modalanswerer.h"
#include "piisensitivedetailexwidget.h"
#include "privatebus.h"
#include "runhistorypage.h"
#include "scancontroller.h"
#include "ui_mainwindow.h"
#include "windowbuttonbar.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTranslator>
#include <QtMath>

#include <memory>

namespace {

// What a user meets: long paths, large counts, long checklist names.
const QString Target = QStringLiteral("/home/演示用户/文档");
const QString LongPath = Target + QStringLiteral("/一个很长的目录名称-with-a-long-name").repeated(14)
                         + QStringLiteral("/季度报告.docx");
constexpr int FileTotal = 123456789;
// Files of a run in the history: a large home directory.
constexpr int HistoryFiles = 2345678;
constexpr int FilesScanned = 98765432;
constexpr int ElapsedSeconds = 359999;
constexpr int ManyHits = 1234567;
constexpr int ManyFilesNotRead = 12345;

enum View {
    KeywordStart,
    PrivacyStart,
    KeywordScanning,
    KeywordPaused,
    KeywordCancelled,
    KeywordCompleted,
    KeywordNothingFound,
    KeywordResultRows,
    PrivacyScanning,
    PrivacyCancelled,
    PrivacyCompleted,
    About,
    KeywordPanel,
    KeywordPanelChecklists,
    CancelQuestion,
    NoKeywordsPrompt,
    IdleHelp,
    LegalHelp,
    FileTypeHelp,
    KeywordDetailDialog,
    PrivacyDetailDialog,
    HistoryRuns,
    HistoryUnavailable,
};

int textWidth(const QWidget *widget, const QString &text, Qt::TextFormat format)
{
    if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text))) {
        QTextDocument document;
        document.setDefaultFont(widget->font());
        document.setDocumentMargin(0);
        document.setHtml(text);
        return qCeil(document.idealWidth());
    }
    int width = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        width = qMax(width, widget->fontMetrics().horizontalAdvance(line));
    return width;
}

// Labels that cut their text on purpose, with the whole text in a tooltip.
bool elides(const QWidget *widget)
{
    return qobject_cast<const ElidedPathLabel *>(widget) || qobject_cast<const FixLabel *>(widget);
}

QString describe(const QWidget *widget)
{
    return QStringLiteral("%1 (%2)").arg(widget->objectName(), QLatin1String(widget->metaObject()->className()));
}

void checkText(const QWidget *widget, QStringList *problems)
{
    if (elides(widget))
        return;
    // A column's title is cut by its section; the sort arrow needs room too.
    if (auto *header = qobject_cast<const QHeaderView *>(widget)) {
        const int arrow = header->isSortIndicatorShown() ? header->style()->pixelMetric(QStyle::PM_HeaderMarkSize) : 0;
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section))
                continue;
            const QString title = header->model()->headerData(section, header->orientation()).toString();
            const int needed = header->fontMetrics().horizontalAdvance(title) + arrow
                               + 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin);
            if (needed > header->sectionSize(section))
                *problems << QStringLiteral("%1 section %2 needs %3 px, has %4: \"%5\"")
                                 .arg(describe(header))
                                 .arg(section)
                                 .arg(needed)
                                 .arg(header->sectionSize(section))
                                 .arg(title);
        }
        return;
    }
    if (auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty())
            return;
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                          -label->margin());
        if (label->wordWrap()) {
            const int needed = label->heightForWidth(label->width());
            if (needed > label->height())
                *problems << QStringLiteral("%1 needs %2 px of height, has %3: \"%4\"")
                                 .arg(describe(label))
                                 .arg(needed)
                                 .arg(label->height())
                                 .arg(label->text());
            return;
        }
        const int needed = textWidth(label, label->text(), label->textFormat()) + qMax(0, label->indent());
        if (needed > room.width())
            *problems << QStringLiteral("%1 needs %2 px, has %3: \"%4\"")
                             .arg(describe(label))
                             .arg(needed)
                             .arg(room.width())
                             .arg(label->text());
        return;
    }
    if (auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        if (text.isEmpty())
            return;
        int room = button->width();
        if (auto *push = qobject_cast<const QPushButton *>(button)) {
            QStyleOptionButton option;
            option.initFrom(push);
            option.text = push->text();
            option.icon = push->icon();
            option.iconSize = push->iconSize();
            room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push).width();
        }
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        const int needed = textWidth(button, text, Qt::PlainText) + icon;
        if (needed > room)
            *problems << QStringLiteral("%1 needs %2 px, has %3: \"%4\"")
                             .arg(describe(button))
                             .arg(needed)
                             .arg(room)
                             .arg(text);
    }
}

// The parts a scroll area scrolls may be larger than the area.
bool scrolled(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    const auto *area = parent ? qobject_cast<const QAbstractScrollArea *>(parent->parentWidget()) : nullptr;
    return area && area->viewport() == parent;
}

// `skipped`: a part checked on its own, or not at all.
void checkTree(const QWidget *widget, const QWidget *skipped, QStringList *problems)
{
    if (widget == skipped)
        return;
    checkText(widget, problems);
    QList<const QWidget *> shown;
    for (QObject *child : widget->children()) {
        auto *w = qobject_cast<const QWidget *>(child);
        if (w && !w->isWindow() && w->isVisible())
            shown << w;
    }
    for (int i = 0; i < shown.size(); ++i) {
        const QWidget *a = shown.at(i);
        if (!scrolled(a) && !widget->rect().contains(a->geometry()))
            *problems << QStringLiteral("%1 at %2,%3 %4x%5 leaves %6")
                             .arg(describe(a))
                             .arg(a->x())
                             .arg(a->y())
                             .arg(a->width())
                             .arg(a->height())
                             .arg(describe(widget));
        for (int j = i + 1; j < shown.size(); ++j) {
            // A header's check box sits on the header by design.
            if (qobject_cast<const HeaderCheckBox *>(a) || qobject_cast<const HeaderCheckBox *>(shown.at(j)))
                continue;
            if (a->geometry().intersects(shown.at(j)->geometry()))
                *problems << QStringLiteral("%1 overlaps %2").arg(describe(a), describe(shown.at(j)));
        }
        checkTree(a, skipped, problems);
    }
}

QStringList layoutProblems(const QWidget *root, const QWidget *skipped = nullptr)
{
    QStringList problems;
    checkTree(root, skipped, &problems);
    return problems;
}

// Layouts settle over a few passes (a label that wraps makes its row taller).
void settle()
{
    for (int pass = 0; pass < 5; ++pass) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

QString json(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// The service's history: a run of each module on the target, which did not
// read many files.
void scriptHistory(FakeScanService &fake)
{
    QJsonArray runs;
    runs.append(QJsonObject{{QStringLiteral("run"), 2}, {QStringLiteral("path_list"), Target},
                            {QStringLiteral("task_type"), QStringLiteral("privacy")}});
    runs.append(QJsonObject{{QStringLiteral("run"), 1}, {QStringLiteral("path_list"), Target},
                            {QStringLiteral("task_type"), QStringLiteral("keyword")}});
    fake.setReply(QStringLiteral("ListRuns"),
                  {0, QString::fromUtf8(QJsonDocument(runs).toJson(QJsonDocument::Compact))});
    QJsonArray files;
    for (int i = 0; i < ManyFilesNotRead; ++i)
        files.append(QJsonObject{{QStringLiteral("file"), LongPath}, {QStringLiteral("kind"), QStringLiteral("unreadable")},
                                 {QStringLiteral("reason"), QStringLiteral("EACCES")}});
    fake.setReply(QStringLiteral("GetRunFilesNotRead"),
                  {0, QString::fromUtf8(QJsonDocument(files).toJson(QJsonDocument::Compact))});
}

// The ended pages learn of the files not read from the service: waits until
// one of them shows its line; false when none does.
bool waitForFilesNotRead(const QWidget *window)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        for (const FilesNotReadLink *line : window->findChildren<FilesNotReadLink *>())
            if (line->isVisible())
                return true;
        QTest::qWait(10);
    }
    return false;
}

} // namespace

class TestLayoutFit : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;

    // The scan of a module, accepted by the service, on its scanning page
    // with a long path and large counts.
    static void scanning(MainWindow &window, AcceptingTaskCalls *calls, bool keyword)
    {
        ScanController *scan = keyword ? window.keywordScan() : window.privacyScan();
        scan->setTaskCalls(calls);
        scan->setPathList(Target);
        QVERIFY(scan->start(QString(), MainWindow::NormalScanMode));
        Ui::MainWindow *ui = window.ui();
        ui->stackedWidget->setCurrentIndex(keyword ? 1 : 3);
        (keyword ? ui->stackedWidget_2 : ui->stackedWidget_3)->setCurrentIndex(0);
        settle();
        if (keyword) {
            Q_EMIT window.KeywordScanProgressRangeGenerated(0, FileTotal);
            Q_EMIT window.KeywordScanTimeElapsed(ElapsedSeconds);
            Q_EMIT window.KeywordScanProgressValueChanged(Target, LongPath, FilesScanned);
        } else {
            Q_EMIT window.PiiScanProgressRangeGenerated(0, FileTotal);
            Q_EMIT window.PiiScanTimeElapsed(ElapsedSeconds);
            Q_EMIT window.PiiScanProgressValueChanged(Target, LongPath, FilesScanned);
            QVariantMap hits;
            for (const QString &category : window.privacyCategories().keys())
                hits.insert(category, ManyHits);
            Q_EMIT window.PiiSensitiveDetected(Target, hits);
        }
    }

    // Opens a detail dialog and waits until its reply has been handled.
    static QWidget *waitForReply(QWidget *dialog)
    {
        dialog->show();
        QPointer<QDBusPendingCallWatcher> watcher = dialog->findChild<QDBusPendingCallWatcher *>();
        QElapsedTimer timer;
        timer.start();
        while (watcher && timer.elapsed() < 10000)
            QTest::qWait(10);
        return dialog;
    }

    // The top-level pop-up or dialog a press opened.
    static QWidget *shownWindow(const QWidget *except)
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            return popup;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != except && w->isVisible() && !w->inherits("QComboBoxPrivateContainer"))
                return w;
        return nullptr;
    }

    // What a modal box opened by `open` shows, checked while it is open;
    // then the box is confirmed or dismissed.
    static QStringList modalProblems(const std::function<void()> &open, bool confirm = false)
    {
        QStringList problems;
        ModalAnswerer answer([&problems, confirm](QWidget *box) {
            settle();
            problems = layoutProblems(box);
            if (!confirm || !ModalAnswerer::clickButton(box, QCoreApplication::translate("MainWindow", "确认")))
                ModalAnswerer::dismiss(box);
        });
        open();
        if (!answer.answered())
            problems << QStringLiteral("no box opened");
        return problems;
    }

    QStringList problemsOf(View view, MainWindow &window, AcceptingTaskCalls *calls)
    {
        Ui::MainWindow *ui = window.ui();
        switch (view) {
        case KeywordStart: {
            QMap<QString, QString> checklists;
            for (int i = 1; i <= 5; ++i)
                checklists.insert(QStringLiteral("二〇二六年第%1季度对外合作保密协议关键词清单").arg(i),
                                  QStringLiteral("2026-01-0%1").arg(i));
            window.onKeywordTemplateConfigured(checklists);
            ui->stackedWidget->setCurrentIndex(0);
            break;
        }
        case PrivacyStart:
            ui->stackedWidget->setCurrentIndex(2);
            break;
        case KeywordScanning:
        case KeywordPaused:
        case KeywordCancelled:
        case KeywordCompleted:
        case KeywordNothingFound:
        case KeywordResultRows:
            scanning(window, calls, true);
            if (view == KeywordPaused)
                window.keywordScan()->pauseOrContinue();
            if (view == KeywordCancelled || view == KeywordCompleted || view == KeywordResultRows)
                Q_EMIT window.KeywordSensitiveDetected(Target, LongPath, QVariantMap{{QStringLiteral("机密"), ManyHits}});
            if (view == KeywordCancelled)
                Q_EMIT window.KeywordScanTerminated();
            if (view == KeywordCompleted || view == KeywordNothingFound || view == KeywordResultRows)
                Q_EMIT window.KeywordScanProgressValueChanged(Target, QString(), 0);
            if (view == KeywordResultRows) {
                settle();
                return layoutProblems(ui->m_keywordScanResultList);
            }
            if ((view == KeywordCancelled || view == KeywordCompleted) && !waitForFilesNotRead(&window))
                return {QStringLiteral("the files not read are not shown")};
            break;
        case PrivacyScanning:
        case PrivacyCancelled:
        case PrivacyCompleted:
            scanning(window, calls, false);
            if (view == PrivacyCancelled) {
                const QStringList problems = modalProblems([ui] { ui->m_PiiScanCancelScanButton->click(); }, true);
                if (!problems.isEmpty())
                    return problems;
            }
            if (view == PrivacyCompleted)
                Q_EMIT window.PiiScanProgressValueChanged(Target, QString(), 0);
            if (view != PrivacyScanning && !waitForFilesNotRead(&window))
                return {QStringLiteral("the files not read are not shown")};
            break;
        case About:
            return modalProblems([ui] { ui->m_WindowButtonBar->menuButton()->aboutAction()->trigger(); });
        case KeywordPanel:
        case KeywordPanelChecklists:
            window.keywordConfigPanel()->findChild<QTabWidget *>(QStringLiteral("tabWidget"))
                ->setCurrentIndex(view == KeywordPanel ? 0 : 1);
            window.keywordConfigPanel()->show();
            settle();
            return layoutProblems(window.keywordConfigPanel());
        case CancelQuestion:
            scanning(window, calls, true);
            return modalProblems([ui] { ui->m_KeywordScanCancelScanButton->click(); });
        case NoKeywordsPrompt:
            return modalProblems([&window] { window.startKeywordScan(); });
        case IdleHelp:
        case LegalHelp:
        case FileTypeHelp: {
            ui->stackedWidget->setCurrentIndex(view == IdleHelp ? 0 : 2);
            settle();
            if (view == FileTypeHelp)
                ui->m_PiiScanFiletypeConfigButton->click();
            else
                QTest::mousePress(view == IdleHelp ? ui->m_SystemResourceIdleQuestionLabel
                                                   : ui->m_PiiScanFeature1InfomationLabel,
                                  Qt::LeftButton);
            settle();
            QWidget *bubble = shownWindow(&window);
            if (!bubble)
                return {QStringLiteral("no bubble shown")};
            const QStringList problems = layoutProblems(bubble);
            bubble->close();
            return problems;
        }
        case KeywordDetailDialog: {
            const QJsonArray hits{QJsonObject{{QStringLiteral("sensitive"), QStringLiteral("机密")},
                                              {QStringLiteral("sensitive_ctx"), QStringLiteral("本合同内容属于机密信息")}}};
            m_fake->setReply(QStringLiteral("SensitiveDiscoveryGetKeywordDetectedDetail"),
                             {0, json({{QStringLiteral("filepath"), LongPath}, {QStringLiteral("sensitives"), hits}})});
            QWidget *dialog = waitForReply(
                new KeywordSensitiveDetailExWidget(window.sensitiveScanInterface(), Target, LongPath));
            settle();
            const QStringList problems = layoutProblems(dialog);
            delete dialog;
            return problems;
        }
        case HistoryRuns:
        case HistoryUnavailable: {
            if (view == HistoryUnavailable) {
                m_fake->setError(QStringLiteral("ListRuns"), QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                 QStringLiteral("the findings store is locked by another process, try again later"));
            } else {
                QJsonArray runs;
                for (int run = 1; run <= 40; ++run)
                    runs.append(QJsonObject{
                        {QStringLiteral("run"), run},
                        {QStringLiteral("path_list"), run % 2 ? LongPath : QStringLiteral("<b>/srv/标记</b>|") + Target},
                        {QStringLiteral("task_type"), run % 2 ? QStringLiteral("privacy") : QStringLiteral("keyword")},
                        {QStringLiteral("outcome"), run % 3 ? QStringLiteral("completed") : QStringLiteral("cancelled")},
                        {QStringLiteral("started"), QStringLiteral("2026-12-07T10:%1:00+08:00").arg(run, 2, 10, QLatin1Char('0'))},
                        {QStringLiteral("files"), QJsonObject{{QStringLiteral("walked"), HistoryFiles},
                                                              {QStringLiteral("with_hits"), HistoryFiles},
                                                              {QStringLiteral("not_read"), HistoryFiles}}}});
                m_fake->setRuns(QString::fromUtf8(QJsonDocument(runs).toJson(QJsonDocument::Compact)));
            }
            auto *history = window.historyPage();
            QSignalSpy refreshed(history, &RunHistoryPage::refreshed);
            auto *button = window.findChild<QPushButton *>(QStringLiteral("m_HistoryButton"));
            if (!button)
                return {QStringLiteral("no history button")};
            QTest::mouseClick(button, Qt::LeftButton);
            if (!refreshed.wait())
                return {QStringLiteral("the history was not listed")};
            if (view == HistoryRuns) {
                history->selectRun(1);
                auto *summary = history->findChild<QPlainTextEdit *>(QStringLiteral("m_RunHistorySummary"));
                if (!QTest::qWaitFor([summary] { return summary->toPlainText().contains(LongPath); }, 5000))
                    return {QStringLiteral("no summary: %1").arg(summary->toPlainText())};
            }
            settle();
            return layoutProblems(&window);
        }
        case PrivacyDetailDialog: {
            const QJsonArray hits{QJsonObject{{QStringLiteral("sensitive"), QStringLiteral("13800138000")},
                                              {QStringLiteral("sensitive_ctx"), QStringLiteral("电话 13800138000")}}};
            const QJsonArray files{QJsonObject{{QStringLiteral("filepath"), LongPath},
                                               {QStringLiteral("sensitives"), hits}}};
            const QJsonArray rules{QJsonObject{{QStringLiteral("rulename"), QStringLiteral("手机号码")},
                                               {QStringLiteral("rulesensitives"), files}}};
            m_fake->setReply(QStringLiteral("SensitiveDiscoveryGetDataIdDetectedDetail"),
                             {0, json({{QStringLiteral("groupname"), QStringLiteral("身份标识")},
                                       {QStringLiteral("groupsensitives"), rules}})});
            QWidget *dialog = waitForReply(
                new PiiSensitiveDetailExWidget(window.sensitiveScanInterface(), Target, QStringLiteral("身份标识")));
            settle();
            const QStringList problems = layoutProblems(dialog);
            delete dialog;
            return problems;
        }
        }
        settle();
        // The result rows are checked on their own.
        return layoutProblems(&window, ui->m_keywordScanResultList);
    }

    static void removeTranslators()
    {
        for (QTranslator *t : qApp->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly)) {
            qApp->removeTranslator(t);
            delete t;
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
    }
    void cleanup()
    {
        removeTranslators();
        m_fake->reset();
    }
    void cleanupTestCase()
    {
        m_fake.reset();
        m_bus.reset();
    }

    void everyViewFits_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("view");
        const QList<QPair<const char *, View>> views{
            {"keyword start", KeywordStart},       {"privacy start", PrivacyStart},
            {"keyword scanning", KeywordScanning}, {"keyword paused", KeywordPaused},
            {"keyword cancelled", KeywordCancelled}, {"keyword completed", KeywordCompleted},
            {"keyword nothing found", KeywordNothingFound},
            {"keyword result rows", KeywordResultRows}, {"privacy scanning", PrivacyScanning},
            {"privacy cancelled", PrivacyCancelled}, {"privacy completed", PrivacyCompleted},
            {"about", About},                      {"keyword panel", KeywordPanel},
            {"keyword panel, checklists", KeywordPanelChecklists},
            {"cancel question", CancelQuestion},   {"no keywords prompt", NoKeywordsPrompt},
            {"idle help", IdleHelp},               {"legal help", LegalHelp},
            {"file type help", FileTypeHelp},      {"keyword detail", KeywordDetailDialog},
            {"privacy detail", PrivacyDetailDialog}, {"history", HistoryRuns},
            {"history unavailable", HistoryUnavailable},
        };
        for (const char *locale : {"zh_CN", "zh_HK", "en_US"})
            for (const auto &view : views)
                QTest::addRow("%s, %s", locale, view.first) << QString::fromLatin1(locale) << int(view.second);
    }
    void everyViewFits()
    {
        QFETCH(QString, locale);
        QFETCH(int, view);
        QVERIFY(!Catalogues::install(qApp, locale, QStringLiteral("/nonexistent")).isEmpty());
        scriptHistory(*m_fake);
        AcceptingTaskCalls calls;
        MainWindow window;
        window.setEffectiveUidFunction([] { return 0u; });
        window.resize(window.minimumSize());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        settle();
        QCOMPARE(window.size(), window.minimumSize());
        const QStringList problems = problemsOf(View(view), window, &calls);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        // The window keeps its size: nothing pushed it wider or taller.
        QCOMPARE(window.size(), window.minimumSize());
    }

    // The bar, the buttons and the heading keep their geometry whatever the
    // length of the path being scanned.
    void scanningControlsStayPut_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("keyword");
        for (const char *locale : {"zh_CN", "en_US"}) {
            QTest::addRow("%s, keyword", locale) << QString::fromLatin1(locale) << true;
            QTest::addRow("%s, privacy", locale) << QString::fromLatin1(locale) << false;
        }
    }
    void scanningControlsStayPut()
    {
        QFETCH(QString, locale);
        QFETCH(bool, keyword);
        Catalogues::install(qApp, locale, QStringLiteral("/nonexistent"));
        AcceptingTaskCalls calls;
        MainWindow window;
        window.setEffectiveUidFunction([] { return 0u; });
        window.resize(window.minimumSize());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        scanning(window, &calls, keyword);
        Ui::MainWindow *ui = window.ui();
        const QList<QWidget *> controls =
            keyword ? QList<QWidget *>{ui->m_KeywordScanProgressBar, ui->m_KeywordScanPauseScanButton,
                                       ui->m_KeywordScanCancelScanButton, ui->m_KeywordScanningLabel,
                                       ui->m_KeywordScanningFileLabel}
                    : QList<QWidget *>{ui->m_PiiScanProgressBar, ui->m_PiiScanPauseScanButton,
                                       ui->m_PiiScanCancelScanButton, ui->m_PiiScanninglabel,
                                       ui->m_PiiScanningFileLabel};
        auto geometries = [&controls] {
            QList<QRect> list;
            for (QWidget *w : controls)
                list << QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
            return list;
        };
        QList<QRect> first;
        for (int length : {5, 500, 5}) {
            QString path = QStringLiteral("/srv/").leftJustified(length, QLatin1Char('x'));
            if (keyword)
                Q_EMIT window.KeywordScanProgressValueChanged(Target, path, 7);
            else
                Q_EMIT window.PiiScanProgressValueChanged(Target, path, 7);
            settle();
            auto *label = keyword ? ui->m_KeywordScanningFileLabel : ui->m_PiiScanningFileLabel;
            QCOMPARE(label->text(), path);
            QCOMPARE(label->toolTip(), path);
            if (first.isEmpty())
                first = geometries();
            else
                QCOMPARE(geometries(), first);
        }
    }

    // However large the window, the results begin right under the scan's
    // header: the room left over goes to the results, not above them.
    void resultsFollowTheHeader_data()
    {
        QTest::addColumn<bool>("keyword");
        QTest::addColumn<QSize>("size");
        for (const QSize &size : {QSize(960, 580), QSize(1920, 1200)}) {
            QTest::addRow("keyword, %dx%d", size.width(), size.height()) << true << size;
            QTest::addRow("privacy, %dx%d", size.width(), size.height()) << false << size;
        }
    }
    void resultsFollowTheHeader()
    {
        // The separator and the space either side of it.
        constexpr int MostBetween = 32;
        QFETCH(bool, keyword);
        QFETCH(QSize, size);
        AcceptingTaskCalls calls;
        MainWindow window;
        window.setEffectiveUidFunction([] { return 0u; });
        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        scanning(window, &calls, keyword);
        Ui::MainWindow *ui = window.ui();
        QWidget *header = keyword ? ui->stackedWidget_2 : ui->stackedWidget_3;
        QWidget *results = keyword ? ui->scrollArea_2 : ui->scrollArea;
        const int headerBottom = header->mapTo(&window, QPoint(0, header->height())).y();
        const int resultsTop = results->mapTo(&window, QPoint(0, 0)).y();
        QVERIFY2(resultsTop >= headerBottom && resultsTop - headerBottom <= MostBetween,
                 qPrintable(QStringLiteral("header ends at %1, results begin at %2").arg(headerBottom).arg(resultsTop)));
        // And they take the height down to the window's bottom margin.
        const int resultsBottom = results->mapTo(&window, QPoint(0, results->height())).y();
        QVERIFY2(window.height() - resultsBottom <= MostBetween, qPrintable(QString::number(resultsBottom)));
    }
};

QTEST_MAIN(TestLayoutFit)
#include "tst_layoutfit.moc"
