#ifndef HIDDENCOMBOBOX_H
#define HIDDENCOMBOBOX_H

#include <QComboBox>
#include <QPointer>

// A combo box that its owner keeps hidden and uses only for its drop-down
// list, which pops up under another widget: 10 pixels below the anchor's
// bottom-left corner and 37 pixels wider than the anchor (so it also covers a
// drop-down button beside it). Without an anchor the list opens 10 pixels
// below the combo box's parent, as wide as that parent.
class HiddenComboBox : public QComboBox
{
public:
    explicit HiddenComboBox(QWidget *parent = nullptr);

    void showPopup() override;

    // The widget the list opens under; set by the owner after construction,
    // not owned.
    void setAnchorWidget(QWidget *anchor) { m_anchorWidget = anchor; }
    QWidget *anchorWidget() const { return m_anchorWidget; }

private:
    QPointer<QWidget> m_anchorWidget;
};

#endif // HIDDENCOMBOBOX_H
