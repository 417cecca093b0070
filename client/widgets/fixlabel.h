#ifndef FIXLABEL_H
#define FIXLABEL_H

#include <QLabel>

// A one-line label that cuts its text with an ellipsis at the right when the
// label is narrower than the text, and can show the whole text as tooltip.
//
// The label always sizes itself for the whole text (not for the cut text it
// happens to show), so a layout that narrowed it can widen it again and the
// whole text comes back.
class FixLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FixLabel(QWidget *parent = nullptr);

    void setShowToolTip(bool show);
    bool showToolTip() const { return m_showToolTip; }

    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString sourceText() const;

    bool m_showToolTip = true;
    QString m_fullText;
    // Text handed over with plain setText() that paintEvent has since cut:
    // kept so that a wider label shows it whole again.
    QString m_plainText;
    QString m_elidedText;
};

#endif // FIXLABEL_H
