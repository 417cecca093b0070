// The labelled privacy corpus: people, the values they write and the
// documents they write them in. Nothing here reads the service's rule table:
// documents are written the way offices write them, and the labels say what
// in them is personal data and what only looks like it.
#include "corpusgenerator.h"

#include "checkdigits.h"
#include "corpuscategories.h"
#include "sampledocuments.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTextCodec>

namespace {

using namespace CorpusCategories;

QStringList words(const char *spaced)
{
    return QString::fromUtf8(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Surnames with their pinyin, the common ones first and more often drawn.
const QStringList Surnames = words("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 谢 宋 唐 许 韩 冯 邓 曹 彭 曾 肖 田 董 袁 潘 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈 姚 卢 姜 崔 钟 谭 陆 汪 范 金 石 廖 贾 夏 韦 方 白 邹 孟 熊 秦 邱 江 尹 薛 段 雷 侯 龙 史 陶 黎 贺 顾 毛 郝 龚 邵 万 钱 严 覃 武 戴 莫 孔 向 汤 欧阳 司马 诸葛 上官 慕容 东方 皇甫 令狐");
const QStringList SurnamePinyin = words("wang li zhang liu chen yang huang zhao wu zhou xu sun ma zhu hu guo he gao lin luo zheng liang xie song tang xu han feng deng cao peng zeng xiao tian dong yuan pan jiang cai yu du ye cheng su wei lv ding ren shen yao lu jiang cui zhong tan lu wang fan jin shi liao jia xia wei fang bai zou meng xiong qin qiu jiang yin xue duan lei hou long shi tao li he gu mao hao gong shao wan qian yan qin wu dai mo kong xiang tang ouyang sima zhuge shangguan murong dongfang huangfu linghu");
const QStringList GivenMale = words("伟 强 磊 军 洋 勇 杰 涛 明 超 刚 平 辉 鹏 华 飞 鑫 波 斌 宇 浩 凯 健 俊 帆 帅 旭 宁 龙 林 建国 建华 志强 晓东 浩然 宇轩 子轩 俊杰 文博 思远 国栋 海涛 振华 家豪 明轩 天佑 嘉懿 一鸣 立新 卫东");
const QStringList GivenMalePinyin = words("wei qiang lei jun yang yong jie tao ming chao gang ping hui peng hua fei xin bo bin yu hao kai jian jun fan shuai xu ning long lin jianguo jianhua zhiqiang xiaodong haoran yuxuan zixuan junjie wenbo siyuan guodong haitao zhenhua jiahao mingxuan tianyou jiayi yiming lixin weidong");
const QStringList GivenFemale = words("芳 娜 敏 静 丽 艳 娟 霞 秀英 桂英 玉兰 婷 琳 颖 露 薇 雪 倩 洁 欣 丹 萍 红 玲 燕 晶 梅 莉 佳 悦 子涵 欣怡 梓萱 一诺 雨桐 嘉怡 思琪 诗涵 海燕 晓燕 春梅 丽娟 雅婷 梦洁 若曦 可馨 紫涵 佳怡 语嫣 静怡");
const QStringList GivenFemalePinyin = words("fang na min jing li yan juan xia xiuying guiying yulan ting lin ying lu wei xue qian jie xin dan ping hong ling yan jing mei li jia yue zihan xinyi zixuan yinuo yutong jiayi siqi shihan haiyan xiaoyan chunmei lijuan yating mengjie ruoxi kexin zihan jiayi yuyan jingyi");

const QStringList Roads = words("建国路 中山路 人民路 解放大道 科技园路 长江路 南京东路 文化路 学院路 光谷大道 天府大道 延安西路 北京路 和平街 幸福路 团结路 东风路 青年路 滨江路 望京街");
const QStringList Estates = words("阳光花园 锦绣家园 金色港湾 翠湖小区 幸福里 东方明珠苑 碧桂园 万科城 保利花园 紫荆公寓 和谐家园 南湖小区");
const QStringList Degrees = words("高中 中专 大专 本科 硕士研究生 博士研究生 大学本科 研究生");
const QStringList Schools = words("华中科技大学 武汉大学 四川大学 浙江大学 南京大学 复旦大学 中山大学 西安交通大学 山东大学 湖南大学 重庆大学 厦门大学 郑州大学 云南大学 北京交通大学 上海财经大学 深圳职业技术学院 武汉职业技术学院 成都理工大学 江汉大学");
const QStringList Jobs = words("财务经理 软件工程师 销售代表 行政专员 人力资源主管 会计 出纳 护士 主治医师 小学教师 项目经理 采购员 司机 仓库管理员 客服专员 产品经理 测试工程师 法务专员 审计师 销售总监");
const QStringList Departments = words("财务部 研发部 销售部 行政部 人力资源部 市场部 客服中心 采购部 法务部 审计部");
const QStringList Banks = words("中国工商银行 中国建设银行 中国农业银行 招商银行 中国银行 交通银行 兴业银行 浦发银行");
const QStringList CardPrefixes = words("622202 621700 622848 621483 622588 621661 622262 622908 625965 621226 622700 623668");
const QStringList Diagnoses = words("2型糖尿病 原发性高血压 肺腺癌 甲状腺功能亢进症 腰椎间盘突出症 冠状动脉粥样硬化性心脏病 慢性乙型病毒性肝炎 抑郁症 支气管哮喘 类风湿关节炎 慢性肾功能不全 乳腺癌 胃溃疡 脑梗死 帕金森病 双相情感障碍 痛风 系统性红斑狼疮 慢性阻塞性肺疾病 焦虑症 癫痫 结直肠癌 肝硬化 高脂血症");
const QStringList Medicines = words("二甲双胍缓释片 苯磺酸氨氯地平片 阿托伐他汀钙片 碳酸锂缓释片 甲巯咪唑片 恩替卡韦分散片 盐酸舍曲林片 布地奈德福莫特罗吸入剂 阿司匹林肠溶片 左甲状腺素钠片 奥美拉唑肠溶胶囊 吉非替尼片 他莫昔芬片 硝苯地平控释片 门冬胰岛素注射液 丙戊酸钠缓释片 非布司他片 甲氨蝶呤片 氯沙坦钾片 帕罗西汀片");
const QStringList TestResults = words("乙肝表面抗原阳性 糖化血红蛋白8.2% 胸部CT示右肺上叶磨玻璃结节 尿蛋白++ HIV抗体初筛阳性 梅毒螺旋体抗体阳性 谷丙转氨酶升高 幽门螺杆菌阳性 肿瘤标志物CEA升高 甲功五项FT4升高 空腹血糖9.6mmol/L 血肌酐升高");
const QStringList Hotels = words("汉庭酒店 如家快捷酒店 全季酒店 亚朵酒店 锦江之星 希尔顿欢朋酒店 维也纳酒店 桔子水晶酒店 7天连锁酒店");
const QStringList Airlines = words("CA MU CZ HU 3U ZH MF FM SC");
const QStringList PlateProvinces = words("京 沪 粤 鄂 川 浙 苏 鲁 陕 渝 津 辽 湘 闽 冀 豫 云");
const QStringList BloodTypes = words("A型 B型 O型 AB型 A型Rh阳性 O型Rh阴性");
const QStringList Relatives = words("父亲 母亲 配偶 妻子 丈夫 儿子 女儿 哥哥 姐姐 弟弟 妹妹");
const QStringList Marital = words("已婚 未婚 离异 丧偶 已婚已育");
const QStringList SpecialGroups = words("低保户 建档立卡贫困户 退役军人 孤儿 留守儿童 残疾人 特困供养人员 烈士家属 失独家庭 重度残疾");
const QStringList Disabilities = words("肢体残疾二级 视力残疾一级 听力残疾三级 智力残疾二级 精神残疾三级 言语残疾四级");
const QStringList Grades = words("一年级 二年级 三年级 四年级 五年级 六年级");

// A city district with its region code, area code and centre.
struct RegionData
{
    const char *code;
    const char *province; // empty for the municipalities
    const char *city;
    const char *district;
    const char *areaCode;
    double lat;
    double lng;
};
const RegionData Regions[] = {
    {"110105", "", "北京市", "朝阳区", "010", 39.9219, 116.4431}, {"110108", "", "北京市", "海淀区", "010", 39.9599, 116.2981},
    {"310104", "", "上海市", "徐汇区", "021", 31.1885, 121.4365}, {"310115", "", "上海市", "浦东新区", "021", 31.2215, 121.5447},
    {"440106", "广东省", "广州市", "天河区", "020", 23.1246, 113.3612}, {"440305", "广东省", "深圳市", "南山区", "0755", 22.5333, 113.9304},
    {"420111", "湖北省", "武汉市", "洪山区", "027", 30.4999, 114.3430}, {"510107", "四川省", "成都市", "武侯区", "028", 30.6423, 104.0433},
    {"330106", "浙江省", "杭州市", "西湖区", "0571", 30.2594, 120.1300}, {"320102", "江苏省", "南京市", "玄武区", "025", 32.0486, 118.7977},
    {"370202", "山东省", "青岛市", "市南区", "0532", 36.0669, 120.3826}, {"610113", "陕西省", "西安市", "雁塔区", "029", 34.2136, 108.9484},
    {"500103", "", "重庆市", "渝中区", "023", 29.5528, 106.5689}, {"120101", "", "天津市", "和平区", "022", 39.1172, 117.1953},
    {"210102", "辽宁省", "沈阳市", "和平区", "024", 41.7888, 123.4013}, {"430104", "湖南省", "长沙市", "岳麓区", "0731", 28.2355, 112.9310},
    {"350203", "福建省", "厦门市", "思明区", "0592", 24.4455, 118.0824}, {"410105", "河南省", "郑州市", "金水区", "0371", 34.8003, 113.6607},
};
constexpr int RegionCount = sizeof(Regions) / sizeof(Regions[0]);

QString latin(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

struct CorpusGenerator::Region
{
    QString code, province, city, district, areaCode;
    double lat, lng;
};

struct CorpusGenerator::Person
{
    QString name;
    QString surname;
    QString pinyin; // "Zhang Wei"
    QString handle; // "zhangwei"
    bool male = true;
    QDate birth;
    Region region;
    QString id;
    QString mobile;
    QString email;
    QString address;
    QString card;
    QString bank;
    QString degree;
    QString school;
    QString job;
    QString department;
    int salary = 0;
    int age() const
    {
        const QDate today = CorpusGenerator::writtenOn();
        int years = today.year() - birth.year();
        if (today < birth.addYears(years))
            --years;
        return years;
    }
};

CorpusGenerator::CorpusGenerator(quint64 seed)
    : SeededRandom(seed)
{
}

CorpusGenerator::Person CorpusGenerator::person(bool minor)
{
    Person p;
    p.male = chance(50);
    // The common surnames much more often than the rare and compound ones.
    const int s = chance(92) ? below(40) : below(Surnames.size());
    const QStringList &given = p.male ? GivenMale : GivenFemale;
    const QStringList &givenPinyin = p.male ? GivenMalePinyin : GivenFemalePinyin;
    const int g = below(given.size());
    p.surname = Surnames.at(s);
    p.name = p.surname + given.at(g);
    QString sp = SurnamePinyin.at(s), gp = givenPinyin.at(g);
    p.pinyin = sp.left(1).toUpper() + sp.mid(1) + QLatin1Char(' ') + gp.left(1).toUpper() + gp.mid(1);
    p.handle = sp + (chance(50) ? QStringLiteral(".") : QString()) + gp + (chance(40) ? QString::number(below(99) + 1) : QString());
    const RegionData &r = Regions[below(RegionCount)];
    p.region = {latin(r.code), latin(r.province), latin(r.city), latin(r.district), latin(r.areaCode), r.lat, r.lng};
    if (minor)
        p.birth = QDate(2014 + below(7), 1 + below(12), 1 + below(28));
    else
        p.birth = QDate(1962 + below(40), 1 + below(12), 1 + below(28));
    p.id = idNumber(p.region.code, p.birth, p.male);
    p.mobile = mobile();
    static const QStringList domains = words("163.com 126.com qq.com sina.com foxmail.com gmail.com outlook.com hotmail.com");
    p.email = p.handle + QLatin1Char('@') + pick(domains);
    if (p.email.contains(QLatin1String("@qq.com")) && chance(50))
        p.email = QString::number(10000000 + below(900000000)) + QStringLiteral("@qq.com");
    p.address = address(p.region);
    p.card = bankCard();
    p.bank = pick(Banks);
    p.degree = pick(Degrees);
    p.school = pick(Schools);
    p.job = pick(Jobs);
    p.department = pick(Departments);
    p.salary = (4 + below(30)) * 500;
    return p;
}

QString CorpusGenerator::idNumber(const QString &region, const QDate &birth, bool male)
{
    QString first17 = region + birth.toString(QStringLiteral("yyyyMMdd")) + digits(2);
    first17 += QChar('0' + (male ? 1 + 2 * below(5) : 2 * below(5)));
    return first17 + CheckDigits::residentId(first17);
}

QString CorpusGenerator::mobile()
{
    static const QStringList prefixes = words("130 131 132 133 134 135 136 137 138 139 150 151 152 153 155 156 157 158 159 166 177 180 181 182 183 185 186 187 188 189 191 198 199 147");
    return pick(prefixes) + digits(8);
}

QString CorpusGenerator::writtenMobile(const QString &m, bool inParagraph)
{
    const int style = below(100);
    if (style < 55)
        return m;
    if (style < 67)
        return m.left(3) + QLatin1Char('-') + m.mid(3, 4) + QLatin1Char('-') + m.mid(7);
    if (style < 76)
        return m.left(3) + QLatin1Char(' ') + m.mid(3, 4) + QLatin1Char(' ') + m.mid(7);
    if (style < 82)
        return QStringLiteral("+86-") + m.left(3) + QLatin1Char('-') + m.mid(3, 4) + QLatin1Char('-') + m.mid(7);
    if (style < 87)
        return QStringLiteral("+86 ") + m;
    if (style < 91)
        return QStringLiteral("86") + m;
    if (style < 96 || !inParagraph)
        return fullWidth(m);
    return breakInside(m);
}

QString CorpusGenerator::writtenId(const QString &id, bool inParagraph)
{
    const int style = below(100);
    if (style < 72)
        return id;
    if (style < 82)
        return id.left(6) + QLatin1Char(' ') + id.mid(6, 8) + QLatin1Char(' ') + id.mid(14);
    if (style < 87 && id.endsWith(QLatin1Char('X')))
        return id.left(17) + QLatin1Char('x');
    if (style < 92 || !inParagraph)
        return fullWidth(id);
    return breakInside(id);
}

QString CorpusGenerator::fixedLine(const Region &region)
{
    const QString number = QChar('2' + below(7)) + digits(region.areaCode.size() == 3 ? 7 : 6 + below(2));
    switch (below(8)) {
    case 0:
        return QLatin1Char('(') + region.areaCode + QLatin1Char(')') + number;
    case 1:
        return QStringLiteral("（") + region.areaCode + QStringLiteral("）") + number;
    case 2:
        return region.areaCode + QLatin1Char(' ') + number.left(4) + QLatin1Char(' ') + number.mid(4);
    case 3:
        return region.areaCode + number;
    default:
        return region.areaCode + QLatin1Char('-') + number;
    }
}

QString CorpusGenerator::bankCard()
{
    const QString payload = pick(CardPrefixes) + digits(chance(60) ? 12 : 9);
    return payload + CheckDigits::luhn(payload);
}

QString CorpusGenerator::writtenCard(const QString &card)
{
    if (chance(30)) {
        QString spaced;
        for (int i = 0; i < card.size(); i += 4)
            spaced += (i ? QStringLiteral(" ") : QString()) + card.mid(i, 4);
        return spaced;
    }
    return card;
}

QString CorpusGenerator::imei()
{
    static const QStringList tacs = words("35 86 99 01");
    const QString payload = pick(tacs) + digits(12);
    return payload + CheckDigits::luhn(payload);
}

QString CorpusGenerator::mac()
{
    static const char hex[] = "0123456789ABCDEF";
    const QString separator = chance(70) ? QStringLiteral(":") : QStringLiteral("-");
    QStringList pairs;
    for (int i = 0; i < 6; ++i)
        pairs.append(QString(QLatin1Char(hex[below(16)])) + QLatin1Char(hex[below(16)]));
    const QString text = pairs.join(separator);
    return chance(30) ? text.toLower() : text;
}

QString CorpusGenerator::privateIp()
{
    switch (below(3)) {
    case 0:
        return QStringLiteral("192.168.%1.%2").arg(below(10)).arg(2 + below(250));
    case 1:
        return QStringLiteral("10.%1.%2.%3").arg(below(40)).arg(below(255)).arg(2 + below(250));
    default:
        return QStringLiteral("172.%1.%2.%3").arg(16 + below(16)).arg(below(255)).arg(2 + below(250));
    }
}

QString CorpusGenerator::serialNumber()
{
    static const char alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789";
    static const QStringList prefixes = words("C02 F9F PF2 SN8 5CD R9N DMP H4T");
    QString s = pick(prefixes);
    while (s.size() < 12)
        s += QLatin1Char(alphabet[below(34)]);
    return s;
}

QString CorpusGenerator::creditCode()
{
    static const char alphabet[] = "0123456789ABCDEFGHJKLMNPQRTUWXY";
    const RegionData &r = Regions[below(RegionCount)];
    QString org;
    for (int i = 0; i < 8; ++i)
        org += QLatin1Char(alphabet[below(chance(70) ? 10 : 31)]);
    org += CheckDigits::organisationCode(org);
    const QString first17 = QStringLiteral("91") + latin(r.code) + org;
    return first17 + CheckDigits::socialCreditCode(first17);
}

QString CorpusGenerator::plate()
{
    static const char letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
    static const char chars[] = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789";
    QString p = pick(PlateProvinces) + QLatin1Char(letters[below(8)]);
    const bool electric = chance(30);
    const QString dot = chance(40) ? QStringLiteral("·") : QString();
    QString rest;
    if (electric) {
        rest = QLatin1Char(chance(50) ? 'D' : 'F') + QString(QLatin1Char(chars[below(34)])) + digits(4);
    } else {
        for (int i = 0; i < 5; ++i)
            rest += QLatin1Char(i < 2 || chance(30) ? chars[below(34)] : char('0' + below(10)));
    }
    return p + dot + rest;
}

QString CorpusGenerator::flight()
{
    return pick(Airlines) + QString::number(1000 + below(9000)).left(chance(30) ? 3 : 4);
}

QString CorpusGenerator::train()
{
    static const QStringList kinds = words("G G G D D K Z T C");
    return pick(kinds) + QString::number(1 + below(chance(60) ? 2000 : 600));
}

QString CorpusGenerator::address(const Region &region)
{
    QString a;
    if (!region.province.isEmpty() && chance(50))
        a += region.province;
    a += region.city + region.district + pick(Roads) + QString::number(1 + below(300)) + QStringLiteral("号");
    switch (below(3)) {
    case 0:
        a += pick(Estates) + QStringLiteral("%1栋%2单元%3室").arg(1 + below(30)).arg(1 + below(4)).arg((1 + below(30)) * 100 + 1 + below(4));
        break;
    case 1:
        a += QStringLiteral("%1号楼%2室").arg(1 + below(20)).arg((1 + below(25)) * 100 + 1 + below(6));
        break;
    default:
        a += QStringLiteral("%1单元%2室").arg(1 + below(6)).arg((1 + below(18)) * 100 + 1 + below(4));
        break;
    }
    return a;
}

QString CorpusGenerator::coordinates(const Region &region, int style)
{
    const double lat = region.lat + (below(20000) - 10000) / 100000.0;
    const double lng = region.lng + (below(20000) - 10000) / 100000.0;
    auto dms = [](double v) {
        const int d = int(v);
        const double m = (v - d) * 60;
        return QStringLiteral("%1°%2′%3″").arg(d).arg(int(m)).arg(int((m - int(m)) * 60));
    };
    switch (style) {
    case 0:
        return QStringLiteral("%1,%2").arg(lng, 0, 'f', 6).arg(lat, 0, 'f', 6);
    case 1:
        return QStringLiteral("%1, %2").arg(lat, 0, 'f', 6).arg(lng, 0, 'f', 6);
    case 2:
        return QStringLiteral("lat=%1 lng=%2").arg(lat, 0, 'f', 4).arg(lng, 0, 'f', 4);
    case 3:
        return QStringLiteral("北纬%1度，东经%2度").arg(lat, 0, 'f', 4).arg(lng, 0, 'f', 4);
    case 4:
        return QStringLiteral("N%1, E%2").arg(lat, 0, 'f', 5).arg(lng, 0, 'f', 5);
    default:
        return dms(lat) + QStringLiteral("N ") + dms(lng) + QStringLiteral("E");
    }
}

QString CorpusGenerator::money(int yuan, int style)
{
    switch (style) {
    case 0:
        return QStringLiteral("%1元").arg(yuan);
    case 1:
        return QLocale(QLocale::English).toString(yuan) + QStringLiteral("元");
    case 2:
        return QStringLiteral("约%1万元").arg(yuan / 10000.0, 0, 'f', 1);
    case 3:
        return QStringLiteral("%1万余元").arg(yuan / 10000);
    default:
        return QStringLiteral("人民币%1元").arg(QLocale(QLocale::English).toString(yuan));
    }
}

QString CorpusGenerator::breakInside(const QString &value)
{
    const int at = 3 + below(qMax(1, value.size() - 6));
    return value.left(at) + QLatin1Char('\n') + value.mid(at);
}

QString CorpusGenerator::fullWidth(const QString &value)
{
    QString out = value;
    for (QChar &c : out) {
        if (c.unicode() >= '0' && c.unicode() <= '9')
            c = QChar(0xFF10 + (c.unicode() - '0'));
        else if (c == QLatin1Char('X'))
            c = QChar(0xFF38);
    }
    return out;
}

CorpusDocument CorpusGenerator::onboardingForm(bool asTable)
{
    const Person p = person();
    const Person contact = person();
    const QString relation = pick(contact.male ? words("配偶 父亲 哥哥 弟弟 朋友") : words("配偶 母亲 姐姐 妹妹 朋友"));
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("员工入职登记表"));
    doc.paragraph(QStringLiteral("填表日期：2025年%1月%2日    部门：%3").arg(1 + below(12)).arg(1 + below(28)).arg(p.department));
    const QString religion = chance(45) ? pick(words("佛教 基督教 天主教 伊斯兰教 道教 信仰基督教 佛教（居士）")) : QStringLiteral("无");
    const QString history = chance(35) ? pick(Diagnoses) : QStringLiteral("无");
    const QString height = QStringLiteral("%1cm").arg(150 + below(40));
    const QString weight = QStringLiteral("%1kg").arg(45 + below(45));
    const QString marital = pick(Marital);
    const QString phone = writtenMobile(p.mobile, !asTable);
    const QString id = writtenId(p.id, !asTable);
    const QString contactPhone = writtenMobile(contact.mobile, !asTable);
    const QString blood = pick(BloodTypes);
    const QString card = writtenCard(p.card);
    struct Field
    {
        QString label;
        QString value;
        QString category; // empty: not personal data worth a label
    };
    QList<Field> fields{{QStringLiteral("姓名"), p.name, Identity},
                        {QStringLiteral("性别"), p.male ? QStringLiteral("男") : QStringLiteral("女"), QString()},
                        {QStringLiteral("出生日期"), p.birth.toString(QStringLiteral("yyyy年M月d日")), QString()},
                        {QStringLiteral("身份证号码"), id, Identity},
                        {QStringLiteral("民族"), QStringLiteral("汉族"), QString()},
                        {QStringLiteral("婚姻状况"), marital, Relations},
                        {QStringLiteral("手机号码"), phone, Identity},
                        {QStringLiteral("电子邮箱"), p.email, Identity},
                        {QStringLiteral("户籍地址"), address(p.region), Location},
                        {QStringLiteral("现居住地址"), p.address, Location},
                        {QStringLiteral("最高学历"), p.degree, Career},
                        {QStringLiteral("毕业院校"), p.school, Career},
                        {QStringLiteral("应聘岗位"), p.job, Career},
                        {QStringLiteral("宗教信仰"), religion, religion == QStringLiteral("无") ? QString() : Religion},
                        {QStringLiteral("血型"), blood, Physical},
                        {QStringLiteral("身高"), height, Physical},
                        {QStringLiteral("体重"), weight, Physical},
                        {QStringLiteral("既往病史"), history, history == QStringLiteral("无") ? QString() : Medical},
                        {QStringLiteral("紧急联系人"), contact.name, Relations},
                        {QStringLiteral("与本人关系"), relation, QString()},
                        {QStringLiteral("联系人电话"), contactPhone, Identity},
                        {QStringLiteral("工资卡开户行"), p.bank, QString()},
                        {QStringLiteral("工资卡号"), card, Account}};
    if (chance(20))
        fields.append({QStringLiteral("残疾人证号"), p.id + QString::number(1 + below(7)) + QString::number(1 + below(4)), Special});
    if (chance(25))
        fields.append({QStringLiteral("家庭类别"), pick(SpecialGroups), Special});
    if (asTable) {
        doc.table({QStringLiteral("项目"), QStringLiteral("内容"), QStringLiteral("项目"), QStringLiteral("内容")});
        for (int i = 0; i < fields.size(); i += 2) {
            QList<CorpusDocument::Cell> row;
            for (int k = i; k < qMin(i + 2, fields.size()); ++k) {
                row.append(CorpusDocument::plain(fields.at(k).label));
                row.append(fields.at(k).category.isEmpty() ? CorpusDocument::plain(fields.at(k).value)
                                                           : CorpusDocument::itemCell(fields.at(k).category, fields.at(k).value));
            }
            doc.row(row);
            for (int k = i; k < qMin(i + 2, fields.size()); ++k) {
                if (fields.at(k).value == contact.name)
                    doc.alsoLabel(Identity, contact.name);
            }
        }
    } else {
        for (int i = 0; i < fields.size(); ++i) {
            doc.text(fields.at(i).label + (chance(80) ? QStringLiteral("：") : QStringLiteral(": ")));
            if (fields.at(i).category.isEmpty())
                doc.text(fields.at(i).value);
            else
                doc.item(fields.at(i).category, fields.at(i).value);
            if (fields.at(i).value == contact.name)
                doc.alsoLabel(Identity, contact.name);
            if (i % 2 == 0 && chance(60))
                doc.text(QStringLiteral("    "));
            else
                doc.endParagraph();
        }
        doc.endParagraph();
    }
    doc.text(QStringLiteral("家庭主要成员："));
    doc.endParagraph();
    const Person spouse = person();
    const QString spouseWord = p.male ? QStringLiteral("妻子") : QStringLiteral("丈夫");
    if (marital.startsWith(QStringLiteral("已婚"))) {
        doc.text(chance(50) ? QStringLiteral("配偶：") : spouseWord + QStringLiteral(" "));
        doc.item(Relations, spouse.name);
        doc.alsoLabel(Identity, spouse.name);
        doc.text(QStringLiteral("，工作单位：") + pick(words("市第一人民医院 某银行支行 区教育局 自由职业")));
        doc.endParagraph();
    }
    doc.text(QStringLiteral("父亲："));
    const QString father = p.surname + pick(GivenMale);
    doc.item(Relations, father);
    doc.alsoLabel(Identity, father);
    doc.text(QStringLiteral("，退休"));
    doc.endParagraph();
    doc.text(QStringLiteral("本人承诺以上信息真实有效。签字：________  表单编号："));
    doc.lookAlike(Identity, QStringLiteral("HR2025%1").arg(digits(10)), QStringLiteral("form number"));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::staffRoster(bool numberCells)
{
    CorpusDocument doc;
    const QString department = pick(Departments);
    doc.paragraph(QStringLiteral("%1员工花名册（2025年%2月）").arg(department).arg(1 + below(12)));
    // Not every roster keeps every column.
    const bool withCard = chance(60), withContact = chance(60), withSalary = chance(70), withEducation = chance(60);
    QStringList header{QStringLiteral("序号"), QStringLiteral("工号"), QStringLiteral("姓名"), QStringLiteral("性别"),
                       QStringLiteral("职务"), QStringLiteral("手机号码"), QStringLiteral("身份证号码"), QStringLiteral("入职日期")};
    if (withEducation)
        header << QStringLiteral("学历");
    if (withSalary)
        header << QStringLiteral("月薪（元）");
    if (withCard)
        header << QStringLiteral("工资卡号");
    if (withContact)
        header << QStringLiteral("紧急联系人") << QStringLiteral("紧急联系电话");
    doc.table(header);
    const int rows = 6 + below(7);
    const int firstNumber = 1000 + below(8000);
    for (int i = 0; i < rows; ++i) {
        const Person p = person();
        QList<CorpusDocument::Cell> row{CorpusDocument::plain(QString::number(i + 1)),
                                        CorpusDocument::itemCell(Career, QString::number(firstNumber + i * 3), numberCells),
                                        CorpusDocument::itemCell(Identity, p.name),
                                        CorpusDocument::plain(p.male ? QStringLiteral("男") : QStringLiteral("女")),
                                        CorpusDocument::itemCell(Career, p.job),
                                        CorpusDocument::itemCell(Identity, numberCells ? p.mobile : writtenMobile(p.mobile, false), numberCells),
                                        CorpusDocument::itemCell(Identity, numberCells ? p.id : writtenId(p.id, false)),
                                        CorpusDocument::plain(QStringLiteral("20%1-%2-%3").arg(10 + below(15)).arg(1 + below(12), 2, 10, QLatin1Char('0')).arg(1 + below(28), 2, 10, QLatin1Char('0')))};
        if (withEducation)
            row << CorpusDocument::itemCell(Career, p.degree);
        if (withSalary)
            row << CorpusDocument::itemCell(Finance, numberCells ? QString::number(p.salary) : money(p.salary, below(2)), numberCells);
        if (withCard)
            row << CorpusDocument::itemCell(Account, p.card);
        if (withContact) {
            const Person c = person();
            row << CorpusDocument::itemCell(Relations, c.name) << CorpusDocument::itemCell(Identity, numberCells ? c.mobile : writtenMobile(c.mobile, false), numberCells);
        }
        doc.row(row);
        if (withContact)
            doc.labelCell(row.size() - 2, Identity);
    }
    const QString maker = person().name;
    const QString checker = person().name;
    doc.text(QStringLiteral("制表人：")).item(Identity, maker).text(QStringLiteral("    审核：")).item(Identity, checker);
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::expenseClaim()
{
    const Person p = person();
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("差旅费报销单"));
    doc.text(QStringLiteral("报销人：")).item(Identity, p.name).text(QStringLiteral("    工号：")).item(Career, QStringLiteral("E%1").arg(digits(5)));
    doc.text(QStringLiteral("    部门：") + p.department);
    doc.endParagraph();
    const Region &to = person().region;
    doc.text(QStringLiteral("出差事由：赴%1参加%2").arg(to.city, pick(words("项目验收会 客户培训 年度供应商大会 技术交流会"))));
    doc.endParagraph();
    doc.table({QStringLiteral("日期"), QStringLiteral("行程"), QStringLiteral("交通/住宿"), QStringLiteral("金额（元）"), QStringLiteral("备注")});
    const int day = 1 + below(20);
    const int month = 1 + below(12);
    QString route = p.region.city + QStringLiteral("—") + to.city;
    if (chance(60)) {
        const QString f = flight();
        doc.row({CorpusDocument::plain(QStringLiteral("%1月%2日").arg(month).arg(day)), CorpusDocument::plain(route),
                 {QStringLiteral("航班 ") + f + QStringLiteral(" 经济舱"), Travel, true, false, QString(), f},
                 CorpusDocument::plain(QString::number(600 + below(1800))), CorpusDocument::plain(QStringLiteral("电子客票行程单"))});
    } else {
        const QString t = train();
        doc.row({CorpusDocument::plain(QStringLiteral("%1月%2日").arg(month).arg(day)), CorpusDocument::plain(route),
                 {t + QStringLiteral("次 二等座"), Travel, true, false, QString(), t},
                 CorpusDocument::plain(QString::number(150 + below(700))), CorpusDocument::plain(QString())});
    }
    const QString hotel = pick(Hotels) + QStringLiteral("（%1%2店）").arg(to.district, pick(Roads));
    doc.row({CorpusDocument::plain(QStringLiteral("%1月%2日—%3日").arg(month).arg(day).arg(day + 2)),
             CorpusDocument::plain(to.city), {QStringLiteral("入住") + hotel + QStringLiteral("2晚"), Travel, true, false, QString(), QStringLiteral("入住") + hotel},
             CorpusDocument::plain(QString::number(300 + below(900))), CorpusDocument::plain(QStringLiteral("含早"))});
    const QString back = train();
    doc.row({CorpusDocument::plain(QStringLiteral("%1月%2日").arg(month).arg(day + 2)), CorpusDocument::plain(to.city + QStringLiteral("—") + p.region.city),
             {back + QStringLiteral("次"), Travel, true, false, QString(), back},
             CorpusDocument::plain(QString::number(150 + below(700))), CorpusDocument::plain(QString())});
    doc.text(QStringLiteral("本人于%1月%2日乘坐").arg(month).arg(day + 2)).item(Travel, back).text(QStringLiteral("次列车返回，"));
    doc.text(QStringLiteral("请将报销款转入本人")).text(p.bank).text(QStringLiteral("账户，卡号")).item(Account, writtenCard(p.card)).text(QStringLiteral("。"));
    doc.endParagraph();
    doc.text(QStringLiteral("联系电话：")).item(Identity, writtenMobile(p.mobile, true));
    doc.text(QStringLiteral("    单据编号：")).lookAlike(Account, QStringLiteral("BX%1").arg(digits(14)), QStringLiteral("voucher number"));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::clinicRecord()
{
    const Person p = person(chance(15));
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("%1人民医院 门诊病历").arg(p.region.city));
    doc.text(QStringLiteral("姓名：")).item(Identity, p.name).text(QStringLiteral("  性别：%1  年龄：").arg(p.male ? QStringLiteral("男") : QStringLiteral("女")));
    if (p.age() < 14)
        doc.item(Minor, QStringLiteral("%1岁").arg(p.age()));
    else
        doc.text(QStringLiteral("%1岁").arg(p.age()));
    doc.text(QStringLiteral("  门诊号：")).item(Medical, QStringLiteral("MZ%1").arg(digits(8)));
    doc.endParagraph();
    doc.text(QStringLiteral("就诊日期：2025-%1-%2 %3:%4").arg(1 + below(12), 2, 10, QLatin1Char('0')).arg(1 + below(28), 2, 10, QLatin1Char('0')).arg(8 + below(9)).arg(below(60), 2, 10, QLatin1Char('0')));
    doc.text(QStringLiteral("  科室：") + pick(words("内分泌科 心内科 呼吸内科 神经内科 骨科 肿瘤科 精神心理科 消化内科")));
    doc.endParagraph();
    const QString diagnosis = pick(Diagnoses);
    doc.text(QStringLiteral("主诉：") + pick(words("反复口干多饮3月余 胸闷气短1周 咳嗽伴痰中带血2周 腰痛伴右下肢麻木半月 心悸手抖消瘦2月 情绪低落失眠3月")));
    doc.endParagraph();
    doc.text(QStringLiteral("现病史：患者") + pick(words("3年前 半年前 1月前")) + QStringLiteral("在外院确诊为")).item(Medical, diagnosis);
    doc.text(QStringLiteral("，规律服用")).item(Medical, pick(Medicines)).text(QStringLiteral("，近期症状加重。"));
    doc.endParagraph();
    doc.text(QStringLiteral("查体：血压")).item(Physical, QStringLiteral("%1/%2mmHg").arg(105 + below(60)).arg(65 + below(35)));
    doc.text(QStringLiteral("，心率")).item(Physical, QStringLiteral("%1次/分").arg(58 + below(50)));
    doc.text(QStringLiteral("，身高")).item(Physical, QStringLiteral("%1cm").arg(150 + below(40)));
    doc.text(QStringLiteral("，体重")).item(Physical, QStringLiteral("%1kg").arg(45 + below(45))).text(QStringLiteral("。"));
    doc.endParagraph();
    doc.text(QStringLiteral("辅助检查：")).item(Medical, pick(TestResults)).text(QStringLiteral("；")).item(Medical, pick(TestResults)).text(QStringLiteral("。"));
    doc.endParagraph();
    if (!p.male && p.age() > 20 && p.age() < 45 && chance(50)) {
        doc.text(QStringLiteral("月经史：目前")).item(Physical, QStringLiteral("怀孕%1周").arg(6 + below(30))).text(QStringLiteral("，嘱产科随诊。"));
        doc.endParagraph();
    }
    doc.text(QStringLiteral("诊断：")).item(Medical, diagnosis);
    if (chance(50))
        doc.text(QStringLiteral("；")).item(Medical, pick(Diagnoses));
    doc.endParagraph();
    doc.text(QStringLiteral("处理：")).item(Medical, pick(Medicines)).text(QStringLiteral(" 1片 口服 每日%1次；").arg(1 + below(3)));
    doc.item(Medical, pick(Medicines)).text(QStringLiteral(" 遵医嘱。2周后复诊。"));
    doc.endParagraph();
    doc.text(QStringLiteral("医师签名：")).item(Identity, person().name).text(QStringLiteral("    打印时间：")).lookAlike(Identity, QString::number(1735000000 + below(30000000)) + digits(3), QStringLiteral("timestamp"));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::loanReport()
{
    const Person p = person();
    const Person spouse = person();
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("个人住房贷款贷前调查报告"));
    doc.text(QStringLiteral("一、借款人基本情况"));
    doc.endParagraph();
    doc.text(QStringLiteral("借款人")).item(Identity, p.name).text(QStringLiteral("，%1，%2年生，身份证号").arg(p.male ? QStringLiteral("男") : QStringLiteral("女")).arg(p.birth.year()));
    doc.item(Identity, writtenId(p.id, true)).text(QStringLiteral("，现住")).item(Location, p.address).text(QStringLiteral("，联系电话"));
    doc.item(Identity, writtenMobile(p.mobile, true)).text(QStringLiteral("。借款人")).item(Career, p.degree).text(QStringLiteral("学历，现在%1任").arg(pick(words("某科技有限公司 市自来水公司 某会计师事务所 区人民医院"))));
    doc.item(Career, p.job).text(QStringLiteral("，月收入")).item(Finance, money(p.salary * 2, below(5))).text(QStringLiteral("。"));
    doc.endParagraph();
    doc.text(QStringLiteral("借款人婚姻状况：")).item(Relations, QStringLiteral("已婚")).text(QStringLiteral("，")).item(Relations, QStringLiteral("配偶") + spouse.name);
    doc.alsoLabel(Identity, spouse.name);
    doc.text(QStringLiteral("，身份证号")).item(Identity, writtenId(spouse.id, true)).text(QStringLiteral("，在%1工作。").arg(pick(words("中学 医院 街道办事处 银行"))));
    doc.endParagraph();
    doc.text(QStringLiteral("二、资产及征信情况"));
    doc.endParagraph();
    doc.text(QStringLiteral("借款人名下存款余额")).item(Finance, money((20 + below(80)) * 10000 + below(10000), below(5)));
    doc.text(QStringLiteral("，有车辆一台，车牌号")).item(Identity, plate()).text(QStringLiteral("。经查询人民银行征信系统，借款人"));
    doc.item(Finance, QStringLiteral("近24个月内信用卡逾期%1次").arg(1 + below(3))).text(QStringLiteral("，最长逾期%1天，").arg(10 + below(80)));
    doc.text(QStringLiteral("现有")).item(Finance, QStringLiteral("消费贷款余额%1万元").arg(1 + below(30))).text(QStringLiteral("。"));
    doc.endParagraph();
    doc.text(QStringLiteral("三、贷款申请"));
    doc.endParagraph();
    doc.text(QStringLiteral("申请贷款金额")).item(Finance, QStringLiteral("%1万元").arg((3 + below(20)) * 10)).text(QStringLiteral("，期限30年，还款账户为")).text(p.bank);
    doc.item(Account, writtenCard(p.card)).text(QStringLiteral("。"));
    doc.endParagraph();
    doc.text(QStringLiteral("附：借款人手机号")).lookAlike(Identity, p.mobile.left(3) + QStringLiteral("****") + p.mobile.right(4), QStringLiteral("masked mobile"));
    doc.text(QStringLiteral("（脱敏），共同还款人证件")).lookAlike(Identity, spouse.id.left(4) + QStringLiteral("**********") + spouse.id.right(4), QStringLiteral("masked identity number"));
    doc.text(QStringLiteral("，报告编号")).lookAlike(Finance, QStringLiteral("ZX%1").arg(digits(16)), QStringLiteral("report number"));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::assetRegister(bool numberCells)
{
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("信息中心IT资产登记表"));
    doc.table({QStringLiteral("资产编号"), QStringLiteral("设备类型"), QStringLiteral("使用人"), QStringLiteral("序列号"),
               QStringLiteral("MAC地址"), QStringLiteral("IP地址"), QStringLiteral("IMEI"), QStringLiteral("系统版本"), QStringLiteral("购置日期")});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person();
        const bool phone = chance(35);
        const QString version = phone ? QStringLiteral("%1.%2.%3").arg(12 + below(4)).arg(below(5)).arg(below(9))
                                      : QStringLiteral("%1.%2.%3.%4").arg(1 + below(9)).arg(below(10)).arg(below(10)).arg(below(20));
        const QString imeiValue = imei();
        doc.row({CorpusDocument::lookAlikeCell(Device, QStringLiteral("ZC-2025-%1").arg(digits(5)), QStringLiteral("asset number")),
                 CorpusDocument::plain(phone ? QStringLiteral("手机") : pick(words("笔记本电脑 台式机 平板电脑"))),
                 CorpusDocument::itemCell(Identity, p.name),
                 CorpusDocument::itemCell(Device, serialNumber()),
                 CorpusDocument::itemCell(Device, mac()),
                 CorpusDocument::itemCell(Device, privateIp()),
                 phone ? CorpusDocument::itemCell(Device, imeiValue, numberCells) : CorpusDocument::plain(QString()),
                 version.count(QLatin1Char('.')) == 3 ? CorpusDocument::lookAlikeCell(Device, version, QStringLiteral("version string"))
                                                      : CorpusDocument::plain(version),
                 CorpusDocument::plain(QStringLiteral("2023/%1/%2").arg(1 + below(12)).arg(1 + below(28)))});
    }
    doc.paragraph(QStringLiteral("备注：测试网段 192.0.2.0/24 不分配给个人，软件包校验值 ") + QString::number(next(), 16) + QString::number(next(), 16));
    return doc;
}

CorpusDocument CorpusGenerator::email()
{
    const Person from = person();
    const Person to = person();
    const Person about = person();
    CorpusDocument doc;
    static const QStringList domains = words("vorel-tech.cn huaxin-group.com dongfang-med.cn");
    const QString domain = pick(domains);
    doc.text(QStringLiteral("发件人: ")).item(Identity, from.name).text(QStringLiteral(" <")).item(Identity, from.handle + QLatin1Char('@') + domain).text(QStringLiteral(">"));
    doc.endParagraph();
    doc.text(QStringLiteral("收件人: ")).item(Identity, to.name).text(QStringLiteral(" <")).item(Identity, to.handle + QLatin1Char('@') + domain).text(QStringLiteral(">"));
    doc.endParagraph();
    QString hex;
    for (int i = 0; i < 2; ++i)
        hex += QString::number(next(), 16).rightJustified(16, QLatin1Char('0'));
    doc.text(QStringLiteral("Message-ID: <")).lookAlike(Identity, hex + QStringLiteral("@mail.") + domain, QStringLiteral("Message-ID")).text(QStringLiteral(">"));
    doc.endParagraph();
    doc.paragraph(QStringLiteral("Date: Mon, %1 Mar 2025 %2:%3:05 +0800").arg(1 + below(28)).arg(8 + below(10)).arg(below(60), 2, 10, QLatin1Char('0')));
    const int topic = below(4);
    doc.paragraph(QStringLiteral("主题: ") + QStringList{QStringLiteral("新员工入职材料"), QStringLiteral("请假申请"), QStringLiteral("客户回访记录"), QStringLiteral("关于困难员工补助的说明")}.at(topic));
    doc.paragraph(QStringLiteral("%1经理：").arg(to.surname));
    switch (topic) {
    case 0:
        doc.text(QStringLiteral("您好！附件是新同事")).item(Identity, about.name).text(QStringLiteral("的入职材料。她的手机是"));
        doc.item(Identity, writtenMobile(about.mobile, true)).text(QStringLiteral("，身份证号")).item(Identity, writtenId(about.id, true));
        doc.text(QStringLiteral("，家住")).item(Location, about.address).text(QStringLiteral("。她")).item(Career, about.degree).text(QStringLiteral("毕业于")).item(Career, about.school);
        doc.text(QStringLiteral("，工资卡是")).text(about.bank).item(Account, writtenCard(about.card)).text(QStringLiteral("。"));
        break;
    case 1:
        doc.text(QStringLiteral("我因")).item(Medical, pick(Diagnoses)).text(QStringLiteral("需住院治疗，医生开了")).item(Medical, pick(Medicines));
        doc.text(QStringLiteral("，申请病假两周。")).text(chance(50) ? QStringLiteral("我") : QStringLiteral("另外我"));
        doc.item(Travel, QStringLiteral("%1月%2日乘坐%3航班").arg(3 + below(3)).arg(1 + below(28)).arg(flight())).text(QStringLiteral("去北京复查，期间可电话联系"));
        doc.item(Identity, writtenMobile(from.mobile, true)).text(QStringLiteral("。"));
        break;
    case 2:
        doc.text(QStringLiteral("今天回访了客户")).item(Identity, about.name).text(QStringLiteral("，座机")).item(Identity, fixedLine(about.region));
        doc.text(QStringLiteral("，QQ号")).item(Account, QString::number(100000000 + below(900000000))).text(QStringLiteral("，微信号")).item(Account, QString(about.handle).remove(QLatin1Char('.')) + QStringLiteral("_wx"));
        doc.text(QStringLiteral("。客户反映上月")).item(Finance, QStringLiteral("在我行信用卡消费%1元").arg(QLocale(QLocale::English).toString(2000 + below(20000))));
        doc.text(QStringLiteral("有误。")).text(QStringLiteral("客户说她是")).item(Religion, pick(words("基督徒 穆斯林 天主教教友 佛教徒"))).text(QStringLiteral("，周日不方便接电话。"));
        break;
    default:
        doc.text(QStringLiteral("员工")).item(Identity, about.name).text(QStringLiteral("家庭困难，属于")).item(Special, pick(SpecialGroups));
        doc.text(QStringLiteral("，其")).item(Relations, QStringLiteral("母亲") + person().name);
        doc.alsoLabel(Identity, doc.labels().last().value.mid(2));
        doc.text(QStringLiteral("长期患")).item(Medical, pick(Diagnoses));
        doc.text(QStringLiteral("，孩子今年")).item(Minor, QStringLiteral("%1岁").arg(4 + below(9))).text(QStringLiteral("，在读")).item(Minor, pick(Grades)).text(QStringLiteral("。建议补助"));
        doc.text(QStringLiteral("5000元。"));
        break;
    }
    doc.endParagraph();
    doc.text(QStringLiteral("如有疑问请回复本邮件，勿发送至")).lookAlike(Identity, chance(50) ? QStringLiteral("xxx@xxx.com") : QStringLiteral("example@example.com"), QStringLiteral("placeholder address")).text(QStringLiteral("。"));
    doc.endParagraph();
    doc.text(QStringLiteral("——")).item(Identity, from.name).text(QStringLiteral(" 电话 ")).item(Identity, fixedLine(from.region));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::gpsLog()
{
    const Person p = person();
    CorpusDocument doc;
    doc.text(QStringLiteral("# 车载终端轨迹导出 设备IMEI：")).item(Device, imei()).text(QStringLiteral(" 驾驶员：")).item(Identity, p.name);
    doc.endParagraph();
    doc.table({QStringLiteral("时间"), QStringLiteral("时间戳"), QStringLiteral("经纬度"), QStringLiteral("速度(km/h)"), QStringLiteral("里程")});
    const int rows = 8 + below(8);
    QDateTime at(QDate(2025, 1 + below(12), 1 + below(28)), QTime(7 + below(3), below(60)), Qt::UTC);
    const int order = below(2); // one export writes every point in one order
    for (int i = 0; i < rows; ++i) {
        at = at.addSecs(30 + below(300));
        doc.row({CorpusDocument::plain(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                 CorpusDocument::lookAlikeCell(Location, QString::number(at.toSecsSinceEpoch()), QStringLiteral("timestamp")),
                 CorpusDocument::itemCell(Location, coordinates(p.region, order)), CorpusDocument::plain(QString::number(below(90))),
                 CorpusDocument::plain(QString::number(1000 + i * 3.7, 'f', 1))});
    }
    doc.text(QStringLiteral("停留点：")).item(Location, coordinates(p.region, 2 + below(4))).text(QStringLiteral("，停留%1分钟").arg(5 + below(60)));
    doc.endParagraph();
    doc.text(QStringLiteral("终点：")).item(Location, coordinates(p.region, 2 + below(4)));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::permitRegister()
{
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("外来人员及车辆出入登记表"));
    doc.table({QStringLiteral("来访人"), QStringLiteral("证件类型"), QStringLiteral("证件号码"), QStringLiteral("联系电话"), QStringLiteral("车牌号"),
               QStringLiteral("来访事由"), QStringLiteral("进入时间")});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person();
        QString type, number;
        switch (below(6)) {
        case 0:
            type = QStringLiteral("护照");
            number = (chance(70) ? QStringLiteral("E") + digits(8) : QStringLiteral("E") + QLatin1Char('A' + below(20)) + digits(7));
            break;
        case 1:
            type = QStringLiteral("港澳居民来往内地通行证");
            number = QLatin1Char(chance(60) ? 'H' : 'M') + digits(8);
            break;
        case 2:
            type = QStringLiteral("往来港澳通行证");
            number = QStringLiteral("C") + digits(8);
            break;
        case 3:
            type = QStringLiteral("台湾居民来往大陆通行证");
            number = digits(8);
            break;
        case 4:
            type = QStringLiteral("大陆居民往来台湾通行证");
            number = QStringLiteral("L") + digits(8);
            break;
        default:
            type = QStringLiteral("居民身份证");
            number = p.id;
            break;
        }
        doc.row({CorpusDocument::itemCell(Identity, p.name), CorpusDocument::plain(type), CorpusDocument::itemCell(Identity, number),
                 CorpusDocument::itemCell(Identity, writtenMobile(p.mobile, false)),
                 chance(60) ? CorpusDocument::itemCell(Identity, plate()) : CorpusDocument::plain(QStringLiteral("无")),
                 CorpusDocument::plain(pick(words("送货 施工 商务洽谈 设备维修 面试"))),
                 CorpusDocument::plain(QStringLiteral("%1:%2").arg(8 + below(10)).arg(below(60), 2, 10, QLatin1Char('0')))});
    }
    // A sole trader's credit code identifies the person who runs the business.
    doc.text(QStringLiteral("施工方（个体工商户）统一社会信用代码：")).item(Identity, creditCode());
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::englishForm()
{
    const Person p = person();
    const Person contact = person();
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("Employee Information Form"));
    doc.text(QStringLiteral("Full name: ")).item(Identity, p.pinyin);
    doc.endParagraph();
    doc.paragraph(QStringLiteral("Date of birth: ") + p.birth.toString(QStringLiteral("dd MMM yyyy")));
    doc.text(QStringLiteral("Passport No.: ")).item(Identity, QStringLiteral("E") + digits(8));
    doc.endParagraph();
    doc.text(QStringLiteral("Mobile: ")).item(Identity, QStringLiteral("+86 ") + p.mobile.left(3) + QLatin1Char(' ') + p.mobile.mid(3, 4) + QLatin1Char(' ') + p.mobile.mid(7));
    doc.endParagraph();
    doc.text(QStringLiteral("Email: ")).item(Identity, p.email);
    doc.endParagraph();
    doc.text(QStringLiteral("Home address: ")).item(Location, QStringLiteral("Room %1, No. %2 %3 Road, %4, %5").arg(100 * (1 + below(20)) + 1 + below(4)).arg(1 + below(300)).arg(pick(words("Jianguo Zhongshan Renmin Jiefang Xueyuan"))).arg(pick(words("Chaoyang Xuhui Tianhe Wuhou Hongshan")), pick(words("Beijing Shanghai Guangzhou Chengdu Wuhan"))));
    doc.endParagraph();
    doc.text(QStringLiteral("Marital status: ")).item(Relations, pick(words("Married Single Divorced")));
    doc.endParagraph();
    doc.text(QStringLiteral("Religion: ")).item(Religion, pick(words("Catholic Buddhist Protestant Muslim Taoist")));
    doc.endParagraph();
    doc.text(QStringLiteral("Blood type: ")).item(Physical, pick(words("A B O AB")) + (chance(30) ? QStringLiteral(" Rh-negative") : QString()));
    doc.endParagraph();
    doc.text(QStringLiteral("Medical history: ")).item(Medical, pick(words("asthma diabetes hypertension epilepsy hepatitis-B depression")));
    doc.endParagraph();
    doc.text(QStringLiteral("Education: ")).item(Career, pick(words("Bachelor's Master's Doctorate")) + QStringLiteral(" degree, ") + pick(words("Wuhan Sichuan Zhejiang Fudan Nanjing")) + QStringLiteral(" University"));
    doc.endParagraph();
    doc.text(QStringLiteral("Annual salary: ")).item(Finance, QStringLiteral("CNY %1").arg(QLocale(QLocale::English).toString((15 + below(50)) * 10000)));
    doc.endParagraph();
    doc.text(QStringLiteral("Bank account: ")).item(Account, p.card);
    doc.endParagraph();
    doc.text(QStringLiteral("Emergency contact: ")).item(Relations, contact.pinyin);
    doc.alsoLabel(Identity, contact.pinyin);
    doc.text(QStringLiteral(" (spouse), phone ")).item(Identity, contact.mobile);
    doc.endParagraph();
    doc.text(QStringLiteral("Travel: Flight ")).item(Travel, flight()).text(QStringLiteral(" on %1 May 2025, hotel check-in at ").arg(1 + below(28))).item(Travel, pick(words("Hilton Marriott Hyatt Sheraton")) + QStringLiteral(" Hotel"));
    doc.endParagraph();
    doc.text(QStringLiteral("Form version ")).lookAlike(Device, QStringLiteral("%1.%2.%3.%4").arg(1 + below(6)).arg(below(10)).arg(below(10)).arg(1 + below(9)), QStringLiteral("version string"));
    doc.text(QStringLiteral(", contact ")).lookAlike(Identity, QStringLiteral("hr@example.com"), QStringLiteral("documentation address")).text(QStringLiteral(" for questions."));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::studentRoster(bool numberCells)
{
    CorpusDocument doc;
    const QString grade = pick(Grades);
    const QString klass = grade + QStringLiteral("（%1）班").arg(1 + below(6));
    doc.paragraph(QStringLiteral("%1学生信息统计表").arg(klass));
    doc.table({QStringLiteral("学号"), QStringLiteral("学生姓名"), QStringLiteral("身份证号"), QStringLiteral("年龄"), QStringLiteral("班级"),
               QStringLiteral("家长姓名"), QStringLiteral("家长电话"), QStringLiteral("家庭住址"), QStringLiteral("备注")});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person child = person(true);
        const Person parent = person();
        const QString childName = parent.surname + child.name.mid(child.surname.size());
        const QString special = chance(25) ? pick(words("低保户 留守儿童 孤儿 建档立卡贫困户 残疾儿童")) : QString();
        CorpusDocument::Cell id = CorpusDocument::itemCell(Minor, child.id);
        doc.row({CorpusDocument::itemCell(Career, QStringLiteral("2025%1").arg(digits(4)), numberCells), CorpusDocument::itemCell(Identity, childName), id,
                 CorpusDocument::itemCell(Minor, numberCells ? QString::number(child.age()) : QStringLiteral("%1岁").arg(child.age()), numberCells),
                 CorpusDocument::itemCell(Minor, klass), CorpusDocument::itemCell(Relations, parent.name),
                 CorpusDocument::itemCell(Identity, numberCells ? parent.mobile : writtenMobile(parent.mobile, false), numberCells),
                 CorpusDocument::itemCell(Location, parent.address),
                 special.isEmpty() ? CorpusDocument::plain(QString()) : CorpusDocument::itemCell(Special, special)});
        doc.labelCell(2, Identity);
        doc.labelCell(5, Identity);
    }
    const Person teacher = person();
    doc.text(QStringLiteral("班主任：")).item(Identity, teacher.name).text(QStringLiteral("  联系电话：")).item(Identity, fixedLine(teacher.region));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::assistanceRegister()
{
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("社区困难群众帮扶台账"));
    doc.table({QStringLiteral("姓名"), QStringLiteral("身份证号"), QStringLiteral("类别"), QStringLiteral("残疾人证号"), QStringLiteral("月收入"),
               QStringLiteral("联系电话"), QStringLiteral("帮扶措施")});
    const int rows = 5 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person();
        const bool disabled = chance(50);
        doc.row({CorpusDocument::itemCell(Identity, p.name), CorpusDocument::itemCell(Identity, p.id),
                 CorpusDocument::itemCell(Special, disabled ? pick(Disabilities) : pick(SpecialGroups)),
                 disabled ? CorpusDocument::itemCell(Special, p.id + QString::number(1 + below(7)) + QString::number(1 + below(4)))
                          : CorpusDocument::plain(QStringLiteral("—")),
                 CorpusDocument::itemCell(Finance, money(800 + below(2500), below(2))),
                 CorpusDocument::itemCell(Identity, writtenMobile(p.mobile, false)),
                 CorpusDocument::plain(pick(words("发放临时救助金 安排公益岗位 医疗救助 送温暖慰问")))});
    }
    doc.text(QStringLiteral("其中")).item(Identity, person().name).text(QStringLiteral("为")).item(Special, QStringLiteral("退役军人")).text(QStringLiteral("，")).item(Relations, QStringLiteral("丈夫") + person().name);
    doc.alsoLabel(Identity, doc.labels().last().value.mid(2));
    doc.text(QStringLiteral("因")).item(Legal, QStringLiteral("盗窃罪被判处有期徒刑%1年，现已刑满释放").arg(1 + below(4))).text(QStringLiteral("。"));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::attendanceLog()
{
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("移动考勤打卡明细"));
    doc.table({QStringLiteral("姓名"), QStringLiteral("日期"), QStringLiteral("打卡时间"), QStringLiteral("打卡类型"), QStringLiteral("打卡地点")});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person();
        doc.row({CorpusDocument::itemCell(Identity, p.name), CorpusDocument::plain(QStringLiteral("2025-03-%1").arg(1 + below(28), 2, 10, QLatin1Char('0'))),
                 CorpusDocument::plain(QStringLiteral("%1:%2").arg(8 + below(2), 2, 10, QLatin1Char('0')).arg(below(60), 2, 10, QLatin1Char('0'))),
                 CorpusDocument::itemCell(Travel, chance(50) ? QStringLiteral("上班打卡") : QStringLiteral("外勤签到")),
                 CorpusDocument::itemCell(Location, p.address)});
    }
    return doc;
}

CorpusDocument CorpusGenerator::interviewNotes()
{
    const Person p = person();
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("员工谈话记录"));
    doc.text(QStringLiteral("时间：2025年%1月%2日  地点：三楼会议室  记录人：").arg(1 + below(12)).arg(1 + below(28))).item(Identity, person().name);
    doc.endParagraph();
    doc.text(QStringLiteral("谈话对象：")).item(Identity, p.name).text(QStringLiteral("（工号")).item(Career, QString::number(10000 + below(89999))).text(QStringLiteral("），"));
    doc.item(Career, p.job).text(QStringLiteral("。"));
    doc.endParagraph();
    QList<int> topics{0, 1, 2, 3, 4, 5, 6, 7};
    for (int i = 0; i < 5; ++i) {
        switch (topics.takeAt(below(topics.size()))) {
        case 0:
            doc.text(QStringLiteral("该员工自述")).item(Religion, pick(words("是天主教教友 多年前皈依佛门 信仰伊斯兰教 是基督徒 信奉道教")));
            doc.text(QStringLiteral("，希望周日不安排加班，以便")).item(Religion, pick(words("去教堂做礼拜 参加弥撒 到寺里礼佛 去清真寺礼拜"))).text(QStringLiteral("。"));
            break;
        case 1:
            doc.text(QStringLiteral("据了解，该员工%1年曾因%2").arg(2010 + below(14)).arg(pick(words("醉酒驾驶 打架斗殴 盗窃")))).item(Legal, pick(words("被判处拘役三个月 被判处有期徒刑一年缓刑两年 被行政拘留十日 有犯罪前科")));
            doc.text(QStringLiteral("，入职时未如实申报。"));
            break;
        case 2:
            doc.text(QStringLiteral("员工同意公司")).item(Legal, pick(words("采集指纹信息 录入人脸识别信息 采集虹膜信息"))).text(QStringLiteral("用于门禁考勤。"));
            break;
        case 3:
            doc.text(QStringLiteral("员工表示近期因")).item(Medical, pick(Diagnoses)).text(QStringLiteral("在")).text(p.region.city).text(QStringLiteral("精神卫生中心就诊，正在服用")).item(Medical, pick(Medicines)).text(QStringLiteral("。"));
            break;
        case 4: {
            const QString relative = person().name;
            doc.text(QStringLiteral("其")).item(Relations, pick(words("配偶 妻子 丈夫 母亲 父亲 哥哥")) + relative);
            doc.alsoLabel(Identity, relative);
            doc.text(QStringLiteral("在本市%1工作，").arg(pick(words("医院 学校 税务局 银行"))));
            doc.text(QStringLiteral("家中")).item(Minor, QStringLiteral("孩子%1岁").arg(3 + below(10))).text(QStringLiteral("，在读")).item(Minor, pick(words("幼儿园大班 幼儿园中班 小学三年级 小学五年级 二年级"))).text(QStringLiteral("。"));
            break;
        }
        case 5:
            doc.text(QStringLiteral("员工提出调薪，目前")).item(Finance, QStringLiteral("年薪约%1万").arg(12 + below(40))).text(QStringLiteral("，另有")).item(Finance, QStringLiteral("房贷每月还款%1元").arg(3000 + below(8000)));
            doc.text(QStringLiteral("，") ).item(Finance, QStringLiteral("征信有%1次逾期记录").arg(1 + below(4))).text(QStringLiteral("。"));
            break;
        case 6:
            doc.text(QStringLiteral("员工本人表示自己是")).item(Legal, pick(words("同性恋 双性恋"))).text(QStringLiteral("，要求对此保密。"));
            break;
        default:
            doc.text(QStringLiteral("员工")).item(Physical, p.male ? QStringLiteral("患有色盲") : QStringLiteral("目前处于哺乳期")).text(QStringLiteral("，")).text(QStringLiteral("血型")).item(Physical, pick(BloodTypes));
            doc.text(QStringLiteral("，申请调整岗位。"));
            break;
        }
        doc.endParagraph();
    }
    doc.text(QStringLiteral("员工现住")).item(Location, p.address).text(QStringLiteral("，手机")).item(Identity, writtenMobile(p.mobile, true)).text(QStringLiteral("。"));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::orderExport(bool numberCells)
{
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("店铺订单导出（已脱敏）"));
    doc.table({QStringLiteral("订单号"), QStringLiteral("下单时间戳"), QStringLiteral("收货人"), QStringLiteral("收货手机"), QStringLiteral("商品"),
               QStringLiteral("金额"), QStringLiteral("快递单号")});
    const int rows = 8 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person();
        doc.row({CorpusDocument::lookAlikeCell(Account, QStringLiteral("2025%1").arg(digits(15)), QStringLiteral("order number")),
                 CorpusDocument::lookAlikeCell(Identity, QString::number(1735000000000ll + qint64(below(30000000)) * 1000 + below(1000)), QStringLiteral("timestamp"), numberCells),
                 CorpusDocument::plain(p.name.left(1) + QStringLiteral("**")),
                 CorpusDocument::lookAlikeCell(Identity, p.mobile.left(3) + QStringLiteral("****") + p.mobile.right(4), QStringLiteral("masked mobile")),
                 CorpusDocument::plain(pick(words("蓝牙耳机 保温杯 儿童绘本 电饭煲 运动鞋"))),
                 CorpusDocument::plain(QString::number(20 + below(800)) + QStringLiteral(".00")),
                 CorpusDocument::lookAlikeCell(Identity, QStringLiteral("SF%1").arg(digits(13)), QStringLiteral("parcel number"))});
    }
    return doc;
}

