// A one-line label for a file path that may be of any length: it cuts the
// path in the middle and keeps the same size whatever the path.
#ifndef ELIDEDPATHLABEL_H
#define ELIDEDPATHLABEL_H

#include <QLabel>

// The label asks the layout for the same room whatever path it shows, so the
// widgets beside it never move when the path changes; it takes the room the
// layout gives it and cuts the path in the middle (the start of a path and
// the file name are what tell paths apart). The whole path is the tooltip.
// text() stays the whole path: only the painting is cut.
class ElidedPathLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedPathLabel(QWidget *parent = nullptr);

    // Shows the path, as plain text, with the whole path as tooltip.
    void setPath(const QString &path);
    // What the label paints at its current width.
    QString elidedText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // ELIDEDPATHLABEL_H
