#include "privacysamples.h"

#include <QHash>
#include <functional>

namespace {
const char *const Regions[] = {"110108", "310115", "440305", "320102", "510104", "330106", "420111", "610113"};
const char *const Surnames[] = {"张", "王", "李", "赵", "刘", "陈", "杨", "黄"};
const char *const Given[] = {"建国", "秀英", "志强", "丽华", "文博", "海燕", "子涵", "思远"};
const char *const Filler[] = {
    "今天天气不错，大家一起去公园散步。", "这份材料整理了本季度的进展情况。", "请各位同事按时提交周报。",
    "会议室已经预订好了，下午开会。", "我们讨论了新产品的设计方案。", "楼下的咖啡店换了新菜单。",
    "这本书讲述了一个关于友谊的故事。", "明天上午有一场培训课程。", "项目组决定下周开始新的阶段。",
    "窗外的树叶慢慢变黄了。"};
} // namespace

PrivacySamples::PrivacySamples(quint64 seed, const QDate &today)
    : m_state(seed * 2862933555777941757ull + 3037000493ull)
    , m_today(today)
{
}

quint32 PrivacySamples::next()
{
    m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<quint32>(m_state >> 33);
}

QString PrivacySamples::digits(int n)
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += QChar('0' + below(10));
    return text;
}

QDate PrivacySamples::adultBirth()
{
    return QDate(1960 + below(36), 1 + below(12), 1 + below(28));
}

QDate PrivacySamples::childBirth()
{
    return m_today.addDays(-(365 * 2 + below(365 * 10)));
}

QChar PrivacySamples::idCheck(const QString &first17)
{
    static const int weights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += first17.at(i).digitValue() * weights[i];
    return QLatin1Char("10X98765432"[sum % 11]);
}

QString PrivacySamples::idNumber(const QDate &birth)
{
    const QString first = QLatin1String(Regions[below(8)]) + birth.toString(QStringLiteral("yyyyMMdd")) + digits(3);
    return first + idCheck(first);
}

QString PrivacySamples::luhnNumber(const QString &prefix, int length)
{
    QString number = prefix + digits(length - prefix.size() - 1);
    for (int check = 0; check < 10; ++check) {
        const QString candidate = number + QChar('0' + check);
        int sum = 0;
        bool twice = false;
        for (int i = candidate.size() - 1; i >= 0; --i) {
            int d = candidate.at(i).digitValue();
            if (twice && (d *= 2) > 9)
                d -= 9;
            sum += d;
            twice = !twice;
        }
        if (sum % 10 == 0)
            return candidate;
    }
    return number;
}

QString PrivacySamples::usccWithCheck(const QString &first17)
{
    static const QString alphabet = QStringLiteral("0123456789ABCDEFGHJKLMNPQRTUWXY");
    static const int weights[] = {1, 3, 9, 27, 19, 26, 16, 17, 20, 29, 25, 13, 8, 24, 10, 30, 28};
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += alphabet.indexOf(first17.at(i)) * weights[i];
    return first17 + alphabet.at((31 - sum % 31) % 31);
}

QString PrivacySamples::filler()
{
    return QString::fromUtf8(Filler[below(10)]);
}

