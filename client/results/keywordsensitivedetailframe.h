#ifndef KEYWORDSENSITIVEDETAILFRAME_H
#define KEYWORDSENSITIVEDETAILFRAME_H

#include <QFrame>

namespace Ui {
class KeywordSensitiveDetailFrame;
}

// One hit in the keyword detail dialog: the passage around the hit on one
// line (rich text, as made by highlightSensitive), in a grey row of fixed
// height 46.
class KeywordSensitiveDetailFrame : public QFrame
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 46;

    explicit KeywordSensitiveDetailFrame(const QString &html, QWidget *parent = nullptr);
    ~KeywordSensitiveDetailFrame() override;

    QString html() const;

private:
    Ui::KeywordSensitiveDetailFrame *ui;
};

#endif // KEYWORDSENSITIVEDETAILFRAME_H
