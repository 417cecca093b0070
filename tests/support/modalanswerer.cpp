#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

ModalAnswerer::ModalAnswerer(Handler handler, QObject *parent) : QObject(parent), m_handler(std::move(handler))
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
}

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    m_timer.stop();
    m_answered = true;
    m_box = modal;
    if (auto *messageBox = qobject_cast<QMessageBox *>(modal)) {
        m_text = messageBox->text();
    } else {
        const auto labels = modal->findChildren<QLabel *>();
        for (QLabel *label : labels) {
            if (!label->text().isEmpty() && label->pixmap(Qt::ReturnByValue).isNull()) {
                m_text = label->text();
                break;
            }
        }
    }
    m_handler(modal);
}

bool ModalAnswerer::clickButton(QWidget *box, const QString &text)
{
    const auto buttons = box->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->text() == text || button->text().remove(QLatin1Char('&')) == text) {
            button->click();
            return true;
        }
    }
    return false;
}

bool ModalAnswerer::chooseFile(QWidget *box, const QString &path)
{
    auto *dialog = qobject_cast<QFileDialog *>(box);
    if (!dialog)
        return false;
    dialog->selectFile(path);
    static_cast<QDialog *>(dialog)->accept();
    return true;
}

void ModalAnswerer::dismiss(QWidget *box)
{
    if (auto *dialog = qobject_cast<QDialog *>(box))
        dialog->reject();
    else
        box->close();
}
