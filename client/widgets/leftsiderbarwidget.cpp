#include "leftsiderbarwidget.h"

#include "widgetslog.h"

#include <QDebug>
#include <QGSettings>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

#include <cmath>

const char LeftSiderbarWidget::SchemaId[] = "org.qovo.control-center.personalise";
const char LeftSiderbarWidget::TransparencyKey[] = "transparency";

LeftSiderbarWidget::LeftSiderbarWidget(QWidget *parent)
    : QWidget(parent)
{
    const QByteArray schema(SchemaId);
    if (QGSettings::isSchemaInstalled(schema)) {
        m_settings = new QGSettings(schema, QByteArray(), this);
        readTransparency();
        connect(m_settings, &QGSettings::changed, this, [this](const QString &key) {
            if (key == QLatin1String(TransparencyKey)) {
                readTransparency();
                update();
            }
        });
    } else {
        qCDebug(lcWidgets).noquote().nospace() << SchemaId << " not installed!";
    }
}

void LeftSiderbarWidget::readTransparency()
{
    const QStringList keys = m_settings->keys();
    if (!keys.contains(QLatin1String(TransparencyKey))) {
        qCDebug(lcWidgets).noquote().nospace() << SchemaId << " has no key " << TransparencyKey;
        return;
    }
    bool ok = false;
    const double value = m_settings->get(QLatin1String(TransparencyKey)).toDouble(&ok);
    // An alpha outside 0 to 255 (or none at all) is no colour: keep within.
    if (!ok || std::isnan(value))
        return;
    m_alpha = 255.0 * qBound(0.0, value, 1.0);
}

void LeftSiderbarWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    QColor color = palette().color(QPalette::Window);
    color.setAlpha(int(m_alpha));
    painter.setBrush(color);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 0, 0);
    painter.drawPath(path);

    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
