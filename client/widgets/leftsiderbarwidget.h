#ifndef LEFTSIDERBARWIDGET_H
#define LEFTSIDERBARWIDGET_H

#include <QWidget>

class QGSettings;

// The sidebar's background: the palette's window colour with the alpha the
// desktop's personalisation setting "transparency" (0 to 1) gives, following
// its changes. Where the desktop's schema is not installed the sidebar stays
// fully transparent.
class LeftSiderbarWidget : public QWidget
{
    Q_OBJECT

public:
    static const char SchemaId[];
    static const char TransparencyKey[];

    explicit LeftSiderbarWidget(QWidget *parent = nullptr);

    // The background's alpha, 0 to 255.
    qreal alpha() const { return m_alpha; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void readTransparency();

    qreal m_alpha = 0;
    QGSettings *m_settings = nullptr;
};

#endif // LEFTSIDERBARWIDGET_H
