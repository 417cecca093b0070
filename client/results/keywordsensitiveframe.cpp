#include "keywordsensitiveframe.h"
#include "ui_keywordsensitiveframe.h"

#include "hitfilemenu.h"
#include "keywordresultmodel.h"
#include "keywordsensitivedetailexwidget.h"
#include "resultlimits.h"

#include <QEvent>
#include <QLocale>
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
    ui->m_SensitiveFilepathLabel->setPath(filepath);
    m_sensitives = sensitives;
    ui->m_SensitiveCountLabel->setText(QLocale().toString(countOf(sensitives)));
    // The count and the button keep the width of their texts whatever the
    // path: a long path is elided, never squeezes them.
    for (QWidget *column : {static_cast<QWidget *>(ui->m_SensitiveCountDescLabel),
                            static_cast<QWidget *>(ui->m_SensitiveCountLabel),
                            static_cast<QWidget *>(ui->m_LookSensitiveDetailButton)})
        column->setMinimumWidth(qMax(column->minimumWidth(), column->sizeHint().width()));

    ui->m_SensitiveCountDescLabel->installEventFilter(this);
    ui->m_SensitiveCountLabel->installEventFilter(this);
    ui->m_LookSensitiveDetailButton->setProperty("filepath", filepath);
    HitFileMenu::attachTo(this, [filepath] { return filepath; });
}

KeywordSensitiveFrame::~KeywordSensitiveFrame()
{
    delete ui;
}

int KeywordSensitiveFrame::sensitiveCount() const
{
    // The label shows the count grouped in the user's locale.
    bool ok = false;
    const int count = QLocale().toInt(ui->m_SensitiveCountLabel->text(), &ok);
    return ok ? count : 0;
}

QString KeywordSensitiveFrame::toolTipText(const QVariantMap &sensitives, int maxWords)
{
    QStringList lines;
    const int shown = qMin(qMax(0, maxWords), sensitives.size());
    lines.reserve(shown + 1);
    auto it = sensitives.constBegin();
    for (int i = 0; i < shown; ++i, ++it)
        lines << it.key() + tr("：") + QLocale().toString(it.value().toInt()) + tr("次");
    if (shown < sensitives.size())
        lines << tr("…以及另外 %n 个关键词", nullptr, sensitives.size() - shown);
    return lines.join(QLatin1Char('\n'));
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
        const QString lines = toolTipText(m_sensitives, ResultLimits::ToolTipWords);
        const QString text = lines.isEmpty() ? QString() : Qt::convertFromPlainText(lines);
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
    KeywordSensitiveDetailExWidget::showFor(m_service, m_pathlist, filepath);
}
