// The export of a run of the service's history into a file the user picks.
#include "runexporter.h"

#include "hitfilemenu.h"
#include "resultslog.h"

#include <QCheckBox>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include <unistd.h>

namespace {
// Object names tests and style sheets reach the dialog's parts by.
constexpr const char *FullValuesName = "RunExporterFullValues";
constexpr const char *OpenFolderName = "RunExporterOpenFolder";
} // namespace

RunExporter::RunExporter(const QDBusConnection &bus, QWidget *parent)
    : QObject(parent)
    , m_reports(bus)
    , m_parent(parent)
    , m_directory(QDir::homePath())
{
}

const QList<RunExporter::Format> &RunExporter::formats()
{
    static const QList<Format> list{{"csv", "csv"}, {"jsonl", "jsonl"}, {"html", "html"}};
    return list;
}

void RunExporter::exportLatestRun(const QString &pathlist, const QString &taskType, const QString &suggestedBaseName)
{
    setPending(m_pending + 1);
    auto *watcher = new QDBusPendingCallWatcher(m_reports.listRuns(), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, pathlist, taskType, suggestedBaseName] {
                watcher->deleteLater();
                setPending(m_pending - 1);
                QString reason;
                const qint64 run = RunReports::latestRunIn(*watcher, pathlist, taskType, &reason);
                if (run < 0) {
                    qCWarning(lcResults) << "no run to export:" << reason;
                    showFailure(reason);
                    Q_EMIT exportFailed(reason);
                    return;
                }
                exportRun(run, suggestedBaseName);
            });
}

void RunExporter::exportRun(qint64 run, const QString &suggestedBaseName)
{
    QString filepath;
    int format = 0;
    bool unmasked = false;
    if (!chooseFile(suggestedBaseName, &filepath, &format, &unmasked))
        return;
    if (unmasked && !confirmUnmasked())
        return;
    start(run, filepath, format, unmasked);
}

