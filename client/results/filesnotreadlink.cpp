// The line of an ended scan's page that says how many files could not be
// read, with a link to their list.
#include "filesnotreadlink.h"

#include "filesnotreaddialog.h"
#include "resultslog.h"

#include <QDBusPendingCallWatcher>
#include <QEvent>
#include <QLocale>

FilesNotReadLink::FilesNotReadLink(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setOpenExternalLinks(false);
    connect(this, &QLabel::linkActivated, this, &FilesNotReadLink::showList);
    hide();
}

void FilesNotReadLink::lookUp(const RunReports &reports, const QString &pathlist, const QString &taskType)
{
    clear();
    const quint64 ticket = m_lookUp;
    auto *runs = new QDBusPendingCallWatcher(reports.listRuns(), this);
    connect(runs, &QDBusPendingCallWatcher::finished, this,
            [this, runs, reports, pathlist, taskType, ticket] {
                runs->deleteLater();
                if (ticket != m_lookUp)
                    return;
                QString reason;
                const qint64 run = RunReports::latestRunIn(*runs, pathlist, taskType, &reason);
                if (run < 0) {
                    qCWarning(lcResults) << "no run to count the files not read of:" << reason;
                    Q_EMIT filesCounted(0);
                    return;
                }
                auto *files = new QDBusPendingCallWatcher(reports.askFilesNotRead(run), this);
                connect(files, &QDBusPendingCallWatcher::finished, this, [this, files, ticket] {
                    files->deleteLater();
                    if (ticket != m_lookUp)
                        return;
                    QList<RunReports::FileNotRead> list;
                    QString reason;
                    if (!RunReports::filesNotReadIn(*files, &list, &reason))
                        qCWarning(lcResults) << "the files not read could not be listed:" << reason;
                    showFiles(list);
                });
            });
}

void FilesNotReadLink::clear()
{
    ++m_lookUp;
    if (m_dialog)
        m_dialog->close();
    m_files.clear();
    setText(QString());
    hide();
}

void FilesNotReadLink::showFiles(const QList<RunReports::FileNotRead> &files)
{
    m_files = files;
    updateText();
    setVisible(!m_files.isEmpty());
    Q_EMIT filesCounted(m_files.size());
}

void FilesNotReadLink::updateText()
{
    if (m_files.isEmpty()) {
        setText(QString());
        return;
    }
    // Only the count and this client's own words go into the markup.
    setText(tr("%1 个文件未能完整读取。").arg(QLocale().toString(m_files.size()))
            + QStringLiteral("<a href=\"#files-not-read\">%1</a>").arg(tr("查看").toHtmlEscaped()));
}

FilesNotReadDialog *FilesNotReadLink::dialog() const
{
    return m_dialog;
}

void FilesNotReadLink::showList()
{
    if (m_files.isEmpty())
        return;
    if (!m_dialog)
        m_dialog = new FilesNotReadDialog(m_files, window());
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void FilesNotReadLink::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        updateText();
    QLabel::changeEvent(event);
}