CorpusDocument CorpusGenerator::technicalLog()
{
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("发布说明 / 部署日志"));
    for (int i = 0; i < 6; ++i) {
        const QString version = QStringLiteral("%1.%2.%3.%4").arg(1 + below(9)).arg(below(10)).arg(below(10)).arg(below(30));
        doc.text(QStringLiteral("[%1] 升级到版本 ").arg(QDateTime(QDate(2025, 1 + below(12), 1 + below(28)), QTime(below(24), below(60)), Qt::UTC).toString(Qt::ISODate)));
        doc.lookAlike(Device, version, QStringLiteral("version string")).text(QStringLiteral("，构建号 ")).lookAlike(Identity, QStringLiteral("2025%1").arg(digits(10)), QStringLiteral("build number"));
        doc.endParagraph();
    }
    const QStringList documentation{QStringLiteral("192.0.2.%1"), QStringLiteral("198.51.100.%1"), QStringLiteral("203.0.113.%1")};
    for (const QString &range : documentation) {
        doc.text(QStringLiteral("示例配置：server ")).lookAlike(Device, range.arg(1 + below(250)), QStringLiteral("documentation address")).text(QStringLiteral(":8080"));
        doc.endParagraph();
    }
    QString sha;
    for (int i = 0; i < 4; ++i)
        sha += QString::number(next(), 16).rightJustified(16, QLatin1Char('0'));
    doc.text(QStringLiteral("sha256: ")).lookAlike(Account, sha, QStringLiteral("hash"));
    doc.endParagraph();
    doc.text(QStringLiteral("md5: ")).lookAlike(Account, sha.left(32), QStringLiteral("hash"));
    doc.endParagraph();
    doc.text(QStringLiteral("request-id ")).lookAlike(Identity, QStringLiteral("%1-%2-4%3-a%4-%5").arg(sha.mid(0, 8), sha.mid(8, 4), sha.mid(12, 3), sha.mid(15, 3), sha.mid(18, 12)), QStringLiteral("UUID"));
    doc.endParagraph();
    doc.text(QStringLiteral("通知邮件模板收件人 ")).lookAlike(Identity, QStringLiteral("user@example.com"), QStringLiteral("placeholder address"));
    doc.text(QStringLiteral("，占位 ")).lookAlike(Identity, QStringLiteral("xxx@xxx.com"), QStringLiteral("placeholder address"));
    doc.endParagraph();
    doc.text(QStringLiteral("耗时 ")).lookAlike(Identity, QString::number(1000000000 + below(900000000)), QStringLiteral("nanoseconds"));
    doc.text(QStringLiteral(" ns，进程号 %1").arg(1000 + below(60000)));
    doc.endParagraph();
    return doc;
}

