#include "headercheckbox.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

class TestHeaderCheckBox : public QObject
{
    Q_OBJECT

private:
    struct Table
    {
        QTableView view;
        QStandardItemModel model;
        HeaderCheckBox *box = nullptr;

        explicit Table(const QList<int> &states)
        {
            model.setColumnCount(3);
            view.setModel(&model);
            box = new HeaderCheckBox(&view, &model, &view);
            for (int state : states)
                appendRow(state);
        }
        void appendRow(int state)
        {
            auto *check = new QStandardItem;
            check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
            check->setData(state, Qt::CheckStateRole);
            model.appendRow({check, new QStandardItem(QStringLiteral("2024-01-01")),
                             new QStandardItem(QStringLiteral("name"))});
        }
        QList<int> states() const
        {
            QList<int> list;
            for (int row = 0; row < model.rowCount(); ++row)
                list.append(model.index(row, 0).data(Qt::CheckStateRole).toInt());
            return list;
        }
    };

private Q_SLOTS:
    void followsRows_data()
    {
        QTest::addColumn<QList<int>>("initial");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");

        QTest::newRow("one of three unticked") << QList<int>{2, 2, 2} << 1 << 0 << int(Qt::PartiallyChecked);
        QTest::newRow("last ticked one unticked") << QList<int>{2, 0, 0} << 0 << 0 << int(Qt::Unchecked);
        QTest::newRow("last unticked one ticked") << QList<int>{0, 2, 2} << 0 << 2 << int(Qt::Checked);
        QTest::newRow("partial value counts as unticked") << QList<int>{2, 2} << 1 << 1 << int(Qt::PartiallyChecked);
        QTest::newRow("single row") << QList<int>{2} << 0 << 0 << int(Qt::Unchecked);
    }

    void followsRows()
    {
        QFETCH(QList<int>, initial);
        QFETCH(int, row);
        QFETCH(int, value);
        QFETCH(int, expected);

        Table t(initial);
        t.model.setData(t.model.index(row, 0), value, Qt::CheckStateRole);
        QCOMPARE(int(t.box->checkState()), expected);
    }

    void clickTicksOrUnticksAll()
    {
        Table t({2, 0, 2});
        t.model.setData(t.model.index(1, 0), 0, Qt::CheckStateRole);
        QCOMPARE(t.box->checkState(), Qt::PartiallyChecked);

        t.box->click();
        QCOMPARE(t.states(), QList<int>({2, 2, 2}));
        QCOMPARE(t.box->checkState(), Qt::Checked);

        t.box->click();
        QCOMPARE(t.states(), QList<int>({0, 0, 0}));
        QCOMPARE(t.box->checkState(), Qt::Unchecked);

        // From unchecked the next click ticks everything again.
        t.box->click();
        QCOMPARE(t.states(), QList<int>({2, 2, 2}));
        QCOMPARE(t.box->checkState(), Qt::Checked);
    }

    void emptyModelKeepsItsState()
    {
        Table t({});
        QCOMPARE(t.box->checkState(), Qt::Checked);
        t.box->syncState();
        QCOMPARE(t.box->checkState(), Qt::Checked);
        t.box->click();
        QCOMPARE(t.model.rowCount(), 0);
    }

    void rowsComingAndGoing()
    {
        Table t({2, 2});
        QCOMPARE(t.box->checkState(), Qt::Checked);
        t.appendRow(0);
        QCOMPARE(t.box->checkState(), Qt::PartiallyChecked);
        t.model.removeRow(2);
        QCOMPARE(t.box->checkState(), Qt::Checked);
    }

    void sitsOverTheFirstSection()
    {
        Table t({2});
        t.view.resize(300, 200);
        t.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.view));
        t.view.horizontalHeader()->resizeSection(0, 60);
        const QSize hint = t.box->sizeHint();
        const int headerHeight = t.view.horizontalHeader()->height();
        QCOMPARE(t.box->pos(), QPoint(((60 - hint.width()) >> 1) + 5,
                                      (qAbs(headerHeight - hint.height()) >> 1) - 4));
        // Other sections do not move it.
        const QPoint before = t.box->pos();
        t.view.horizontalHeader()->resizeSection(1, 150);
        QCOMPARE(t.box->pos(), before);
    }
};

QTEST_MAIN(TestHeaderCheckBox)
#include "tst_headercheckbox.moc"
