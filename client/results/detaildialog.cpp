// What the keyword and privacy detail dialogs share.

#include "detaildialog.h"

#include "detailwindowplacement.h"
#include "iconbar.h"
#include "resultlimits.h"
#include "titlebarbutton.h"
#include "titlebutton.h"

#include <QDBusPendingCallWatcher>
#include <QHash>
#include <QIcon>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The dialogs open at the moment, by the key they were opened under.
QHash<QString, DetailDialog *> &openDialogs()
{
    static QHash<QString, DetailDialog *> dialogs;
    return dialogs;
}

// A large document leaves its memory in the allocator's free lists, where
// the process keeps it for good: once the dialog and its children are gone,
// the free pages go back to the system.
void returnFreeMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// glibc raises its thresholds for mapping and trimming after every large
// block it frees (up to tens of megabytes), and never trims the top of a
// pool thread's heap from malloc_trim(): a document read on a pool thread
// would stay resident after the dialog is gone. Fixed thresholds map large
// blocks on their own and trim every heap once its free top passes the
// threshold. Set once, when the first dialog is made.
void fixAllocatorThresholds()
{
#ifdef __GLIBC__
    static const bool fixed = [] {
        mallopt(M_MMAP_THRESHOLD, ResultLimits::AllocatorMapThreshold);
        mallopt(M_TRIM_THRESHOLD, ResultLimits::AllocatorTrimThreshold);
        return true;
    }();
    Q_UNUSED(fixed)
#endif
}

} // namespace

DetailDialog::DetailDialog(bool draggable, QWidget *parent)
    : mvk::RoundedDialog(parent), m_draggable(draggable), m_content(new QWidget(this))
{
    fixAllocatorThresholds();
    setWindowFlags(windowFlags() | Qt::Window | Qt::FramelessWindowHint);
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(FixedWidth, FixedHeight);

    // The title strip is the form's: the panel's own close button and its
    // margins stay out of the way, so the form fills the dialog.
    closeButton()->hide();
    if (auto *outer = qobject_cast<QBoxLayout *>(layout())) {
        outer->setContentsMargins(0, 0, 0, 0);
        if (QLayout *titleRow = outer->itemAt(0) ? outer->itemAt(0)->layout() : nullptr)
            titleRow->setContentsMargins(0, 0, 0, 0);
    }
    contentLayout()->setContentsMargins(0, 0, 0, 0);
    contentLayout()->addWidget(m_content);
    DetailWindowPlacement::centreOnCursorScreen(this);
}

DetailDialog::~DetailDialog()
{
    if (!m_openKey.isEmpty() && openDialogs().value(m_openKey) == this)
        openDialogs().remove(m_openKey);
    // Children (the rows, the document) are deleted after this body: trim
    // once the event loop comes round.
    QTimer::singleShot(0, qApp, &returnFreeMemory);
}

DetailDialog *DetailDialog::openUnder(const QString &key)
{
    return openDialogs().value(key);
}

void DetailDialog::setOpenKey(const QString &key)
{
    m_openKey = key;
    openDialogs().insert(key, this);
}

void DetailDialog::showInFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void DetailDialog::reject()
{
    // QDialog's reject() only hides; closing deletes. Inside a close (the
    // close event asks reject() first) the second close() does nothing.
    QDialog::reject();
    close();
}

void DetailDialog::setVisible(bool visible)
{
    QDialog::setVisible(visible);
}

void DetailDialog::connectForm()
{
    for (QPushButton *button : m_content->findChildren<QPushButton *>())
        button->setAutoDefault(false);
    setWindowTitle(m_content->windowTitle());
    QMetaObject::connectSlotsByName(this);
}

void DetailDialog::setUpTitleStrip(mvk::IconBar *bar, TitleBarButton *close, const QString &title)
{
    bar->setIcon(QIcon(QStringLiteral(":/SensitiveDiscovery/images/zoq_logo/vorel-security-center@1x.png")));
    bar->setWidgetName(title);
    close->setProperty("useButtonPalette", true);
    close->setIcons(QStringLiteral(":/SensitiveDiscovery/images/titlebar/close.png"),
                    QStringLiteral(":/SensitiveDiscovery/images/titlebar/closeWhite.png"),
                    QStringLiteral(":/SensitiveDiscovery/images/titlebar/closeWhite.png"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void DetailDialog::watchReply(const QDBusPendingCall &call)
{
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &DetailDialog::onCallFinished);
}

void DetailDialog::mousePressEvent(QMouseEvent *event)
{
    if (m_draggable && event->button() == Qt::LeftButton) {
        dragOffset = event->globalPos() - frameGeometry().topLeft();
        m_dragging = true;
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void DetailDialog::mouseMoveEvent(QMouseEvent *event)
{
    // Only a drag that began with a left press on the dialog moves it.
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void DetailDialog::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}
