// The scan history module's page.
#include "runhistorypage.h"

#include "historylimits.h"
#include "historylog.h"
#include "messagebox.h"
#include "runhistorymodel.h"

#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QDateTime>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QTextDocument>
#include <QStringList>
#include <QtMath>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {
enum View { TableView = 0, MessageView = 1 };
constexpr int PageMargin = 20;
constexpr int PageVerticalMargin = 10;
constexpr int TitlePointSize = 16;
constexpr int ButtonHeight = 36;
constexpr int ButtonMinimumWidth = 96;
// Room beside a column's title for the sort arrow, and around a cell's text.
constexpr int HeaderIndicatorRoom = 20;
constexpr int CellPadding = 10;
constexpr int MinimumColumnWidth = 48;
// The widest count a column is made wide enough for.
constexpr qint64 WideCount = 9999999;
} // namespace

RunHistoryPage::RunHistoryPage(const QDBusConnection &bus, QWidget *parent)
    : QWidget(parent),
      m_reports(bus),
      m_model(new RunHistoryModel(this)),
      m_sorted(new QSortFilterProxyModel(this)),
      m_views(new QStackedWidget(this)),
      m_table(new QTableView(this)),
      m_message(new QLabel(this)),
      m_title(new QLabel(this)),
      m_summary(new QPlainTextEdit(this)),
      m_exportButton(new QPushButton(this)),
      m_deleteButton(new QPushButton(this)),
      m_refreshButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("m_RunHistoryPage"));
    m_table->setObjectName(QStringLiteral("m_RunHistoryTable"));
    m_message->setObjectName(QStringLiteral("m_RunHistoryMessageLabel"));
    m_summary->setObjectName(QStringLiteral("m_RunHistorySummary"));
    m_exportButton->setObjectName(QStringLiteral("m_RunHistoryExportButton"));
    m_deleteButton->setObjectName(QStringLiteral("m_RunHistoryDeleteButton"));
    m_refreshButton->setObjectName(QStringLiteral("m_RunHistoryRefreshButton"));

    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(RunHistoryModel::SortRole);
    m_sorted->setSortLocaleAware(true);
    m_sorted->setDynamicSortFilter(true);

    m_table->setModel(m_sorted);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(RunHistoryModel::Started, Qt::DescendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTextElideMode(Qt::ElideMiddle);
    m_table->setWordWrap(false);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    // Rows of one height: the view need not measure 10,000 rows.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setMinimumSectionSize(MinimumColumnWidth);
    // A reset of the model resets the header's sections too.
    connect(m_sorted, &QAbstractItemModel::modelReset, this, &RunHistoryPage::fitColumns);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RunHistoryPage::onSelectionChanged);

    m_message->setTextFormat(Qt::PlainText);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("QLabel { color: gray; }"));
    m_views->addWidget(m_table);
    m_views->addWidget(m_message);

    // Plain text that wraps anywhere: a long or odd target stays inside.
    m_summary->setReadOnly(true);
    m_summary->setFrameShape(QFrame::NoFrame);
    m_summary->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Measured on lines of both scripts: a fallback font for the Chinese
    // characters may be taller than the widget's own font says.
    QTextDocument sample;
    sample.setDefaultFont(m_summary->font());
    sample.setDocumentMargin(m_summary->document()->documentMargin());
    QStringList lines;
    for (int line = 0; line < HistoryLimits::SummaryLines; ++line)
        lines << QStringLiteral("扫描 Ag 12");
    sample.setPlainText(lines.join(QLatin1Char('\n')));
    m_summary->setMaximumHeight(qCeil(sample.size().height()) + 2 * m_summary->frameWidth());
    m_summary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    QFont titleFont = m_title->font();
    titleFont.setPointSize(TitlePointSize);
    m_title->setFont(titleFont);
    for (QPushButton *button : {m_exportButton, m_deleteButton, m_refreshButton}) {
        button->setMinimumSize(ButtonMinimumWidth, ButtonHeight);
        button->setProperty("useButtonPalette", true);
    }
    m_exportButton->setProperty("useButtonPalette", QVariant());
    m_exportButton->setProperty("isImportant", true);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(m_title);
    titleRow->addStretch();
    titleRow->addWidget(m_refreshButton);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_deleteButton);
    buttonRow->addWidget(m_exportButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(PageMargin, PageVerticalMargin, PageMargin, PageVerticalMargin);
    layout->addLayout(titleRow);
    layout->addWidget(m_views, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttonRow);

    connect(m_refreshButton, &QPushButton::clicked, this, &RunHistoryPage::refresh);
    connect(m_exportButton, &QPushButton::clicked, this, &RunHistoryPage::exportSelectedRun);
    connect(m_deleteButton, &QPushButton::clicked, this, &RunHistoryPage::deleteSelectedRun);

    retranslate();
    updateButtons();
}


