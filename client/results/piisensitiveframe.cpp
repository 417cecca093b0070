#include "piisensitiveframe.h"
#include "ui_piisensitiveframe.h"

#include "piisensitivedetailframe.h"
#include "resultslog.h"

#include <QDebug>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QTextDocument>
#include <QUrl>

namespace {
const QString UpArrow = QStringLiteral(":/SensitiveDiscovery/images/scan/pii/scanitem/up-symbolic.png");
const QString DownArrow = QStringLiteral(":/SensitiveDiscovery/images/scan/pii/scanitem/down-symbolic.png");
}

PiiSensitiveFrame::PiiSensitiveFrame(const QString &filepath, const QMap<QString, QStringList> &rules,
                                     QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::PiiSensitiveFrame)
    , m_filepath(filepath)
{
    ui->setupUi(this);
    ui->scrollArea->hide();
    ui->m_ShowInFolderLabel->installEventFilter(this);
    ui->m_SensitiveShrinkLabel->installEventFilter(this);

    const QFileInfo file(filepath);
    if (filepath.isEmpty() || !file.exists()) {
        qCDebug(lcResults) << "文件不存在：" << filepath;
        return;
    }

    // The name alone; the whole path is in the tooltip, as plain text.
    ui->m_SensitiveFilepathLabel->setText(file.fileName());
    ui->m_SensitiveFilepathLabel->setToolTip(Qt::convertFromPlainText(filepath, Qt::WhiteSpaceNormal));
    ui->m_ShowInFolderLabel->setProperty("filepath", filepath);
    int count = 0;
    for (auto rule = rules.constBegin(); rule != rules.constEnd(); ++rule) {
        for (const QString &passage : rule.value()) {
            ui->m_SensitiveDetailVBoxLayout->addWidget(new PiiSensitiveDetailFrame(passage, rule.key()));
            ++count;
        }
    }
    ui->m_SensitiveCountLabel->setText(QString::number(count));
}

PiiSensitiveFrame::~PiiSensitiveFrame()
{
    delete ui;
}

bool PiiSensitiveFrame::isExpanded() const
{
    return !ui->scrollArea->isHidden();
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
            // isHidden(): the state must not depend on whether the row
            // itself is on screen.
            if (ui->scrollArea->isHidden()) {
                ui->scrollArea->show();
                setArrow(UpArrow);
            } else {
                ui->scrollArea->hide();
                setArrow(DownArrow);
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
    if (filepath.isEmpty() || !QFileInfo::exists(filepath)) {
        qCDebug(lcResults) << "文件不存在:" << filepath;
        return;
    }
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(filepath).absolutePath());
    if (!QDesktopServices::openUrl(folder))
        QMessageBox::warning(this, QStringLiteral("Error"), QStringLiteral("Failed to open the directory."),
                             QMessageBox::Ok);
}
