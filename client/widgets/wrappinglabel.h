// A label that keeps its text on one line while it has the room, and wraps
// it when it has not.
#ifndef WRAPPINGLABEL_H
#define WRAPPINGLABEL_H

#include <QLabel>

// QLabel with word wrap asks for about half its text's width, so a layout
// with room to spare still breaks a short sentence in two. This label asks
// for the whole line, and wraps (taking the height it then needs) only when
// the layout gives it less.
class WrappingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WrappingLabel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
};

#endif // WRAPPINGLABEL_H
