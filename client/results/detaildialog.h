// What the keyword and privacy detail dialogs share.
#ifndef DETAILDIALOG_H
#define DETAILDIALOG_H

#include "roundeddialog.h"

#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QFutureWatcher>
#include <QPoint>
#include <QtConcurrent/QtConcurrentRun>

#include <memory>

class QVBoxLayout;
class TitleBarButton;
namespace mvk {
class IconBar;
}

// A detail dialog: a frameless, translucent, parentless window of 700 x 423
// on the kit's rounded panel, centred on the screen under the mouse cursor
// when it is made, not modal, deleted when closed. It owns the reply watcher
// of its detail query, the title strip (the product's icon and a title, a
// close button), optional dragging with the left button, and closing (Esc
// closes it too). A dialog opened under a key (what it shows) is the one
// raised while it is open, instead of a second copy. Once a dialog is gone
// the memory its document took is handed back to the system.
// A subclass fills content() from its form, hands its title strip to
// setUpTitleStrip(), its query to watchReply() and handles the reply in
// onCallFinished().
class DetailDialog : public mvk::RoundedDialog
{
    Q_OBJECT

public:
    static constexpr int FixedWidth = 700;
    static constexpr int FixedHeight = 423;

    explicit DetailDialog(bool draggable, QWidget *parent = nullptr);
    ~DetailDialog() override;

    // Shows or hides without the panel's placement over a parent: the
    // dialog keeps the place it was given when it was made.
    void setVisible(bool visible) override;

    // The open dialog made under `key`, if any.
    static DetailDialog *openUnder(const QString &key);
    // Shows the dialog, in front of the other windows.
    void showInFront();

public Q_SLOTS:
    // Esc: the dialog closes (and is deleted), as its buttons close it.
    void reject() override;

protected Q_SLOTS:
    virtual void onCallFinished(QDBusPendingCallWatcher *watcher) = 0;

protected:
    // The widget the subclass's form is set up on, filling the dialog.
    QWidget *content() const { return m_content; }
    // Once the form is set up: connects the form's slots by name, and keeps
    // its push buttons from acting as a dialog's default buttons (they are
    // the form's plain buttons).
    void connectForm();
    void setUpTitleStrip(mvk::IconBar *bar, TitleBarButton *close, const QString &title);
    // The dialog owns the watcher: closed before the reply, it takes the
    // watcher along and the reply is never handled.
    void watchReply(const QDBusPendingCall &call);
    // Registers the dialog as the one open under `key` until it is deleted.
    void setOpenKey(const QString &key);

    // Reads a finished reply on a pool thread: `read` turns the call into a
    // shared Result there, and `done` gets it on the GUI thread, unless the
    // dialog is gone by then (the result is then dropped). The watcher
    // lives until `done` has run: while it exists, the reply is not handled.
    template<typename Result, typename Read, typename Done>
    void readInBackground(QDBusPendingCallWatcher *watcher, Read read, Done done)
    {
        const QDBusPendingCall call = *watcher;
        auto *future = new QFutureWatcher<std::shared_ptr<const Result>>(this);
        connect(future, &QFutureWatcherBase::finished, this, [future, watcher, done] {
            const std::shared_ptr<const Result> result = future->result();
            future->deleteLater();
            done(result);
            watcher->deleteLater();
        });
        future->setFuture(QtConcurrent::run([call, read]() -> std::shared_ptr<const Result> { return read(call); }));
    }

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const bool m_draggable;
    QWidget *m_content;
    // Press position relative to the window's top-left corner while the
    // user drags the dialog.
    QPoint dragOffset;
    bool m_dragging = false;
    QString m_openKey;
};

#endif // DETAILDIALOG_H