CorpusDocument CorpusGenerator::validationReport()
{
    CorpusDocument doc;
    doc.paragraph(QStringLiteral("数据质量检查：以下号码校验未通过，已退回录入人员核实"));
    doc.table({QStringLiteral("字段"), QStringLiteral("录入值"), QStringLiteral("问题")});
    for (int i = 0; i < 14; ++i) {
        const Person p = person();
        switch (below(6)) {
        case 0: {
            QString wrong = p.id;
            const QChar check = wrong.at(17);
            wrong[17] = check == QLatin1Char('1') ? QLatin1Char('2') : QLatin1Char('1');
            doc.row({CorpusDocument::plain(QStringLiteral("身份证号")), CorpusDocument::lookAlikeCell(Identity, wrong, QStringLiteral("wrong check character")),
                     CorpusDocument::plain(QStringLiteral("校验位错误"))});
            break;
        }
        case 1: {
            const QString first17 = p.region.code + QStringLiteral("%1%2").arg(1970 + below(30)).arg(chance(50) ? QStringLiteral("0230") : QStringLiteral("1335")) + digits(3);
            doc.row({CorpusDocument::plain(QStringLiteral("身份证号")), CorpusDocument::lookAlikeCell(Identity, first17 + CheckDigits::residentId(first17), QStringLiteral("impossible date")),
                     CorpusDocument::plain(QStringLiteral("出生日期不存在"))});
            break;
        }
        case 2: {
            QString card = bankCard();
            card[card.size() - 1] = QChar('0' + (card.back().digitValue() + 1 + below(8)) % 10);
            doc.row({CorpusDocument::plain(QStringLiteral("银行卡号")), CorpusDocument::lookAlikeCell(Account, card, QStringLiteral("fails Luhn")),
                     CorpusDocument::plain(QStringLiteral("卡号校验失败"))});
            break;
        }
        case 3:
            doc.row({CorpusDocument::plain(QStringLiteral("手机号码")), CorpusDocument::lookAlikeCell(Identity, QStringLiteral("1%1").arg(QString::number(below(2)) + digits(9)), QStringLiteral("no mobile prefix")),
                     CorpusDocument::plain(QStringLiteral("号段不存在"))});
            break;
        case 4:
            doc.row({CorpusDocument::plain(QStringLiteral("身份证号")), CorpusDocument::lookAlikeCell(Identity, p.id.left(6) + QStringLiteral("********") + p.id.right(4), QStringLiteral("masked identity number")),
                     CorpusDocument::plain(QStringLiteral("已脱敏，无法核验"))});
            break;
        default: {
            QString code = creditCode();
            code[17] = code.at(17) == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
            doc.row({CorpusDocument::plain(QStringLiteral("统一社会信用代码")), CorpusDocument::lookAlikeCell(Identity, code, QStringLiteral("wrong check character")),
                     CorpusDocument::plain(QStringLiteral("校验码错误"))});
            break;
        }
        }
    }
    return doc;
}

