#ifndef SCROLLPAGE_H
#define SCROLLPAGE_H

// A row list placed as the forms place their result lists: a resizable
// scroll area whose content holds the list above a stretch. Shown at once.

#include <QCoreApplication>
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

template <typename List>
struct ScrollPage
{
    QScrollArea area;
    List *list;

    explicit ScrollPage(List *rowList, const QSize &size = QSize(700, 300))
        : list(rowList)
    {
        auto *content = new QWidget;
        auto *layout = new QVBoxLayout(content);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(list);
        layout->addStretch();
        area.setWidgetResizable(true);
        area.setWidget(content);
        area.resize(size);
        area.show();
    }

    // Queued row updates, layout requests and deferred deletions.
    static void settle()
    {
        for (int i = 0; i < 4; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    void scrollTo(int value)
    {
        area.verticalScrollBar()->setValue(value);
        settle();
    }
};

#endif // SCROLLPAGE_H
