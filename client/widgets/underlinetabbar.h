#ifndef UNDERLINETABBAR_H
#define UNDERLINETABBAR_H

#include <QTabBar>

// A tab bar that draws each tab's text centred and underlines the text of the
// current tab with a 1-pixel blue line two pixels below the text rectangle.
class UnderlineTabBar : public QTabBar
{
public:
    explicit UnderlineTabBar(QWidget *parent = nullptr);

    static QColor underlineColor();

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // UNDERLINETABBAR_H
