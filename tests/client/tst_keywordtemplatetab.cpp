#include "checklistfixture.h"
#include "keywordconfigallinonewidget.h"
#include "keywordtemplatestore.h"

#include "headercheckbox.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Templates = QMap<QString, QString>;

namespace {

// The panel over a store of its own, in a shown parent, on its checklist tab.
struct Panel
{
    explicit Panel(const QString &db)
        : store(db, ChecklistFixture::connectionName())
    {
        parent.resize(1000, 800);
        parent.show();
        panel = new KeywordConfigAllinoneWidget(&parent, &store);
        panel->show();
        view = panel->findChild<QTableView *>(QStringLiteral("m_KeywordTemplateTableView"));
        model = view ? qobject_cast<QStandardItemModel *>(view->model()) : nullptr;
        box = view ? view->findChild<HeaderCheckBox *>() : nullptr;
    }
    int ticks(int row) const { return model->index(row, 0).data(Qt::CheckStateRole).toInt(); }
    void clickCell(int row, int column) const
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->visualRect(model->index(row, column)).center());
    }

    KeywordTemplateStore store;
    QWidget parent;
    KeywordConfigAllinoneWidget *panel = nullptr;
    QTableView *view = nullptr;
    QStandardItemModel *model = nullptr;
    HeaderCheckBox *box = nullptr;
};

} // namespace

