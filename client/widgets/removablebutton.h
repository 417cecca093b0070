#ifndef REMOVABLEBUTTON_H
#define REMOVABLEBUTTON_H

#include <QPushButton>
#include <QRect>
#include <QSize>

// A chip: a rounded button showing its text with a small close mark at the
// right. A press on the close mark emits closeClicked() and deletes the chip
// (later, from the event loop) without clicked(); a press elsewhere is an
// ordinary button press, so clicked() follows on release.
class RemovableButton : public QPushButton
{
    Q_OBJECT

public:
    explicit RemovableButton(QWidget *parent = nullptr);

    QRect closeRect() const { return m_closeRect; }

Q_SIGNALS:
    void closeClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateCloseRect();

    QSize m_iconSize = QSize(16, 16);
    QRect m_closeRect;
};

#endif // REMOVABLEBUTTON_H