CorpusDocument CorpusGenerator::scheduleNotice()
{
    CorpusDocument doc;
    if (chance(50)) {
        doc.paragraph(QStringLiteral("关于调整冬春航季航班时刻的通知"));
        for (int i = 0; i < 4; ++i) {
            doc.text(QStringLiteral("自2025年10月%1日起，").arg(26 + below(5))).lookAlike(Travel, flight(), QStringLiteral("schedule notice"));
            doc.text(QStringLiteral("航班起飞时间由%1:%2调整为%3:%4，机型不变。").arg(7 + below(12)).arg(below(6) * 10, 2, 10, QLatin1Char('0')).arg(7 + below(12)).arg(below(6) * 10, 2, 10, QLatin1Char('0')));
            doc.endParagraph();
        }
    } else {
        doc.paragraph(QStringLiteral("铁路局春运加开列车公告"));
        for (int i = 0; i < 4; ++i) {
            doc.text(QStringLiteral("1月%1日至2月%2日，加开").arg(10 + below(15)).arg(1 + below(20))).lookAlike(Travel, train(), QStringLiteral("schedule notice"));
            doc.text(QStringLiteral("次列车，%1开，经停站以车站公告为准。").arg(QTime(6 + below(15), below(60)).toString(QStringLiteral("HH:mm"))));
            doc.endParagraph();
        }
    }
    doc.paragraph(QStringLiteral("客服热线：95%1（7×24小时），官网公告编号 ").arg(digits(3)) + QStringLiteral("GG-2025-%1").arg(digits(4)));
    return doc;
}