QStringList PrivacySamples::rules()
{
    return {"id_card", "mobile", "fixed_line", "email", "passport", "hk_macau_permit", "taiwan_permit", "uscc",
            "uscc_digits", "person_name", "person_name_en", "vehicle_plate", "religion", "religious_identity",
            "religious_practice", "religious_rite", "diagnosis", "diagnosis_classes", "surgery", "medication",
            "medication_more", "test_report", "medical_record_no", "bank_card", "account_password", "social_account",
            "flight", "train", "lodging", "lodging_en", "check_in", "minor_id_card", "minor_age", "minor_school",
            "criminal_record", "biometrics", "sexual_orientation", "coordinates", "coordinates_marked",
            "coordinates_dms", "address", "address_en", "family_member", "relative_stated", "emergency_contact",
            "emergency_contact_en", "relationship", "marital_status", "imei", "mac", "ipv4", "serial",
            "body_measure", "vital_signs", "blood_type", "physiology", "education", "degree_history", "occupation",
            "occupation_label", "occupation_phrase", "occupation_history", "occupation_en", "school",
            "school_history", "student_id", "student_card", "disability_card", "special_status", "disability_grade",
            "special_identity", "income", "assets", "loan", "credit", "transaction", "person_name_roles",
            "person_name_chat", "person_name_listed", "person_name_latin", "family_member_forms", "address_estate",
            "lodging_dates", "religious_name", "religious_conversion", "crime_named", "detention",
            "minor_age_column", "minor_class", "amount_forms", "balance_forms", "income_forms", "occupation_forms",
            "temperature", "loan_forms", "education_en", "school_en", "diagnosis_more", "checkup_results"};
}

