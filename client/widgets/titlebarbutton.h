#ifndef TITLEBARBUTTON_H
#define TITLEBARBUTTON_H

#include <QPushButton>

// A title-bar button with three icons: normal, under the pointer, and after a
// left-button press (kept until the pointer leaves).
class TitleBarButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TitleBarButton(QWidget *parent = nullptr);

    void setIcons(const QString &normal, const QString &hover, const QString &pressed);

    // The path of the icon shown now.
    QString currentIconPath() const { return m_current; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void showIcon(const QString &path);

    QString m_normalIcon;
    QString m_hoverIcon;
    QString m_pressedIcon;
    QString m_current;
};

#endif // TITLEBARBUTTON_H
