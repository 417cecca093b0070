#ifndef PIISENSITIVEFRAME_H
#define PIISENSITIVEFRAME_H

#include <QFrame>
#include <QMap>
#include <QStringList>

namespace Ui {
class PiiSensitiveFrame;
}

// One file of the privacy detail dialog: a header with the file's name, "在
// 文件夹中显示", the number of its hits and an arrow that expands or collapses
// the hit list below (collapsed at first). Whether the file exists is checked
// once, here: a file that is gone keeps the initial texts ("文件路径", "0"),
// shows no hits and offers no folder.
class PiiSensitiveFrame : public QFrame
{
    Q_OBJECT

public:
    // `rules` maps each rule name to the marked passages of this file under
    // that rule; rows follow the rule names' order, then the passages' order.
    PiiSensitiveFrame(const QString &filepath, const QMap<QString, QStringList> &rules, QWidget *parent = nullptr);
    ~PiiSensitiveFrame() override;

    QString filePath() const { return m_filepath; }
    bool isExpanded() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setArrow(const QString &path);
    void showInFolder();

    Ui::PiiSensitiveFrame *ui;
    QString m_filepath;
};

#endif // PIISENSITIVEFRAME_H
