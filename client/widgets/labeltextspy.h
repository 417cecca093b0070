#ifndef LABELTEXTSPY_H
#define LABELTEXTSPY_H

#include <QObject>
#include <QPointer>

// Traces one label for debugging: installed as the label's event filter, it
// writes a debug line when the label's "text" dynamic property changes and
// when the label paints. It never consumes an event.
class LabelTextSpy : public QObject
{
public:
    explicit LabelTextSpy(QObject *parent = nullptr);
    LabelTextSpy(QObject *watched, QObject *parent);

    void setWatched(QObject *watched) { m_watched = watched; }
    QObject *watched() const { return m_watched; }

    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QPointer<QObject> m_watched;
};

#endif // LABELTEXTSPY_H
