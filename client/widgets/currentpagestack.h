// A stack of pages as tall as the page it shows.
#ifndef CURRENTPAGESTACK_H
#define CURRENTPAGESTACK_H

#include <QStackedWidget>

// QStackedWidget asks for the room of its largest page, so a short page
// shown while a tall one waits (a scan's progress while its ended page has
// a long summary) floats in empty space. This stack asks for the room of
// the current page only, and never less than its minimum height.
class CurrentPageStack : public QStackedWidget
{
    Q_OBJECT

public:
    explicit CurrentPageStack(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
};

#endif // CURRENTPAGESTACK_H
