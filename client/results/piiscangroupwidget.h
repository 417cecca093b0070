#ifndef PIISCANGROUPWIDGET_H
#define PIISCANGROUPWIDGET_H

#include <QWidget>

namespace Ui {
class PiiScanGroupWidget;
}

// The tile of one privacy category (120 x 110): its icon, its name and the
// running hit count, which lives only as the count label's text. Under the
// pointer the tile shows a rounded highlight outline; any mouse-button press
// emits PiiScanGroupWidgetClicked(name, count).
class PiiScanGroupWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PiiScanGroupWidget(QWidget *parent = nullptr);
    ~PiiScanGroupWidget() override;

    void setIcon(const QString &path);
    QString iconPath() const { return m_iconPath; }

    void setName(const QString &name);
    QString name() const;

    void setDescribe(const QString &describe);
    QString describe() const;

    bool isHovered() const { return m_hover; }

Q_SIGNALS:
    void PiiScanGroupWidgetClicked(QString name, QString describe);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Ui::PiiScanGroupWidget *ui;
    QString m_formStyleSheet;
    QString m_iconPath;
    bool m_hover = false;
};

#endif // PIISCANGROUPWIDGET_H