class TestKeywordTemplateTab : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_threeChecklists;

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<Templates>("QMap<QString,QString>");
        m_threeChecklists = m_dir.filePath(QStringLiteral("three.db"));
        for (const char *name : {"charlie", "alpha", "bravo"})
            QCOMPARE(ChecklistFixture::import(m_threeChecklists, QString::fromLatin1(name), QByteArray(name) + "-word\n"), 0);
    }

    // A database that exists but cannot be read is said so in the tab,
    // with SQLite's reason, instead of leaving the table silently empty.
    void unreadableDatabaseIsShown_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: a readable checklist database
        QTest::addColumn<QString>("reason");
        QTest::newRow("readable") << QByteArray() << QString();
        QTest::newRow("not a database") << QByteArray("name,keyword\nalpha,机密\n").repeated(200)
                                         << QStringLiteral("not a database");
        // A database whose first page holds the SQLite header and then zeros.
        QByteArray damaged("SQLite format 3\0", 16);
        damaged += QByteArray::fromHex("100001010040202000000002000000020000000000000000000000010000000400000000");
        damaged += QByteArray(4096 * 2 - damaged.size(), '\xAB');
        QTest::newRow("damaged") << damaged << QStringLiteral("malformed");
    }
    void unreadableDatabaseIsShown()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QString db = m_threeChecklists;
        if (!content.isEmpty()) {
            db = m_dir.filePath(QStringLiteral("%1.db").arg(QTest::currentDataTag()));
            QFile file(db);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
        Panel p(db);
        auto *label = p.panel->findChild<QLabel *>(QStringLiteral("m_KeywordTemplateErrorLabel"));
        QVERIFY(label);
        QCOMPARE(!label->isHidden(), !reason.isEmpty());
        QVERIFY2(label->text().contains(reason, Qt::CaseInsensitive), qPrintable(label->text()));
        QCOMPARE(p.model->rowCount(), reason.isEmpty() ? 3 : 0);
    }

    void noDatabase()
    {
        Panel p(m_dir.filePath(QStringLiteral("missing.db")));
        QVERIFY(p.model && p.box);
        QCOMPARE(p.model->rowCount(), 0);
        QCOMPARE(p.model->columnCount(), 3);
        QCOMPARE(p.model->headerData(0, Qt::Horizontal).toString(), QString());
        QCOMPARE(p.model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("日期"));
        QCOMPARE(p.model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("名称"));
        QCOMPARE(p.box->checkState(), Qt::Checked);

        QSignalSpy templates(p.panel, &KeywordConfigAllinoneWidget::KeywordTemplateConfigured);
        QTest::mouseClick(p.panel->findChild<QPushButton *>(QStringLiteral("m_TemplateConfirmButton")), Qt::LeftButton);
        QCOMPARE(templates.count(), 1);
        QCOMPARE(templates.first().first().value<Templates>(), Templates());
        QVERIFY(p.panel->selectedTemplateKeywords().isEmpty());
    }

    void rows()
    {
        Panel p(m_threeChecklists);
        QCOMPARE(p.panel->findChild<QTabWidget *>(QStringLiteral("tabWidget"))->currentIndex(), 1);
        Templates stored;
        p.store.templates(stored);
        QCOMPARE(p.model->rowCount(), 3);
        const QStringList names{"alpha", "bravo", "charlie"};
        for (int row = 0; row < 3; ++row) {
            const QModelIndex tick = p.model->index(row, 0);
            QCOMPARE(tick.data(Qt::CheckStateRole), QVariant(2));
            QCOMPARE(tick.data(Qt::DisplayRole), QVariant());
            QCOMPARE(p.model->flags(tick), Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
            QCOMPARE(p.model->index(row, 2).data().toString(), names.at(row));
            QCOMPARE(p.model->index(row, 1).data().toString(), stored.value(names.at(row)));
        }
        QCOMPARE(p.box->checkState(), Qt::Checked);
        QCOMPARE(p.view->rowHeight(0), 40);
        QCOMPARE(p.view->horizontalHeader()->height(), 30);
        QCOMPARE(p.panel->selectedTemplates(), stored);
        QCOMPARE(p.panel->selectedTemplateKeywords(), (QStringList{"alpha-word", "bravo-word", "charlie-word"}));
    }

    void tickingAndHeaderBox()
    {
        Panel p(m_threeChecklists);
        // A click in the tick column flips the row; the other columns do not.
        p.clickCell(1, 2);
        p.clickCell(1, 1);
        QCOMPARE(p.ticks(1), 2);
        p.clickCell(1, 0);
        QCOMPARE(p.ticks(1), 0);
        QCOMPARE(p.box->checkState(), Qt::PartiallyChecked);
        QCOMPARE(p.panel->selectedTemplates().keys(), (QStringList{"alpha", "charlie"}));
        QCOMPARE(p.panel->selectedTemplateKeywords(), (QStringList{"alpha-word", "charlie-word"}));

        // The partially checked header box ticks all three.
        QTest::mouseClick(p.box, Qt::LeftButton);
        QCOMPARE(p.box->checkState(), Qt::Checked);
        for (int row = 0; row < 3; ++row)
            QCOMPARE(p.ticks(row), 2);
        QCOMPARE(p.panel->selectedTemplates().size(), 3);

        // With all ticked, it unticks all; closing from the tab reports none.
        QTest::mouseClick(p.box, Qt::LeftButton);
        QCOMPARE(p.box->checkState(), Qt::Unchecked);
        QVERIFY(p.panel->selectedTemplates().isEmpty());
        QSignalSpy templates(p.panel, &KeywordConfigAllinoneWidget::KeywordTemplateConfigured);
        QTest::mouseClick(p.panel->findChild<QPushButton *>(QStringLiteral("m_TemplateCancelButton")), Qt::LeftButton);
        QCOMPARE(templates.count(), 1);
        QCOMPARE(templates.first().first().value<Templates>(), Templates());

        // Ticks outlive the close.
        p.panel->show();
        p.clickCell(2, 0);
        QCOMPARE(p.panel->selectedTemplates().keys(), QStringList{"charlie"});
        QCOMPARE(p.box->checkState(), Qt::PartiallyChecked);
    }

    void checkValues_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("selected");
        QTest::newRow("1, partially") << QVariant(1) << false;
        QTest::newRow("text \"2\"") << QVariant(QStringLiteral("2")) << true;
        QTest::newRow("text that is no number") << QVariant(QStringLiteral("yes")) << false;
    }
    void checkValues()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, selected);
        Panel p(m_threeChecklists);
        p.model->setData(p.model->index(0, 0), value, Qt::CheckStateRole);
        QCOMPARE(p.panel->selectedTemplates().contains(QStringLiteral("alpha")), selected);
        QCOMPARE(p.panel->selectedTemplates().size(), selected ? 3 : 2);
    }

    void sameNameShowsOnce()
    {
        const QString db = m_dir.filePath(QStringLiteral("same.db"));
        QVERIFY(ChecklistFixture::writeDatabase(db, {
            {QStringLiteral("清单"), QStringLiteral("2024-02-01 10:00:00"), QStringLiteral("kw_1"), {}},
            {QStringLiteral("清单"), QStringLiteral("2024-01-01 10:00:00"), QStringLiteral("kw_2"),
             {ChecklistFixture::seal("后读")}},
        }));
        Panel p(db);
        QCOMPARE(p.model->rowCount(), 1);
        QCOMPARE(p.model->index(0, 1).data().toString(), QStringLiteral("2024-01-01 10:00:00"));
        QCOMPARE(p.panel->selectedTemplateKeywords(), QStringList{"后读"});
    }
};

QTEST_MAIN(TestKeywordTemplateTab)
#include "tst_keywordtemplatetab.moc"
