// What the keyword and privacy detail dialogs share.

#include "detaildialog.h"

#include "detailwindowplacement.h"
#include "iconbar.h"
#include "titlebarbutton.h"
#include "titlebutton.h"

#include <QDBusPendingCallWatcher>
#include <QIcon>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

DetailDialog::DetailDialog(bool draggable, QWidget *parent)
    : mvk::RoundedDialog(parent), m_draggable(draggable), m_content(new QWidget(this))
{
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

DetailDialog::~DetailDialog() = default;

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
