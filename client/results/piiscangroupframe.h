#ifndef PIISCANGROUPFRAME_H
#define PIISCANGROUPFRAME_H

#include <QFrame>

namespace Ui {
class PiiScanGroupFrame;
}

class FlowLayout;
class PiiScanGroupWidget;

// One collapsible group of privacy categories: a header with the group's icon
// and title and an arrow, above the group's tiles, which flow left to right
// and wrap. A press on the arrow hides or shows the tiles.
class PiiScanGroupFrame : public QFrame
{
    Q_OBJECT

public:
    static const char UpArrow[];
    static const char DownArrow[];

    explicit PiiScanGroupFrame(QWidget *parent = nullptr);
    ~PiiScanGroupFrame() override;

    void setTitle(const QString &iconPath, const QString &title);
    void addGroupWidget(PiiScanGroupWidget *widget);

    bool isExpanded() const;
    QString title() const;
    QList<PiiScanGroupWidget *> groupWidgets() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showArrow(const char *path);

    Ui::PiiScanGroupFrame *ui;
    FlowLayout *m_flowLayout;
};

#endif // PIISCANGROUPFRAME_H
