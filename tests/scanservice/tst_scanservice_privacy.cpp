// Privacy detection over text the tests make: the rule table as shipped, a
// labelled corpus generated from a seed, look-alikes that must give no hit,
// and the checks behind the rules.
#include "privacycollector.h"
#include "privacymatcher.h"
#include "privacyrules.h"
#include "privacysamples.h"
#include "privacyvalidators.h"
#include "scanlimits.h"

#include <QSet>
#include <QTest>

#include <memory>

namespace {

struct Found
{
    QString rule;
    QString value;
    QString context;
};

class Detector
{
public:
    explicit Detector(const PrivacyMatcher &matcher)
        : m_matcher(matcher)
        , m_scratch(matcher)
    {
    }
    // Scans text in pieces of pieceSize bytes; members start a part each.
    QList<Found> scanParts(const QList<QPair<QByteArray, QByteArray>> &parts, int pieceSize, QMap<QString, int> *counts = nullptr)
    {
        PrivacyCollector collector(m_matcher, m_scratch, QDate::currentDate());
        for (const auto &part : parts) {
            if (!part.first.isEmpty())
                collector.beginPart(part.first);
            const QByteArray &utf8 = part.second;
            for (int at = 0; at < utf8.size(); at += pieceSize)
                collector.write(utf8.constData() + at, static_cast<std::size_t>(qMin(pieceSize, utf8.size() - at)));
        }
        collector.finish();
        QList<Found> found;
        for (const PrivacyCollector::Passage &passage : collector.passages())
            found.append({m_matcher.rule(passage.rule).id, QString::fromUtf8(passage.value), QString::fromUtf8(passage.context)});
        if (counts) {
            for (int rule : collector.foundRules())
                (*counts)[m_matcher.rule(rule).id] += collector.hits(rule);
        }
        return found;
    }
    QList<Found> scan(const QString &text, int pieceSize = 1 << 20, QMap<QString, int> *counts = nullptr)
    {
        return scanParts({{QByteArray(), text.toUtf8()}}, pieceSize, counts);
    }

private:
    const PrivacyMatcher &m_matcher;
    PrivacyMatcher::Scratch m_scratch;
};

QString describe(const QList<Found> &found)
{
    QStringList lines;
    for (const Found &f : found)
        lines.append(f.rule + "=" + f.value);
    return lines.join(QLatin1String("; "));
}

} // namespace

class TestScanServicePrivacy : public QObject
{
    Q_OBJECT

private:
    PrivacyRuleTable m_table;
    std::shared_ptr<const PrivacyMatcher> m_matcher;

    // The values the row's rule finds in the row's text, read whole and in
    // pieces of three bytes, are the row's values, in order.
    void compareValuesOfRule()
    {
        QFETCH(QString, text);
        QFETCH(QString, rule);
        QFETCH(QStringList, values);
        Detector detector(*m_matcher);
        for (int piece : {1 << 20, 3}) {
            QStringList got;
            for (const Found &f : detector.scan(text, piece)) {
                if (f.rule == rule)
                    got.append(f.value);
            }
            QCOMPARE(got, values);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_table.load(qEnvironmentVariable("DISCOVERY_SOURCE_DIR") + "/scanservice/privacy-rules.conf", &error),
                 qPrintable(error));
        m_matcher = PrivacyMatcher::compile(m_table, &error);
        QVERIFY2(m_matcher, qPrintable(error));
    }

    void everyCategoryHasTwoRules()
    {
        QMap<QString, int> rules;
        for (const PrivacyRule &rule : m_table.rules())
            ++rules[rule.category];
        QCOMPARE(rules.keys().size(), 14);
        for (const QString &category : PrivacyRuleTable::categories())
            QVERIFY2(rules.value(category) >= 2, qPrintable(category));
        // Every rule of the table has a maker in the sample generator, so the corpus covers it.
        QStringList ids;
        for (const PrivacyRule &rule : m_table.rules())
            ids.append(rule.id);
        QCOMPARE(PrivacySamples::rules(), ids);
    }

