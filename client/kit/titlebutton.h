#pragma once

#include <QToolButton>

namespace mvk {

// A flat, square title-bar button: a rounded grey wash when hovered or
// pressed, red for a "danger" button (close), whose icon is then drawn in
// its Active mode (the kit's close glyph turns white).
class TitleButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(bool danger READ isDanger WRITE setDanger)

public:
    explicit TitleButton(QWidget *parent = nullptr);

    bool isDanger() const;
    void setDanger(bool danger);

    // The background currently painted behind the icon (transparent when idle).
    QColor backgroundColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool m_danger = false;
};

} // namespace mvk
