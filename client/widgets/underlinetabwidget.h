#ifndef UNDERLINETABWIDGET_H
#define UNDERLINETABWIDGET_H

#include <QTabWidget>

class UnderlineTabBar;

// A tab widget whose tab bar underlines the current tab's title.
class UnderlineTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    explicit UnderlineTabWidget(QWidget *parent = nullptr);

    UnderlineTabBar *underlineTabBar() const;
};

#endif // UNDERLINETABWIDGET_H