QString PrivacySamples::valid(const QString &rule, QList<Item> *items)
{
    // Each maker returns {sentence, value}.
    using Maker = std::function<QPair<QString, QString>()>;
    auto pick = [this](std::initializer_list<const char *> list) {
        const int i = below(static_cast<int>(list.size()));
        return QString::fromUtf8(*(list.begin() + i));
    };
    auto name = [&] { return QString::fromUtf8(Surnames[below(8)]) + QString::fromUtf8(Given[below(8)]); };
    auto said = [](const QString &before, const QString &value, const QString &after = QStringLiteral("。")) {
        return QPair<QString, QString>(before + value + after, value);
    };
    static const char *const prefixes[] = {"138", "139", "150", "159", "166", "176", "186", "189", "199", "147", "173"};
    const QHash<QString, Maker> makers{
        {"id_card", [&] { return said("身份证号：", idNumber(adultBirth())); }},
        {"mobile", [&] {
             const QString number = QLatin1String(prefixes[below(11)]) + digits(8);
             return below(3) == 0 ? said("联系方式 ", "+86 " + number) : said("手机", number, "，随时联系。");
         }},
        {"fixed_line", [&] {
             return below(2) ? said("办公电话：", QStringLiteral("010-") + QChar('2' + below(8)) + digits(7))
                             : said("联系电话 ", QStringLiteral("0755-") + QChar('2' + below(8)) + digits(7));
         }},
        {"email", [&] { return said("邮箱 ", QStringLiteral("user%1.name@mail%2.example.com.cn").arg(below(1000)).arg(below(100)), " 欢迎来信。"); }},
        {"passport", [&] { return said("护照号码：", "E" + digits(8)); }},
        {"hk_macau_permit", [&] { return said("港澳通行证 ", "C" + digits(8)); }},
        {"taiwan_permit", [&] { return said("台胞证号码 ", digits(8)); }},
        {"uscc", [&] {
             static const QString letters = QStringLiteral("ABCDEFGHJKLMNPQRTUWXY");
             QString org = QStringLiteral("MA") + digits(2);
             for (int i = 0; i < 5; ++i)
                 org += below(2) ? QString(letters.at(below(letters.size()))) : QString(QChar('0' + below(10)));
             return said("统一社会信用代码：", usccWithCheck("91" + QLatin1String(Regions[below(8)]) + org));
         }},
        {"uscc_digits", [&] {
             for (;;) {
                 const QString code = usccWithCheck("91" + QLatin1String(Regions[below(8)]) + digits(9));
                 if (code.at(17).isDigit())
                     return said("纳税人识别号 ", code);
             }
         }},
        {"religion", [&] { return said("宗教信仰：", pick({"佛教", "基督教", "伊斯兰教", "道教", "天主教"})); }},
        {"religious_identity", [&] { return said("他是一名虔诚的", pick({"基督徒", "穆斯林", "佛教徒"})); }},
        {"religious_practice", [&] { return said("每周去教堂", pick({"做礼拜", "做弥撒"})); }},
        {"diagnosis", [&] { return said("门诊诊断：", pick({"高血压", "糖尿病", "抑郁症", "哮喘", "乙肝"})); }},
        {"medication", [&] { return said("遵医嘱口服", pick({"二甲双胍", "阿司匹林", "舍曲林", "华法林"}), "，一次一片。"); }},
        {"test_report", [&] { return said("附上", pick({"血常规", "肝功能", "尿常规", "核酸检测"}), "检查结果。"); }},
        {"medical_record_no", [&] {
             const QString value = "ZY" + digits(8);
             return QPair<QString, QString>("住院号：" + value + "。", value);
         }},
        {"bank_card", [&] {
             const QString number = luhnNumber(QStringLiteral("6222"), 16 + below(4));
             if (number.size() == 16 && below(2)) {
                 const QString spaced = number.mid(0, 4) + ' ' + number.mid(4, 4) + ' ' + number.mid(8, 4) + ' ' + number.mid(12, 4);
                 return said("银行卡号：", spaced);
             }
             return said("工资卡卡号 ", number);
         }},
        {"account_password", [&] {
             const QString value = QStringLiteral("密码：Pw%1!x").arg(digits(5));
             return QPair<QString, QString>("登录账号 zhang" + digits(3) + " " + value + "。", value);
         }},
        {"social_account", [&] {
             if (below(2)) {
                 const QString value = QChar('1' + below(9)) + digits(8);
                 return QPair<QString, QString>("QQ号：" + value + "。", value);
             }
             const QString value = "wx_user" + digits(4);
             return QPair<QString, QString>("微信号：" + value + "。", value);
         }},
        {"flight", [&] { return said("乘坐航班", pick({"CA", "MU", "CZ", "HU"}) + digits(4), "飞往成都。"); }},
        {"train", [&] { return said("乘坐", pick({"G", "D", "K"}) + QChar('1' + below(9)) + digits(2), "次列车返回。"); }},
        {"lodging", [&] { return said("在如家酒店办理", pick({"入住", "退房"})); }},
        {"check_in", [&] { return said("上班", pick({"打卡", "签到"}), "地点：科技园。"); }},
        {"minor_id_card", [&] { return said("学生身份证号：", idNumber(childBirth())); }},
        {"minor_age", [&] { return said("孩子今年", QString::number(3 + below(10)) + "岁"); }},
        {"minor_school", [&] { return said("目前在", "小学" + pick({"一", "二", "三", "四", "五", "六"}) + "年级", "读书。"); }},
        {"criminal_record", [&] { return said("该人曾受过", pick({"刑事处罚", "行政拘留"})); }},
        {"biometrics", [&] { return said("系统采集", pick({"指纹", "虹膜", "声纹"}), "信息用于登录。"); }},
        {"sexual_orientation", [&] { return said("本人自述为", pick({"同性恋", "双性恋"})); }},
        {"coordinates", [&] {
             return said("GPS定位 ", QStringLiteral("%1.%2, %3.%4").arg(20 + below(30)).arg(digits(6)).arg(100 + below(20)).arg(digits(6)));
         }},
        {"coordinates_marked", [&] {
             return said("位于 ", QStringLiteral("N%1.%2, E%3.%4").arg(20 + below(30)).arg(digits(4)).arg(100 + below(20)).arg(digits(4)));
         }},
        {"coordinates_dms", [&] {
             const int latitude = 20 + below(30), latMinutes = below(60), latSeconds = below(60);
             const int longitude = 100 + below(20), lonMinutes = below(60), lonSeconds = below(60);
             return said("停留点：", QStringLiteral("%1°%2′%3″N %4°%5′%6″E")
                                        .arg(latitude).arg(latMinutes).arg(latSeconds).arg(longitude).arg(lonMinutes).arg(lonSeconds));
         }},
        {"address", [&] {
             const QString value = pick({"北京市海淀区中关村大街", "上海市浦东新区世纪大道", "广东省深圳市南山区科技园路", "浙江省杭州市西湖区文三路"})
                                   + QString::number(1 + below(300)) + "号";
             return QPair<QString, QString>("家住" + value + "。", value);
         }},
        {"address_en", [&] {
             const QString value = QStringLiteral("Room %1, No. %2 %3 Road, %4").arg(100 + below(2000)).arg(1 + below(300))
                                       .arg(pick({"Zhongshan", "Renmin", "Jiefang"})).arg(pick({"Nanjing", "Xi'an", "Harbin"}));
             return QPair<QString, QString>("Home address: " + value + "\n", "address: " + value.left(value.indexOf(" Road") + 5));
         }},
        {"family_member", [&] {
             const QString value = pick({"父亲", "母亲", "配偶"}) + "：" + name();
             return QPair<QString, QString>(value + "。", value);
         }},
        {"emergency_contact", [&] {
             const QString value = "紧急联系人：" + name();
             return QPair<QString, QString>(value + "。", value);
         }},
        {"person_name", [&] { return said(pick({"姓名：", "申请人", "报销人 "}), name(), "，"); }},
        {"person_name_en", [&] { return said(QString(), "Name: " + pick({"Ma Ming", "Li Na", "Zhang Wei"}), ", "); }},
        {"emergency_contact_en", [&] { return said(QString(), "Emergency contact: " + pick({"Wang Fang", "Liu Yang"}), ". "); }},
        {"vehicle_plate", [&] { return said("车牌号", pick({"沪F·35G27", "苏EF40142", "粤B12345"}), "，"); }},
        {"marital_status", [&] { return said("婚姻状况：", pick({"已婚", "未婚", "离异"}), "，"); }},
        {"occupation_label", [&] { return said("岗位：", pick({"人力资源主管", "行政助理", "销售代表"}), "，"); }},
        {"relationship", [&] { return said("与" + name() + "系", pick({"夫妻关系", "母子关系", "父女关系"})); }},
        {"imei", [&] { return said("手机IMEI：", luhnNumber(QStringLiteral("86"), 15)); }},
        {"mac", [&] {
             QString mac;
             for (int i = 0; i < 6; ++i)
                 mac += (i ? ":" : "") + QStringLiteral("%1").arg(16 + below(200), 2, 16, QLatin1Char('0')).toUpper();
             return said("网卡MAC地址 ", mac);
         }},
        {"ipv4", [&] { return said("服务器地址 ", QStringLiteral("10.%1.%2.%3").arg(below(256)).arg(below(256)).arg(1 + below(254))); }},
        {"serial", [&] {
             const QString value = "C02" + pick({"XK", "QF", "ZT"}) + digits(3) + "ABJG" + digits(2);
             return QPair<QString, QString>("设备序列号：" + value + "。", value);
         }},
        {"body_measure", [&] {
             const QString value = below(2) ? QStringLiteral("身高：%1cm").arg(150 + below(40)) : QStringLiteral("体重：%1kg").arg(45 + below(50));
             return QPair<QString, QString>(value + "。", value);
         }},
        {"vital_signs", [&] {
             const QString value = QStringLiteral("血压：%1/%2mmHg").arg(100 + below(50)).arg(60 + below(30));
             return QPair<QString, QString>(value + "。", value);
         }},
        {"blood_type", [&] {
             const QString value = "血型：" + pick({"A型", "B型", "AB型", "O型"});
             return QPair<QString, QString>(value + "。", value);
         }},
        {"physiology", [&] { return said("目前处于", pick({"哺乳期", "更年期"})); }},
        {"education", [&] { return said("最高学历：", pick({"硕士研究生", "本科", "大专"})); }},
        {"occupation", [&] { return said("职业：", pick({"工程师", "教师", "律师"})); }},
        {"school", [&] {
             const QString value = "毕业院校：" + pick({"华东师范大学", "武汉理工大学", "深圳职业技术学院"});
             return QPair<QString, QString>(value + "。", value);
         }},
        {"student_id", [&] {
             const QString value = "A" + digits(8);
             return QPair<QString, QString>("工号：" + value + "。", value);
         }},
        {"disability_card", [&] { return said("残疾人证号：", idNumber(adultBirth()) + QChar('1' + below(7)) + QChar('1' + below(4))); }},
        {"special_identity", [&] { return said("家庭类型：", pick({"低收入家庭", "单亲家庭", "留守儿童"})); }},
        {"special_status", [&] { return said("该户为", pick({"五保户", "失独家庭", "零就业家庭"}), "，每月走访。"); }},
        {"disability_grade", [&] {
             // (a kind without a word of its own in 特殊群体身份: the word's rule
             // would report a graded kind under the display name they share)
             return said("持证人", "多重残疾" + pick({"一级", "二级", "三级"}), "。");
         }},
        // Rules for what people write besides the labels above: other
        // wordings, registers' cells, résumé lines and English forms.
        {"religious_rite", [&] { return said("她每月在堂区", pick({"领圣体", "告解"}), "。"); }},
        {"diagnosis_classes", [&] { return said("体检结论：", pick({"窦性心动过缓", "肺结节", "胆囊息肉"}), "，建议随诊。"); }},
        {"surgery", [&] { return said("入院后于全麻下", "行" + pick({"腹腔镜胆囊切除术", "全髋关节置换术", "腹股沟疝修补术"}), "，术后恢复可。"); }},
        {"relative_stated", [&] {
             const QString value = "受益人：" + name() + "，与被保险人关系：" + pick({"母亲", "配偶", "儿子"});
             return QPair<QString, QString>(value + "。", value);
         }},
        {"medication_more", [&] { return said("出院带药：", pick({"异烟肼", "秋水仙碱", "多奈哌齐"}), "片，每日一次。"); }},
        {"lodging_en", [&] { return said("We stayed at the ", pick({"Grand Hyatt Hotel", "Holiday Inn", "Jinjiang Inn"}), " for 3 nights. "); }},
        {"degree_history", [&] {
             const QString degree = pick({"本科", "硕士研究生", "大专"});
             return QPair<QString, QString>("2015.09-2019.06  华中科技大学  机械工程  " + degree + "\n", degree);
         }},
        {"occupation_phrase", [&] { return said("公司聘用该员工", "在" + pick({"行政专员", "质检员", "仓库管理员"}) + "岗位", "工作。"); }},
        {"occupation_history", [&] {
             const QString post = pick({"行政主管", "销售代表", "测试工程师"});
             return QPair<QString, QString>("2019.07-至今  成都某某科技有限公司  " + post + "\n", post);
         }},
        {"occupation_en", [&] {
             const QString value = "2017 – present  " + pick({"Project Manager", "Data Engineer", "Sales Director"});
             return QPair<QString, QString>(value + ", Huawei\n", value);
         }},
        {"school_history", [&] {
             const QString school = pick({"华中科技大学", "西南交通大学", "厦门大学"});
             return QPair<QString, QString>("2015.09-2019.06  " + school + "  机械工程  本科\n", school);
         }},
        {"student_card", [&] {
             const QString value = "2023" + digits(6);
             return QPair<QString, QString>("学生证号：" + value + "。", value);
         }},
        {"loan", [&] {
             const QString value = QStringLiteral("借款金额%1万元").arg(1 + below(300));
             return QPair<QString, QString>("申请" + value + "，期限3年。", value);
         }},
        {"income", [&] {
             const QString value = QStringLiteral("月薪：%1元").arg(5000 + below(30000));
             return QPair<QString, QString>(value + "。", value);
         }},
        {"assets", [&] {
             const QString value = QStringLiteral("存款：%1万元").arg(1 + below(500));
             return QPair<QString, QString>(value + "。", value);
         }},
        {"credit", [&] { return said("名下有一笔", pick({"逾期", "欠款"}), "未还。"); }},
        {"transaction", [&] {
             const QString value = QStringLiteral("交易金额：%1.%2元").arg(10 + below(9000)).arg(digits(2));
             return QPair<QString, QString>(value + "。", value);
         }},
        {"person_name_roles", [&] { return said(pick({"被告人", "乙方：", "户主 ", "审判长 "}), name(), "，"); }},
        {"person_name_chat", [&] {
             return said(QStringLiteral("2025-0%1-1%2 09:%3  ").arg(1 + below(9)).arg(below(10)).arg(10 + below(50)), name(), "：收到\n");
         }},
        {"person_name_listed", [&] {
             const QString value = name();
             return QPair<QString, QString>("参会人员：吴敏、" + value + "；议题：预算。", value);
         }},
        {"person_name_latin", [&] { return said(QString(), "Guest: " + pick({"WANG Fang", "LI Jianguo", "ZHAO Haiyan"}), ", "); }},
        {"family_member_forms", [&] {
             const QString value = "家庭成员：" + pick({"子", "女", "妻"}) + "：" + name();
             return QPair<QString, QString>(value + "，", value);
         }},
        {"address_estate", [&] {
             const QString value = pick({"北京市海淀区学府小区", "四川省成都市武侯区锦绣华庭"}) + QString::number(1 + below(30)) + "栋"
                                   + QString::number(1 + below(4)) + "单元" + QString::number(1 + below(30)) + "0" + QString::number(1 + below(4));
             return QPair<QString, QString>("家住" + value + "。", value);
         }},
        {"lodging_dates", [&] { return said("登记 ", QStringLiteral("入住日期：2025-0%1-1%2").arg(1 + below(9)).arg(below(10)), "，"); }},
        {"religious_name", [&] { return said("登记：", pick({"法名：妙音", "圣名：若瑟", "经名：优素福"}), "，"); }},
        {"religious_conversion", [&] { return said("两年前", pick({"归信基督", "已领洗"}), "。"); }},
        {"crime_named", [&] { return said("该人此前", "犯" + pick({"盗窃罪", "诈骗罪", "危险驾驶罪"}), "。"); }},
        {"detention", [&] { return said("该人曾", pick({"被拘留", "强制隔离戒毒"}), "十日。"); }},
        {"minor_age_column", [&] { return said("周岁：", QString::number(3 + below(10)), "，"); }},
        {"minor_class", [&] { return said("编入", pick({"一", "三", "五"}) + "年级" + QString::number(1 + below(9)) + "班", "。"); }},
        {"amount_forms", [&] { return said(QString(), QStringLiteral("交易金额：-%1.%2").arg(10 + below(9000)).arg(digits(2)), "，"); }},
        {"balance_forms", [&] { return said(QString(), QStringLiteral("账户余额：%1.%2").arg(100 + below(90000)).arg(digits(2)), "，"); }},
        {"income_forms", [&] { return said(QString(), QStringLiteral("期望薪资：%1K/月").arg(8 + below(30)), "，"); }},
        {"occupation_forms", [&] { return said("所学专业：", pick({"会计学", "临床医学", "土木工程"}), "，"); }},
        {"diagnosis_more", [&] { return said("上周查出来", pick({"带状疱疹", "子宫肌瘤", "肾结石"}), "，在吃药。"); }},
        {"education_en", [&] { return said(QString(), pick({"M.Sc. in Physics", "Bachelor of Accounting", "Ph.D. in Chemistry"}), ", 2014. "); }},
        {"school_en", [&] { return said("Graduated from ", pick({"Tongji University", "University of Nottingham"}), " in 2012. "); }},
        {"temperature", [&] { return said(QString(), QStringLiteral("体温：3%1.%2℃").arg(6 + below(3)).arg(below(10)), "，"); }},
        {"loan_forms", [&] { return said(QString(), QStringLiteral("申请金额：人民币%1万元").arg(5 + below(90)), "，"); }},
        {"checkup_results", [&] {
             return said(QString(), QStringLiteral("空腹血糖：%1.%2mmol/L").arg(4 + below(5)).arg(below(10)), "，");
         }},
    };
    const Maker maker = makers.value(rule);
    if (!maker)
        return QString();
    const QPair<QString, QString> made = maker();
    items->append({rule, made.second});
    return made.first;
}

