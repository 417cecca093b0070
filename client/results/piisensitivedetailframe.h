#ifndef PIISENSITIVEDETAILFRAME_H
#define PIISENSITIVEDETAILFRAME_H

#include <QFrame>

namespace Ui {
class PiiSensitiveDetailFrame;
}

// One hit in the privacy detail dialog (652 x 46): the marked passage
// (rich text, as made by highlightSensitive) and, beside it, the name of the
// rule that matched (plain text).
class PiiSensitiveDetailFrame : public QFrame
{
    Q_OBJECT

public:
    PiiSensitiveDetailFrame(const QString &html, const QString &rulename, QWidget *parent = nullptr);
    ~PiiSensitiveDetailFrame() override;

    QString html() const;
    QString ruleName() const;

private:
    Ui::PiiSensitiveDetailFrame *ui;
};

#endif // PIISENSITIVEDETAILFRAME_H
