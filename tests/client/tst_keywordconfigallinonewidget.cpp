#include "checklistfixture.h"
#include "keywordconfigallinonewidget.h"
#include "keywordtemplatestore.h"
#include "removablebutton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

using Templates = QMap<QString, QString>;

namespace {

// Types `text` key by key, as a keyboard or input method delivers it.
void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A shown parent with the panel in it.
struct Window
{
    explicit Window(KeywordTemplateStore *store, const QSize &size = QSize(1000, 800))
    {
        parent.resize(size);
        parent.show();
        panel = new KeywordConfigAllinoneWidget(&parent, store);
        panel->show();
    }
    template<typename T>
    T *child(const char *name) const { return panel->findChild<T *>(QLatin1String(name)); }
    QLineEdit *lineEdit() const { return child<QLineEdit>("m_KeywordLineEdit"); }
    void typeAndReturn(const QString &text) const
    {
        typeText(lineEdit(), text);
        QTest::keyClick(lineEdit(), Qt::Key_Return);
    }
    // Shows the tab holding `button` and clicks it, as the user would.
    void click(const char *button) const
    {
        auto *b = child<QPushButton>(button);
        QVERIFY(b);
        auto *tabs = child<QTabWidget>("tabWidget");
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(b))
                tabs->setCurrentIndex(i);
        }
        QVERIFY(b->isVisible());
        QTest::mouseClick(b, Qt::LeftButton);
    }

    QWidget parent;
    KeywordConfigAllinoneWidget *panel = nullptr;
};

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestKeywordConfigAllinoneWidget : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<KeywordTemplateStore> m_store;
    Templates m_all;

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<Templates>("QMap<QString,QString>");
        const QString db = m_dir.filePath(QStringLiteral("kw.db"));
        QCOMPARE(ChecklistFixture::import(db, QStringLiteral("乙清单"), "机密\n"), 0);
        QCOMPARE(ChecklistFixture::import(db, QStringLiteral("甲清单"), "身份证\n护照\n"), 0);
        m_store.reset(new KeywordTemplateStore(db, ChecklistFixture::connectionName()));
        m_store->templates(m_all);
        QCOMPARE(m_all.size(), 2);
    }
    void cleanupTestCase() { m_store.reset(); }
    // A line edit's clear button fades in and out with an animation that has
    // no parent and deletes itself once stopped; one whose line edit is gone
    // stops at its next tick. Let it, so that no test leaves one behind.
    void cleanup()
    {
        QTest::qWait(250);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void addingKeywords_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("byButton");
        QTest::addColumn<QStringList>("keywords");
        QTest::newRow("same word twice") << QStringList{"机密", "机密"} << false << QStringList{"机密", "机密"};
        QTest::newRow("same word twice, add button") << QStringList{"机密", "机密"} << true << QStringList{"机密", "机密"};
        QTest::newRow("spaces only") << QStringList{"   "} << false << QStringList{"   "};
        QTest::newRow("kept as typed") << QStringList{" Top Secret "} << false << QStringList{" Top Secret "};
        QTest::newRow("nothing typed") << QStringList{""} << false << QStringList{};
        QTest::newRow("nothing typed, add button") << QStringList{""} << true << QStringList{};
        QTest::newRow("order of adding") << QStringList{"c", "a", "b"} << true << QStringList{"c", "a", "b"};
    }
    void addingKeywords()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, byButton);
        QFETCH(QStringList, keywords);
        Window w(m_store.get());
        auto *add = w.child<QPushButton>("m_AddKeywordButton");
        for (const QString &text : typed) {
            typeText(w.lineEdit(), text);
            if (byButton)
                QTest::mouseClick(add, Qt::LeftButton);
            else
                QTest::keyClick(w.lineEdit(), Qt::Key_Return);
            QCOMPARE(w.lineEdit()->text(), QString());
            QCOMPARE(add->styleSheet(), QString());
        }
        QCOMPARE(w.panel->keywords(), keywords);
        QCOMPARE(w.panel->findChildren<RemovableButton *>().size(), keywords.size());
    }

    void returnIsConsumed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("chips");
        QTest::newRow("Return, empty") << "" << int(Qt::Key_Return) << 0;
        QTest::newRow("Enter, empty") << "" << int(Qt::Key_Enter) << 0;
        QTest::newRow("Return, text") << "词" << int(Qt::Key_Return) << 1;
        QTest::newRow("Enter, text") << "词" << int(Qt::Key_Enter) << 1;
    }
    void returnIsConsumed()
    {
        QFETCH(QString, text);
        QFETCH(int, key);
        QFETCH(int, chips);
        Window w(m_store.get());
        typeText(w.lineEdit(), text);
        QSignalSpy returned(w.lineEdit(), &QLineEdit::returnPressed);
        QSignalSpy finished(w.lineEdit(), &QLineEdit::editingFinished);
        QTest::keyClick(w.lineEdit(), Qt::Key(key));
        QCOMPARE(returned.count(), 0);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(w.panel->keywords().size(), chips);
    }

    void addButtonHighlight()
    {
        Window w(m_store.get());
        auto *add = w.child<QPushButton>("m_AddKeywordButton");
        const QString highlighted = QStringLiteral("QPushButton {background-color: rgb(44,137,255); color: white;}");
        QCOMPARE(add->styleSheet(), QString());
        typeText(w.lineEdit(), QStringLiteral("ab"));
        QCOMPARE(add->styleSheet(), highlighted);
        QTest::keyClick(w.lineEdit(), Qt::Key_Backspace);
        QCOMPARE(add->styleSheet(), highlighted);
        QTest::keyClick(w.lineEdit(), Qt::Key_Backspace);
        QCOMPARE(add->styleSheet(), QString());
        // Text set by the program is no user edit.
        w.lineEdit()->setText(QStringLiteral("x"));
        QCOMPARE(add->styleSheet(), QString());
    }

    void chipCloseMarkRemovesKeyword()
    {
        Window w(m_store.get());
        w.typeAndReturn(QStringLiteral("一"));
        w.typeAndReturn(QStringLiteral("二"));
        w.typeAndReturn(QStringLiteral("三"));
        RemovableButton *second = nullptr;
        for (RemovableButton *chip : w.panel->findChildren<RemovableButton *>()) {
            if (chip->text() == QStringLiteral("二"))
                second = chip;
        }
        QVERIFY(second);
        QTest::mousePress(second, Qt::LeftButton, Qt::NoModifier, second->closeRect().center());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w.panel->keywords(), (QStringList{"一", "三"}));
    }

    void closing_data()
    {
        QTest::addColumn<QStringList>("chips");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("fromTemplates");
        QTest::newRow("keyword cancel after adding a chip") << QStringList{"机密"} << "m_CancelButton" << false;
        QTest::newRow("keyword confirm, no chips") << QStringList{} << "m_ConfirmButton" << false;
        QTest::newRow("keyword confirm, two chips") << QStringList{"a", "b"} << "m_ConfirmButton" << false;
        QTest::newRow("title bar before any tab button") << QStringList{"x"} << "m_CloseButton" << false;
        QTest::newRow("checklist confirm") << QStringList{"x"} << "m_TemplateConfirmButton" << true;
        QTest::newRow("checklist cancel") << QStringList{} << "m_TemplateCancelButton" << true;
    }
    void closing()
    {
        QFETCH(QStringList, chips);
        QFETCH(QString, button);
        QFETCH(bool, fromTemplates);
        Window w(m_store.get());
        for (const QString &c : chips)
            w.typeAndReturn(c);
        QSignalSpy keywordsSpy(w.panel, &KeywordConfigAllinoneWidget::KeywordConfigured);
        QSignalSpy templatesSpy(w.panel, &KeywordConfigAllinoneWidget::KeywordTemplateConfigured);

        w.click(button.toLatin1().constData());

        QVERIFY(!w.panel->isVisible());
        QCOMPARE(w.panel->templateMode(), fromTemplates);
        QCOMPARE(keywordsSpy.count(), fromTemplates ? 0 : 1);
        QCOMPARE(templatesSpy.count(), fromTemplates ? 1 : 0);
        if (fromTemplates)
            QCOMPARE(templatesSpy.first().first().value<Templates>(), m_all);
        else
            QCOMPARE(keywordsSpy.first().first().value<QList<QString>>(), chips);
        // Nothing is undone by closing.
        QCOMPARE(w.panel->keywords(), chips);
    }

    void checklistModeOutlivesLaterOpenings()
    {
        Window w(m_store.get());
        w.typeAndReturn(QStringLiteral("typed"));
        QSignalSpy keywordsSpy(w.panel, &KeywordConfigAllinoneWidget::KeywordConfigured);
        QSignalSpy templatesSpy(w.panel, &KeywordConfigAllinoneWidget::KeywordTemplateConfigured);

        // First opening: every imported checklist is ticked.
        w.click("m_TemplateConfirmButton");
        QCOMPARE(templatesSpy.count(), 1);
        QCOMPARE(templatesSpy.last().first().value<Templates>(), m_all);
        // "乙" (U+4E59) sorts before "甲" (U+7532).
        QCOMPARE(w.panel->selectedTemplateKeywords(), (QStringList{"机密", "身份证", "护照"}));

        // A later opening, one checklist unticked, closed by the title bar.
        w.panel->show();
        auto *model = qobject_cast<QStandardItemModel *>(w.child<QTableView>("m_KeywordTemplateTableView")->model());
        QVERIFY(model);
        QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("乙清单"));
        model->setData(model->index(0, 0), 0, Qt::CheckStateRole);
        w.click("m_CloseButton");
        QCOMPARE(templatesSpy.count(), 2);
        QCOMPARE(templatesSpy.last().first().value<Templates>(), (Templates{{"甲清单", m_all.value("甲清单")}}));
        QCOMPARE(keywordsSpy.count(), 0);
        QVERIFY(w.panel->templateMode());
        QCOMPARE(w.panel->selectedTemplateKeywords(), (QStringList{"身份证", "护照"}));

        // Back on the keyword tab, the typed keywords are reported again.
        w.panel->show();
        w.click("m_CancelButton");
        QCOMPARE(keywordsSpy.count(), 1);
        QCOMPARE(keywordsSpy.last().first().value<QList<QString>>(), QList<QString>{"typed"});
        QCOMPARE(templatesSpy.count(), 2);
    }

    void placement_data()
    {
        QTest::addColumn<QSize>("parentSize");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("large parent") << QSize(1000, 800) << QPoint(274, 225);
        QTest::newRow("odd sizes") << QSize(901, 701) << QPoint(225, 176);
        QTest::newRow("same size") << QSize(452, 350) << QPoint(0, 0);
        QTest::newRow("smaller parent") << QSize(300, 200) << QPoint(-76, -75);
    }
    void placement()
    {
        QFETCH(QSize, parentSize);
        QFETCH(QPoint, position);
        Window w(m_store.get(), parentSize);
        QCOMPARE(w.panel->size(), QSize(452, 350));
        QCOMPARE(w.panel->pos(), position);
        // Placed once: a resized parent or a new opening does not move it.
        w.parent.resize(parentSize + QSize(200, 100));
        w.panel->hide();
        w.panel->show();
        QCOMPARE(w.panel->pos(), position);
    }

    void placementWithoutParent()
    {
        KeywordConfigAllinoneWidget panel(nullptr, m_store.get());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(panel.pos(), QPoint((screen.left() + screen.right()) / 2 - 452 / 2,
                                     (screen.top() + screen.bottom()) / 2 - 350 / 2));
    }

    void dragging_data()
    {
        QTest::addColumn<QSize>("parentSize");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("inside") << QSize(1000, 800) << int(Qt::LeftButton) << QPoint(100, -50) << QPoint(374, 175);
        QTest::newRow("past the bottom-right border")
            << QSize(1000, 800) << int(Qt::LeftButton) << QPoint(2000, 900) << QPoint(548, 450);
        QTest::newRow("past the top-left border")
            << QSize(1000, 800) << int(Qt::LeftButton) << QPoint(-2000, -900) << QPoint(0, 0);
        QTest::newRow("past the right border only")
            << QSize(1000, 800) << int(Qt::LeftButton) << QPoint(500, 10) << QPoint(548, 235);
        QTest::newRow("parent smaller than the panel")
            << QSize(300, 200) << int(Qt::LeftButton) << QPoint(40, 30) << QPoint(0, 0);
        QTest::newRow("parent smaller, dragged back")
            << QSize(300, 200) << int(Qt::LeftButton) << QPoint(-40, -30) << QPoint(0, 0);
        QTest::newRow("right button does not drag")
            << QSize(1000, 800) << int(Qt::RightButton) << QPoint(100, 100) << QPoint(274, 225);
    }
    void dragging()
    {
        QFETCH(QSize, parentSize);
        QFETCH(int, button);
        QFETCH(QPoint, by);
        QFETCH(QPoint, position);
        Window w(m_store.get(), parentSize);
        const Qt::MouseButton b = Qt::MouseButton(button);
        const QPoint start = w.panel->pos();
        const QPoint grip(12, 8);
        // The pointer goes to start + grip + step (parent coordinates); each
        // event carries it relative to where the panel is at that moment.
        const auto moveTo = [&](const QPoint &step) {
            sendMouse(w.panel, QEvent::MouseMove, start + grip + step - w.panel->pos(), Qt::NoButton, b);
        };
        sendMouse(w.panel, QEvent::MouseButtonPress, grip, b, b);
        moveTo(by / 2);
        moveTo(by);
        sendMouse(w.panel, QEvent::MouseButtonRelease, start + grip + by - w.panel->pos(), b, Qt::NoButton);
        QCOMPARE(w.panel->pos(), position);
    }

    // The panel speaks the user's language like the rest of the window.
    void textsInTheUsersLanguage()
    {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/Languages/translations/en_US.qm")));
        QCoreApplication::installTranslator(&english);
        Window w(m_store.get());
        QCoreApplication::removeTranslator(&english);

        auto *tabs = w.child<QTabWidget>("tabWidget");
        QCOMPARE(tabs->tabText(0), QStringLiteral("Keyword configuration"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Keyword checklists"));
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(w.lineEdit()->placeholderText(), QStringLiteral("Enter a keyword"));
        QCOMPARE(w.child<QPushButton>("m_TemplateConfirmButton")->text(), QStringLiteral("Confirm"));
        auto *model = w.child<QTableView>("m_KeywordTemplateTableView")->model();
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Date"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Name"));
    }
};

QTEST_MAIN(TestKeywordConfigAllinoneWidget)
#include "tst_keywordconfigallinonewidget.moc"
