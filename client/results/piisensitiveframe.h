#ifndef PIISENSITIVEFRAME_H
#define PIISENSITIVEFRAME_H

#include <QFrame>

namespace Ui {
class PiiSensitiveFrame;
}

// The header of one file in the privacy detail dialog: the file's name
// (elided in the middle when long, the whole path in the tooltip), "在文件夹中
// 显示", the number of its hits and an arrow that asks for its hit list to be
// shown or hidden (the dialog's list shows the hits below the header).
// Whether the file exists is checked once, here: a file that is gone keeps
// the initial texts ("文件路径", "0"), offers no folder and no hit list.
class PiiSensitiveFrame : public QFrame
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 48;

    PiiSensitiveFrame(const QString &filepath, int hitCount, QWidget *parent = nullptr);
    ~PiiSensitiveFrame() override;

    QString filePath() const { return m_filepath; }
    bool exists() const { return m_exists; }
    bool isExpanded() const { return m_expanded; }
    // Shows the arrow of the state; emits nothing.
    void setExpanded(bool expanded);

Q_SIGNALS:
    // A press on the arrow of an existing file: its hit list is to be shown
    // (true) or hidden.
    void expandedChanged(bool expanded);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepColumnWidths();
    void setArrow(const QString &path);
    void showInFolder();

    Ui::PiiSensitiveFrame *ui;
    QString m_filepath;
    bool m_exists = false;
    bool m_expanded = false;
};

#endif // PIISENSITIVEFRAME_H
