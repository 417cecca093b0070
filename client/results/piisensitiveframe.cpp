#include "piisensitiveframe.h"
#include "ui_piisensitiveframe.h"

#include "hitfilemenu.h"
#include "piisensitivedetailframe.h"
#include "resultslog.h"

#include <QLocale>
#include <QDebug>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QTextDocument>

namespace {
const QString UpArrow = QStringLiteral(":/SensitiveDiscovery/images/scan/pii/scanitem/up-symbolic.png");
const QString DownArrow = QStringLiteral(":/SensitiveDiscovery/images/scan/pii/scanitem/down-symbolic.png");
}

PiiSensitiveFrame::PiiSensitiveFrame(const QString &filepath, int hitCount, QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::PiiSensitiveFrame)
    , m_filepath(filepath)
{
    ui->setupUi(this);
    setFixedHeight(RowHeight);
    ui->m_ShowInFolderLabel->installEventFilter(this);
    ui->m_SensitiveShrinkLabel->installEventFilter(this);

    const QFileInfo file(filepath);
    if (filepath.isEmpty() || !file.exists()) {
        qCDebug(lcResults) << "文件不存在：" << filepath;
        keepColumnWidths();
        return;
    }
    m_exists = true;

    // The name alone; the whole path is in the tooltip, as plain text.
    ui->m_SensitiveFilepathLabel->setText(file.fileName());
    ui->m_SensitiveFilepathLabel->setToolTip(Qt::convertFromPlainText(filepath, Qt::WhiteSpaceNormal));
    ui->m_ShowInFolderLabel->setProperty("filepath", filepath);
    ui->m_SensitiveCountLabel->setText(QLocale().toString(hitCount));
    HitFileMenu::attachTo(this, [filepath] { return filepath; });
    keepColumnWidths();
}

void PiiSensitiveFrame::keepColumnWidths()
{
    // The columns right of the name keep the width of their texts: a long
    // name is elided, never squeezes them.
    for (QWidget *column : {static_cast<QWidget *>(ui->m_ShowInFolderLabel),
                            static_cast<QWidget *>(ui->m_SensitiveCountDescLabel),
                            static_cast<QWidget *>(ui->m_SensitiveCountLabel)})
        column->setMinimumWidth(qMax(column->minimumWidth(), column->sizeHint().width()));
}

PiiSensitiveFrame::~PiiSensitiveFrame()
{
    delete ui;
}

void PiiSensitiveFrame::setExpanded(bool expanded)
{
    m_expanded = expanded;
    setArrow(expanded ? UpArrow : DownArrow);
}

void PiiSensitiveFrame::setArrow(const QString &path)
{
    QLabel *arrow = ui->m_SensitiveShrinkLabel;
    arrow->setPixmap(QIcon(path).pixmap(arrow->size()));
}

bool PiiSensitiveFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == ui->m_SensitiveShrinkLabel) {
            // A file that is gone has no hit list to show.
            if (m_exists) {
                setExpanded(!m_expanded);
                emit expandedChanged(m_expanded);
            }
            return true;
        }
        if (watched == ui->m_ShowInFolderLabel)
            showInFolder();
    }
    return QFrame::eventFilter(watched, event);
}

void PiiSensitiveFrame::showInFolder()
{
    const QString filepath = ui->m_ShowInFolderLabel->property("filepath").toString();
    HitFileMenu::showInFolder(filepath, this);
}
