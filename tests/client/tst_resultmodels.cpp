// The result models without any widget: the keyword rows with their hit
// total, and the privacy counts per category.

#include "keywordresultmodel.h"
#include "piicategories.h"
#include "privacycountmodel.h"

#include <QSignalSpy>
#include <QTest>

#include <limits>

namespace {
constexpr int IntMax = std::numeric_limits<int>::max();
const QString Identity = QStringLiteral("身份标识");
const QString Finance = QStringLiteral("金融消费");
using Hits = QList<QPair<QString, int>>;
} // namespace

class TestResultModels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each detection's map becomes one row with the count the row shows;
    // the total is the sum of those counts.
    void keywordRowsAndTotal_data()
    {
        QTest::addColumn<QList<QVariantMap>>("detections");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<qint64>("total");
        QTest::newRow("three files") << QList<QVariantMap>{{{"a", 2}}, {{"a", 3}, {"b", 2}}, {{"c", 1}}}
                                     << QList<int>{2, 5, 1} << qint64(8);
        QTest::newRow("a value that is not a number counts 0")
            << QList<QVariantMap>{{{"a", "x"}, {"b", 4}}} << QList<int>{4} << qint64(4);
        QTest::newRow("an empty map") << QList<QVariantMap>{{}} << QList<int>{0} << qint64(0);
        QTest::newRow("a row is held within int, the total is not")
            << QList<QVariantMap>{{{"a", IntMax}, {"b", IntMax}}, {{"a", IntMax}}} << QList<int>{IntMax, IntMax}
            << qint64(IntMax) * 2;
    }
    void keywordRowsAndTotal()
    {
        QFETCH(QList<QVariantMap>, detections);
        QFETCH(QList<int>, counts);
        QFETCH(qint64, total);
        KeywordResultModel model;
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < detections.size(); ++i)
            model.append(QStringLiteral("/srv"), QStringLiteral("/srv/f%1").arg(i), detections.at(i));
        QCOMPARE(inserted.size(), detections.size());
        QCOMPARE(model.rowCount(), detections.size());
        for (int i = 0; i < counts.size(); ++i) {
            QCOMPARE(model.hitCount(i), counts.at(i));
            QCOMPARE(model.index(i).data(KeywordResultModel::HitCountRole).toInt(), counts.at(i));
            QCOMPARE(model.index(i).data().toString(), QStringLiteral("/srv/f%1").arg(i));
            QCOMPARE(model.sensitives(i), detections.at(i));
        }
        QCOMPARE(model.hitTotal(), total);

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.clear();
        QCOMPARE(reset.size(), 1);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.hitTotal(), qint64(0));
        QCOMPARE(model.filePath(0), QString());
    }

    // Hits add up per category; unknown categories are dropped; each change
    // announces its own row only.
    void privacyCounts_data()
    {
        QTest::addColumn<Hits>("hits");
        QTest::addColumn<int>("identity");
        QTest::addColumn<int>("finance");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("changes");
        QTest::newRow("none") << Hits{} << 0 << 0 << 0 << 0;
        QTest::newRow("two categories") << Hits{{Identity, 2}, {Finance, 1}, {Identity, 3}} << 5 << 1 << 6 << 3;
        QTest::newRow("unknown category") << Hits{{QStringLiteral("不存在的类别"), 4}, {Finance, 1}} << 0 << 1 << 1 << 1;
        QTest::newRow("held within int") << Hits{{Identity, IntMax}, {Identity, 5}, {Finance, IntMax}} << IntMax << IntMax
                                         << IntMax << 3;
    }
    void privacyCounts()
    {
        QFETCH(Hits, hits);
        QFETCH(int, identity);
        QFETCH(int, finance);
        QFETCH(int, total);
        QFETCH(int, changes);
        PrivacyCountModel model;
        QCOMPARE(model.categories(), PiiCategories::names());
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        for (const auto &hit : hits)
            model.add(hit.first, hit.second);
        QCOMPARE(model.count(Identity), identity);
        QCOMPARE(model.count(Finance), finance);
        QCOMPARE(model.total(), total);
        QCOMPARE(changed.size(), changes);
        for (const QList<QVariant> &change : changed) {
            const QModelIndex row = change.at(0).toModelIndex();
            QCOMPARE(row, change.at(1).toModelIndex());
            QVERIFY(row.data().toString() == Identity || row.data().toString() == Finance);
        }

        model.reset();
        QCOMPARE(model.total(), 0);
        for (const QString &name : model.categories())
            QCOMPARE(model.count(name), 0);
    }
};

QTEST_MAIN(TestResultModels)
#include "tst_resultmodels.moc"
