#include "labeltextspy.h"

#include "widgetslog.h"

#include <QDebug>
#include <QDynamicPropertyChangeEvent>
#include <QEvent>
#include <QVariant>

LabelTextSpy::LabelTextSpy(QObject *parent)
    : QObject(parent)
{
}

LabelTextSpy::LabelTextSpy(QObject *watched, QObject *parent)
    : QObject(parent)
    , m_watched(watched)
{
}

bool LabelTextSpy::eventFilter(QObject *object, QEvent *event)
{
    if (object == m_watched && object) {
        const QString text = object->property("text").toString();
        if (event->type() == QEvent::DynamicPropertyChange) {
            const auto *change = static_cast<QDynamicPropertyChangeEvent *>(event);
            if (change->propertyName() == "text")
                qCDebug(lcWidgets).noquote().nospace() << "DynamicPropertyChange text=" << text;
        } else if (event->type() == QEvent::Paint) {
            qCDebug(lcWidgets).noquote().nospace()
                << "Paint 事件触发 object=" << object->objectName() << " text=" << text;
        }
    }
    return QObject::eventFilter(object, event);
}