// Every column but the target as wide as its title and the widest value it
// is likely to show; the target takes the rest. Measured from texts, not
// from the rows: a long history is never walked for it.
void RunHistoryPage::fitColumns()
{
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(RunHistoryModel::Target, QHeaderView::Stretch);
    const QFontMetrics metrics = m_table->fontMetrics();
    const QFontMetrics headerMetrics = m_table->horizontalHeader()->fontMetrics();
    const QLocale locale;
    const QStringList samples[RunHistoryModel::ColumnCount] = {
        {QDateTime(QDate(2000, 12, 28), QTime(20, 58)).toString(QLatin1String(HistoryLimits::ThisYearFormat)),
         QDate(2000, 12, 28).toString(QLatin1String(HistoryLimits::OtherYearFormat))},
        {RunHistoryModel::briefTypeText(QStringLiteral("keyword")),
         RunHistoryModel::briefTypeText(QStringLiteral("privacy"))},
        {},
        {RunHistoryModel::outcomeText(QStringLiteral("completed")), RunHistoryModel::outcomeText(QStringLiteral("cancelled")),
         RunHistoryModel::outcomeText(QStringLiteral("failed")), RunHistoryModel::outcomeText(QStringLiteral("running"))},
        {locale.toString(WideCount)},
        {locale.toString(WideCount)},
        {locale.toString(WideCount)},
    };
    for (int column = 0; column < RunHistoryModel::ColumnCount; ++column) {
        if (column == RunHistoryModel::Target)
            continue;
        int width = headerMetrics.horizontalAdvance(m_model->headerData(column, Qt::Horizontal).toString())
                    + HeaderIndicatorRoom;
        for (const QString &sample : samples[column])
            width = qMax(width, metrics.horizontalAdvance(sample));
        header->resizeSection(column, width + CellPadding);
    }
}

void RunHistoryPage::retranslate()
{
    m_title->setText(tr("扫描记录"));
    m_exportButton->setText(tr("导出"));
    m_deleteButton->setText(tr("删除"));
    m_refreshButton->setText(tr("刷新"));
    fitColumns();
    switch (m_messageKind) {
    case Message::Empty:
        m_message->setText(tr("暂无扫描记录"));
        break;
    case Message::Unavailable:
        m_message->setText(m_messageReason.isEmpty() ? tr("扫描服务未运行，无法读取扫描记录")
                                                     : tr("无法读取扫描记录：%1").arg(m_messageReason));
        break;
    case Message::None:
        break;
    }
}

void RunHistoryPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        // The table's texts come from the model: have the view ask again.
        Q_EMIT m_model->headerDataChanged(Qt::Horizontal, 0, RunHistoryModel::ColumnCount - 1);
        m_table->viewport()->update();
    }
    QWidget::changeEvent(event);
}

void RunHistoryPage::refresh()
{
    if (m_listing) {
        m_listAgain = true;
        return;
    }
    m_listing = true;
    auto *watcher = new QDBusPendingCallWatcher(m_reports.listRuns(), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &RunHistoryPage::onListed);
}

