// A one-line label for a path that shows the path's two ends and elides the middle.
#ifndef MIDDLEELIDEDLABEL_H
#define MIDDLEELIDEDLABEL_H

#include <QLabel>

// A label for a file path in a row of fixed columns: text() stays the whole
// path, and the label's least width is a few characters at each end, so a
// row is never made wider for a long path; it paints the path elided in
// the middle ("/home/a/…/report.txt") when it is narrower than the path.
// Meant for plain text on one line; the owner puts the whole path in the
// tooltip.
class MiddleElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit MiddleElidedLabel(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

    // What the label paints at its present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // MIDDLEELIDEDLABEL_H
