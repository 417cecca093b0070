// The runs the scan service keeps, as a table.
#include "runhistorymodel.h"

#include "historylimits.h"
#include "historylog.h"

#include <QJsonObject>
#include <QLocale>

namespace {
// Several directories of one run are joined with this in the service's
// path list, and shown with the other.
const QLatin1String PathListSeparator("|");
const QLatin1String ShownPathSeparator("; ");

qint64 numberOf(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isDouble() ? qint64(value.toDouble()) : 0;
}
} // namespace

RunHistoryModel::RunHistoryModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void RunHistoryModel::setRuns(const QJsonArray &runs)
{
    QVector<Run> rows;
    rows.reserve(runs.size());
    for (const QJsonValue &value : runs) {
        const QJsonObject object = value.toObject();
        if (!value.isObject() || !object.value(QLatin1String("run")).isDouble()) {
            qCWarning(lcHistory) << "a run without its number is left out";
            continue;
        }
        Run run;
        run.run = numberOf(object, "run");
        // The service writes local time in ISO 8601, with or without its offset.
        run.started = QDateTime::fromString(object.value(QLatin1String("started")).toString(), Qt::ISODate);
        run.taskType = object.value(QLatin1String("task_type")).toString();
        run.pathList = object.value(QLatin1String("path_list")).toString();
        run.outcome = object.value(QLatin1String("outcome")).toString();
        run.failure = object.value(QLatin1String("failure")).toString();
        const QJsonObject files = object.value(QLatin1String("files")).toObject();
        run.files = numberOf(files, "walked");
        run.filesWithHits = numberOf(files, "with_hits");
        run.filesNotRead = numberOf(files, "not_read");
        rows.append(run);
    }
    beginResetModel();
    m_runs = std::move(rows);
    endResetModel();
}

bool RunHistoryModel::removeRun(qint64 run)
{
    const int row = rowOfRun(run);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_runs.remove(row);
    endRemoveRows();
    return true;
}

int RunHistoryModel::rowOfRun(qint64 run) const
{
    for (int row = 0; row < m_runs.size(); ++row) {
        if (m_runs.at(row).run == run)
            return row;
    }
    return -1;
}

QString RunHistoryModel::typeText(const QString &taskType)
{
    if (taskType == QLatin1String("keyword"))
        return tr("敏感词扫描");
    if (taskType == QLatin1String("privacy"))
        return tr("隐私信息扫描");
    return taskType;
}

QString RunHistoryModel::briefTypeText(const QString &taskType)
{
    if (taskType == QLatin1String("keyword"))
        return tr("敏感词");
    if (taskType == QLatin1String("privacy"))
        return tr("隐私信息");
    return taskType;
}

QString RunHistoryModel::outcomeText(const QString &outcome)
{
    if (outcome == QLatin1String("completed"))
        return tr("已完成");
    if (outcome == QLatin1String("cancelled"))
        return tr("已取消");
    if (outcome == QLatin1String("failed"))
        return tr("失败");
    if (outcome == QLatin1String("running"))
        return tr("进行中");
    return outcome;
}

int RunHistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_runs.size();
}

int RunHistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RunHistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_runs.size())
        return QVariant();
    const Run &run = m_runs.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(run, index.column());
    case Qt::ToolTipRole:
        // A tooltip takes markup when the text looks like it: the target is
        // escaped inside a paragraph so that it always shows as it is.
        if (index.column() == Target)
            return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>")
                .arg(displayText(run, Target).toHtmlEscaped());
        if (index.column() == Started && run.started.isValid())
            return run.started.toLocalTime().toString(QLatin1String(HistoryLimits::TimeFormat));
        if (index.column() == Outcome && !run.failure.isEmpty())
            return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(run.failure.toHtmlEscaped());
        return QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() >= Files)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case SortRole:
        return sortValue(run, index.column());
    case RunRole:
        return run.run;
    default:
        return QVariant();
    }
}

QVariant RunHistoryModel::sortValue(const Run &run, int column) const
{
    switch (column) {
    case Started:
        return run.started;
    case Files:
        return run.files;
    case FilesWithHits:
        return run.filesWithHits;
    case FilesNotRead:
        return run.filesNotRead;
    default:
        return displayText(run, column);
    }
}

QString RunHistoryModel::displayText(const Run &run, int column) const
{
    const QLocale locale;
    switch (column) {
    case Started: {
        if (!run.started.isValid())
            return QString();
        const QDateTime local = run.started.toLocalTime();
        const bool thisYear = local.date().year() == QDate::currentDate().year();
        return local.toString(QLatin1String(thisYear ? HistoryLimits::ThisYearFormat : HistoryLimits::OtherYearFormat));
    }
    case Type:
        return briefTypeText(run.taskType);
    case Target:
        return QString(run.pathList).replace(PathListSeparator, ShownPathSeparator);
    case Outcome:
        return outcomeText(run.outcome);
    case Files:
        return locale.toString(run.files);
    case FilesWithHits:
        return locale.toString(run.filesWithHits);
    case FilesNotRead:
        return locale.toString(run.filesNotRead);
    default:
        return QString();
    }
}

QVariant RunHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Started:
        return tr("开始时间");
    case Type:
        return tr("类型");
    case Target:
        return tr("扫描目标");
    case Outcome:
        return tr("结果");
    case Files:
        return tr("文件");
    case FilesWithHits:
        return tr("命中文件");
    case FilesNotRead:
        return tr("未读文件");
    default:
        return QVariant();
    }
}