bool RunExporter::chooseFile(const QString &suggestedBaseName, QString *filepath, int *format, bool *unmasked)
{
    QFileDialog dialog(m_parent, tr("导出扫描结果"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters{tr("CSV 表格 (*.csv)"), tr("JSON Lines (*.jsonl)"), tr("HTML 报告 (*.html)")};
    dialog.setNameFilters(filters);
    dialog.setDirectory(m_directory);
    dialog.selectFile(suggestedBaseName);

    auto *fullValues = new QCheckBox(tr("导出完整数值（不打码）"), &dialog);
    fullValues->setObjectName(QLatin1String(FullValuesName));
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(fullValues, grid->rowCount(), 0, 1, grid->columnCount());

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;

    *format = qMax(0, filters.indexOf(dialog.selectedNameFilter()));
    *unmasked = fullValues->isChecked();
    QString chosen = dialog.selectedFiles().first();
    m_directory = QFileInfo(chosen).absolutePath();
    // The filter decides the format; a name without its extension ("报告",
    // "报告.2026") gets it. The dialog asked about replacing only the name
    // as it was typed.
    const QString suffix = QLatin1String(formats().at(*format).suffix);
    if (QFileInfo(chosen).suffix().compare(suffix, Qt::CaseInsensitive) != 0) {
        chosen += QLatin1Char('.') + suffix;
        if (QFileInfo::exists(chosen) && !confirmReplace(chosen))
            return false;
    }
    *filepath = chosen;
    return true;
}

bool RunExporter::confirmUnmasked()
{
    QMessageBox box(m_parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(tr("导出完整数值"));
    box.setText(tr("导出的文件将包含未打码的敏感信息原文，任何能读取该文件的人都能看到。确定导出完整数值吗？"));
    QPushButton *confirm = box.addButton(tr("导出"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
    cancel->setProperty("useButtonPalette", true);
    // Pressing Enter must not give the values away.
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == confirm;
}

bool RunExporter::confirmReplace(const QString &filepath)
{
    QMessageBox box(m_parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(tr("导出扫描结果"));
    box.setTextFormat(Qt::PlainText);
    box.setText(tr("%1 已存在，要替换它吗？").arg(QDir::toNativeSeparators(filepath)));
    QPushButton *replace = box.addButton(tr("替换"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == replace;
}

void RunExporter::start(qint64 run, const QString &filepath, int format, bool unmasked)
{
    auto *file = new QFile(filepath, this);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const QString reason = tr("无法打开所选文件：%1").arg(file->errorString());
        qCWarning(lcResults) << "the export file could not be opened:" << filepath << file->errorString();
        delete file;
        showFailure(reason);
        Q_EMIT exportFailed(reason);
        return;
    }
    restrictToFolderOwner(*file);
    qCInfo(lcResults) << "exporting run" << run << "as" << formats().at(format).name << (unmasked ? "unmasked" : "masked")
                      << "into" << filepath;
    setPending(m_pending + 1);
    auto *watcher = new QDBusPendingCallWatcher(
        m_reports.exportRun(run, QLatin1String(formats().at(format).name), unmasked, *file), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, file] {
        watcher->deleteLater();
        QString reason;
        const bool succeeded = RunReports::exportSucceeded(*watcher, &reason);
        finish(file, succeeded, reason);
    });
}

// Findings are for the user who asked for them: the file is readable by its
// owner only, as the report tool makes it. The client runs as root; the file
// goes to the owner of the folder it is in, so that the user can open an
// export saved in their own home.
void RunExporter::restrictToFolderOwner(QFile &file)
{
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        qCWarning(lcResults) << "the export file's permissions could not be set:" << file.errorString();
    const QFileInfo folder(QFileInfo(file.fileName()).absolutePath());
    if (geteuid() == 0 && folder.ownerId() != 0 && fchown(file.handle(), folder.ownerId(), folder.groupId()) != 0)
        qCWarning(lcResults) << "the export file could not be given to the folder's owner" << folder.ownerId();
}

void RunExporter::finish(QFile *file, bool succeeded, const QString &reason)
{
    const QString filepath = file->fileName();
    file->close();
    // A failed export leaves nothing behind, not even an empty file.
    if (!succeeded && !file->remove())
        qCWarning(lcResults) << "the file of a failed export could not be removed:" << filepath << file->errorString();
    delete file;
    setPending(m_pending - 1);
    if (succeeded) {
        showExported(filepath);
        Q_EMIT exported(filepath);
    } else {
        showFailure(reason);
        Q_EMIT exportFailed(reason);
    }
}

// The messages are not modal to the flow: the page goes on while they show.
void RunExporter::showExported(const QString &filepath)
{
    auto *box = new QMessageBox(m_parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Information);
    box->setWindowTitle(tr("导出扫描结果"));
    box->setTextFormat(Qt::PlainText);
    box->setText(tr("扫描结果已导出到：\n%1").arg(QDir::toNativeSeparators(filepath)));
    QPushButton *open = box->addButton(tr("打开所在文件夹"), QMessageBox::ActionRole);
    open->setObjectName(QLatin1String(OpenFolderName));
    QPushButton *confirm = box->addButton(tr("确认"), QMessageBox::AcceptRole);
    confirm->setProperty("isImportant", true);
    box->setDefaultButton(confirm);
    // Without one the box would refuse Esc and the window's close button.
    box->setEscapeButton(confirm);
    QPointer<QWidget> parent = m_parent;
    connect(open, &QPushButton::clicked, box, [filepath, parent] { HitFileMenu::showInFolder(filepath, parent); });
    box->open();
}

void RunExporter::showFailure(const QString &reason)
{
    auto *box = new QMessageBox(m_parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(tr("导出扫描结果"));
    box->setTextFormat(Qt::PlainText);
    box->setText(tr("导出失败：%1").arg(reason));
    QPushButton *confirm = box->addButton(tr("确认"), QMessageBox::AcceptRole);
    confirm->setProperty("isImportant", true);
    box->setDefaultButton(confirm);
    box->open();
}

void RunExporter::setPending(int pending)
{
    if (pending == m_pending)
        return;
    m_pending = pending;
    Q_EMIT pendingChanged(m_pending);
}
