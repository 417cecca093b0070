#ifndef SCANCONTROLLERTEST_H
#define SCANCONTROLLERTEST_H

// What the tests of the main window's scan controllers share: the window's
// widgets by object name, the keyword panel driven through its own form, a
// script of answers for the modal boxes a flow opens one after the other,
// the policy a task carried, and a capture of the log.

#include "logcapture.h"
#include "mainwindow.h"
#include "messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace ScanControllerTest {

template<typename T = QWidget>
T *child(const QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

inline int page(const MainWindow &window, const char *stack)
{
    auto *widget = child<QStackedWidget>(&window, stack);
    return widget ? widget->currentIndex() : -1;
}

inline QString text(const QObject *parent, const char *name)
{
    if (auto *label = child<QLabel>(parent, name))
        return label->text();
    if (auto *button = child<QAbstractButton>(parent, name))
        return button->text();
    return QStringLiteral("<no widget %1>").arg(QLatin1String(name));
}

inline void click(const QObject *parent, const char *name)
{
    auto *button = child<QAbstractButton>(parent, name);
    QVERIFY2(button, name);
    QVERIFY2(button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types the keywords into the keyword panel, one chip each, and closes it
// with its confirm button, as a user does.
inline void configureKeywords(const MainWindow &window, const QStringList &keywords)
{
    auto *panel = child<QWidget>(&window, "KeywordConfigAllinoneWidget");
    QVERIFY(panel);
    auto *edit = child<QLineEdit>(panel, "m_KeywordLineEdit");
    auto *add = child<QPushButton>(panel, "m_AddKeywordButton");
    auto *confirm = child<QPushButton>(panel, "m_ConfirmButton");
    QVERIFY(edit && add && confirm);
    click(&window, "m_KeywordConfigButton");
    QVERIFY(panel->isVisible());
    for (const QString &keyword : keywords) {
        edit->setText(keyword);
        QTest::mouseClick(add, Qt::LeftButton);
    }
    QTest::mouseClick(confirm, Qt::LeftButton);
    QVERIFY(!panel->isVisible());
}

// What a modal box showed when it was answered.
struct Box
{
    QString kind; // "QMessageBox", "mvk::MessageBox", "QFileDialog", ...
    QString title;
    QString text;
    int icon = -1;
    QStringList buttons;
    QString defaultButton;
    QStringList important; // buttons with "isImportant"
    QStringList secondary; // buttons with "useButtonPalette"
};

// Answers the modal boxes of a flow in turn: the n-th box that appears goes
// to the n-th handler. A box beyond the script is dismissed and recorded
// too, so a test sees every box that appeared.
class BoxScript : public QObject
{
public:
    using Handler = std::function<void(QWidget *)>;

    explicit BoxScript(QList<Handler> handlers = {}) : m_handlers(std::move(handlers))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    static Handler press(const QString &button)
    {
        return [button](QWidget *box) {
            const auto buttons = box->findChildren<QAbstractButton *>();
            for (QAbstractButton *b : buttons) {
                if (b->text() == button && b->isVisible()) {
                    b->click();
                    return;
                }
            }
            qWarning("no button %s", qPrintable(button));
            close(box);
        };
    }
    // What the window manager's close button does.
    static void close(QWidget *box)
    {
        box->close();
        if (box->isVisible()) {
            if (auto *dialog = qobject_cast<QDialog *>(box))
                dialog->reject();
        }
    }

    const QList<Box> &boxes() const { return m_boxes; }
    QStringList texts() const
    {
        QStringList list;
        for (const Box &box : m_boxes)
            list << box.text;
        return list;
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || m_busy)
            return;
        m_busy = true;
        m_boxes << describe(modal);
        const int index = m_boxes.size() - 1;
        if (index < m_handlers.size())
            m_handlers.at(index)(modal);
        else
            close(modal);
        m_busy = false;
    }

    static Box describe(QWidget *modal)
    {
        Box box;
        box.kind = QString::fromLatin1(modal->metaObject()->className());
        box.title = modal->windowTitle();
        QList<QAbstractButton *> buttons;
        if (auto *q = qobject_cast<QMessageBox *>(modal)) {
            box.text = q->text();
            box.icon = q->icon();
            buttons = q->buttons();
            if (q->defaultButton())
                box.defaultButton = q->defaultButton()->text();
        } else if (auto *m = qobject_cast<mvk::MessageBox *>(modal)) {
            box.text = m->text();
            box.icon = m->icon();
            for (QPushButton *b : m->buttons())
                buttons << b;
            if (m->defaultButton())
                box.defaultButton = m->defaultButton()->text();
        }
        for (QAbstractButton *b : buttons) {
            box.buttons << b->text();
            if (b->property("isImportant").toBool())
                box.important << b->text();
            if (b->property("useButtonPalette").toBool())
                box.secondary << b->text();
        }
        return box;
    }

    QList<Handler> m_handlers;
    QList<Box> m_boxes;
    QTimer m_timer;
    bool m_busy = false;
};

// The keywords of a task's policy argument (Base64 of the JSON document),
// and whether the service's own data identifiers are switched on.
struct DecodedPolicy
{
    bool valid = false;
    QStringList keywords;
    QStringList fileTypes;
    bool dataIdentifier = false;
};

inline DecodedPolicy decodePolicy(const QString &base64)
{
    DecodedPolicy policy;
    const QByteArray bytes = QByteArray::fromBase64(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    const QJsonObject detect = document.object()
                                   .value(QStringLiteral("policies")).toArray().at(0).toObject()
                                   .value(QStringLiteral("ruleset")).toObject()
                                   .value(QStringLiteral("detect_ruleset")).toObject();
    if (detect.isEmpty())
        return policy;
    policy.valid = true;
    for (const QJsonValue &rule : detect.value(QStringLiteral("keyword_detect_ruleset")).toArray()) {
        for (const QJsonValue &pattern : rule.toObject().value(QStringLiteral("keywords")).toArray())
            policy.keywords << pattern.toObject().value(QStringLiteral("pattern")).toString();
    }
    for (const QJsonValue &rule : detect.value(QStringLiteral("filetype_detect_ruleset")).toArray()) {
        for (const QJsonValue &type : rule.toObject().value(QStringLiteral("filetypes")).toArray())
            policy.fileTypes << type.toString();
    }
    policy.dataIdentifier = detect.value(QStringLiteral("dataidentifier_detect_ruleset")).toBool();
    return policy;
}

// Keeps every log message of the process for the test to look for.

} // namespace ScanControllerTest

#endif // SCANCONTROLLERTEST_H
