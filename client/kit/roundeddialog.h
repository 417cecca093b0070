#pragma once

#include <QDialog>

class QVBoxLayout;

namespace mvk {

class TitleButton;

// The frame shared by the kit's dialogs: a frameless, translucent window
// painting a white panel with 12-pixel rounded corners and a light border,
// a close button at the top right, window-modal, centred over its parent
// whenever it is shown, and movable by dragging its background.
class RoundedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RoundedDialog(QWidget *parent = nullptr);

    // The close button at the top right; clicking it rejects the dialog.
    TitleButton *closeButton() const;

    // The geometry the dialog takes when shown: its size hint, centred over
    // the parent's window (or the screen when it has no parent).
    QRect placementGeometry();

    void setVisible(bool visible) override;

protected:
    // Subclasses put their content here (below the close button's row).
    QVBoxLayout *contentLayout() const;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void updateMask();

    TitleButton *m_closeButton = nullptr;
    QVBoxLayout *m_content = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace mvk
