#include "underlinetabwidget.h"

#include "underlinetabbar.h"

UnderlineTabWidget::UnderlineTabWidget(QWidget *parent)
    : QTabWidget(parent)
{
    setTabBar(new UnderlineTabBar(this));
}

UnderlineTabBar *UnderlineTabWidget::underlineTabBar() const
{
    return static_cast<UnderlineTabBar *>(tabBar());
}
