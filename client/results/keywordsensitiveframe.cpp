#include "keywordsensitiveframe.h"
#include "ui_keywordsensitiveframe.h"

#include "keywordresultmodel.h"
#include "keywordsensitivedetailexwidget.h"

#include <QEvent>
#include <QPushButton>
#include <QTextDocument>
#include <QToolTip>

KeywordSensitiveFrame::KeywordSensitiveFrame(SensitiveScanInterface *service, const QString &pathlist,
                                             const QString &filepath, const QVariantMap &sensitives,
                                             QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::KeywordSensitiveFrame)
    , m_service(service)
    , m_pathlist(pathlist)
{
    ui->setupUi(this);
    ui->m_SensitiveFilepathLabel->setText(filepath);

    QStringList lines;
    lines.reserve(sensitives.size());
    for (auto it = sensitives.constBegin(); it != sensitives.constEnd(); ++it)
        lines << it.key() + tr("：") + QString::number(it.value().toInt()) + tr("次");
    m_toolTip = lines.join(QLatin1Char('\n'));
    ui->m_SensitiveCountLabel->setText(QString::number(countOf(sensitives)));

    ui->m_SensitiveCountDescLabel->installEventFilter(this);
    ui->m_SensitiveCountLabel->installEventFilter(this);
    ui->m_LookSensitiveDetailButton->setProperty("filepath", filepath);
}

KeywordSensitiveFrame::~KeywordSensitiveFrame()
{
    delete ui;
}

int KeywordSensitiveFrame::sensitiveCount() const
{
    bool ok = false;
    const int count = ui->m_SensitiveCountLabel->text().toInt(&ok);
    return ok ? count : 0;
}

int KeywordSensitiveFrame::countOf(const QVariantMap &sensitives)
{
    return KeywordResultModel::countOf(sensitives);
}

bool KeywordSensitiveFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip
        && (watched == ui->m_SensitiveCountDescLabel || watched == ui->m_SensitiveCountLabel)) {
        QLabel *anchor = ui->m_SensitiveCountDescLabel;
        // The words come from the scanned files: show them as they are,
        // never as markup. An empty text hides the tooltip.
        const QString text = m_toolTip.isEmpty() ? QString() : Qt::convertFromPlainText(m_toolTip);
        QToolTip::showText(anchor->mapToGlobal(QPoint(-5, 5)), text, anchor, anchor->rect());
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void KeywordSensitiveFrame::on_m_LookSensitiveDetailButton_clicked()
{
    auto *button = qobject_cast<QPushButton *>(sender());
    if (!button)
        return;
    const QString filepath = button->property("filepath").toString();
    auto *dialog = new KeywordSensitiveDetailExWidget(m_service, m_pathlist, filepath, nullptr);
    dialog->show();
}
