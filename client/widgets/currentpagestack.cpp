// CurrentPageStack: the stack's size is its current page's.
#include "currentpagestack.h"

CurrentPageStack::CurrentPageStack(QWidget *parent)
    : QStackedWidget(parent)
{
    // Room left over goes to the widgets below it.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    connect(this, &QStackedWidget::currentChanged, this, [this] { updateGeometry(); });
}

QSize CurrentPageStack::sizeHint() const
{
    const QWidget *page = currentWidget();
    return page ? page->sizeHint().expandedTo(minimumSize()) : QStackedWidget::sizeHint();
}

QSize CurrentPageStack::minimumSizeHint() const
{
    const QWidget *page = currentWidget();
    return page ? page->minimumSizeHint().expandedTo(minimumSize()) : QStackedWidget::minimumSizeHint();
}

bool CurrentPageStack::hasHeightForWidth() const
{
    const QWidget *page = currentWidget();
    return page && page->hasHeightForWidth();
}

int CurrentPageStack::heightForWidth(int width) const
{
    const QWidget *page = currentWidget();
    if (!page)
        return QStackedWidget::heightForWidth(width);
    return qMax(page->heightForWidth(width), minimumHeight());
}
