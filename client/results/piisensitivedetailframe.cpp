#include "piisensitivedetailframe.h"
#include "ui_piisensitivedetailframe.h"

PiiSensitiveDetailFrame::PiiSensitiveDetailFrame(const QString &html, const QString &rulename, QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::PiiSensitiveDetailFrame)
{
    ui->setupUi(this);
    // The passage is escaped markup even where nothing is marked ("x &amp; y"
    // must show as "x & y"): always rich text, never left to a guess.
    ui->m_SensitiveTextLabel->setTextFormat(Qt::RichText);
    ui->m_SensitiveTextLabel->setText(html);
    // Rule names come from the service: shown as they are.
    ui->m_RuleNameLabel->setTextFormat(Qt::PlainText);
    ui->m_RuleNameLabel->setText(rulename);
}

PiiSensitiveDetailFrame::~PiiSensitiveDetailFrame()
{
    delete ui;
}

QString PiiSensitiveDetailFrame::html() const
{
    return ui->m_SensitiveTextLabel->text();
}

QString PiiSensitiveDetailFrame::ruleName() const
{
    return ui->m_RuleNameLabel->text();
}