void RunHistoryPage::onListed(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    m_listing = false;
    if (m_listAgain) {
        // What came back may be older than what was asked for since.
        m_listAgain = false;
        refresh();
        return;
    }
    QJsonArray runs;
    QString reason;
    const QDBusError::ErrorType error = watcher->error().type();
    if (!RunReports::runsOf(*watcher, &runs, &reason)) {
        const bool absent = error == QDBusError::ServiceUnknown || error == QDBusError::NoServer
                            || error == QDBusError::Disconnected;
        qCWarning(lcHistory) << "the list of runs could not be read:" << reason;
        m_model->setRuns(QJsonArray());
        m_messageKind = Message::Unavailable;
        m_messageReason = absent ? QString() : reason;
        retranslate();
        m_views->setCurrentIndex(MessageView);
        updateButtons();
        Q_EMIT refreshed();
        return;
    }
    const qint64 selected = selectedRun();
    m_model->setRuns(runs);
    if (m_model->rowCount() == 0) {
        m_messageKind = Message::Empty;
        retranslate();
        m_views->setCurrentIndex(MessageView);
    } else {
        m_messageKind = Message::None;
        m_views->setCurrentIndex(TableView);
    }
    if (selected < 0 || !selectRun(selected))
        m_summary->clear();
    updateButtons();
    Q_EMIT refreshed();
}

qint64 RunHistoryPage::selectedRun() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    return rows.first().data(RunHistoryModel::RunRole).toLongLong();
}

bool RunHistoryPage::selectRun(qint64 run)
{
    const int row = m_model->rowOfRun(run);
    if (row < 0)
        return false;
    const QModelIndex index = m_sorted->mapFromSource(m_model->index(row, 0));
    m_table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_table->scrollTo(index);
    return true;
}

void RunHistoryPage::onSelectionChanged()
{
    updateButtons();
    const qint64 run = selectedRun();
    if (run < 0 || run == m_summaryRun)
        return;
    m_summaryRun = run;
    m_summary->setPlainText(tr("正在读取……"));
    auto *watcher = new QDBusPendingCallWatcher(m_reports.runSummary(run), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, run](QDBusPendingCallWatcher *w) { onSummary(w, run); });
}

void RunHistoryPage::onSummary(QDBusPendingCallWatcher *watcher, qint64 run)
{
    watcher->deleteLater();
    if (run != m_summaryRun)
        return;
    QJsonObject summary;
    QString reason;
    if (!RunReports::summaryOf(*watcher, &summary, &reason)) {
        m_summary->setPlainText(tr("无法读取这次扫描的摘要：%1").arg(reason));
        return;
    }
    m_summary->setPlainText(summaryText(summary));
}

