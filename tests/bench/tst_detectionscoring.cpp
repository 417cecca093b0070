// The labelled corpus's check digits against the standards' own examples,
// and how the detection-quality benchmark settles a reported hit.
#include "checkdigits.h"
#include "labelscorer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDetectionScoring : public QObject
{
    Q_OBJECT

    // A scorer holding these labels of one file and category (value, item).
    static bool loadLabels(LabelScorer &scorer, const QTemporaryDir &dir, const QList<QPair<QString, bool>> &labels)
    {
        QByteArray tsv = "file\tmember\tformat\tcategory\tkind\twhere\tvalue\tnote\n";
        for (const auto &label : labels)
            tsv += QStringLiteral("a.txt\t\ttxt-utf8\t身份标识\t%1\t段落1\t%2\t\n")
                       .arg(label.second ? QStringLiteral("item") : QStringLiteral("look-alike"), label.first)
                       .toUtf8();
        QFile file(dir.path() + "/labels.tsv");
        if (!file.open(QIODevice::WriteOnly) || file.write(tsv) != tsv.size())
            return false;
        file.close();
        QString error;
        return scorer.load(file.fileName(), &error);
    }

private Q_SLOTS:
    void checkCharacters_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("number"); // a published valid example
        QTest::newRow("resident identity number") << "id" << "11010519491231002X";
        QTest::newRow("card, Luhn") << "luhn" << "4111111111111111";
        QTest::newRow("Luhn with a doubled 9") << "luhn" << "79927398713";
        QTest::newRow("IMEI") << "luhn" << "490154203237518";
        QTest::newRow("organisation code") << "org" << "D2143569X";
        QTest::newRow("social credit code") << "uscc" << "91350100M000100Y43";
    }
    void checkCharacters()
    {
        QFETCH(QString, kind);
        QFETCH(QString, number);
        const QString body = number.left(number.size() - 1);
        const QChar check = kind == "id" ? CheckDigits::residentId(body)
                            : kind == "luhn" ? CheckDigits::luhn(body)
                            : kind == "org" ? CheckDigits::organisationCode(body)
                                            : CheckDigits::socialCreditCode(body);
        QCOMPARE(check, number.back());
    }

    void settlesAHit_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("item");
        QTest::addColumn<QString>("hit");
        QTest::addColumn<QString>("passage");
        QTest::addColumn<int>("verdict");
        const int found = int(LabelScorer::Verdict::Found), unlabelled = int(LabelScorer::Verdict::Unlabelled);
        QTest::newRow("written with hyphens") << "199-7436-2293" << true << "19974362293" << "电话199-7436-2293。" << found;
        QTest::newRow("written in full-width digits") << "１３８１２３４５６７８" << true << "13812345678" << "手机１３８１２３４５６７８" << found;
        QTest::newRow("hit inside the item") << "冠状动脉粥样硬化性心脏病" << true << "心脏病" << "诊断：冠状动脉粥样硬化性心脏病" << found;
        QTest::newRow("hit and item sharing most") << "72万余元" << true << "余额72万" << "存款余额72万余元" << found;
        QTest::newRow("radical from a pdf in the passage") << "入住汉庭酒店（东风路店）" << true << "入住" << "入住汉庭酒店（东⻛路店）2晚" << found;
        QTest::newRow("item cut off the passage") << "13812345678" << true << "13812345678" << "电话1381234" << unlabelled;
        QTest::newRow("another value beside the item") << "420111198407120426" << true << "13812345678"
                                                         << "手机13812345678 身份证420111198407120426" << unlabelled;
        QTest::newRow("look-alike") << "5.4.0.5" << false << "5.4.0.5" << "版本5.4.0.5" << int(LabelScorer::Verdict::LookAlike);
    }
    void settlesAHit()
    {
        QFETCH(QString, label);
        QFETCH(bool, item);
        QFETCH(QString, hit);
        QFETCH(QString, passage);
        QFETCH(int, verdict);
        QTemporaryDir dir;
        LabelScorer scorer;
        QVERIFY(loadLabels(scorer, dir, {{label, item}}));
        QCOMPARE(int(scorer.score({"a.txt", "身份标识", "rule", hit, passage})), verdict);
        QCOMPARE(scorer.tallies().value(QString()).found, verdict == int(LabelScorer::Verdict::Found) ? 1 : 0);
        QCOMPARE(scorer.tallies().value(QString()).falsePositives, verdict == int(LabelScorer::Verdict::Found) ? 0 : 1);
    }

    // One rule reporting one item twice is one false positive; a second rule agreeing is neither.
    void itemReportedAgain()
    {
        QTemporaryDir dir;
        LabelScorer scorer;
        QVERIFY(loadLabels(scorer, dir, {{"被判处有期徒刑一年缓刑两年", true}}));
        const QString passage = "该员工曾因盗窃被判处有期徒刑一年缓刑两年。";
        QCOMPARE(int(scorer.score({"a.txt", "身份标识", "犯罪记录", "判处", passage})), int(LabelScorer::Verdict::Found));
        QCOMPARE(int(scorer.score({"a.txt", "身份标识", "犯罪记录", "缓刑", passage})), int(LabelScorer::Verdict::Repeated));
        QCOMPARE(int(scorer.score({"a.txt", "身份标识", "另一规则", "有期徒刑", passage})), int(LabelScorer::Verdict::OtherRule));
        QCOMPARE(int(scorer.score({"b.txt", "身份标识", "犯罪记录", "判处", passage})), int(LabelScorer::Verdict::Unlabelled));
        const LabelScorer::Tally all = scorer.tallies().value(QString());
        QCOMPARE(all.found, 1);
        QCOMPARE(all.falsePositives, 2);
    }

    // An e-mail address holding its owner's name counts for the address, the
    // name's own hit for the name, whichever comes first.
    void hitCountsForTheNearestItem()
    {
        QTemporaryDir dir;
        LabelScorer scorer;
        QVERIFY(loadLabels(scorer, dir, {{"Xiao Kai", true}, {"xiaokai@hotmail.com", true}}));
        const QString passage = "Full name: Xiao Kai\nEmail: xiaokai@hotmail.com";
        QCOMPARE(int(scorer.score({"a.txt", "身份标识", "email", "xiaokai@hotmail.com", passage})), int(LabelScorer::Verdict::Found));
        QCOMPARE(int(scorer.score({"a.txt", "身份标识", "name", "Full name: Xiao Kai", passage})), int(LabelScorer::Verdict::Found));
        QCOMPARE(scorer.tallies().value(QString()).found, 2);
        QCOMPARE(scorer.tallies().value(QString()).falsePositives, 0);
    }
};

QTEST_GUILESS_MAIN(TestDetectionScoring)
#include "tst_detectionscoring.moc"
