#pragma once

#include <QFrame>
#include <QIcon>

class QLabel;

namespace mvk {

// The small strip at the top of a dialog or sidebar: a 24x24 icon at the
// left and the widget's name next to it. It asks for room for the name on
// one line; given less, the name takes a second line rather than being cut.
class IconBar : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString widgetName READ widgetName WRITE setWidgetName)

public:
    static constexpr int IconSize = 24;

    explicit IconBar(QWidget *parent = nullptr);

    void setIcon(const QIcon &icon);
    QIcon icon() const;

    void setWidgetName(const QString &name);
    QString widgetName() const;

    QLabel *iconLabel() const;
    QLabel *nameLabel() const;

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void updatePixmap();

    QIcon m_icon;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_nameLabel = nullptr;
};

} // namespace mvk
