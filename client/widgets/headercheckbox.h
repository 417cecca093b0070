#ifndef HEADERCHECKBOX_H
#define HEADERCHECKBOX_H

#include <QCheckBox>
#include <QPointer>

class QStandardItemModel;
class QTableView;

// A select-all box over the first header section of a table whose column 0
// holds check states (2 ticked, 0 not). A click ticks every row when the box
// becomes checked and unticks every row otherwise; the box follows the rows:
// checked when all are ticked, unchecked when none is, partially checked in
// between. With no rows the box keeps the state it has (checked at first).
class HeaderCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    HeaderCheckBox(QTableView *view, QStandardItemModel *model, QWidget *parent = nullptr);

public Q_SLOTS:
    void onClicked(bool checked);
    void syncState();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void reposition();

    QPointer<QTableView> m_view;
    QPointer<QStandardItemModel> m_model;
};

#endif // HEADERCHECKBOX_H