    void tableErrorsNamed_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown category") << QByteArray("[a]\nname: 甲\ncategory: 其他\nwords: 甲\n") << "line 3";
        QTest::newRow("unknown validator") << QByteArray("[a]\nname: 甲\ncategory: 身份标识\npattern: \\d{3}\nvalidator: nope\n") << "line 5";
        QTest::newRow("key before a rule") << QByteArray("name: 甲\n") << "line 1";
        QTest::newRow("repeated rule") << QByteArray("[a]\nname: 甲\ncategory: 身份标识\nwords: 甲\n[a]\n") << "line 5";
        QTest::newRow("neither pattern nor words") << QByteArray("[a]\nname: 甲\ncategory: 身份标识\n") << "line 1";
        QTest::newRow("quantifier on a multi-byte character") << QByteArray("[a]\nname: 甲\ncategory: 身份标识\npattern: 元?\n") << "line 4";
        QTest::newRow("window too wide") << QByteArray("[a]\nname: 甲\ncategory: 身份标识\nwords: 甲\nwindow: 99\n") << "line 5";
        // Its end would be read before the text after the hit is there.
        QTest::newRow("not_in word longer than the text a hit waits for")
            << QByteArray("[a]\nname: 甲\ncategory: 身份标识\nwords: 甲\nnot_in: 甲乙丙丁戊己庚辛壬癸甲乙丙丁\n") << "line 5";
        QTest::newRow("unknown kind of fact") << QByteArray("[a]\nname: 甲\ncategory: 身份标识\nwords: 甲\nfact: line\n") << "line 5";
    }
    void tableErrorsNamed()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        PrivacyRuleTable table;
        QString why;
        QVERIFY(!table.parse(text, &why));
        QVERIFY2(why.startsWith(error), qPrintable(why));
    }

    void unboundedPatternRefused()
    {
        PrivacyRuleTable table;
        QString error;
        QVERIFY(table.parse("[a]\nname: 甲\ncategory: 身份标识\npattern: \\d+\n", &error));
        QVERIFY(!PrivacyMatcher::compile(table, &error));
        QVERIFY2(error.contains("unbounded"), qPrintable(error));
    }

    void labelledCorpusRecall_data()
    {
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<int>("pieceSize");
        QTest::newRow("seed 1, whole") << quint64(1) << (1 << 20);
        QTest::newRow("seed 2, pieces of 7 bytes") << quint64(2) << 7;
        QTest::newRow("seed 3, pieces of 4096 bytes") << quint64(3) << 4096;
    }
    void labelledCorpusRecall()
    {
        QFETCH(quint64, seed);
        QFETCH(int, pieceSize);
        PrivacySamples samples(seed);
        QList<PrivacySamples::Item> planted;
        const QString text = samples.corpus(8, &planted);
        Detector detector(*m_matcher);
        const QList<Found> found = detector.scan(text, pieceSize);
        QSet<QString> got;
        for (const Found &f : found)
            got.insert(f.rule + '\t' + f.value);
        int missed = 0;
        QStringList missing;
        for (const PrivacySamples::Item &item : planted) {
            if (!got.contains(item.rule + '\t' + item.value)) {
                ++missed;
                missing.append(item.rule + "=" + item.value);
            }
        }
        const double recall = 1.0 - double(missed) / planted.size();
        QVERIFY2(recall >= 0.99, qPrintable(QStringLiteral("recall %1, missed: %2").arg(recall).arg(missing.join("; "))));
        // Every rule of the table was planted and found.
        QSet<QString> rulesFound;
        for (const Found &f : found)
            rulesFound.insert(f.rule);
        for (const PrivacyRule &rule : m_table.rules())
            QVERIFY2(rulesFound.contains(rule.id), qPrintable(rule.id));
    }

    void lookAlikesGiveNoHit_data()
    {
        QTest::addColumn<QString>("text");
        PrivacySamples samples(11);
        for (const QString &sentence : samples.lookAlikes())
            QTest::newRow(qPrintable(sentence)) << samples.filler() + sentence + samples.filler();
    }
    void lookAlikesGiveNoHit()
    {
        QFETCH(QString, text);
        Detector detector(*m_matcher);
        const QList<Found> found = detector.scan(text);
        QVERIFY2(found.isEmpty(), qPrintable(describe(found)));
    }

    void singleItems_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected"); // rule=value, in order
        PrivacySamples samples(5);
        const QString child = samples.idNumber(QDate::currentDate().addYears(-10));
        const QString teen = samples.idNumber(QDate::currentDate().addYears(-15));
        QTest::newRow("child's identity number counts twice") << "身份证 " + child << QStringList{"id_card=" + child, "minor_id_card=" + child};
        QTest::newRow("fifteen years old is no longer a minor here") << "身份证 " + teen << QStringList{"id_card=" + teen};
        QTest::newRow("lower-case check character") << "证件11010519491231002x" << QStringList{"id_card=11010519491231002x"};
        QTest::newRow("digits around an identity number") << "编号1110101199003077774" << QStringList{};
        const QString id = samples.idNumber(QDate(1990, 3, 7));
        QTest::newRow("identity number between Chinese text") << "号码" + id + "请核对" << QStringList{"id_card=" + id};
        QTest::newRow("longest dictionary word") << "最高学历：硕士研究生" << QStringList{"education=硕士研究生"};
        QTest::newRow("context too far away") << "宗教" + QString(30, QChar(0x4E00 + 0x100)) + "佛教" << QStringList{};
        QTest::newRow("context after the word") << "佛教是他的信仰" << QStringList{"religion=佛教"};
        QTest::newRow("longest password") << "账号 a1 密码=Ab1!xyz9 后" << QStringList{"account_password=密码=Ab1!xyz9"};
        QTest::newRow("address starts at the place name") << "我住在上海市浦东新区世纪大道100号3单元501室，欢迎"
                                                           << QStringList{"address=上海市浦东新区世纪大道100号3单元501室"};
        QTest::newRow("mobile with country code") << "电话+86-13912345678" << QStringList{"mobile=+86-13912345678"};
        QTest::newRow("private address counts") << "网关 192.168.1.1 可用" << QStringList{"ipv4=192.168.1.1"};
        QTest::newRow("e-mail address, whole domain") << "写信给 li.si@example.org.cn 吧" << QStringList{"email=li.si@example.org.cn"};
    }
    void singleItems()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        Detector detector(*m_matcher);
        for (int piece : {1 << 20, 1}) {
            QStringList got;
            for (const Found &f : detector.scan(text, piece))
                got.append(f.rule + "=" + f.value);
            QCOMPARE(got, expected);
        }
    }

    // Shapes of numbers are sought only between ideographs, sixty-four bytes
    // at a time: one is found wherever it stands against those blocks, after
    // an ideograph or inside a long stretch of other text.
    void shapesFoundAtEveryOffset()
    {
        Detector detector(*m_matcher);
        for (int ideographs = 0; ideographs < 24; ++ideographs) {
            for (int letters = 0; letters < 140; letters += (letters < 70 ? 1 : 13)) {
                const QString text = QString(ideographs, QChar(0x6C49)) + QString(letters, QLatin1Char('x')) + " 10.12.3.4"
                                     + QString(ideographs % 5, QChar(0x6C49)) + "，记录";
                QStringList got;
                for (const Found &f : detector.scan(text))
                    got.append(f.rule + "=" + f.value);
                QVERIFY2(got == QStringList{"ipv4=10.12.3.4"},
                         qPrintable(QStringLiteral("%1 ideographs, %2 letters: %3").arg(ideographs).arg(letters).arg(got.join(' '))));
            }
        }
    }

    // Numbers as people write them are matched in their normalised form, in
    // any piece size, and the hit shows the file's own text.
    void writtenNumbersShowTheirOwnText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // rule=value
        PrivacySamples samples(11);
        const QString id = samples.idNumber(QDate(1984, 7, 12));
        QTest::newRow("mobile in dashed groups") << "手机：199-7436-2293，白天" << "mobile=199-7436-2293";
        QTest::newRow("mobile in spaced groups") << "联系 130 9932 8574 即可" << "mobile=130 9932 8574";
        QTest::newRow("country code and dashes") << "Tel +86-151-6081-0007." << "mobile=+86-151-6081-0007";
        QTest::newRow("country code without plus") << "电话8617704900988" << "mobile=8617704900988";
        QTest::newRow("full-width digits") << QString::fromUtf8("手机１９９８５６３８８２９号") << QString::fromUtf8("mobile=１９９８５６３８８２９");
        QTest::newRow("identity number in groups") << "身份证 " + id.left(6) + " " + id.mid(6, 8) + " " + id.mid(14) + " 已核"
                                                   << "id_card=" + id.left(6) + " " + id.mid(6, 8) + " " + id.mid(14);
        QTest::newRow("identity number broken by a line") << "申请人身份证号码为" + id.left(10) + "\n" + id.mid(10) + "，住址"
                                                          << "id_card=" + id.left(10) + "\n" + id.mid(10);
    }
    void writtenNumbersShowTheirOwnText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        Detector detector(*m_matcher);
        for (int piece : {1 << 20, 5, 1}) {
            QStringList got;
            for (const Found &f : detector.scan(text, piece)) {
                got.append(f.rule + "=" + f.value);
                QVERIFY2(f.context == text, qPrintable(f.context));
            }
            QVERIFY2(got.contains(expected), qPrintable(got.join("; ") + QStringLiteral(" in pieces of %1").arg(piece)));
        }
    }

    // Values found through their labels, and look-alikes that are none.
    void labelsAndLookAlikes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("values"); // of that rule
        QTest::newRow("name after its label") << "姓名：欧阳娜娜\n性别：女" << "person_name" << QStringList{"欧阳娜娜"};
        QTest::newRow("name glued to a role word") << "借款人郑浩，男，1972年生" << "person_name" << QStringList{"郑浩"};
        QTest::newRow("no surname, no name") << "姓名：未填写；申请人签字" << "person_name" << QStringList{};
        QTest::newRow("a next label is no name") << "姓名\n性别\n民族" << "person_name" << QStringList{};
        QTest::newRow("relative without a colon") << "家庭成员：配偶杨娜，女儿杨一诺。" << "family_member"
                                                  << QStringList{"配偶杨娜", "女儿杨一诺"};
        QTest::newRow("relative's name glued to the words after it")
            << "员工高海燕家庭困难，其母亲黄勇长期患乳腺癌。" << "family_member" << QStringList{"母亲黄勇"};
        QTest::newRow("illness after 患") << "其母亲黄勇长期患乳腺癌。" << "diagnosis" << QStringList{"乳腺癌"};
        QTest::newRow("a letter's signature") << "请回复本邮件。\n——曾海涛 电话 010 8658 8282\n这个问题——张经理说过" << "person_name"
                                              << QStringList{"曾海涛"};
        QTest::newRow("role word before a colon") << "审核：李强    批准：同意" << "person_name" << QStringList{"李强"};
        QTest::newRow("grade a child is in") << "孩子今年9岁，在读三年级。" << "minor_school" << QStringList{"在读三年级"};
        QTest::newRow("card right after the bank's name")
            << "还款账户为兴业银行6217 0000 4213 7584。" << "bank_card" << QStringList{"6217 0000 4213 7584"};
        QTest::newRow("card failing its check digit") << "还款账户为兴业银行6217 0000 4213 7585。" << "bank_card" << QStringList{};
        QTest::newRow("WeChat id glued to its label") << "QQ号556558556，微信号sunwei_wx。" << "social_account"
                                                      << QStringList{"556558556", "sunwei_wx"};
        QTest::newRow("what a card paid") << "上月在我行信用卡消费3,015元有误；消费贷款余额20万元" << "transaction"
                                          << QStringList{"消费3,015元"};
        QTest::newRow("about so much deposited") << "名下存款余额约66.0万元。" << "assets" << QStringList{"余额约66.0万元"};
        QTest::newRow("column header of a delimited table")
            << "序号\t工号\t姓名\t职务\n1\t4860\t刘洁\t人力资源主管\n" << "student_id" << QStringList{"4860"};
        QTest::newRow("header before each cell is no hit itself")
            << "工号,打卡时间,打卡地点\nA1001,08:30,北门\nA1002,08:41,南门\n" << "check_in" << QStringList{"打卡", "打卡"};
        QTest::newRow("a relative's word before the next row's header")
            << "陈斌,紧急联系人,与本人关系,配偶\n15316447420,工资卡,开户行,招商银行\n" << "family_member" << QStringList{};
        QTest::newRow("table ends at a line of another shape")
            << "序号\t姓名\t备注\n1\t刘洁\t无\n说明 4860 另计\n" << "student_id" << QStringList{};
        QTest::newRow("columns aligned with spaces, the last cell left out")
            << "学号  学生姓名  年龄  备注\r\n20251372  刘洁  11岁  转学\r\n20251976  顾浩  +86 181 1070 6503\r\n" << "student_id"
            << QStringList{"20251372", "20251976"};
        QTest::newRow("a form line with two spaces opens no table")
            << "报销人：梁斌  工号：E79303  部门：财务部\n4860  刘洁  9000\n" << "student_id" << QStringList{"E79303"};
        QTest::newRow("plates with and without the dot") << "车辆：沪F·35G27、苏EF40142、粤B12345。" << "vehicle_plate"
                                                          << QStringList{"沪F·35G27", "苏EF40142", "粤B12345"};
        QTest::newRow("new-energy plates, a letter after D or F, or D or F last")
            << "车牌浙A·DY5271、沪CDE2227、粤B12345D。" << "vehicle_plate" << QStringList{"浙A·DY5271", "沪CDE2227", "粤B12345D"};
        QTest::newRow("no plate: D first with a letter among the digits") << "单号沪CDE22A7、粤BD1234E" << "vehicle_plate"
                                                                          << QStringList{};
        QTest::newRow("relative glued to what befell them")
            << "户主张秀英，丈夫王志强因盗窃罪被判处有期徒刑2年。" << "family_member" << QStringList{"丈夫王志强"};
        QTest::newRow("relative's word before other words is no name") << "丈夫因病去世，母亲在外务工多年。" << "family_member"
                                                                       << QStringList{};
        QTest::newRow("an assistance register's categories in a printed row")
            << "王建国\n440305197503121237\n建档立卡贫困户\n—\n2,300元\n" << "special_status" << QStringList{"建档立卡贫困户"};
        // Rules sharing a display name share their last hit: the word's rule reports the longer value.
        QTest::newRow("a disability and its grade") << "周敏 听力残疾一级 发放临时救助金" << "special_identity"
                                                    << QStringList{"听力残疾一级"};
        QTest::newRow("disability card far from its label")
            << "残疾人证号一栏见附表。\n周敏\n440305197503121237\n肢体残疾三级\n44030519750312123743\n"
            << "disability_card" << QStringList{"44030519750312123743"};
        QTest::newRow("no disability card: grade digit out of range") << "流水号 44030519750312123759 已归档" << "disability_card"
                                                                      << QStringList{};
        QTest::newRow("degrees, minutes and seconds") << "停留点：41°44′58″N 123°24′22″E，停留36分钟；终点 31°12'5\"N 121°28'9\"E"
                                                      << "coordinates_dms" << QStringList{"41°44′58″N 123°24′22″E", "31°12'5\"N 121°28'9\"E"};
        QTest::newRow("no coordinates: minutes of 60 or more, a latitude beyond 90")
            << "41°64′58″N 123°24′22″E；95°10′10″N 23°24′22″E" << "coordinates_dms" << QStringList{};
        QTest::newRow("a track export's query string") << "终点：lat=30.5352 lng=114.4193\n起点 lat=95.1234 lng=114.4193"
                                                       << "coordinates_marked" << QStringList{"lat=30.5352 lng=114.4193"};
        QTest::newRow("degrees written out") << "停留点：北纬31.1583度，东经121.5467度，停留64分钟" << "coordinates_marked"
                                             << QStringList{"北纬31.1583度，东经121.5467度"};
        QTest::newRow("a relative glued to where they work") << "其哥哥向晶在本市银行工作。" << "family_member"
                                                             << QStringList{"哥哥向晶"};
        QTest::newRow("a post held in a company") << "现在某科技有限公司任行政专员，月收入2万元。" << "occupation"
                                                  << QStringList{"行政专员"};
        QTest::newRow("a post's word in a task is none") << "本周任务：完善会计科目说明。" << "occupation" << QStringList{};
        QTest::newRow("a customer or employee glued to the role word")
            << "今天回访了客户蔡凯，座机010-66221133。员工高海燕家庭困难。" << "person_name" << QStringList{"蔡凯", "高海燕"};
        QTest::newRow("a document's title after a role word") << "法务部员工花名册（2025年12月）\n客户名单：见附件" << "person_name"
                                                              << QStringList{};
        QTest::newRow("a mainland resident's card for Taiwan") << "证件：大陆居民往来台湾通行证  L10234567  来访" << "taiwan_permit"
                                                               << QStringList{"L10234567"};
        QTest::newRow("no card for Taiwan: another letter, a digit short")
            << "往来台湾通行证 K10234567；往来台湾通行证 L1023456" << "taiwan_permit" << QStringList{};
        QTest::newRow("an English form's address") << "Home address: Flat 5, No. 88 Renmin Road, Jinjiang, Chengdu\nMarital status: single"
                                                   << "address_en" << QStringList{"address: Flat 5, No. 88 Renmin Road"};
        QTest::newRow("no address: no house number, no road")
            << "Address: see the attached form\nE-mail address: write to the office by 5 May" << "address_en" << QStringList{};
        QTest::newRow("worship at a temple") << "她每逢初一到寺里礼佛。" << "religious_practice" << QStringList{"礼佛"};
        QTest::newRow("a colour-blind employee") << "员工患有色盲，申请调整岗位。" << "physiology" << QStringList{"色盲"};
        QTest::newRow("a colour test is no trait") << "产品出厂前做色盲模式配色检查。" << "physiology" << QStringList{};
        QTest::newRow("a Taiwan resident's permit under its column header")
            << "来访人  证件类型  证件号码  备注\n周立  台湾居民来往大陆通行证  81234567  无\n" << "taiwan_permit" << QStringList{"81234567"};
        QTest::newRow("eight digits far from a permit's name") << "台湾居民来往大陆通行证的办理流程见第三章，受理编号 81234567" << "taiwan_permit"
                                                               << QStringList{};
        QTest::newRow("a sum applied for") << "申请贷款金额30万元，期限30年。" << "credit" << QStringList{"贷款金额30万元"};
        QTest::newRow("no sum: a loan's rate") << "借款利率4.2%，期限3年。" << "loan" << QStringList{};
        QTest::newRow("no plate: too long, all letters, no new-energy mark")
            << "编号京A1234567、粤BABCDE、浙C123456" << "vehicle_plate" << QStringList{};
        QTest::newRow("salary under its column header") << "姓名\t月薪（元）\t部门\n刘洁\t9000\t法务部\n" << "income"
                                                        << QStringList{"9000"};
        QTest::newRow("version is no address") << "固件版本 5.4.0.5，网关 10.12.3.4" << "ipv4" << QStringList{"10.12.3.4"};
        QTest::newRow("version word before it") << "Version 10.2.31.7 released" << "ipv4" << QStringList{};
        QTest::newRow("Message-ID is no address")
            << "Message-ID: <138b9ea8f1708bd7ebb1ff1bed80a836@mail.corp.cn>\n联系 wang.li@corp.cn" << "email"
            << QStringList{"wang.li@corp.cn"};
        QTest::newRow("placeholder and reserved addresses") << "示例 xxx@xxx.com 或 hr@corp.test" << "email" << QStringList{};
        QTest::newRow("generic names at documentation domains") << "示例 user@example.com、hr@example.org；联系 li.si@example.org"
                                                                << "email" << QStringList{"li.si@example.org"};
        QTest::newRow("schedule notice has no traveller") << "自10月29日起，CZ1031航班起飞时间调整为15:10。" << "flight" << QStringList{};
        QTest::newRow("a form's travel line") << "Travel: Flight HU3671 on 10 May 2025" << "flight" << QStringList{"HU3671"};
        QTest::newRow("a notice is no travel") << "Notice: Flight CZ1031 departs at 15:10 from now on." << "flight"
                                               << QStringList{};
        QTest::newRow("a traveller's flight") << "员工王伟出差乘坐CZ1031航班前往广州。" << "flight" << QStringList{"CZ1031"};
        QTest::newRow("one fact, two words") << "征信有4次逾期记录。" << "credit" << QStringList{"征信"};
        QTest::newRow("the same word again in its sentence") << "信用卡逾期1次，最长逾期69天。另有逾期记录。" << "credit"
                                                             << QStringList{"逾期", "逾期"};
        QTest::newRow("a criminal record told in one sentence")
            << "其丈夫因盗窃罪被判处有期徒刑2年，现已刑满释放。本人无犯罪记录。" << "criminal_record"
            << QStringList{"被判", "犯罪记录"};
        QTest::newRow("a heading names no fact") << "二、资产及征信情况\n借款人名下存款余额约66万元，征信有逾期记录。"
                                                 << "credit" << QStringList{"征信"};
        QTest::newRow("a sheet's title names no fact") << "移动考勤打卡明细\n刘林 08:19 上班打卡 地点：北门\n" << "check_in"
                                                       << QStringList{"打卡"};
        QTest::newRow("two facts apart") << "有房贷，另有车贷逾期记录。" << "credit" << QStringList{"房贷", "车贷"};
        QTest::newRow("a person's credit record") << "借款人征信记录良好，无不良信息。" << "credit" << QStringList{"征信"};
        QTest::newRow("the credit bureau's system is no one's record")
            << "经查询人民银行征信系统，借款人近两年信用卡逾期3次。" << "credit" << QStringList{"逾期"};
        QTest::newRow("the bureau and its trade in a policy") << "本行依照征信业管理条例，按月向人民银行征信中心报送客户还款记录。" << "credit"
                                                           << QStringList{};
        QTest::newRow("a card's column header is about no one")
            << "姓名  残疾人证号  联系电话\n周敏  —  13912345678\n其父亲是残疾人。" << "special_identity" << QStringList{"残疾人"};
        QTest::newRow("a stay at a named hotel") << "We stayed at the Grand Hyatt Hotel for two nights." << "lodging_en"
                                                 << QStringList{"Grand Hyatt Hotel"};
        QTest::newRow("checking in at no hotel") << "Please check in at the Front Desk of the Training Centre." << "lodging_en"
                                                 << QStringList{};
        QTest::newRow("a contract's party, which party in brackets") << "乙方（劳动者）：谭子泽\n身份证号码：见附件" << "person_name_roles"
                                                                   << QStringList{"谭子泽"};
        QTest::newRow("a party's word before what it does names no one")
            << "甲方于每月15日前支付工资。\n客服工单导出" << "person_name_roles" << QStringList{};
        QTest::newRow("a judgment names its party glued") << "被告人李平，男，1980年生。" << "person_name_roles" << QStringList{"李平"};
        QTest::newRow("those present, one after another") << "参会人员：张敏、王磊、刘洋\n议题：预算" << "person_name_listed"
                                                          << QStringList{"张敏", "王磊", "刘洋"};
        QTest::newRow("a list far from those present names no one")
            << "参会人员：张敏\n会议认为本季度销售额增长较快，但应收账款偏高，需关注以下客户：高明、王府井店" << "person_name_listed"
            << QStringList{"张敏"};
        QTest::newRow("a relative by one character in a register's row") << "袁志  低保  妻：冯德涛\n" << "person_name_roles"
                                                                          << QStringList{"冯德涛"};
        QTest::newRow("a chat export's writer") << "2025-09-15 17:01  姚倩: 你好\n2025-12-01 08:30  集合出发\n" << "person_name_chat"
                                                << QStringList{"姚倩"};
        QTest::newRow("a guest in Latin letters") << "Guest：ZHOU Tingyi\nGuest: 2 adults, 1 child" << "person_name_latin"
                                                  << QStringList{"Guest：ZHOU Tingyi"};
        QTest::newRow("a statement's platform and a header's word are no names")
            << "对方户名\t摘要\t金额\n支付宝\t消费\t-35.00\n学生姓名\n公民身份号码\n" << "person_name" << QStringList{};
        QTest::newRow("a household member in a register's cell") << "家庭成员：子：余颖霞\n举个例子：高明的做法" << "family_member_forms"
                                                                 << QStringList{"家庭成员：子：余颖霞"};
        QTest::newRow("a relative named with the relation in brackets, who knows")
            << "家属（母亲）吴慧悦已知情，联系电话见上。" << "family_member_forms" << QStringList{"家属（母亲）吴慧悦"};
        QTest::newRow("an address to the room, no road") << "家住北京市海淀区梧桐里12栋2单元1804，园区共12栋2单元1804户"
                                                         << "address_estate" << QStringList{"北京市海淀区梧桐里12栋2单元1804"};
        QTest::newRow("a road in sections") << "住址：湖北省武汉市武昌区人民南路四段575号" << "address_estate"
                                            << QStringList{"湖北省武汉市武昌区人民南路四段575号"};
        QTest::newRow("a stay's dates") << "住客：王芳 入住日期：2025-10-08 离店日期：2025/10/09\n预计入住日期待定" << "lodging_dates"
                                        << QStringList{"入住日期：2025-10-08", "离店日期：2025/10/09"};
        QTest::newRow("a dharma name, not a product's") << "法名：妙音，皈依日期2011年8月\n产品名：妙音耳机" << "religious_name"
                                                        << QStringList{"法名：妙音"};
        QTest::newRow("a register's title is a heading") << "寺院皈依弟子登记簿\n天主教堂区教友名册\n" << "religious_practice" << QStringList{};
        QTest::newRow("a statement's signed amount, not a bare 金额") << "交易金额：-5774.00\n金额：-35.00（退货）" << "amount_forms"
                                                                    << QStringList{"交易金额：-5774.00"};
        QTest::newRow("a balance with decimals, not a fund's name") << "账户余额：6642.51\n余额宝收益率：2.15" << "balance_forms"
                                                                    << QStringList{"账户余额：6642.51"};
        QTest::newRow("a home's worth") << "名下房产一套，评估价约404万元。" << "balance_forms" << QStringList{"评估价约404万元"};
        QTest::newRow("pay in thousands, pay raised; no tax is none")
            << "期望薪资：18K/月\n自12月起月薪调整为21000元。\n个人所得税：0" << "income_forms" << QStringList{"期望薪资：18K/月", "月薪调整为21000元"};
        QTest::newRow("a major; an attachment is none") << "所学专业：会计学\n专业：见附件名单" << "occupation_forms" << QStringList{"会计学"};
        QTest::newRow("a service tag of seven, not eight") << "序列号：7GH2K53\n序列号：ABCDEFGH" << "serial" << QStringList{"7GH2K53"};
        QTest::newRow("a body temperature") << "查体：体温38.3℃，体温计单价18.5元" << "temperature" << QStringList{"体温38.3℃"};
        QTest::newRow("a sum applied for under its label") << "申请金额：人民币88万元\n申请金额：见附表" << "loan_forms"
                                                           << QStringList{"申请金额：人民币88万元"};
        QTest::newRow("a card named by what is done with it")
            << "报销的钱打到6226-9057-6330-6482这张卡上吧\n打到6226-9057-6330-6483这张卡" << "bank_card"
            << QStringList{"6226-9057-6330-6482"};
        QTest::newRow("a table parted by bars") << "姓名 | 门诊号 | 科别\n司马敏欣 | 43560722 | 精神科\n" << "medical_record_no"
                                                << QStringList{"43560722"};
        QTest::newRow("a bar in a sentence makes no table") << "选项 A | B 均可\n编号 43560722" << "medical_record_no" << QStringList{};
    }
    // A name in running text, its end told by what may follow a name (a
    // particle, a verb, a title), and the common words that begin with a
    // surname's character in the same places.
    void namesInSentences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("values"); // of that rule
        QTest::newRow("a party, then a particle") << "经审理查明，被告人李平的行为已构成诈骗罪。" << "person_name_roles"
                                                  << QStringList{"李平"};
        QTest::newRow("a party, then what he did") << "被告人赵小军犯盗窃罪，判处有期徒刑一年。" << "person_name_roles"
                                                   << QStringList{"赵小军"};
        QTest::newRow("a name with its title") << "联系人王磊经理，电话另告。\n申请人洪晓燕女士已到场。" << "person_name"
                                               << QStringList{"王磊", "洪晓燕"};
        QTest::newRow("a surname of the written forms") << "姓名：萧文强\n" << "person_name" << QStringList{"萧文强"};
        QTest::newRow("a role word before common words is no name")
            << "患者高血压的病史十年。\n学生高中时住校。\n客户王府井店的订单。\n对象张开双臂。\n员工安全的培训，学生管理等" << "person_name"
            << QStringList{};
        QTest::newRow("those present, the first too, the last after 和") << "参会：冯国明、胡彤芳和崔国海\n议题：高中部预算"
                                                                       << "person_name_listed"
                                                                       << QStringList{"冯国明", "胡彤芳", "崔国海"};
        QTest::newRow("a surname and a title are no full name") << "联系人张律师，电话另告。" << "person_name" << QStringList{};
        QTest::newRow("a title is still an occupation") << "职业：律师\n" << "occupation_label" << QStringList{"律师"};
        QTest::newRow("words starting with a surname, no role word") << "高明的做法是到王府井张开双臂吃李子。" << "person_name"
                                                                     << QStringList{};
    }
    void namesInSentences()
    {
        compareValuesOfRule();
    }

    // Names in chat exports and notes, told by the words around them.
    void namesInNotes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("values"); // of that rule
        QTest::newRow("a chat export's title names the other party")
            << "聊天记录导出 钉钉 与徐伟建的对话\n微信 与叶彤的聊天记录\n" << "person_name_chat" << QStringList{"徐伟建", "叶彤"};
        QTest::newRow("a conversation with no one named")
            << "与客户的对话记录\n与本人的聊天\n与会议无关的对话" << "person_name_chat" << QStringList{};
    }
    void namesInNotes()
    {
        compareValuesOfRule();
    }

    void labelsAndLookAlikes()
    {
        compareValuesOfRule();
    }

    // What people write besides the labels above, and what only looks like
    // it: other wordings, registers' cells, résumé lines, bilingual forms.
    void otherWordings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("values"); // of that rule
        QTest::newRow("a departure time is no stay") << "发车时间：2025-10-24 08:30\n到站日期：2025-10-25" << "lodging_dates"
                                                    << QStringList{};
        QTest::newRow("a stay told in one sentence") << "住宿：11月21日入住维也纳酒店，11月23日退房，订单号5771274992812095" << "lodging"
                                                     << QStringList{"入住"};
        QTest::newRow("a hotel where someone stays") << "Travel: hotel check-in at Sheraton Hotel" << "lodging_en"
                                                     << QStringList{"Sheraton Hotel"};
        QTest::newRow("a register's own hotel is no stay") << "Hotel: Holiday Inn Express  Front desk: 0571-8888" << "lodging_en"
                                                           << QStringList{};
        QTest::newRow("a register's hotel line is no stay") << "Hotel: 桔子水晶酒店（深圳会展中心店）  Front desk: 0571-8888" << "lodging"
                                                            << QStringList{};
        QTest::newRow("a cancelled flight in a notice") << "航班SC2384因机型调整取消，已购票旅客可免费退改。" << "flight" << QStringList{};
        QTest::newRow("a train booked in a chat") << "你把身份证号发我，我帮你订票\n好的，订了下周二G1054，上午九点的" << "train"
                                                  << QStringList{"G1054"};
        QTest::newRow("a register's relative of one character") << "户主\t家庭成员\n徐淑\t子：余颖霞\n刘泽\t妻：石宇峰\n" << "family_member_forms"
                                                                << QStringList{"子：余颖霞", "妻：石宇峰"};
        QTest::newRow("a priest is no father") << "本堂神父：程婷秀\n" << "family_member_forms" << QStringList{};
        QTest::newRow("a relative named with the relation after")
            << "身故受益人：方志文，与被保险人关系：母亲\n受益人：法定，与被保险人关系：见附件" << "relative_stated"
            << QStringList{"受益人：方志文，与被保险人关系：母亲"};
        QTest::newRow("a status in two languages is one") << "Marital status 婚姻状况 Single 未婚\n" << "marital_status"
                                                          << QStringList{"Single"};
        QTest::newRow("a status among a résumé's particulars") << "年龄：42岁 | 丧偶 | 现居：昆明市" << "marital_status"
                                                               << QStringList{"丧偶"};
        QTest::newRow("a religion in two languages is one") << "Religion 宗教 Christianity 基督教\n" << "religion"
                                                            << QStringList{"Christianity"};
        QTest::newRow("a believer's name under its label") << "姓名：李睿  经名：阿卜杜拉\n" << "religious_name"
                                                           << QStringList{"经名：阿卜杜拉"};
        QTest::newRow("a register's header names no one") << "姓名\n圣名\n领洗日期\n联系电话\n" << "religious_name" << QStringList{};
        QTest::newRow("a rite in other words") << "她每月在堂区领圣体。" << "religious_rite" << QStringList{"领圣体"};
        QTest::newRow("a rite's date column is no rite") << "姓名\n经名\n入教时间\n领洗日期\n" << "religious_rite" << QStringList{};
        QTest::newRow("an illness found at a check-up") << "你妈妈身体怎么样？\n上周查出来支气管哮喘，在吃药" << "diagnosis"
                                                        << QStringList{"支气管哮喘"};
        QTest::newRow("a leaflet's indication is about no one") << "【适应症】本品用于急性脑梗死的治疗。" << "diagnosis" << QStringList{};
        QTest::newRow("diagnoses beyond the first dictionary") << "出院诊断：1.双相情感障碍 2.带状疱疹\n结论：甲状腺结节，建议随诊。"
                                                               << "diagnosis_more" << QStringList{"带状疱疹", "甲状腺结节"};
        QTest::newRow("what a check-up finds") << "体检结论：窦性心动过缓，肺结节，建议随诊。" << "diagnosis_classes"
                                               << QStringList{"窦性心动过缓", "肺结节"};
        QTest::newRow("a check-up's items are no findings") << "检查项目：心电图（排查心动过缓）" << "diagnosis_classes"
                                                            << QStringList{};
        QTest::newRow("another leaflet's indication") << "【适应症】本品用于带状疱疹的治疗。" << "diagnosis_more" << QStringList{};
        QTest::newRow("medicines a patient takes") << "出院带药：异烟肼片 0.3g 每日一次\n上周起在吃秋水仙碱" << "medication_more"
                                                   << QStringList{"异烟肼", "秋水仙碱"};
        QTest::newRow("an operation undergone") << "诊疗经过：完善检查后于全麻下行人工股骨头置换术，术后恢复可。" << "surgery"
                                                << QStringList{"行人工股骨头置换术"};
        QTest::newRow("an operation a hospital offers") << "本院骨科新开展膝关节置换术，欢迎咨询。" << "surgery" << QStringList{};
        QTest::newRow("a register's date column is no rite") << "寺院皈依弟子登记簿\n姓名 法名 皈依日期 联系电话\n朱建 妙缘 2011年8月\n他去年已皈依。"
                                                             << "religious_conversion" << QStringList{"已皈依"};
        QTest::newRow("a register's date column is no stay") << "住客姓名 | 房号 | 入住日期 | 离店日期\n本人于11月21日入住锦江酒店。"
                                                             << "lodging" << QStringList{"入住"};
        QTest::newRow("a leaflet's title names no patient") << "碳酸钙D3片 产品说明\n【规格】0.5g×30片" << "medication_more"
                                                            << QStringList{};
        QTest::newRow("a conviction in a judgment's words") << "本院认为，被告人罗某的行为已构成盗窃罪。" << "crime_named"
                                                            << QStringList{"构成盗窃罪"};
        QTest::newRow("a statute's wording names no one") << "情节严重的，构成盗窃罪。" << "crime_named" << QStringList{};
        QTest::newRow("a criminal record's word is not a second fact") << "该人曾受过行政拘留。" << "detention" << QStringList{};
        QTest::newRow("a child's full years in a register")
            << "学生姓名,周岁,拟编班级\n许晨,8,二年级3班\n赵雷,35,初一（2）班\n" << "minor_age_column" << QStringList{"8"};
        QTest::newRow("middle school classes as registers write them") << "拟编班级：七年级5班；高一（3）班" << "minor_school"
                                                                       << QStringList{"七年级5班", "高一（3）班"};
        QTest::newRow("a build with zero middle parts is no address") << "系统版本 16.0.0.230；网关 10.0.0.23" << "ipv4"
                                                                      << QStringList{"10.0.0.23"};
        QTest::newRow("a service tag of seven characters") << "序列号：XBPS91K\n序列号：1234567\n笔记本序列号61CC9NP保修查询" << "serial"
                                                           << QStringList{"XBPS91K", "61CC9NP"};
        QTest::newRow("passports as itineraries and registers write them")
            << "出行人：袁杰  证件：E60683039\nID / Passport: EB33755169\n" << "passport" << QStringList{"E60683039", "EB33755169"};
        QTest::newRow("no passport: the permits' letters") << "证件号码：C12345678\n\n\n证件号码：TK1234567" << "passport"
                                                           << QStringList{};
        QTest::newRow("a pay sheet's next column is no post") << "工号  姓名  部门  岗位  应发工资  实发工资\n" << "occupation_label"
                                                              << QStringList{};
        QTest::newRow("a label in two languages, then its value") << "Occupation 职业\n软件工程师\n" << "occupation_label"
                                                                  << QStringList{"软件工程师"};
        QTest::newRow("the post a résumé asks for") << "求职意向：数据分析师  期望薪资：27K/月" << "occupation_label"
                                                    << QStringList{"数据分析师"};
        QTest::newRow("a post in a contract's sentence") << "甲方根据工作需要，安排乙方在行政助理岗位工作。" << "occupation_phrase"
                                                         << QStringList{"在行政助理岗位"};
        QTest::newRow("no post: a post in general") << "他在工作岗位上表现突出。" << "occupation_phrase" << QStringList{};
        QTest::newRow("the post of a résumé's line of work") << "工作经历\n2016.07-至今  深圳市恒瑞精密制造有限公司  行政助理\n"
                                                             << "occupation_history" << QStringList{"行政助理"};
        QTest::newRow("the degree of a résumé's line of study")
            << "教育背景\n2012.09-2016.06  南京信息工程大学  计算机科学与技术  高中\n" << "degree_history" << QStringList{"高中"};
        QTest::newRow("the school of a résumé's line of study")
            << "教育背景\n2012.09-2016.06  南京信息工程大学  计算机科学与技术  高中\n" << "school_history" << QStringList{"南京信息工程大学"};
        QTest::newRow("a school after a degree") << "M.Sc. in Computer Science, Xiamen University, 2014" << "school_en"
                                                 << QStringList{"Xiamen University"};
        QTest::newRow("an English résumé's post") << "EXPERIENCE\n2018 – present  Senior Software Engineer, Alibaba\n" << "occupation_en"
                                                  << QStringList{"2018 – present  Senior Software Engineer"};
        QTest::newRow("a student card's number") << "学生证号：2023214700\n" << "student_card" << QStringList{"2023214700"};
    }
    void otherWordings()
    {
        compareValuesOfRule();
    }

    // A check-up's results under their item's name, and what only looks like
    // them: a reference interval, a meter's price and range, an eye chart.
    void checkupResults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("values"); // of that rule
        QTest::newRow("blood sugar and eyesight as a row reads them") << "空腹血糖：7.3\n视力（左/右）：4.7/4.9\n" << "checkup_results"
                                                                      << QStringList{"空腹血糖：7.3", "视力（左/右）：4.7/4.9"};
        QTest::newRow("results in a form, spaced from their items") << "糖化血红蛋白 7.2%  血红蛋白 98 g/L  空腹血糖 6.8 mmol/L" << "checkup_results"
                                                                    << QStringList{"糖化血红蛋白 7.2%", "血红蛋白 98 g/L", "空腹血糖 6.8 mmol/L"};
        QTest::newRow("a record's examination line is the test report's") << "辅助检查：空腹血糖9.6mmol/L；糖化血红蛋白8.2%。" << "checkup_results"
                                                                          << QStringList{};
        QTest::newRow("a lab's reference intervals are no results")
            << "空腹血糖 3.9-6.1 mmol/L\n总胆固醇：2.8～5.2\n血红蛋白 110 - 150 g/L\n" << "checkup_results" << QStringList{};
        QTest::newRow("a meter's price and range, an eye chart") << "血糖仪 ¥199，测量范围 1.1~33.3 mmol/L；视力表 5.0 标准对数" << "checkup_results"
                                                                 << QStringList{};
        QTest::newRow("glycated is not plain haemoglobin") << "糖化血红蛋白：10.5%" << "checkup_results"
                                                           << QStringList{"糖化血红蛋白：10.5%"};
        QTest::newRow("BMI and hearing in a form") << "BMI：27.3\n听力（左/右）：正常\n体重指数 ≥28 为肥胖" << "checkup_results"
                                                   << QStringList{"BMI：27.3", "听力（左/右）：正常"};
    }
    void checkupResults()
    {
        compareValuesOfRule();
    }

    // A document's table cell comes in the text and again with its header;
    // the header's context may let a shorter word of the same display name
    // count there ("视力残疾" of "视力残疾一级"): still one fact.
    void cellReadAgainCountsOnce_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("rule");
        QTest::newRow("a word the text gave") << QByteArray("低收入家庭") << "special_identity";
        QTest::newRow("a longer shape the text gave") << QByteArray("视力残疾一级") << "special_identity";
        QTest::newRow("a relative with a name") << QByteArray("配偶李娜") << "family_member";
    }
    void cellReadAgainCountsOnce()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, rule);
        PrivacyMatcher::Scratch scratch(*m_matcher);
        PrivacyCollector collector(*m_matcher, scratch, QDate::currentDate());
        const QByteArray text = "姓名\n王芳\n类别\n" + value + "\n备注\n无\n";
        collector.write(text.constData(), static_cast<std::size_t>(text.size()));
        collector.labelledValue("姓名", "王芳");
        collector.labelledValue("类别", value);
        collector.labelledValue("备注", "无");
        collector.finish();
        int hits = 0;
        for (int r : collector.foundRules()) {
            if (m_matcher->rule(r).name == m_table.rules().at(m_table.indexOf(rule)).name)
                hits += collector.hits(r);
        }
        QCOMPARE(hits, 1);
    }

    // A table's row handed on cell by cell under its headers (rows parted by
    // "|", cells by ","), with the row's text before it in the file or not
    // (a sheet's shared strings): the row's first cell is context for its
    // other cells, never for those of another row.
    void rowFirstCellIsContext_data()
    {
        QTest::addColumn<QString>("headers");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<bool>("textBetween");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("hits");
        const QString tests = QStringLiteral("检查项目,结果,参考范围");
        QTest::newRow("a test's result") << tests << "血压,101/84,90-139/60-89" << false << "vital_signs" << 1;
        QTest::newRow("a test's result, the row in the text") << tests << "身高,160 cm,-" << true << "body_measure" << 1;
        QTest::newRow("the test in the row above") << tests << "血压,未测,-|视力,101/84,-" << false << "vital_signs" << 0;
        QTest::newRow("the test in the row above, rows in the text") << tests << "血压,未测,-|视力,101/84,-" << true << "vital_signs" << 0;
        const QString family = QStringLiteral("称谓,姓名,年龄");
        QTest::newRow("a relative named by the row") << family << "父亲,张伟晨,71" << false << "family_member" << 1;
        QTest::newRow("the relation in the row above") << family << "父亲,不详,71|同学,张伟晨,20" << false << "family_member" << 0;
        const QString items = QStringLiteral("项目,内容,备注");
        QTest::newRow("a status named by the row") << items << "婚姻状况,已婚,-" << false << "marital_status" << 1;
        QTest::newRow("the status named in the row above") << items << "婚姻状况,不详,-|联系地址,已婚,-" << false << "marital_status" << 0;
        QTest::newRow("context from another cell of the row") << QStringLiteral("姓名,时间,类型") << "刘林,08:19,外勤签到" << false
                                                             << "check_in" << 1;
        QTest::newRow("a surname less common in the mainland") << QStringLiteral("学生,家长姓名,电话") << "王小明,萧思静,-" << false
                                                               << "family_member" << 1;
        // A sheet wider than the headers a row remembers still parts its rows.
        QStringList wide{QStringLiteral("检查项目"), QStringLiteral("结果")}, above{QStringLiteral("血压"), QStringLiteral("未测")},
            below{QStringLiteral("视力"), QStringLiteral("101/84")};
        for (int column = 2; column < 300; ++column) {
            wide.append(QStringLiteral("列%1").arg(column));
            above.append(QStringLiteral("-"));
            below.append(QStringLiteral("-"));
        }
        QTest::newRow("the test in the row above, a wide sheet")
            << wide.join(QLatin1Char(',')) << above.join(QLatin1Char(',')) + QLatin1Char('|') + below.join(QLatin1Char(','))
            << false << "vital_signs" << 0;
        QTest::newRow("a test's result, a wide sheet")
            << wide.join(QLatin1Char(',')) << QStringLiteral("血压,101/84,") + QStringList(above.mid(2)).join(QLatin1Char(','))
            << false << "vital_signs" << 1;
    }
    void rowFirstCellIsContext()
    {
        QFETCH(QString, headers);
        QFETCH(QString, rows);
        QFETCH(bool, textBetween);
        QFETCH(QString, rule);
        QFETCH(int, hits);
        PrivacyMatcher::Scratch scratch(*m_matcher);
        PrivacyCollector collector(*m_matcher, scratch, QDate::currentDate());
        const QStringList header = headers.split(QLatin1Char(','));
        const QByteArray title = "体检结果汇总\n" + header.join(QLatin1Char('\n')).toUtf8() + '\n';
        collector.write(title.constData(), static_cast<std::size_t>(title.size()));
        for (const QString &row : rows.split(QLatin1Char('|'))) {
            const QStringList cells = row.split(QLatin1Char(','));
            if (textBetween) {
                // as a document's table gives it: every cell a line of its own
                const QByteArray text = cells.join(QLatin1Char('\n')).toUtf8() + '\n';
                collector.write(text.constData(), static_cast<std::size_t>(text.size()));
            }
            for (int i = 0; i < cells.size(); ++i)
                collector.labelledValue(header.at(i).toUtf8(), cells.at(i).toUtf8());
        }
        collector.finish();
        QCOMPARE(collector.hits(m_table.indexOf(rule)), hits);
    }

    void checksOfTheStandards_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("valid");
        QTest::newRow("identity number, X check") << "id" << "11010519491231002X" << true;
        QTest::newRow("identity number, wrong check") << "id" << "110105194912310021" << false;
        QTest::newRow("identity number, 29 February of a leap year") << "id" << "110101200002290014" << bool(PrivacyValidators::idCard("110101200002290014", 18, QDate::currentDate()));
        QTest::newRow("identity number, future birth") << "id" << "110101209901010011" << false;
        QTest::newRow("luhn, test card") << "luhn" << "4111111111111111" << true;
        QTest::newRow("luhn, one digit off") << "luhn" << "4111111111111112" << false;
        QTest::newRow("credit code, published example") << "uscc" << "91350100M000100Y43" << true;
        QTest::newRow("credit code, wrong check") << "uscc" << "91350100M000100Y44" << false;
        QTest::newRow("mobile prefix 199") << "mobile" << "19912345678" << true;
        QTest::newRow("mobile prefix 154") << "mobile" << "15412345678" << false;
        QTest::newRow("mobile prefix 120") << "mobile" << "12012345678" << false;
    }
    void checksOfTheStandards()
    {
        QFETCH(QString, what);
        QFETCH(QString, value);
        QFETCH(bool, valid);
        const QByteArray v = value.toLatin1();
        bool got = false;
        if (what == "id")
            got = PrivacyValidators::idCard(v.constData(), static_cast<std::size_t>(v.size()), QDate::currentDate());
        else if (what == "luhn")
            got = PrivacyValidators::luhn(v.constData(), static_cast<std::size_t>(v.size()));
        else if (what == "uscc")
            got = PrivacyValidators::usccCheckCharacter(v.constData()) == v.at(17);
        else if (what == "mobile")
            got = PrivacyValidators::mobilePrefix(v.constData());
        QCOMPARE(got, valid);
    }

    void membersAreSeparateParts()
    {
        // An identity number split between two archive members is no hit; a hit in a member is led by its path.
        PrivacySamples samples(9);
        const QString id = samples.idNumber(QDate(1985, 6, 1));
        Detector detector(*m_matcher);
        const QList<Found> found = detector.scanParts({{"a.txt", ("证件 " + id.left(9)).toUtf8()},
                                                  {"dir/b.txt", (id.mid(9) + " 另 " + id).toUtf8()}},
                                                 3);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().value, id);
        QVERIFY2(found.first().context.startsWith("dir/b.txt："), qPrintable(found.first().context));
    }

    void countsExactPassagesCapped()
    {
        PrivacySamples samples(21);
        QString text;
        for (int i = 0; i < 150; ++i)
            text += QStringLiteral("第%1位 身份证号：").arg(i) + samples.idNumber(QDate(1980, 1, 1).addDays(i)) + "。\n";
        Detector detector(*m_matcher);
        QMap<QString, int> counts;
        const QList<Found> found = detector.scan(text, 4096, &counts);
        QCOMPARE(counts.value("id_card"), 150);
        QList<Found> others;
        for (const Found &f : found) {
            if (f.rule != QLatin1String("id_card"))
                others.append(f);
        }
        QCOMPARE(found.size() - others.size(), Limits::MaxPassagesPerWord);
        QVERIFY2(others.isEmpty(), qPrintable(describe(others)));
    }
};

QTEST_GUILESS_MAIN(TestScanServicePrivacy)
#include "tst_scanservice_privacy.moc"
