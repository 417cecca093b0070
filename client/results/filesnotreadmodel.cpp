// The files a run did not read in full, as a table for a view.
#include "filesnotreadmodel.h"

#include <QCoreApplication>
#include <QHash>

FilesNotReadModel::FilesNotReadModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void FilesNotReadModel::setFiles(const QList<RunReports::FileNotRead> &files)
{
    beginResetModel();
    m_files = files;
    endResetModel();
}

int FilesNotReadModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_files.size();
}

int FilesNotReadModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FilesNotReadModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_files.size())
        return QVariant();
    const RunReports::FileNotRead &file = m_files.at(index.row());
    QString text;
    switch (index.column()) {
    case FileColumn:
        text = file.file;
        break;
    case KindColumn:
        text = kindText(file.kind);
        break;
    case ReasonColumn:
        text = file.reason;
        break;
    default:
        return QVariant();
    }
    if (role == Qt::DisplayRole)
        return text;
    // A tool tip that looks like markup would be shown as rich text: the
    // whole text is escaped into a paragraph of its own, so that a name
    // holding "<b>" or "<img>" shows as it is.
    if (role == Qt::ToolTipRole)
        return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(text.toHtmlEscaped());
    return QVariant();
}

QVariant FilesNotReadModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case FileColumn:
        return tr("文件");
    case KindColumn:
        return tr("原因");
    case ReasonColumn:
        return tr("详细原因");
    default:
        return QVariant();
    }
}

QString FilesNotReadModel::kindText(const QString &kind)
{
    // The kinds the service counts its skips by (see the service's README).
    static const QHash<QString, const char *> kinds{
        {QStringLiteral("unreadable"), QT_TR_NOOP("无法读取")},
        {QStringLiteral("damaged or not of its type"), QT_TR_NOOP("文件损坏或与类型不符")},
        {QStringLiteral("above the size limit"), QT_TR_NOOP("超过大小限制")},
        {QStringLiteral("container limit exceeded"), QT_TR_NOOP("超过容器限制")},
        {QStringLiteral("protected by a password"), QT_TR_NOOP("受密码保护")},
        {QStringLiteral("reader failed"), QT_TR_NOOP("读取程序出错")},
        {QStringLiteral("file type not read"), QT_TR_NOOP("不读取此文件类型")},
        {QStringLiteral("time limit reached, scanned in part"), QT_TR_NOOP("达到时间限制，仅扫描了部分内容")},
        {QStringLiteral("text limit reached, scanned in part"), QT_TR_NOOP("达到文本限制，仅扫描了部分内容")},
        {QStringLiteral("symbolic link not followed"), QT_TR_NOOP("未跟随符号链接")},
        {QStringLiteral("too many open files"), QT_TR_NOOP("打开的文件过多")},
    };
    const char *text = kinds.value(kind, nullptr);
    return text ? tr(text) : kind;
}
