#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class QWidget;

// Answers the next modal box (message box, file dialog, any modal widget)
// from the test. Arm it before the code under test opens the box: a timer
// looks for the application's active modal widget while the box's own event
// loop runs, and hands it to the handler once. The handler must close it.
//
//     ModalAnswerer answer([](QWidget *box) { ModalAnswerer::clickButton(box, "确认"); });
//     window.checkPermissionAfterShow();   // returns once the box is answered
//     QVERIFY(answer.answered());
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(QWidget *)>;

    explicit ModalAnswerer(Handler handler, QObject *parent = nullptr);

    bool answered() const { return m_answered; }
    // The box that was answered; null once it is gone.
    QWidget *box() const { return m_box; }
    // The box's text (QMessageBox, or the first QLabel with text) as it was
    // when it was answered.
    QString text() const { return m_text; }

    // Clicks the button whose text is `text` inside the box; false if none.
    static bool clickButton(QWidget *box, const QString &text);
    // Chooses `path` in a QFileDialog and accepts it; false if box is not one.
    static bool chooseFile(QWidget *box, const QString &path);
    // Rejects a QDialog, or closes another widget.
    static void dismiss(QWidget *box);

private:
    void poll();

    Handler m_handler;
    QTimer m_timer;
    bool m_answered = false;
    QPointer<QWidget> m_box;
    QString m_text;
};

#endif // MODALANSWERER_H
