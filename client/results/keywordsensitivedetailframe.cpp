#include "keywordsensitivedetailframe.h"
#include "ui_keywordsensitivedetailframe.h"

KeywordSensitiveDetailFrame::KeywordSensitiveDetailFrame(const QString &html, QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::KeywordSensitiveDetailFrame)
{
    ui->setupUi(this);
    ui->m_SensitiveTextLabel->setTextFormat(Qt::RichText);
    ui->m_SensitiveTextLabel->setText(html);
}

KeywordSensitiveDetailFrame::~KeywordSensitiveDetailFrame()
{
    delete ui;
}

QString KeywordSensitiveDetailFrame::html() const
{
    return ui->m_SensitiveTextLabel->text();
}