QString RunHistoryPage::summaryText(const QJsonObject &summary) const
{
    const QLocale locale;
    auto number = [&locale](const QJsonObject &object, const char *key) {
        return locale.toString(qint64(object.value(QLatin1String(key)).toDouble()));
    };
    auto time = [](const QJsonValue &value) {
        const QDateTime at = QDateTime::fromString(value.toString(), Qt::ISODate);
        return at.isValid() ? at.toLocalTime().toString(QLatin1String(HistoryLimits::TimeFormat)) : QStringLiteral("-");
    };
    QStringList lines;
    lines << tr("%1，%2（%3 至 %4）")
                 .arg(RunHistoryModel::typeText(summary.value(QLatin1String("task_type")).toString()),
                      RunHistoryModel::outcomeText(summary.value(QLatin1String("outcome")).toString()),
                      time(summary.value(QLatin1String("started"))), time(summary.value(QLatin1String("ended"))));
    const QString failure = summary.value(QLatin1String("failure")).toString();
    if (!failure.isEmpty())
        lines << tr("失败原因：%1").arg(failure);
    lines << tr("扫描目标：%1").arg(summary.value(QLatin1String("path_list")).toString());
    const QJsonObject files = summary.value(QLatin1String("files")).toObject();
    lines << tr("文件：选中 %1，已扫描 %2，已读取 %3，命中 %4，未读 %5")
                 .arg(number(files, "selected"), number(files, "walked"), number(files, "read"),
                      number(files, "with_hits"), number(files, "not_read"));

    // Most hits first; names of equal count in their own order.
    const QJsonObject hits = summary.value(QLatin1String("hits")).toObject();
    QVector<QPair<QString, qint64>> counts;
    for (auto it = hits.begin(); it != hits.end(); ++it)
        counts.append({it.key(), qint64(it.value().toDouble())});
    std::stable_sort(counts.begin(), counts.end(),
                     [](const QPair<QString, qint64> &a, const QPair<QString, qint64> &b) { return a.second > b.second; });
    if (counts.isEmpty()) {
        lines << tr("未发现敏感信息");
    } else {
        QStringList named;
        for (int i = 0; i < counts.size() && i < HistoryLimits::SummaryHitLines; ++i)
            named << tr("%1：%2").arg(counts.at(i).first, locale.toString(counts.at(i).second));
        QString line = tr("命中：") + named.join(tr("，"));
        if (counts.size() > HistoryLimits::SummaryHitLines)
            line += tr("，另有 %1 项").arg(locale.toString(counts.size() - HistoryLimits::SummaryHitLines));
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

void RunHistoryPage::exportSelectedRun()
{
    const qint64 run = selectedRun();
    if (run < 0)
        return;
    const RunHistoryModel::Run row = m_model->runAt(m_model->rowOfRun(run));
    // Latin letters and digits only: the name suits every file system.
    const QString type = row.taskType == QLatin1String("privacy") ? QStringLiteral("privacy") : QStringLiteral("keyword");
    const QString when = row.started.isValid()
                             ? row.started.toLocalTime().toString(QLatin1String(HistoryLimits::FileNameTimeFormat))
                             : QStringLiteral("run%1").arg(run);
    Q_EMIT exportRequested(run, QStringLiteral("%1-scan-%2").arg(type, when));
}

void RunHistoryPage::deleteSelectedRun()
{
    const qint64 run = selectedRun();
    if (run < 0 || m_deleting >= 0)
        return;
    if (m_confirmDelete && !askDelete())
        return;
    m_deleting = run;
    updateButtons();
    qCInfo(lcHistory) << "deleting run" << run;
    auto *watcher = new QDBusPendingCallWatcher(m_reports.deleteRun(run), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, run](QDBusPendingCallWatcher *w) { onDeleted(w, run); });
}

bool RunHistoryPage::askDelete()
{
    QMessageBox box(this);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(tr("删除扫描记录"));
    box.setText(tr("删除这次扫描的记录及其发现的全部敏感信息？删除后无法恢复。"));
    QPushButton *confirm = box.addButton(tr("确认"), QMessageBox::AcceptRole);
    confirm->setProperty("isImportant", true);
    QPushButton *cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
    cancel->setProperty("useButtonPalette", true);
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == confirm;
}

void RunHistoryPage::onDeleted(QDBusPendingCallWatcher *watcher, qint64 run)
{
    watcher->deleteLater();
    m_deleting = -1;
    QString reason;
    const bool deleted = RunReports::deleteSucceeded(*watcher, &reason);
    if (deleted) {
        m_model->removeRun(run);
        if (m_summaryRun == run) {
            m_summaryRun = -1;
            m_summary->clear();
        }
        // Runs may have come or gone meanwhile.
        refresh();
    }
    updateButtons();
    Q_EMIT deleteFinished(run, deleted, reason);
    if (!deleted)
        showDeleteFailure(reason);
}

void RunHistoryPage::showDeleteFailure(const QString &reason)
{
    mvk::MessageBox box(this);
    box.setIcon(mvk::MessageBox::Warning);
    box.setText(tr("删除扫描记录失败：%1").arg(reason));
    QPushButton *confirm = box.addButton(tr("确认"), mvk::MessageBox::AcceptRole);
    confirm->setProperty("isImportant", true);
    box.setDefaultButton(confirm);
    box.exec();
}

void RunHistoryPage::updateButtons()
{
    const bool selected = selectedRun() >= 0;
    m_exportButton->setEnabled(selected);
    m_deleteButton->setEnabled(selected && m_deleting < 0);
}