QStringList PrivacySamples::lookAlikes()
{
    QStringList text;
    // Identity numbers: wrong check character, impossible date, unknown province.
    QString good = idNumber(adultBirth());
    const QChar wrong = good.at(17) == QLatin1Char('1') ? QLatin1Char('2') : QLatin1Char('1');
    text << "身份证号：" + good.left(17) + wrong + "。";
    QString date = QStringLiteral("11010819900230") + digits(3);
    text << "身份证号：" + date + idCheck(date) + "。";
    QString region = QStringLiteral("00") + good.mid(2, 15);
    text << "身份证号：" + region + idCheck(region) + "。";
    // Mobile numbers with prefixes no carrier uses.
    text << "手机15412345678，随时联系。" << "手机14012345678，随时联系。";
    // A fixed-line number without a context word, one with a subscriber number starting with 1.
    text << "编号 010-62345678 已登记。" << "办公电话：010-12345678。";
    // E-mail addresses that are not.
    text << "邮箱 a..b@example.com 无效。" << "邮箱 user@-bad.com 无效。";
    // A card number failing the Luhn check.
    QString card = luhnNumber(QStringLiteral("6222"), 19);
    card[18] = QChar('0' + (card.at(18).digitValue() + 1) % 10);
    text << "银行卡号：" + card + "。";
    // Passport and permit numbers without their context word.
    text << "编号E12345678已归档。" << "型号C12345678已停产。";
    // A credit code with a wrong check character.
    QString uscc = usccWithCheck(QStringLiteral("91110108MA01ABCDE"));
    uscc[17] = uscc.at(17) == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    text << "统一社会信用代码：" + uscc + "。";
    // An IMEI failing the Luhn check.
    QString imei = luhnNumber(QStringLiteral("86"), 15);
    imei[14] = QChar('0' + (imei.at(14).digitValue() + 1) % 10);
    text << "手机IMEI：" + imei + "。";
    // MAC addresses: all zero, mixed separators.
    text << "网卡MAC地址 00:00:00:00:00:00。" << "网卡MAC地址 3C:22-FB:1A:2B:3C。";
    // Loopback, documentation ranges, an octet above 255, a version number.
    text << "服务器地址 127.0.0.1。" << "服务器地址 192.0.2.15。" << "服务器地址 198.51.100.7。"
         << "服务器地址 203.0.113.9。" << "服务器地址 256.10.10.10。" << "版本 1.2.3.4.5 已发布。";
    // Coordinates out of range.
    text << "GPS定位 95.123456, 190.123456。";
    // An age of fourteen or more; a password without an account.
    text << "孩子今年15岁。" << "密码：Zz123456。";
    // A disability card with an unknown category; a serial glued to its label.
    text << "残疾人证号：" + good + "83。" << "型号SNAPSHOT12345678。";
    // A flight number without context; an address without a house number.
    text << "型号CA1234已停产。" << "家住北京市海淀区中关村大街。";
    return text;
}

QString PrivacySamples::corpus(int perRule, QList<Item> *items)
{
    QStringList order;
    for (int i = 0; i < perRule; ++i)
        order += rules();
    // Shuffle with the seeded generator.
    for (int i = order.size() - 1; i > 0; --i)
        order.swapItemsAt(i, below(i + 1));
    QString text;
    for (const QString &rule : order) {
        text += filler();
        text += valid(rule, items);
        text += filler();
        text += QLatin1Char('\n');
    }
    return text;
}