namespace {

QString extension(CorpusGenerator::Format format)
{
    switch (format) {
    case CorpusGenerator::Format::TxtUtf8:
    case CorpusGenerator::Format::TxtGbk:
    case CorpusGenerator::Format::TxtUtf16:
        return QStringLiteral("txt");
    case CorpusGenerator::Format::Csv:
        return QStringLiteral("csv");
    case CorpusGenerator::Format::Docx:
        return QStringLiteral("docx");
    case CorpusGenerator::Format::Xlsx:
        return QStringLiteral("xlsx");
    case CorpusGenerator::Format::Pptx:
        return QStringLiteral("pptx");
    case CorpusGenerator::Format::PdfEmbedded:
    case CorpusGenerator::Format::PdfUnembedded:
        return QStringLiteral("pdf");
    case CorpusGenerator::Format::Doc:
        return QStringLiteral("doc");
    }
    return QString();
}

QString formatName(CorpusGenerator::Format format)
{
    static const char *const names[] = {"txt-utf8", "txt-gbk", "txt-utf16", "csv", "docx", "xlsx", "pptx", "pdf-embedded", "pdf-unembedded", "doc"};
    return QString::fromLatin1(names[int(format)]);
}

// PDF lines are as long as a page is wide: longer ones wrap, wherever they wrap.
QStringList wrapped(const QStringList &lines, int width)
{
    QStringList out;
    for (const QString &line : lines) {
        for (int at = 0; at < line.size() || at == 0; at += width)
            out.append(line.mid(at, width));
    }
    return out;
}

QString escapedField(QString text)
{
    return text.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\t'), QLatin1String("\\t")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

// The bytes of a document in a format; office and PDF writers go through a scratch file.
QByteArray render(const CorpusDocument &doc, CorpusGenerator::Format format, const QString &scratch)
{
    using F = CorpusGenerator::Format;
    switch (format) {
    case F::TxtUtf8:
        return doc.lines(QStringLiteral("\t")).join(QLatin1Char('\n')).toUtf8() + '\n';
    case F::Csv:
        return doc.lines(QStringLiteral(",")).join(QLatin1Char('\n')).toUtf8() + '\n';
    case F::TxtGbk:
        return QTextCodec::codecForName("GBK")->fromUnicode(doc.lines(QStringLiteral("  ")).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    case F::TxtUtf16: {
        const QString text = doc.lines(QStringLiteral("\t")).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        QByteArray bytes("\xFF\xFE", 2);
        for (const QChar c : text) {
            bytes += char(c.unicode() & 0xFF);
            bytes += char(c.unicode() >> 8);
        }
        return bytes;
    }
    default:
        break;
    }
    bool ok = false;
    QFile::remove(scratch);
    if (format == F::Docx) {
        ok = SampleDocuments::writeDocxBlocks(scratch, doc.blocks());
    } else if (format == F::Xlsx) {
        ok = SampleDocuments::writeXlsxSheets(scratch, doc.sheets());
    } else if (format == F::Pptx) {
        // A table gets a slide of its own; paragraphs share slides, eight to a slide.
        QList<QList<SampleDocuments::Block>> slides;
        QList<SampleDocuments::Block> current;
        for (const SampleDocuments::Block &block : doc.blocks()) {
            if (!block.rows.isEmpty() || current.size() == 8) {
                if (!current.isEmpty())
                    slides.append(current);
                current.clear();
            }
            current.append(block);
        }
        if (!current.isEmpty())
            slides.append(current);
        ok = SampleDocuments::writePptxBlocks(scratch, slides);
    } else if (format == F::PdfEmbedded) {
        // As an office program prints: tables cell by cell at their columns.
        ok = SampleDocuments::writePdfBlocks(scratch, doc.blocks());
    } else if (format == F::PdfUnembedded) {
        ok = SampleDocuments::writePdfUnembeddedCjk(scratch, wrapped(doc.lines(QStringLiteral("  ")), 46));
    } else if (format == F::Doc) {
        ok = SampleDocuments::writeWordDoc(scratch, doc.lines(QStringLiteral("\t")));
    }
    const QByteArray bytes = ok ? SampleDocuments::readFile(scratch) : QByteArray();
    QFile::remove(scratch);
    return bytes;
}

} // namespace

bool CorpusGenerator::save(const CorpusDocument &doc, const QString &relative, Format format, const QString &archive,
                           const QString &member)
{
    const QString file = archive.isEmpty() ? relative : archive;
    for (const CorpusDocument::Label &label : doc.labels()) {
        m_labelLines.append(QStringList{file, member, formatName(format), label.category,
                                        label.item ? QStringLiteral("item") : QStringLiteral("look-alike"), label.where,
                                        escapedField(label.value), label.note}
                                .join(QLatin1Char('\t')));
        if (label.item) {
            ++m_items;
            ++m_perCategory[label.category];
        } else {
            ++m_lookAlikes;
        }
    }
    if (!archive.isEmpty())
        return true;
    const QByteArray bytes = render(doc, format, m_dir + QStringLiteral("/.scratch.") + extension(format));
    const QString path = m_dir + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    if (bytes.isEmpty() || !SampleDocuments::writeFile(path, bytes)) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    ++m_files;
    return true;
}

bool CorpusGenerator::packArchive(const QString &relative, const QString &format, const QList<QPair<CorpusDocument, QString>> &members)
{
    QList<QPair<QString, QByteArray>> files;
    for (const auto &member : members) {
        const QString ext = member.second.section(QLatin1Char('.'), -1);
        const Format f = ext == QLatin1String("docx") ? Format::Docx : ext == QLatin1String("xlsx") ? Format::Xlsx
                         : ext == QLatin1String("pdf") ? Format::PdfEmbedded : ext == QLatin1String("csv") ? Format::Csv : Format::TxtUtf8;
        save(member.first, QString(), f, relative, member.second);
        files.append({member.second, render(member.first, f, m_dir + QStringLiteral("/.scratch.") + ext)});
    }
    const QString path = m_dir + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    if (!SampleDocuments::writeArchive(path, format, files)) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    ++m_files;
    return true;
}

bool CorpusGenerator::write(const QString &dir, QString *error)
{
    m_dir = QDir(dir).absolutePath();
    QDir root(m_dir);
    if (root.exists() && !root.isEmpty() && !root.exists(QStringLiteral("labels.tsv"))) {
        *error = QStringLiteral("%1 is not empty and holds no corpus: not overwritten").arg(m_dir);
        return false;
    }
    if (root.exists() && !root.removeRecursively()) {
        *error = QStringLiteral("cannot empty %1").arg(m_dir);
        return false;
    }
    QDir().mkpath(m_dir);
    m_labelLines = QStringList{QStringLiteral("file\tmember\tformat\tcategory\tkind\twhere\tvalue\tnote")};

    using F = Format;
    auto among = [this](std::initializer_list<F> formats) { return *(formats.begin() + below(int(formats.size()))); };
    auto name = [](const QString &folder, const QString &stem, int n, F format) {
        return QStringLiteral("%1/%2%3.%4").arg(folder, stem).arg(n, 2, 10, QLatin1Char('0')).arg(extension(format));
    };
    bool ok = true;
    for (int i = 1; ok && i <= 14; ++i) {
        const bool table = chance(50);
        const F f = table ? among({F::Docx, F::Docx, F::Pptx, F::Xlsx}) : among({F::TxtUtf8, F::TxtGbk, F::TxtUtf16, F::PdfEmbedded, F::PdfUnembedded, F::Docx});
        ok = save(onboardingForm(table), name(QStringLiteral("人事/入职登记"), QStringLiteral("入职登记表_"), i, f), f);
    }
    for (int i = 1; ok && i <= 8; ++i) {
        const F f = among({F::Xlsx, F::Xlsx, F::Xlsx, F::Docx, F::Csv, F::TxtUtf8, F::PdfEmbedded, F::Pptx});
        ok = save(staffRoster(f == F::Xlsx && chance(75)), name(QStringLiteral("人事/花名册"), QStringLiteral("员工花名册_"), i, f), f);
    }
    for (int i = 1; ok && i <= 10; ++i) {
        const F f = among({F::Docx, F::Xlsx, F::PdfEmbedded, F::PdfUnembedded, F::TxtGbk});
        ok = save(expenseClaim(), name(QStringLiteral("财务/报销"), QStringLiteral("差旅费报销单_"), i, f), f);
    }
    for (int i = 1; ok && i <= 12; ++i) {
        const F f = among({F::TxtGbk, F::TxtUtf8, F::PdfEmbedded, F::PdfUnembedded, F::Docx});
        ok = save(clinicRecord(), name(QStringLiteral("医务室/门诊病历"), QStringLiteral("门诊病历_"), i, f), f);
    }
    for (int i = 1; ok && i <= 9; ++i) {
        const F f = among({F::Docx, F::PdfUnembedded, F::PdfEmbedded, F::TxtUtf16});
        ok = save(loanReport(), name(QStringLiteral("信贷/调查报告"), QStringLiteral("贷前调查报告_"), i, f), f);
    }
    for (int i = 1; ok && i <= 6; ++i) {
        const F f = among({F::Xlsx, F::Xlsx, F::Csv, F::Docx});
        ok = save(assetRegister(f == F::Xlsx), name(QStringLiteral("信息中心"), QStringLiteral("IT资产登记表_"), i, f), f);
    }
    for (int i = 1; ok && i <= 8; ++i)
        ok = save(email(), name(QStringLiteral("邮件"), QStringLiteral("邮件_"), i, F::TxtUtf8), F::TxtUtf8);
    for (int i = 1; ok && i <= 6; ++i) {
        const F f = among({F::Csv, F::Csv, F::TxtUtf8, F::Xlsx});
        ok = save(gpsLog(), name(QStringLiteral("车队/轨迹"), QStringLiteral("轨迹导出_"), i, f), f);
    }
    for (int i = 1; ok && i <= 6; ++i) {
        const F f = among({F::Xlsx, F::Docx, F::PdfEmbedded, F::TxtGbk});
        ok = save(permitRegister(), name(QStringLiteral("保卫处"), QStringLiteral("出入登记_"), i, f), f);
    }
    for (int i = 1; ok && i <= 6; ++i) {
        const F f = among({F::TxtUtf8, F::Docx, F::PdfEmbedded, F::Pptx});
        ok = save(englishForm(), name(QStringLiteral("HR-English"), QStringLiteral("employee_form_"), i, f), f);
    }
    for (int i = 1; ok && i <= 6; ++i) {
        const F f = among({F::Xlsx, F::Xlsx, F::Docx, F::TxtGbk});
        ok = save(studentRoster(f == F::Xlsx), name(QStringLiteral("学校"), QStringLiteral("学生信息表_"), i, f), f);
    }
    for (int i = 1; ok && i <= 5; ++i) {
        const F f = among({F::Xlsx, F::TxtGbk, F::Docx, F::PdfUnembedded});
        ok = save(assistanceRegister(), name(QStringLiteral("社区"), QStringLiteral("帮扶台账_"), i, f), f);
    }
    for (int i = 1; ok && i <= 4; ++i) {
        const F f = among({F::Xlsx, F::Csv});
        ok = save(attendanceLog(), name(QStringLiteral("人事/考勤"), QStringLiteral("考勤打卡_"), i, f), f);
    }
    for (int i = 1; ok && i <= 16; ++i) {
        const F f = among({F::TxtUtf8, F::TxtGbk, F::Docx, F::PdfEmbedded, F::PdfUnembedded, F::Pptx});
        ok = save(interviewNotes(), name(QStringLiteral("人事/谈话记录"), QStringLiteral("谈话记录_"), i, f), f);
    }
    // Documents that hold no personal data, only what looks like it.
    for (int i = 1; ok && i <= 4; ++i) {
        const F f = among({F::Xlsx, F::Csv});
        ok = save(orderExport(f == F::Xlsx), name(QStringLiteral("电商"), QStringLiteral("订单导出_"), i, f), f);
    }
    for (int i = 1; ok && i <= 5; ++i)
        ok = save(technicalLog(), name(QStringLiteral("运维"), QStringLiteral("发布日志_"), i, F::TxtUtf8), F::TxtUtf8);
    for (int i = 1; ok && i <= 4; ++i) {
        const F f = among({F::Xlsx, F::Docx, F::TxtUtf8});
        ok = save(validationReport(), name(QStringLiteral("数据治理"), QStringLiteral("校验异常清单_"), i, f), f);
    }
    for (int i = 1; ok && i <= 4; ++i) {
        const F f = among({F::TxtUtf8, F::Docx, F::PdfEmbedded});
        ok = save(scheduleNotice(), name(QStringLiteral("公告"), QStringLiteral("时刻调整通知_"), i, f), f);
    }
    // Archives: mail folders, a zipped record set, a tarball of notes, one gzip file.
    if (ok) {
        QList<QPair<CorpusDocument, QString>> mails;
        for (int i = 1; i <= 6; ++i)
            mails.append({email(), QStringLiteral("收件箱/邮件_%1.txt").arg(i)});
        ok = packArchive(QStringLiteral("归档/邮件备份_2025.zip"), QStringLiteral("zip"), mails);
    }
    if (ok)
        ok = packArchive(QStringLiteral("归档/病历资料.7z"), QStringLiteral("7z"),
                         {{clinicRecord(), QStringLiteral("门诊病历_A.docx")}, {clinicRecord(), QStringLiteral("门诊病历_B.txt")}, {loanReport(), QStringLiteral("贷前调查报告.pdf")}});
    if (ok)
        ok = packArchive(QStringLiteral("归档/人事材料.tar.gz"), QStringLiteral("tar.gz"),
                         {{interviewNotes(), QStringLiteral("谈话记录.txt")}, {staffRoster(true), QStringLiteral("花名册.xlsx")}, {onboardingForm(true), QStringLiteral("入职登记表.docx")}});
    if (ok)
        ok = packArchive(QStringLiteral("归档/轨迹.csv.gz"), QStringLiteral("gz"), {{gpsLog(), QStringLiteral("轨迹.csv")}});
    if (ok)
        ok = packArchive(QStringLiteral("归档/系统日志.tar"), QStringLiteral("tar"), {{technicalLog(), QStringLiteral("deploy.log.txt")}, {scheduleNotice(), QStringLiteral("notice.txt")}});
    // Word 97 documents, as older forms and notes still are.
    for (int i = 1; ok && i <= 2; ++i)
        ok = save(onboardingForm(false), name(QStringLiteral("人事/入职登记"), QStringLiteral("入职登记表_旧版_"), i, F::Doc), F::Doc);
    for (int i = 1; ok && i <= 2; ++i)
        ok = save(interviewNotes(), name(QStringLiteral("人事/谈话记录"), QStringLiteral("谈话记录_旧版_"), i, F::Doc), F::Doc);
    if (ok && !SampleDocuments::writeFile(m_dir + QStringLiteral("/labels.tsv"), m_labelLines.join(QLatin1Char('\n')).toUtf8() + '\n')) {
        m_error = QStringLiteral("cannot write the labels");
        ok = false;
    }
    if (!ok)
        *error = m_error;
    return ok;
}
