// The second labelled privacy corpus: its own people, values and document
// kinds, written without the rule table and apart from the first corpus, so
// that what it measures is how the rules carry over to documents they were
// not written against. Every personal value is labelled with what a reviewer
// would flag it as; every value that only looks personal is labelled a
// look-alike with what it really is.
#include "secondcorpus.h"

#include "checkdigits.h"
#include "corpuscategories.h"
#include "sampledocuments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextCodec>

namespace {

using namespace CorpusCategories;

struct Region
{
    const char *code;     // first six digits of an identity number
    const char *place;    // province, city and district as an address starts
    const char *city;
    const char *areaCode; // without the trunk 0
    const char *plate;    // province abbreviation and city letter
    double lat, lng;
};

const Region Regions[] = {
    {"330106", "浙江省杭州市西湖区", "杭州", "571", "浙A", 30.2592, 120.1301},
    {"440305", "广东省深圳市南山区", "深圳", "755", "粤B", 22.5333, 113.9304},
    {"510107", "四川省成都市武侯区", "成都", "28", "川A", 30.6424, 104.0431},
    {"420106", "湖北省武汉市武昌区", "武汉", "27", "鄂A", 30.5538, 114.3162},
    {"320102", "江苏省南京市玄武区", "南京", "25", "苏A", 32.0487, 118.7976},
    {"370202", "山东省青岛市市南区", "青岛", "532", "鲁B", 36.0671, 120.3826},
    {"610113", "陕西省西安市雁塔区", "西安", "29", "陕A", 34.2137, 108.9480},
    {"500103", "重庆市渝中区", "重庆", "23", "渝A", 29.5567, 106.5680},
    {"430104", "湖南省长沙市岳麓区", "长沙", "731", "湘A", 28.2356, 112.9313},
    {"350203", "福建省厦门市思明区", "厦门", "592", "闽D", 24.4798, 118.0894},
    {"110108", "北京市海淀区", "北京", "10", "京N", 39.9593, 116.2981},
    {"310104", "上海市徐汇区", "上海", "21", "沪C", 31.1885, 121.4365},
    {"120103", "天津市河西区", "天津", "22", "津B", 39.1093, 117.2234},
    {"530102", "云南省昆明市五华区", "昆明", "871", "云A", 25.0434, 102.7074},
    {"210203", "辽宁省大连市西岗区", "大连", "411", "辽B", 38.9148, 121.6124},
    {"640104", "宁夏回族自治区银川市兴庆区", "银川", "951", "宁A", 38.4679, 106.2883},
};
const int RegionCount = int(sizeof(Regions) / sizeof(Regions[0]));

struct Latin
{
    const char *han;
    const char *latin;
};
const Latin Surnames[] = {{"王", "Wang"}, {"李", "Li"}, {"张", "Zhang"}, {"刘", "Liu"}, {"陈", "Chen"}, {"杨", "Yang"},
                          {"黄", "Huang"}, {"赵", "Zhao"}, {"吴", "Wu"}, {"周", "Zhou"}, {"徐", "Xu"}, {"孙", "Sun"},
                          {"马", "Ma"}, {"朱", "Zhu"}, {"胡", "Hu"}, {"郭", "Guo"}, {"何", "He"}, {"林", "Lin"},
                          {"罗", "Luo"}, {"高", "Gao"}, {"郑", "Zheng"}, {"梁", "Liang"}, {"谢", "Xie"}, {"宋", "Song"},
                          {"唐", "Tang"}, {"许", "Xu"}, {"邓", "Deng"}, {"冯", "Feng"}, {"韩", "Han"}, {"曹", "Cao"},
                          {"彭", "Peng"}, {"曾", "Zeng"}, {"萧", "Xiao"}, {"田", "Tian"}, {"董", "Dong"}, {"潘", "Pan"},
                          {"袁", "Yuan"}, {"蒋", "Jiang"}, {"蔡", "Cai"}, {"余", "Yu"}, {"杜", "Du"}, {"叶", "Ye"},
                          {"程", "Cheng"}, {"魏", "Wei"}, {"苏", "Su"}, {"吕", "Lyu"}, {"丁", "Ding"}, {"任", "Ren"},
                          {"卢", "Lu"}, {"姚", "Yao"}, {"沈", "Shen"}, {"钟", "Zhong"}, {"姜", "Jiang"}, {"崔", "Cui"},
                          {"谭", "Tan"}, {"陆", "Lu"}, {"范", "Fan"}, {"汪", "Wang"}, {"廖", "Liao"}, {"石", "Shi"},
                          {"金", "Jin"}, {"贾", "Jia"}, {"夏", "Xia"}, {"付", "Fu"}, {"方", "Fang"}, {"邹", "Zou"},
                          {"欧阳", "Ouyang"}, {"司马", "Sima"}, {"上官", "Shangguan"}, {"诸葛", "Zhuge"}, {"皇甫", "Huangfu"}};
const Latin MaleGiven[] = {{"浩", "hao"}, {"宇", "yu"}, {"轩", "xuan"}, {"俊", "jun"}, {"杰", "jie"}, {"涛", "tao"},
                           {"斌", "bin"}, {"峰", "feng"}, {"磊", "lei"}, {"鹏", "peng"}, {"建", "jian"}, {"国", "guo"},
                           {"志", "zhi"}, {"伟", "wei"}, {"明", "ming"}, {"辉", "hui"}, {"博", "bo"}, {"晨", "chen"},
                           {"子", "zi"}, {"睿", "rui"}, {"泽", "ze"}, {"凯", "kai"}, {"文", "wen"}, {"海", "hai"},
                           {"强", "qiang"}, {"军", "jun"}, {"平", "ping"}, {"立", "li"}, {"成", "cheng"}, {"德", "de"}};
const Latin FemaleGiven[] = {{"婷", "ting"}, {"静", "jing"}, {"丽", "li"}, {"敏", "min"}, {"燕", "yan"}, {"芳", "fang"},
                             {"娟", "juan"}, {"霞", "xia"}, {"琳", "lin"}, {"雪", "xue"}, {"梅", "mei"}, {"欣", "xin"},
                             {"怡", "yi"}, {"佳", "jia"}, {"思", "si"}, {"雨", "yu"}, {"萱", "xuan"}, {"淑", "shu"},
                             {"玉", "yu"}, {"红", "hong"}, {"秀", "xiu"}, {"兰", "lan"}, {"晓", "xiao"}, {"莉", "li"},
                             {"倩", "qian"}, {"悦", "yue"}, {"彤", "tong"}, {"颖", "ying"}, {"慧", "hui"}, {"洁", "jie"}};
const int MaleCount = int(sizeof(MaleGiven) / sizeof(MaleGiven[0]));
const int FemaleCount = int(sizeof(FemaleGiven) / sizeof(FemaleGiven[0]));
const int SurnameCount = int(sizeof(Surnames) / sizeof(Surnames[0]));

const QStringList Streets = {"文三路", "学院路", "科技园南路", "人民南路四段", "中北路", "沿江大道", "香港中路",
                             "长安南路", "解放碑步行街", "枫林路", "湖滨南路", "中关村东路", "漕溪北路", "友谊路",
                             "东风路", "五四路", "青年路", "建设大道", "和平里西街", "幸福路"};
const QStringList Estates = {"金色家园", "阳光花园", "翠湖天地", "锦绣华庭", "东方明珠苑", "学府小区", "丽景湾",
                             "和谐家园", "滨江一号", "紫荆公寓", "梧桐里", "新华村"};
const QStringList Companies = {"杭州云栈信息技术有限公司", "深圳市恒瑞精密制造有限公司", "成都蓉信会计师事务所",
                               "武汉长江物流股份有限公司", "南京博远教育咨询有限公司", "青岛海润食品有限公司",
                               "西安秦川软件有限公司", "重庆山城建筑工程有限公司", "长沙麓谷生物科技有限公司",
                               "厦门鹭岛旅游发展有限公司"};
const QStringList Banks = {"中国工商银行", "中国建设银行", "中国农业银行", "中国银行", "招商银行", "交通银行",
                           "兴业银行", "浦发银行", "中信银行", "平安银行"};
const QStringList BankBins = {"622202", "621700", "622848", "621661", "622588", "622260", "622908", "622521",
                              "622690", "621483"};
const QStringList Posts = {"软件工程师", "财务主管", "人力资源专员", "销售经理", "仓库管理员", "行政助理", "产品经理",
                           "护士长", "质量检验员", "数据分析师", "法务专员", "采购员", "客服组长", "电工", "会计"};
const QStringList Degrees = {"本科", "硕士研究生", "大专", "博士研究生", "高中", "中专"};
const QStringList Schools = {"浙江大学", "华中科技大学", "四川大学", "西安交通大学", "厦门大学", "山东大学",
                             "湖南师范大学", "重庆邮电大学", "南京信息工程大学", "云南财经大学"};
const QStringList Majors = {"计算机科学与技术", "会计学", "临床医学", "机械设计制造及其自动化", "汉语言文学",
                            "国际经济与贸易", "护理学", "土木工程", "法学", "市场营销"};
const QStringList Diagnoses = {"2型糖尿病", "原发性高血压3级", "社区获得性肺炎", "急性化脓性阑尾炎", "胆囊结石伴慢性胆囊炎",
                               "慢性阻塞性肺疾病急性加重", "急性脑梗死", "桥本甲状腺炎", "类风湿关节炎", "痛风性关节炎",
                               "慢性乙型病毒性肝炎", "重度抑郁发作", "广泛性焦虑障碍", "双相情感障碍", "支气管哮喘",
                               "十二指肠球部溃疡", "左肾结石", "乳腺浸润性导管癌", "乙状结肠腺癌", "子宫平滑肌瘤",
                               "骨质疏松症", "帕金森病", "阿尔茨海默病", "持续性心房颤动", "不稳定型心绞痛",
                               "急性前壁心肌梗死", "缺铁性贫血", "带状疱疹", "寻常型银屑病", "颈椎病（神经根型）",
                               "右股骨颈骨折", "慢性肾脏病4期", "系统性红斑狼疮", "继发性癫痫", "肺结核",
                               "妊娠期糖尿病", "精神分裂症", "腰椎间盘突出症", "鼻咽癌", "慢性丙型肝炎"};
const QStringList Medicines = {"盐酸二甲双胍缓释片", "阿托伐他汀钙片", "苯磺酸氨氯地平片", "硝苯地平控释片",
                               "阿司匹林肠溶片", "硫酸氢氯吡格雷片", "奥美拉唑肠溶胶囊", "左甲状腺素钠片",
                               "门冬胰岛素注射液", "盐酸舍曲林片", "草酸艾司西酞普兰片", "富马酸喹硫平片",
                               "丙戊酸钠缓释片", "头孢呋辛酯片", "阿莫西林胶囊", "布地奈德福莫特罗吸入粉雾剂",
                               "孟鲁司特钠片", "甲氨蝶呤片", "恩替卡韦分散片", "别嘌醇片", "华法林钠片",
                               "琥珀酸美托洛尔缓释片", "厄贝沙坦片", "瑞舒伐他汀钙片", "碳酸钙D3片", "多奈哌齐片",
                               "左乙拉西坦片", "利培酮片", "异烟肼片", "塞来昔布胶囊"};
const QStringList Operations = {"腹腔镜胆囊切除术", "阑尾切除术", "经皮冠状动脉介入治疗", "人工股骨头置换术",
                                "乳腺癌改良根治术", "腰椎后路减压融合术", "子宫肌瘤剔除术", "输尿管镜碎石术"};
const QStringList Relatives = {"父亲", "母亲", "配偶", "丈夫", "妻子", "儿子", "女儿", "哥哥", "姐姐", "弟弟", "妹妹",
                               "岳父", "婆婆", "外婆", "舅舅"};
const QStringList Marital = {"已婚", "未婚", "离异", "丧偶", "已婚已育"};
const QStringList Groups = {"最低生活保障对象", "特困供养人员", "重度残疾人", "独居空巢老人", "留守儿童", "孤儿",
                            "退役军人", "烈士遗属", "低收入家庭", "脱贫监测户", "失能老人", "困境儿童"};
const QStringList Disabilities = {"肢体残疾二级", "视力残疾一级", "听力残疾三级", "言语残疾四级", "智力残疾二级",
                                  "精神残疾三级", "多重残疾一级"};
const QStringList Crimes = {"盗窃罪", "诈骗罪", "危险驾驶罪", "故意伤害罪", "寻衅滋事罪", "非法吸收公众存款罪",
                            "交通肇事罪", "帮助信息网络犯罪活动罪", "开设赌场罪", "职务侵占罪"};
const QStringList Sentences = {"有期徒刑一年六个月", "拘役四个月，缓刑六个月", "有期徒刑三年，缓刑四年", "有期徒刑八个月",
                               "有期徒刑二年三个月，并处罚金人民币二万元", "拘役五个月，并处罚金人民币三千元"};
const QStringList Hotels = {"全季酒店", "亚朵酒店", "汉庭酒店", "如家商旅酒店", "维也纳国际酒店", "希尔顿欢朋酒店",
                            "锦江之星", "桔子水晶酒店"};
const QStringList Airlines = {"CA", "MU", "CZ", "HU", "3U", "ZH", "MF", "SC", "9C", "HO"};
const QStringList Hanzi = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};

QString ascii(const char *text)
{
    return QString::fromUtf8(text);
}

QString escaped(const QString &field)
{
    QString out = field;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    out.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return out;
}

QString formatName(SecondCorpus::Format format)
{
    switch (format) {
    case SecondCorpus::Format::TxtUtf8: return QStringLiteral("txt-utf8");
    case SecondCorpus::Format::TxtGbk: return QStringLiteral("txt-gbk");
    case SecondCorpus::Format::TxtUtf16: return QStringLiteral("txt-utf16");
    case SecondCorpus::Format::Csv: return QStringLiteral("csv");
    case SecondCorpus::Format::Docx: return QStringLiteral("docx");
    case SecondCorpus::Format::Xlsx: return QStringLiteral("xlsx");
    case SecondCorpus::Format::Pptx: return QStringLiteral("pptx");
    case SecondCorpus::Format::PdfEmbedded: return QStringLiteral("pdf-embedded");
    case SecondCorpus::Format::PdfUnembedded: return QStringLiteral("pdf-unembedded");
    case SecondCorpus::Format::Doc: return QStringLiteral("doc");
    }
    return QString();
}

// A printed line of a PDF without an embedded font is as wide as the page
// holds; longer ones wrap where a person's printer would, at a gap or after
// punctuation, never inside a value.
QStringList wrapped(const QStringList &lines, int width)
{
    QStringList out;
    for (QString line : lines) {
        while (line.size() > width) {
            int cut = -1;
            for (int i = width; i > width / 3; --i) {
                const QChar c = line.at(i - 1);
                if (c == QLatin1Char(' ') || c == QChar(0xFF0C) || c == QChar(0x3002) || c == QChar(0xFF1B)) {
                    cut = i;
                    break;
                }
            }
            if (cut < 0)
                break;
            out.append(line.left(cut).trimmed());
            line = line.mid(cut);
        }
        out.append(line);
    }
    return out;
}

} // namespace

SecondCorpus::SecondCorpus(quint64 seed) : SeededRandom(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull)
{
}

// ---------------------------------------------------------------- values

QString SecondCorpus::name(bool male)
{
    const Latin &s = Surnames[chance(6) ? SurnameCount - 1 - below(5) : below(SurnameCount - 5)];
    QString n = ascii(s.han);
    const int given = chance(70) ? 2 : 1;
    QString last;
    for (int i = 0; i < given; ++i) {
        QString c;
        do
            c = ascii(male ? MaleGiven[below(MaleCount)].han : FemaleGiven[below(FemaleCount)].han);
        while (c == last);
        n += c;
        last = c;
    }
    return n;
}

SecondCorpus::Person SecondCorpus::person(int minAge, int maxAge)
{
    Person p;
    p.male = chance(50);
    const Latin &s = Surnames[chance(6) ? SurnameCount - 1 - below(5) : below(SurnameCount - 5)];
    QString given, latinGiven;
    const int count = chance(70) ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        const Latin &g = p.male ? MaleGiven[below(MaleCount)] : FemaleGiven[below(FemaleCount)];
        given += ascii(g.han);
        latinGiven += ascii(g.latin);
    }
    p.name = ascii(s.han) + given;
    latinGiven[0] = latinGiven.at(0).toUpper();
    p.latin = QString::fromLatin1(s.latin).toUpper() + QLatin1Char(' ') + latinGiven;
    p.mailName = latinGiven.toLower() + (chance(50) ? QStringLiteral(".") : QString()) + QString::fromLatin1(s.latin).toLower();
    const int years = minAge + below(maxAge - minAge + 1);
    p.birth = writtenOn().addYears(-years).addDays(-below(360));
    p.region = below(RegionCount);
    p.id = id(p.region, p.birth, p.male);
    p.mobile = mobile();
    return p;
}

QString SecondCorpus::id(int region, const QDate &birth, bool male)
{
    int order = below(500) * 2 + (male ? 1 : 0);
    const QString first17 = ascii(Regions[region].code) + birth.toString(QStringLiteral("yyyyMMdd"))
        + QString::number(order).rightJustified(3, QLatin1Char('0'));
    return first17 + CheckDigits::residentId(first17);
}

// A resident identity number with a wrong check character or a date no
// calendar has: what a typo or a made-up test value looks like.
QString SecondCorpus::badId(int region, const QDate &birth, bool impossibleDate)
{
    QString date = birth.toString(QStringLiteral("yyyyMMdd"));
    if (impossibleDate)
        date = date.left(4) + pick({"1332", "0230", "0000", "1131", "0431"});
    const QString first17 = ascii(Regions[region].code) + date + digits(3);
    const QChar right = CheckDigits::residentId(first17);
    QChar wrong = right;
    while (wrong == right)
        wrong = QChar('0' + below(10));
    return first17 + (impossibleDate ? right : wrong);
}

QString SecondCorpus::mobile()
{
    static const QStringList prefixes = {"130", "131", "132", "133", "135", "136", "137", "138", "139", "150", "151",
                                         "152", "155", "156", "157", "158", "159", "166", "173", "175", "176", "177",
                                         "180", "181", "182", "183", "185", "186", "187", "188", "189", "191", "193",
                                         "195", "198", "199"};
    return pick(prefixes) + digits(8);
}

QString SecondCorpus::spaced(const QString &text, const QList<int> &groups, const QString &separator)
{
    QStringList parts;
    int at = 0;
    for (int g : groups) {
        parts.append(text.mid(at, g));
        at += g;
    }
    if (at < text.size())
        parts.append(text.mid(at));
    return parts.join(separator);
}

QString SecondCorpus::writeMobile(const QString &m)
{
    switch (below(12)) {
    case 0: return spaced(m, {3, 4, 4}, QStringLiteral("-"));
    case 1: return spaced(m, {3, 4, 4}, QStringLiteral(" "));
    case 2: return QStringLiteral("+86 ") + spaced(m, {3, 4, 4}, QStringLiteral(" "));
    case 3: return QStringLiteral("(+86)") + m;
    case 4: return fullWidth(m);
    case 5: return QStringLiteral("0086-") + m;
    case 6: return spaced(m, {3, 4, 4}, QStringLiteral("."));
    default: return m;
    }
}

QString SecondCorpus::writeId(const QString &i)
{
    switch (below(10)) {
    case 0: return spaced(i, {6, 8, 4}, QStringLiteral(" "));
    case 1: return fullWidth(i);
    case 2: return i.endsWith(QLatin1Char('X')) ? i.left(17) + QLatin1Char('x') : spaced(i, {6, 4, 4, 4}, QStringLiteral(" "));
    default: return i;
    }
}

QString SecondCorpus::homePhone(int region)
{
    const QString area = QLatin1Char('0') + ascii(Regions[region].areaCode);
    const QString local = QString::number(2 + below(7)) + digits(7);
    switch (below(6)) {
    case 0: return QLatin1Char('(') + area + QLatin1Char(')') + local;
    case 1: return QStringLiteral("（") + area + QStringLiteral("）") + spaced(local, {local.size() / 2}, QStringLiteral("-"));
    case 2: return area + QLatin1Char(' ') + spaced(local, {4}, QStringLiteral(" "));
    case 3: return QStringLiteral("+86-") + area.mid(1) + QLatin1Char('-') + local;
    default: return area + QLatin1Char('-') + local;
    }
}

QString SecondCorpus::email(const Person &p)
{
    static const QStringList domains = {"qq.com", "163.com", "126.com", "foxmail.com", "sina.com", "outlook.com",
                                        "gmail.com", "yeah.net", "139.com", "hotmail.com"};
    const QString domain = pick(domains);
    if (domain == QLatin1String("qq.com") && chance(60))
        return QString::number(1 + below(9)) + digits(7 + below(3)) + QStringLiteral("@qq.com");
    return p.mailName + (chance(50) ? QString::number(p.birth.year() % 100) : QString()) + QLatin1Char('@') + domain;
}

QString SecondCorpus::card()
{
    const QString start = pick(BankBins) + digits(below(2) ? 12 : 9);
    return start + CheckDigits::luhn(start);
}

QString SecondCorpus::writeCard(const QString &c)
{
    switch (below(4)) {
    case 0: return spaced(c, {4, 4, 4, 4}, QStringLiteral(" "));
    case 1: return spaced(c, {4, 4, 4, 4}, QStringLiteral("-"));
    default: return c;
    }
}

QString SecondCorpus::badCard()
{
    QString c = card();
    const QChar last = c.back();
    c.chop(1);
    return c + QChar('0' + (last.digitValue() + 1 + below(8)) % 10);
}

QString SecondCorpus::address(int region)
{
    const Region &r = Regions[region];
    QString a = ascii(r.place);
    if (chance(60))
        a += pick(Streets) + QString::number(1 + below(900)) + QStringLiteral("号") + pick(Estates)
            + QString::number(1 + below(30)) + QStringLiteral("幢") + QString::number(1 + below(32)) + QString::number(1 + below(4)).rightJustified(2, QLatin1Char('0')) + QStringLiteral("室");
    else
        a += pick(Estates) + QString::number(1 + below(20)) + QStringLiteral("栋") + QString::number(1 + below(4))
            + QStringLiteral("单元") + QString::number(1 + below(25)) + QString::number(1 + below(4)).rightJustified(2, QLatin1Char('0'));
    return a;
}

QString SecondCorpus::coordinates(int region)
{
    const Region &r = Regions[region];
    const double lat = r.lat + (below(2000) - 1000) / 50000.0;
    const double lng = r.lng + (below(2000) - 1000) / 50000.0;
    auto dms = [](double v) {
        const int d = int(v);
        const double m = (v - d) * 60;
        return QStringLiteral("%1°%2′%3″").arg(d).arg(int(m), 2, 10, QLatin1Char('0')).arg(QString::number((m - int(m)) * 60, 'f', 1));
    };
    switch (below(5)) {
    case 0: return QString::number(lat, 'f', 6) + QStringLiteral(", ") + QString::number(lng, 'f', 6);
    case 1: return QStringLiteral("N") + QString::number(lat, 'f', 5) + QStringLiteral(" E") + QString::number(lng, 'f', 5);
    case 2: return dms(lat) + QStringLiteral("N ") + dms(lng) + QStringLiteral("E");
    case 3: return QString::number(lng, 'f', 6) + QLatin1Char(',') + QString::number(lat, 'f', 6);
    default: return QStringLiteral("纬度") + QString::number(lat, 'f', 5) + QStringLiteral("，经度") + QString::number(lng, 'f', 5);
    }
}

QString SecondCorpus::plate(int region)
{
    static const QString letters = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ");
    QString tail;
    const bool green = chance(25);
    if (green) {
        tail = QString(chance(50) ? QLatin1Char('D') : QLatin1Char('F')) + digits(5);
    } else {
        for (int i = 0; i < 5; ++i)
            tail += i > 0 && chance(70) ? QChar('0' + below(10)) : letters.at(below(letters.size()));
    }
    const QString prefix = ascii(Regions[region].plate);
    switch (below(3)) {
    case 0: return prefix + QStringLiteral("·") + tail;
    case 1: return prefix + QLatin1Char(' ') + tail;
    default: return prefix + tail;
    }
}

QString SecondCorpus::passport()
{
    // The older booklets: E and 8 digits; the newer: E, a letter and 7 digits.
    if (chance(60))
        return QStringLiteral("E") + digits(8);
    return QStringLiteral("E") + QChar('A' + below(8)) + digits(7);
}

QString SecondCorpus::imei()
{
    const QString start = QStringLiteral("86") + digits(12);
    return start + CheckDigits::luhn(start);
}

QString SecondCorpus::mac()
{
    static const QString hex = QStringLiteral("0123456789ABCDEF");
    QStringList bytes;
    for (int i = 0; i < 6; ++i)
        bytes.append(QString(hex.at(below(16))) + hex.at(below(16)));
    switch (below(3)) {
    case 0: return bytes.join(QLatin1Char('-'));
    case 1: return bytes.join(QLatin1Char(':')).toLower();
    default: return bytes.join(QLatin1Char(':'));
    }
}

QString SecondCorpus::ip()
{
    switch (below(3)) {
    case 0: return QStringLiteral("192.168.%1.%2").arg(below(20)).arg(2 + below(250));
    case 1: return QStringLiteral("10.%1.%2.%3").arg(below(255)).arg(below(255)).arg(2 + below(250));
    default: return QStringLiteral("172.%1.%2.%3").arg(16 + below(16)).arg(below(255)).arg(2 + below(250));
    }
}

QString SecondCorpus::serial()
{
    static const QString chars = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ0123456789");
    QString s;
    const int n = pick({"7", "10", "12"}).toInt();
    for (int i = 0; i < n; ++i)
        s += chars.at(below(chars.size()));
    return s;
}

QString SecondCorpus::money(int yuan)
{
    const QString grouped = QLocale(QLocale::English).toString(yuan);
    switch (below(6)) {
    case 0: return grouped + QStringLiteral(".00元");
    case 1: return QStringLiteral("¥") + grouped;
    case 2: return QStringLiteral("人民币") + QString::number(yuan) + QStringLiteral("元");
    case 3: return yuan >= 10000 && yuan % 1000 == 0 ? QString::number(yuan / 10000.0) + QStringLiteral("万元") : QString::number(yuan) + QStringLiteral("元");
    case 4: return QString::number(yuan) + QStringLiteral(".00");
    default: return QString::number(yuan) + QStringLiteral("元");
    }
}

QString SecondCorpus::flight()
{
    return pick(Airlines) + QString::number(1000 + below(8999));
}

QString SecondCorpus::train()
{
    return pick({"G", "D", "G", "K", "Z", "C"}) + QString::number(1 + below(2999));
}

QString SecondCorpus::hotel(int region)
{
    return pick(Hotels) + QStringLiteral("（") + ascii(Regions[region].city) + pick({"火车站店", "会展中心店", "高新区店", "机场店", "市中心店"})
        + QStringLiteral("）");
}

// The disability card number: the holder's identity number and two digits
// for the kind and grade of the disability.
QString SecondCorpus::disabilityCard(const QString &i)
{
    return i + QString::number(1 + below(7)) + QString::number(1 + below(4));
}

QString SecondCorpus::age(const QDate &birth) const
{
    int years = writtenOn().year() - birth.year();
    if (QDate(writtenOn().year(), birth.month(), qMin(birth.day(), 28)) > writtenOn())
        --years;
    return QString::number(years);
}

QString SecondCorpus::fullWidth(const QString &text)
{
    QString out;
    for (const QChar c : text)
        out += c.unicode() > 0x20 && c.unicode() < 0x7F ? QChar(c.unicode() + 0xFEE0) : c;
    return out;
}

CorpusDocument &SecondCorpus::field(CorpusDocument &doc, const QString &label, const QString &category, const QString &value)
{
    static const QStringList colons = {"：", "：", "：", ":", ": ", "： ", "　"};
    doc.text(label + pick(colons)).item(category, value);
    return doc;
}

// ---------------------------------------------------------------- look-alikes

void SecondCorpus::lookAlikeLine(CorpusDocument &doc)
{
    const Person p = person(20, 60);
    switch (below(16)) {
    case 0:
        doc.text(QStringLiteral("合同编号：")).lookAlike(Identity, QStringLiteral("HT") + QString::number(2025) + digits(8), QStringLiteral("contract number"));
        break;
    case 1:
        doc.text(QStringLiteral("测试账号身份证：")).lookAlike(Identity, badId(p.region, p.birth, false), QStringLiteral("wrong check character"));
        break;
    case 2:
        doc.text(QStringLiteral("示例证件号 ")).lookAlike(Identity, badId(p.region, p.birth, true), QStringLiteral("impossible date"));
        break;
    case 3:
        doc.text(QStringLiteral("订单号：")).lookAlike(Identity, QStringLiteral("2025") + digits(14), QStringLiteral("order number"));
        break;
    case 4:
        doc.text(QStringLiteral("快递单号 SF")).lookAlike(Identity, digits(13), QStringLiteral("parcel number"));
        break;
    case 5:
        doc.text(QStringLiteral("生成时间戳 ")).lookAlike(Identity, QStringLiteral("17") + digits(8), QStringLiteral("unix timestamp"));
        break;
    case 6:
        doc.text(QStringLiteral("联系人手机（已脱敏）：")).lookAlike(Identity, p.mobile.left(3) + QStringLiteral("****") + p.mobile.right(4), QStringLiteral("masked mobile"));
        break;
    case 7:
        doc.text(QStringLiteral("退款卡号（无效）：")).lookAlike(Account, badCard(), QStringLiteral("card failing the Luhn check"));
        break;
    case 8:
        doc.text(QStringLiteral("客户端版本 ")).lookAlike(Device, QStringLiteral("%1.%2.%3.%4").arg(1 + below(12)).arg(below(20)).arg(below(10)).arg(below(3000)), QStringLiteral("version string"));
        break;
    case 9:
        doc.text(QStringLiteral("示例服务器 ")).lookAlike(Device, QStringLiteral("203.0.113.") + QString::number(1 + below(250)), QStringLiteral("documentation address"));
        break;
    case 10: {
        QString hex;
        for (int i = 0; i < 3; ++i)
            hex += QString::number(next(), 16).rightJustified(16, QLatin1Char('0'));
        doc.text(QStringLiteral("文件校验值（SHA-1）")).lookAlike(Device, hex.left(40), QStringLiteral("hash"));
        break;
    }
    case 11:
        doc.text(QStringLiteral("如有疑问请发送邮件至 ")).lookAlike(Identity, pick({"xxx@xxx.com", "name@example.com", "yourname@domain.com", "test@test.com"}), QStringLiteral("placeholder address"));
        break;
    case 12:
        doc.text(QStringLiteral("服务热线 ")).lookAlike(Identity, pick({"400-820-", "400-610-", "800-830-"}) + digits(4), QStringLiteral("company hotline"));
        break;
    case 13:
        doc.text(QStringLiteral("证件号示例：")).lookAlike(Identity, p.id.left(6) + QStringLiteral("********") + p.id.right(4), QStringLiteral("masked identity number"));
        break;
    case 14:
        doc.text(QStringLiteral("发票号码 ")).lookAlike(Identity, digits(20), QStringLiteral("invoice number"));
        break;
    default:
        doc.text(QStringLiteral("打印时间 ")).lookAlike(Identity, QStringLiteral("2025-%1-%2 %3:%4:%5").arg(1 + below(12), 2, 10, QLatin1Char('0')).arg(1 + below(28), 2, 10, QLatin1Char('0')).arg(below(24), 2, 10, QLatin1Char('0')).arg(below(60), 2, 10, QLatin1Char('0')).arg(below(60), 2, 10, QLatin1Char('0')), QStringLiteral("timestamp"));
        break;
    }
    doc.endParagraph();
}

// ---------------------------------------------------------------- documents

CorpusDocument SecondCorpus::employmentContract()
{
    CorpusDocument doc;
    const Person p = person(22, 50);
    const QString company = pick(Companies);
    doc.paragraph(pick({"劳动合同书", "劳动合同（固定期限）", "聘用合同"}));
    doc.text(QStringLiteral("甲方（用人单位）：") + company).endParagraph();
    doc.text(QStringLiteral("法定代表人：")).item(Identity, name(chance(50))).endParagraph();
    field(doc, pick({"乙方（劳动者）", "乙方姓名", "乙方"}), Identity, p.name).endParagraph();
    field(doc, pick({"居民身份证号码", "公民身份号码", "身份证号", "证件号码"}), Identity, writeId(p.id)).endParagraph();
    if (chance(50)) {
        field(doc, pick({"户籍地址", "家庭住址", "现住址", "通讯地址"}), Location, address(p.region)).endParagraph();
    } else {
        doc.text(QStringLiteral("乙方现居住于")).item(Location, address(p.region)).text(QStringLiteral("，通知送达以该地址为准。")).endParagraph();
    }
    field(doc, pick({"联系电话", "手机", "移动电话", "手机号码"}), Identity, writeMobile(p.mobile)).endParagraph();
    const QString post = pick(Posts);
    doc.text(QStringLiteral("第二条 甲方根据工作需要，安排乙方在")).item(Career, post)
        .text(QStringLiteral("岗位工作，工作地点为") + ascii(Regions[p.region].city) + QStringLiteral("。")).endParagraph();
    const int salary = (5 + below(25)) * 500;
    doc.text(QStringLiteral("第四条 乙方月工资为")).item(Finance, money(salary))
        .text(pick({"（税前），试用期工资为", "，试用期三个月，试用期月工资"})).item(Finance, money(salary * 4 / 5)).text(QStringLiteral("。")).endParagraph();
    const QString bank = pick(Banks);
    doc.text(QStringLiteral("甲方于每月15日前将工资转入乙方在") + bank + QStringLiteral("开立的账户（卡号")).item(Account, writeCard(card())).text(QStringLiteral("）。")).endParagraph();
    if (chance(60)) {
        const Person c = person(25, 70);
        const QString rel = pick(Relatives);
        doc.text(QStringLiteral("紧急联系人：")).item(Relations, c.name).text(QStringLiteral("（") + rel + QStringLiteral("），电话")).item(Identity, writeMobile(c.mobile)).endParagraph();
        doc.alsoLabel(Identity, c.name);
    }
    if (chance(40))
        field(doc, pick({"学历", "最高学历"}), Career, pick(Degrees)).endParagraph();
    if (chance(30))
        lookAlikeLine(doc);
    doc.paragraph(QStringLiteral("甲方（盖章）：") + company);
    doc.text(QStringLiteral("乙方（签字）：")).item(Identity, p.name).text(QStringLiteral("    签订日期：2025年") + QString::number(1 + below(11)) + QStringLiteral("月") + QString::number(1 + below(28)) + QStringLiteral("日")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::dischargeSummary()
{
    CorpusDocument doc;
    const bool child = chance(20);
    const Person p = person(child ? 3 : 25, child ? 15 : 85);
    doc.paragraph(pick({"出院小结", "出院记录", "住院病历摘要"}));
    doc.text(QStringLiteral("姓名：")).item(Identity, p.name).text(QStringLiteral("  性别：") + (p.male ? QStringLiteral("男") : QStringLiteral("女")) + QStringLiteral("  年龄："));
    if (child)
        doc.item(Minor, age(p.birth) + QStringLiteral("岁"));
    else
        doc.text(age(p.birth) + QStringLiteral("岁"));
    doc.text(QStringLiteral("  住院号：")).item(Medical, QString::number(100000 + below(899999))).endParagraph();
    if (child) {
        doc.text(QStringLiteral("患儿身份证号：")).item(Identity, p.id).endParagraph();
        doc.alsoLabel(Minor, p.id);
    }
    const QString d1 = pick(Diagnoses);
    const QString d2 = pick(Diagnoses);
    doc.text(pick({"入院诊断：", "入院诊断:"})).item(Medical, d1).endParagraph();
    doc.text(QStringLiteral("出院诊断：1.")).item(Medical, d1).text(QStringLiteral(" 2.")).item(Medical, d2).endParagraph();
    doc.text(QStringLiteral("入院情况：患者因“") + pick({"反复咳嗽咳痰", "右上腹疼痛", "胸闷气短", "头晕乏力", "发热"}) + QStringLiteral("”")
             + QString::number(2 + below(20)) + QStringLiteral("天入院。查体：体温")).item(Physical, QString::number(36 + below(3)) + QLatin1Char('.') + QString::number(below(10)) + QStringLiteral("℃"))
        .text(QStringLiteral("，血压")).item(Physical, QString::number(100 + below(70)) + QLatin1Char('/') + QString::number(60 + below(40)) + QStringLiteral("mmHg"))
        .text(QStringLiteral("，心率")).item(Physical, QString::number(60 + below(50)) + QStringLiteral("次/分")).text(QStringLiteral("。")).endParagraph();
    if (chance(50))
        doc.text(QStringLiteral("诊疗经过：完善检查后于全麻下行")).item(Medical, pick(Operations)).text(QStringLiteral("，术后恢复可。")).endParagraph();
    doc.text(QStringLiteral("出院带药：")).item(Medical, pick(Medicines)).text(QStringLiteral(" ") + pick({"0.5g 每日两次", "1片 每日一次", "10mg qn", "遵医嘱"}) + QStringLiteral("；")).item(Medical, pick(Medicines)).text(QStringLiteral(" 1片 每日一次")).endParagraph();
    if (chance(50))
        field(doc, QStringLiteral("血型"), Physical, pick({"A型", "B型", "O型", "AB型", "O型 Rh阳性", "A型Rh(+)"})).endParagraph();
    const Person f = person(30, 70);
    doc.text(QStringLiteral("家属（") + pick(Relatives) + QStringLiteral("）")).item(Relations, f.name).text(QStringLiteral("已知情，联系电话")).item(Identity, writeMobile(f.mobile)).text(QStringLiteral("。")).endParagraph();
    doc.alsoLabel(Identity, f.name);
    doc.text(QStringLiteral("主治医师：")).item(Identity, name(chance(50))).text(QStringLiteral("    住院医师：")).item(Identity, name(chance(50))).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::prescription()
{
    CorpusDocument doc;
    const Person p = person(18, 80);
    doc.paragraph(ascii(Regions[p.region].city) + pick({"市第一人民医院 处方笺", "中医院 门诊处方", "社区卫生服务中心处方"}));
    doc.table({"姓名", "性别", "年龄", "门诊号", "科别"});
    doc.row({cell(Identity, p.name), CorpusDocument::plain(p.male ? QStringLiteral("男") : QStringLiteral("女")), CorpusDocument::plain(age(p.birth) + QStringLiteral("岁")),
             cell(Medical, QStringLiteral("MZ") + digits(8)), CorpusDocument::plain(pick({"内分泌科", "心内科", "精神科", "呼吸科", "消化内科"}))});
    doc.text(QStringLiteral("临床诊断：")).item(Medical, pick(Diagnoses)).endParagraph();
    doc.paragraph(QStringLiteral("Rp."));
    const int n = 1 + below(3);
    for (int i = 0; i < n; ++i)
        doc.text(QString::number(i + 1) + QStringLiteral(". ")).item(Medical, pick(Medicines)).text(QStringLiteral("  ") + pick({"×2盒", "×28片", "×1支"}) + QStringLiteral("  用法：") + pick({"口服，一次1片，一日2次", "口服 qd", "皮下注射 tid"})).endParagraph();
    doc.text(QStringLiteral("医师：")).item(Identity, name(chance(50))).text(QStringLiteral("  审核药师：")).item(Identity, name(chance(50))).endParagraph();
    if (chance(40))
        lookAlikeLine(doc);
    return doc;
}

CorpusDocument SecondCorpus::insuranceClaim()
{
    CorpusDocument doc;
    const Person p = person(20, 70);
    doc.paragraph(pick({"个人医疗保险理赔申请书", "意外险理赔申请表", "Claim Form 理赔申请"}));
    doc.text(QStringLiteral("保单号：")).lookAlike(Identity, QStringLiteral("P") + digits(15), QStringLiteral("policy number")).endParagraph();
    doc.table({"项目", "内容"});
    doc.row({CorpusDocument::plain(pick({"被保险人姓名", "被保险人"})), cell(Identity, p.name)});
    doc.row({CorpusDocument::plain(pick({"证件号码", "身份证号"})), cell(Identity, writeId(p.id))});
    doc.row({CorpusDocument::plain(QStringLiteral("联系电话")), cell(Identity, writeMobile(p.mobile))});
    doc.row({CorpusDocument::plain(QStringLiteral("出险原因")), CorpusDocument::plain(pick({"疾病住院", "意外摔伤", "门诊治疗"}))});
    doc.row({CorpusDocument::plain(pick({"诊断结果", "疾病名称"})), cell(Medical, pick(Diagnoses))});
    const int sum = 800 + below(60000);
    doc.row({CorpusDocument::plain(pick({"申请理赔金额", "索赔金额（元）"})), cell(Finance, QString::number(sum) + QStringLiteral(".00"))});
    doc.row({CorpusDocument::plain(pick({"收款账号", "领款人银行账号"})), cell(Account, writeCard(card()))});
    doc.row({CorpusDocument::plain(QStringLiteral("开户行")), CorpusDocument::plain(pick(Banks) + ascii(Regions[p.region].city) + QStringLiteral("分行"))});
    const Person b = person(20, 70);
    doc.text(QStringLiteral("身故受益人：")).item(Relations, b.name).text(QStringLiteral("，与被保险人关系：") + pick(Relatives)).endParagraph();
    doc.alsoLabel(Identity, b.name);
    doc.text(QStringLiteral("事故经过：被保险人于2025年") + QString::number(1 + below(10)) + QStringLiteral("月在") + ascii(Regions[p.region].city) + QStringLiteral("就诊，经检查确诊为"))
        .item(Medical, pick(Diagnoses)).text(QStringLiteral("，住院治疗") + QString::number(3 + below(20)) + QStringLiteral("天，自付医疗费用")).item(Finance, money(500 + below(30000))).text(QStringLiteral("。")).endParagraph();
    doc.text(QStringLiteral("申请人签名：")).item(Identity, p.name).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::schoolEnrolment()
{
    CorpusDocument doc;
    const Region &r = Regions[below(RegionCount)];
    doc.paragraph(ascii(r.city) + pick({"市实验小学2025年秋季新生入学登记", "外国语学校初一新生信息采集表", "区第二小学插班生登记"}));
    doc.table({"学生姓名", pick({"身份证号", "公民身份号码"}), pick({"年龄", "周岁"}), pick({"班级", "拟编班级"}), pick({"监护人", "家长姓名"}), QStringLiteral("关系"), pick({"家长电话", "联系电话"}), QStringLiteral("家庭住址"), QStringLiteral("备注")});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person c = person(6, 13);
        const Person g = person(30, 50);
        const QString cls = pick({"一年级", "二年级", "三年级", "四年级", "五年级", "初一"}) + pick({"（1）班", "（2）班", "3班", "(4)班"});
        const QString note = chance(20) ? pick({"留守儿童", "孤儿", "困境儿童", "随迁子女"}) : chance(15) ? pick({"哮喘，需备药", "对青霉素过敏", "先天性心脏病术后"}) : QString();
        QList<CorpusDocument::Cell> cells{cell(Identity, c.name), cell(Identity, c.id), cell(Minor, age(c.birth), chance(50)), cell(Minor, cls), cell(Identity, g.name),
                                          CorpusDocument::plain(pick({"父亲", "母亲", "祖父", "外婆"})), cell(Identity, g.mobile), cell(Location, address(c.region)), CorpusDocument::plain(note)};
        if (note.isEmpty())
            cells[8] = CorpusDocument::plain(QString());
        else
            cells[8] = cell(note.contains(QStringLiteral("儿")) || note.contains(QStringLiteral("子女")) ? Special : Medical, note);
        doc.row(cells);
        doc.labelCell(1, Minor);
        doc.labelCell(4, Relations);
    }
    return doc;
}

CorpusDocument SecondCorpus::scholarshipForm()
{
    CorpusDocument doc;
    const Person p = person(18, 23);
    doc.paragraph(pick({"国家助学金申请表", "学生资助申请审批表", "校级奖学金申请表"}));
    field(doc, QStringLiteral("姓名"), Identity, p.name).text(QStringLiteral("    性别：") + (p.male ? QStringLiteral("男") : QStringLiteral("女"))).endParagraph();
    field(doc, pick({"学号", "学生证号"}), Career, QStringLiteral("20") + QString::number(21 + below(4)) + digits(6)).endParagraph();
    field(doc, pick({"学院及专业", "专业"}), Career, pick(Majors)).endParagraph();
    field(doc, pick({"身份证号码", "身份证"}), Identity, writeId(p.id)).endParagraph();
    field(doc, pick({"家庭人均月收入", "家庭年收入"}), Finance, money((5 + below(60)) * 100)).endParagraph();
    doc.text(QStringLiteral("家庭经济困难类型：")).item(Special, pick({"建档立卡脱贫家庭", "城乡低保家庭", "特困供养", "残疾人子女", "烈士子女"})).endParagraph();
    doc.paragraph(QStringLiteral("家庭成员情况"));
    doc.table({"称谓", "姓名", "年龄", "工作单位或职业", "年收入"});
    const int members = 2 + below(3);
    for (int i = 0; i < members; ++i) {
        const Person m = person(40, 75);
        doc.row({CorpusDocument::plain(pick({"父亲", "母亲", "祖母", "哥哥"})), cell(Relations, m.name), CorpusDocument::plain(age(m.birth)),
                 cell(Career, pick({"务农", "个体经营", "无业", "建筑工人", "保洁员"})), cell(Finance, QString::number((1 + below(5)) * 6000), chance(30))});
        doc.labelCell(1, Identity);
    }
    doc.paragraph(QStringLiteral("申请理由：家中兄妹三人均在读书，靠务农维持生计，特申请资助。"));
    field(doc, QStringLiteral("资助发放银行卡号"), Account, card()).endParagraph();
    field(doc, QStringLiteral("本人手机"), Identity, writeMobile(p.mobile)).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::rentalAgreement()
{
    CorpusDocument doc;
    const Person a = person(35, 70);
    const Person b = person(22, 45);
    doc.paragraph(pick({"房屋租赁合同", "住房租赁协议"}));
    doc.text(QStringLiteral("出租方（甲方）：")).item(Identity, a.name).text(QStringLiteral("，身份证号")).item(Identity, writeId(a.id)).text(QStringLiteral("，电话")).item(Identity, writeMobile(a.mobile)).endParagraph();
    // A long line wraps inside the number when typed into a narrow form.
    const int cut = 8 + below(6);
    const QString tenantId = chance(35) ? b.id.left(cut) + QLatin1Char('\n') + b.id.mid(cut) : writeId(b.id);
    doc.text(QStringLiteral("承租方（乙方）：")).item(Identity, b.name).text(QStringLiteral("，身份证号")).item(Identity, tenantId).text(QStringLiteral("，电话")).item(Identity, writeMobile(b.mobile)).endParagraph();
    doc.text(QStringLiteral("第一条 甲方将位于")).item(Location, address(b.region)).text(QStringLiteral("的住房出租给乙方居住使用，建筑面积") + QString::number(40 + below(90)) + QStringLiteral("平方米。")).endParagraph();
    const int rent = (15 + below(60)) * 100;
    doc.text(QStringLiteral("第三条 月租金为")).item(Finance, money(rent)).text(QStringLiteral("，押一付三，押金")).item(Finance, money(rent)).text(QStringLiteral("。")).endParagraph();
    doc.text(QStringLiteral("甲方收款账户：") + pick(Banks) + QStringLiteral(" 户名")).item(Identity, a.name).text(QStringLiteral(" 账号")).item(Account, writeCard(card())).endParagraph();
    if (chance(40)) {
        const Person c = person(22, 45);
        doc.text(QStringLiteral("同住人：")).item(Identity, c.name).text(QStringLiteral("（乙方") + pick({"配偶", "女友", "同事", "妹妹"}) + QStringLiteral("）")).endParagraph();
        doc.alsoLabel(Relations, c.name);
    }
    if (chance(40))
        lookAlikeLine(doc);
    doc.text(QStringLiteral("甲方签字：")).item(Identity, a.name).text(QStringLiteral("        乙方签字：")).item(Identity, b.name).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::bankStatement()
{
    CorpusDocument doc;
    const Person p = person(22, 60);
    doc.paragraph(pick(Banks) + pick({"个人账户交易明细", "借记卡账户历史明细清单", "个人活期账户对账单"}));
    doc.text(QStringLiteral("户名：")).item(Identity, p.name).text(QStringLiteral("  账号：")).item(Account, card()).endParagraph();
    doc.text(QStringLiteral("起止日期：20250101-20250630  打印日期 ")).lookAlike(Identity, QStringLiteral("20251120"), QStringLiteral("date")).endParagraph();
    doc.table({"交易日期", "摘要", "交易金额", "账户余额", "对方户名", "流水号"});
    int balance = 5000 + below(80000);
    const int rows = 6 + below(8);
    for (int i = 0; i < rows; ++i) {
        const QString kind = pick({"工资", "转账支出", "消费", "快捷支付", "转账收入", "ATM取款", "房贷还款"});
        const bool in = kind == QStringLiteral("工资") || kind == QStringLiteral("转账收入");
        int amount = 50 + below(12000);
        if (!in && amount > balance)
            amount = balance / 3;
        balance += in ? amount : -amount;
        const bool personCounterpart = kind.startsWith(QStringLiteral("转账"));
        const QString other = personCounterpart ? name(chance(50)) : pick({"财付通", "支付宝", "美团", "京东商城", "国家电网"});
        doc.row({CorpusDocument::plain(QStringLiteral("2025-%1-%2").arg(1 + i * 6 / rows, 2, 10, QLatin1Char('0')).arg(1 + below(28), 2, 10, QLatin1Char('0'))),
                 kind == QStringLiteral("房贷还款") ? cell(Finance, kind) : CorpusDocument::plain(kind),
                 cell(Finance, (in ? QStringLiteral("+") : QStringLiteral("-")) + QString::number(amount) + QStringLiteral(".00")), cell(Finance, QString::number(balance) + QStringLiteral(".") + digits(2)),
                 personCounterpart ? cell(Identity, other) : CorpusDocument::plain(other),
                 CorpusDocument::lookAlikeCell(Account, QStringLiteral("9") + digits(19), QStringLiteral("transaction serial"))});
    }
    return doc;
}

CorpusDocument SecondCorpus::loanApplication()
{
    CorpusDocument doc;
    const Person p = person(25, 55);
    doc.paragraph(pick({"个人消费贷款申请书", "个人住房贷款申请表", "经营性贷款申请"}));
    doc.table({"申请人", "证件号码", "婚姻状况", "单位及职务", "月收入"});
    const QString status = pick(Marital);
    doc.row({cell(Identity, p.name), cell(Identity, p.id), cell(Relations, status), cell(Career, pick(Companies) + QStringLiteral(" ") + pick(Posts)),
             cell(Finance, QString::number((6 + below(40)) * 1000))});
    if (status.startsWith(QStringLiteral("已婚"))) {
        const Person s = person(25, 55);
        doc.text(QStringLiteral("配偶")).item(Relations, s.name).text(QStringLiteral("，身份证")).item(Identity, writeId(s.id)).text(QStringLiteral("，共同还款人。")).endParagraph();
        doc.alsoLabel(Identity, s.name);
    }
    doc.text(QStringLiteral("申请金额：")).item(Finance, QStringLiteral("人民币") + QString::number(5 + below(90)) + QStringLiteral("万元")).text(QStringLiteral("，期限") + QString::number(1 + below(30)) + QStringLiteral("年。")).endParagraph();
    const QString ownPlate = plate(p.region);
    doc.text(QStringLiteral("资产情况：名下")).item(Finance, pick({"房产一套，评估价约", "商铺一处，估值"}) + QString::number(80 + below(400)) + QStringLiteral("万元")).text(QStringLiteral("；")).item(Finance, QStringLiteral("车辆一辆（") + ownPlate + QStringLiteral("）")).endParagraph();
    doc.alsoLabel(Identity, ownPlate);
    doc.text(QStringLiteral("征信情况：")).item(Finance, pick({"近两年内逾期", "信用卡逾期", "贷款逾期"}) + QString::number(1 + below(5)) + QStringLiteral("次")).text(QStringLiteral("，当前无逾期。")).endParagraph();
    doc.text(QStringLiteral("居住地址：")).item(Location, address(p.region)).endParagraph();
    field(doc, QStringLiteral("还款账户"), Account, writeCard(card())).endParagraph();
    field(doc, QStringLiteral("手机"), Identity, writeMobile(p.mobile)).endParagraph();
    if (chance(50))
        lookAlikeLine(doc);
    return doc;
}

CorpusDocument SecondCorpus::travelItinerary()
{
    CorpusDocument doc;
    const Person p = person(25, 60);
    const int from = below(RegionCount), to = below(RegionCount);
    doc.paragraph(pick({"出差行程单", "行程确认单", "差旅安排"}));
    doc.text(QStringLiteral("出行人：")).item(Identity, p.name).text(QStringLiteral("  证件：")).item(Identity, chance(50) ? writeId(p.id) : passport()).endParagraph();
    field(doc, QStringLiteral("联系手机"), Identity, writeMobile(p.mobile)).endParagraph();
    doc.table({"日期", "行程", "航班/车次", "出发", "到达", "座位"});
    const int legs = 2 + below(3);
    for (int i = 0; i < legs; ++i) {
        const bool air = chance(50);
        doc.row({CorpusDocument::plain(QStringLiteral("11月%1日").arg(21 + i)), CorpusDocument::plain(ascii(Regions[i % 2 ? to : from].city) + QStringLiteral("-") + ascii(Regions[i % 2 ? from : to].city)),
                 cell(Travel, air ? flight() : train()), CorpusDocument::plain(QStringLiteral("%1:%2").arg(7 + below(14)).arg(below(6) * 10, 2, 10, QLatin1Char('0'))),
                 CorpusDocument::plain(QStringLiteral("%1:%2").arg(9 + below(14)).arg(below(6) * 10, 2, 10, QLatin1Char('0'))), CorpusDocument::plain(air ? QString::number(10 + below(40)) + QStringLiteral("C") : QString::number(1 + below(16)) + QStringLiteral("车") + QString::number(1 + below(20)) + QStringLiteral("F"))});
    }
    doc.text(QStringLiteral("住宿：")).item(Travel, QStringLiteral("11月21日入住") + hotel(to)).text(QStringLiteral("，11月23日退房，订单号")).lookAlike(Identity, digits(16), QStringLiteral("booking number")).endParagraph();
    doc.text(QStringLiteral("我乘")).item(Travel, train()).text(QStringLiteral("次列车于周五晚返回") + ascii(Regions[from].city) + QStringLiteral("。")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::hotelBooking()
{
    CorpusDocument doc;
    doc.paragraph(pick({"Booking Confirmation 预订确认", "酒店入住登记表", "Guest Registration"}));
    const bool english = chance(40);
    doc.table(english ? QStringList{"Guest", "ID / Passport", "Mobile", "Room", "Check-in", "Check-out"} : QStringList{"住客姓名", "证件号", "手机", "房号", "入住日期", "离店日期"});
    const int rows = 4 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(20, 70);
        const int day = 1 + below(25);
        doc.row({cell(Identity, english ? p.latin : p.name), cell(Identity, english ? passport() : p.id), cell(Identity, english ? QStringLiteral("+86 ") + p.mobile : p.mobile),
                 CorpusDocument::plain(QString::number(3 + below(20)) + QString::number(1 + below(30)).rightJustified(2, QLatin1Char('0'))),
                 cell(Travel, QStringLiteral("2025-10-%1").arg(day, 2, 10, QLatin1Char('0'))), cell(Travel, QStringLiteral("2025-10-%1").arg(day + 1 + below(3), 2, 10, QLatin1Char('0')))});
    }
    doc.paragraph(QStringLiteral("Hotel: ") + hotel(below(RegionCount)) + QStringLiteral("  Front desk: 0571-8888 0000"));
    return doc;
}

CorpusDocument SecondCorpus::chatExport()
{
    CorpusDocument doc;
    const Person a = person(20, 50);
    const Person b = person(20, 50);
    doc.text(QStringLiteral("聊天记录导出 ") + pick({"微信", "企业微信", "钉钉"}) + QStringLiteral(" 与")).item(Identity, b.name).text(QStringLiteral("的对话")).endParagraph();
    auto line = [&](const Person &who, int minute) -> CorpusDocument & {
        doc.text(QStringLiteral("2025-09-%1 %2:%3  ").arg(1 + below(28), 2, 10, QLatin1Char('0')).arg(8 + below(12)).arg(minute, 2, 10, QLatin1Char('0')));
        doc.item(Identity, who.name).text(QStringLiteral(": "));
        return doc;
    };
    line(a, 1).text(QStringLiteral("你把身份证号发我一下，我帮你订票")).endParagraph();
    line(b, 3).item(Identity, b.id).endParagraph();
    line(a, 5).text(QStringLiteral("好的，订了")).item(Travel, QStringLiteral("下周二") + train()).text(QStringLiteral("，上午九点的")).endParagraph();
    line(b, 7).text(QStringLiteral("我换号了，新号码")).item(Identity, writeMobile(b.mobile)).endParagraph();
    line(a, 9).text(QStringLiteral("你妈妈身体怎么样？")).endParagraph();
    line(b, 12).text(QStringLiteral("上周查出来")).item(Medical, pick(Diagnoses)).text(QStringLiteral("，在吃")).item(Medical, pick(Medicines)).endParagraph();
    line(a, 14).text(QStringLiteral("快递寄到哪？")).endParagraph();
    line(b, 15).item(Location, address(b.region)).text(QStringLiteral("，放门卫就行")).endParagraph();
    if (chance(60)) {
        line(a, 20).text(QStringLiteral("报销的钱打到")).item(Account, writeCard(card())).text(QStringLiteral("这张卡上吧")).endParagraph();
        line(b, 21).text(QStringLiteral("工资卡密码还是")).item(Account, digits(6)).text(QStringLiteral("，别外传")).endParagraph();
    }
    if (chance(50)) {
        line(a, 30).text(QStringLiteral("我微信号")).item(Account, QStringLiteral("wxid_") + QString::number(next(), 36).left(12)).text(QStringLiteral("，加我一下")).endParagraph();
    }
    if (chance(50)) {
        line(b, 33).text(QStringLiteral("我现在在")).item(Location, coordinates(b.region)).text(QStringLiteral("，共享位置给你")).endParagraph();
    }
    if (chance(40)) {
        line(a, 40).text(QStringLiteral("他")).item(Legal, QStringLiteral("酒驾被拘留了十五天")).text(QStringLiteral("，这事别跟别人说")).endParagraph();
    }
    if (chance(40)) {
        line(b, 42).text(QStringLiteral("这周日我要去教堂")).item(Religion, QStringLiteral("做礼拜")).endParagraph();
    }
    if (chance(50))
        lookAlikeLine(doc);
    return doc;
}

CorpusDocument SecondCorpus::serviceTickets()
{
    CorpusDocument doc;
    doc.paragraph(pick({"客服工单导出", "售后服务记录", "投诉工单明细"}));
    doc.table({"工单号", "客户", "联系电话", "问题描述", "处理人", "订单号"});
    const int rows = 5 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(18, 70);
        CorpusDocument::Cell issue;
        switch (below(4)) {
        case 0: {
            const QString number = imei();
            issue = cell(Device, QStringLiteral("手机无法开机，IMEI ") + number + QStringLiteral("，申请返修"));
            issue.value = number;
            break;
        }
        case 1: {
            const QString where = address(p.region);
            issue = cell(Location, QStringLiteral("要求改派送地址为") + where);
            issue.value = where;
            break;
        }
        case 2: {
            const QString number = serial();
            issue = cell(Device, QStringLiteral("笔记本序列号") + number + QStringLiteral("保修查询"));
            issue.value = number;
            break;
        }
        default:
            issue = CorpusDocument::plain(pick({"物流太慢", "申请退货", "发票开错", "优惠券无法使用"}));
        }
        doc.row({CorpusDocument::lookAlikeCell(Identity, QStringLiteral("GD") + digits(10), QStringLiteral("ticket number")), cell(Identity, p.name),
                 chance(30) ? CorpusDocument::lookAlikeCell(Identity, p.mobile.left(3) + QStringLiteral("****") + p.mobile.right(4), QStringLiteral("masked mobile")) : cell(Identity, writeMobile(p.mobile)),
                 issue, cell(Identity, name(chance(50))), CorpusDocument::lookAlikeCell(Identity, digits(18), QStringLiteral("order number"))});
    }
    return doc;
}

CorpusDocument SecondCorpus::courierLog()
{
    CorpusDocument doc;
    doc.paragraph(pick({"派件记录", "快递揽收清单", "驿站入库登记"}));
    doc.table({"运单号", "收件人", "收件人电话", "收件地址", "派件员", "签收时间"});
    const Person courier = person(20, 45);
    const int rows = 6 + below(8);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(18, 80);
        doc.row({CorpusDocument::lookAlikeCell(Identity, pick({"SF", "YT", "JT", "ZTO"}) + digits(13), QStringLiteral("waybill number")), cell(Identity, p.name), cell(Identity, p.mobile, true),
                 cell(Location, address(p.region)), cell(Identity, courier.name),
                 CorpusDocument::lookAlikeCell(Identity, QStringLiteral("2025/10/%1 %2:%3").arg(1 + below(28)).arg(8 + below(12)).arg(below(60), 2, 10, QLatin1Char('0')), QStringLiteral("timestamp"))});
    }
    doc.text(QStringLiteral("派件员手机：")).item(Identity, courier.mobile).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::resumeChinese()
{
    CorpusDocument doc;
    const Person p = person(23, 45);
    doc.paragraph(QStringLiteral("个人简历"));
    doc.item(Identity, p.name).endParagraph();
    doc.text(pick({"电话：", "手机 ", "Tel: "})).item(Identity, writeMobile(p.mobile)).text(QStringLiteral(" | 邮箱：")).item(Identity, email(p)).endParagraph();
    doc.text(QStringLiteral("年龄：")).lookAlike(Minor, age(p.birth), QStringLiteral("an adult's age")).text(QStringLiteral("岁 | ")).item(Relations, pick(Marital)).text(QStringLiteral(" | 现居：")).item(Location, address(p.region)).endParagraph();
    doc.text(QStringLiteral("求职意向：")).item(Career, pick(Posts)).text(QStringLiteral("  期望薪资：")).item(Finance, QString::number(8 + below(30)) + QStringLiteral("K/月")).endParagraph();
    doc.paragraph(QStringLiteral("教育背景"));
    doc.text(QStringLiteral("2012.09-2016.06  ")).item(Career, pick(Schools)).text(QStringLiteral("  ") + pick(Majors) + QStringLiteral("  ")).item(Career, pick(Degrees)).endParagraph();
    doc.paragraph(QStringLiteral("工作经历"));
    doc.text(QStringLiteral("2016.07-至今  ") + pick(Companies) + QStringLiteral("  ")).item(Career, pick(Posts)).endParagraph();
    doc.text(QStringLiteral("离职原因：")).text(pick({"家庭原因", "个人发展"})).text(QStringLiteral("；目前月薪")).item(Finance, money((8 + below(30)) * 1000)).endParagraph();
    if (chance(30))
        doc.text(QStringLiteral("宗教信仰：")).lookAlike(Religion, QStringLiteral("无"), QStringLiteral("no religion")).endParagraph();
    if (chance(40))
        doc.text(QStringLiteral("健康状况：")).lookAlike(Medical, QStringLiteral("良好"), QStringLiteral("no illness")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::resumeEnglish()
{
    CorpusDocument doc;
    const Person p = person(23, 45);
    doc.item(Identity, p.latin).endParagraph();
    doc.text(QStringLiteral("Mobile: ")).item(Identity, QStringLiteral("+86 ") + spaced(p.mobile, {3, 4, 4}, QStringLiteral(" "))).text(QStringLiteral("   Email: ")).item(Identity, email(p)).endParagraph();
    doc.text(QStringLiteral("Address: ")).item(Location, QStringLiteral("Room %1, Building %2, %3 Road, %4").arg(100 + below(2000)).arg(1 + below(30)).arg(pick({"Wensan", "Keyuan", "Zhongshan", "Renmin", "Jiefang"})).arg(QString::fromLatin1(Regions[p.region].code).startsWith(QStringLiteral("33")) ? QStringLiteral("Hangzhou") : QStringLiteral("Shenzhen"))).endParagraph();
    doc.text(QStringLiteral("Marital status: ")).item(Relations, pick({"Married", "Single", "Divorced"})).endParagraph();
    doc.paragraph(QStringLiteral("EDUCATION"));
    doc.item(Career, pick({"M.Sc. in Computer Science", "Bachelor of Accounting", "MBA", "Ph.D. in Chemistry", "B.Eng. in Mechanical Engineering"})).text(QStringLiteral(", ")).item(Career, pick({"Zhejiang University", "Tongji University", "Sichuan University", "Xiamen University", "Wuhan University"})).text(QStringLiteral(", 2014")).endParagraph();
    doc.paragraph(QStringLiteral("EXPERIENCE"));
    doc.text(QStringLiteral("2018 – present  ")).item(Career, pick({"Senior Software Engineer", "Finance Manager", "HR Business Partner", "Sales Director", "Data Analyst"})).text(QStringLiteral(", ") + pick({"Alibaba", "Huawei", "a logistics firm", "a bank"})).endParagraph();
    doc.text(QStringLiteral("Current salary: ")).item(Finance, QStringLiteral("RMB ") + QLocale(QLocale::English).toString((20 + below(40)) * 1000) + QStringLiteral("/month")).endParagraph();
    if (chance(40))
        doc.text(QStringLiteral("References available upon request. Template from ")).lookAlike(Identity, QStringLiteral("john.doe@example.com"), QStringLiteral("placeholder address")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::visaApplication()
{
    CorpusDocument doc;
    const Person p = person(22, 65);
    doc.paragraph(pick({"签证申请表 Visa Application Form", "Application for Schengen Visa", "出入境证件申请表"}));
    doc.table({"Item 项目", "Answer 填写"});
    doc.row({CorpusDocument::plain(QStringLiteral("Surname / Given names 姓名")), cell(Identity, p.latin)});
    doc.row({CorpusDocument::plain(QStringLiteral("Passport No. 护照号码")), cell(Identity, passport())});
    doc.row({CorpusDocument::plain(QStringLiteral("ID card No. 身份证号")), cell(Identity, p.id)});
    doc.row({CorpusDocument::plain(QStringLiteral("Home address 家庭住址")), cell(Location, address(p.region))});
    doc.row({CorpusDocument::plain(QStringLiteral("Telephone 电话")), cell(Identity, writeMobile(p.mobile))});
    doc.row({CorpusDocument::plain(QStringLiteral("Occupation 职业")), cell(Career, pick(Posts))});
    doc.row({CorpusDocument::plain(QStringLiteral("Monthly income 月收入")), cell(Finance, QStringLiteral("RMB ") + QString::number((8 + below(40)) * 1000))});
    doc.row({CorpusDocument::plain(QStringLiteral("Marital status 婚姻状况")), cell(Relations, pick({"Married 已婚", "Single 未婚", "Divorced 离异"}))});
    const Person s = person(22, 65);
    doc.row({CorpusDocument::plain(QStringLiteral("Spouse 配偶姓名")), cell(Relations, s.name)});
    doc.labelCell(1, Identity);
    doc.row({CorpusDocument::plain(QStringLiteral("Flight 航班")), cell(Travel, flight())});
    doc.row({CorpusDocument::plain(QStringLiteral("Hotel 住宿")), cell(Travel, pick({"Hilton Paris Opera", "Hotel Adlon Berlin", "NH Collection Milano"}))});
    if (chance(50))
        doc.row({CorpusDocument::plain(QStringLiteral("Religion 宗教")), cell(Religion, pick({"Buddhism 佛教", "Christianity 基督教", "Islam 伊斯兰教", "Catholic 天主教"}))});
    doc.text(QStringLiteral("Applicant's signature 申请人签名：")).item(Identity, p.name).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::courtNotice()
{
    CorpusDocument doc;
    const Person p = person(20, 60);
    const int region = p.region;
    doc.paragraph(pick({ascii(Regions[region].city) + QStringLiteral("市中级人民法院 刑事判决书"), ascii(Regions[region].place) + QStringLiteral("人民法院\n刑 事 判 决 书")}));
    doc.text(QStringLiteral("案号：")).lookAlike(Legal, QStringLiteral("（2025）") + ascii(Regions[region].plate).left(1) + QStringLiteral("0") + QString::number(100 + below(900)) + QStringLiteral("刑初") + QString::number(100 + below(900)) + QStringLiteral("号"), QStringLiteral("case number")).endParagraph();
    doc.text(QStringLiteral("被告人")).item(Identity, p.name).text(QStringLiteral("，") + (p.male ? QStringLiteral("男") : QStringLiteral("女")) + QStringLiteral("，公民身份号码")).item(Identity, p.id)
        .text(QStringLiteral("，住")).item(Location, address(region)).text(QStringLiteral("。")).endParagraph();
    if (chance(60))
        doc.text(QStringLiteral("曾因")).item(Legal, QStringLiteral("吸毒被强制隔离戒毒二年")).text(QStringLiteral("，2021年解除。")).endParagraph();
    const QString crime = pick(Crimes);
    doc.text(QStringLiteral("因")).item(Legal, QStringLiteral("涉嫌犯") + crime + QStringLiteral("，于2025年") + QString::number(1 + below(8)) + QStringLiteral("月被") + pick({"刑事拘留", "取保候审", "监视居住"})).text(QStringLiteral("。")).endParagraph();
    doc.text(QStringLiteral("本院认为，被告人")).item(Identity, p.name).text(QStringLiteral("的行为")).item(Legal, QStringLiteral("已构成") + crime).text(QStringLiteral("。判决如下：")).endParagraph();
    doc.text(QStringLiteral("被告人")).item(Identity, p.name).item(Legal, QStringLiteral("犯") + crime + QStringLiteral("，判处") + pick(Sentences)).text(QStringLiteral("。")).endParagraph();
    doc.text(QStringLiteral("审判长 ")).item(Identity, name(chance(50))).text(QStringLiteral("  书记员 ")).item(Identity, name(chance(50))).endParagraph();
    if (chance(50))
        doc.text(QStringLiteral("判决生效后，由")).item(Identity, p.name).text(QStringLiteral("户籍地司法所对其")).item(Legal, QStringLiteral("实行社区矫正")).text(QStringLiteral("。")).endParagraph();
    if (chance(30))
        doc.text(QStringLiteral("附：证人")).item(Identity, name(chance(50))).text(QStringLiteral("的")).item(Legal, QStringLiteral("指纹")).text(QStringLiteral("比对报告一份。")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::meetingMinutes()
{
    CorpusDocument doc;
    doc.paragraph(pick({"部门周例会纪要", "人事委员会会议记录", "项目复盘会议纪要"}));
    const Person chair = person(30, 55), a = person(25, 50), b = person(25, 50), c = person(25, 50);
    doc.text(QStringLiteral("主持人：")).item(Identity, chair.name).text(QStringLiteral("；参会：")).item(Identity, a.name).text(QStringLiteral("、")).item(Identity, b.name).text(QStringLiteral("、")).item(Identity, c.name).endParagraph();
    doc.paragraph(QStringLiteral("一、人员事项"));
    doc.text(QStringLiteral("1. ")).item(Identity, a.name).text(QStringLiteral("因")).item(Medical, pick(Diagnoses)).text(QStringLiteral("需住院治疗，申请病假") + QString::number(1 + below(3)) + QStringLiteral("个月，工作由")).item(Identity, b.name).text(QStringLiteral("暂代。")).endParagraph();
    doc.text(QStringLiteral("2. 同意")).item(Identity, c.name).text(QStringLiteral("转正，自12月起月薪调整为")).item(Finance, QString::number((10 + below(20)) * 1000) + QStringLiteral("元")).text(QStringLiteral("。")).endParagraph();
    if (chance(50))
        doc.text(QStringLiteral("3. ")).item(Identity, b.name).text(QStringLiteral("为")).item(Religion, pick({"穆斯林", "虔诚的佛教徒", "基督徒"})).text(QStringLiteral("，年底排班请予以照顾。")).endParagraph();
    if (chance(50))
        doc.text(QStringLiteral("4. 新入职员工")).item(Identity, name(chance(50))).text(QStringLiteral("持有残疾人证（")).item(Special, pick(Disabilities)).text(QStringLiteral("），按规定享受个税减免。")).endParagraph();
    doc.paragraph(QStringLiteral("二、项目进度"));
    doc.paragraph(QStringLiteral("服务器升级至 ") + QStringLiteral("v%1.%2.%3，预计下周上线。").arg(2 + below(5)).arg(below(10)).arg(below(20)));
    doc.text(QStringLiteral("记录人：")).item(Identity, chair.name).endParagraph();
    if (chance(60))
        lookAlikeLine(doc);
    return doc;
}

CorpusDocument SecondCorpus::communityRegister()
{
    CorpusDocument doc;
    doc.paragraph(ascii(Regions[below(RegionCount)].city) + pick({"社区困难群众走访登记表", "街道救助对象花名册", "村民委员会帮扶台账"}));
    doc.table({"户主", "身份证号", "家庭住址", "联系电话", "救助类别", "残疾证号", "家庭成员"});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(30, 85);
        const bool disabled = chance(40);
        const Person m = person(5, 80);
        const QString rel = pick({"妻", "夫", "子", "女", "孙"});
        CorpusDocument::Cell family = cell(Relations, rel + QStringLiteral("：") + m.name);
        doc.row({cell(Identity, p.name), cell(Identity, p.id), cell(Location, address(p.region)), cell(Identity, chance(70) ? p.mobile : homePhone(p.region)),
                 cell(Special, disabled ? pick(Disabilities) : pick(Groups)), disabled ? cell(Special, disabilityCard(p.id)) : CorpusDocument::plain(QStringLiteral("/")), family});
        if (disabled)
            doc.labelCell(5, Identity);
        doc.labelCell(6, Identity);
    }
    doc.text(QStringLiteral("走访人：")).item(Identity, name(chance(50))).text(QStringLiteral("  走访日期 2025年10月")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::payrollSheet(bool numberCells)
{
    CorpusDocument doc;
    doc.paragraph(pick(Companies) + QStringLiteral(" 2025年") + QString::number(1 + below(10)) + QStringLiteral("月工资表"));
    doc.table({"工号", "姓名", "部门", "岗位", "应发工资", "个人所得税", "实发工资", "工资卡号"});
    const int rows = 8 + below(10);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(22, 58);
        const int gross = (4 + below(30)) * 500 + below(10) * 37;
        const int tax = gross > 5000 ? (gross - 5000) * 3 / 100 : 0;
        doc.row({cell(Career, QString::number(10000 + below(90000)), numberCells), cell(Identity, p.name), CorpusDocument::plain(pick({"研发部", "财务部", "市场部", "生产部", "行政部"})), cell(Career, pick(Posts)),
                 cell(Finance, QString::number(gross), numberCells), tax ? cell(Finance, QString::number(tax), numberCells) : CorpusDocument::plain(QStringLiteral("0")),
                 cell(Finance, QString::number(gross - tax), numberCells), cell(Account, card(), numberCells)});
    }
    doc.text(QStringLiteral("制表：")).item(Identity, name(chance(50))).text(QStringLiteral("  审核：")).item(Identity, name(chance(50))).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::deviceInventory()
{
    CorpusDocument doc;
    doc.paragraph(pick({"终端设备台账", "IT资产盘点表", "手机及电脑领用登记"}));
    doc.table({"资产编号", "使用人", "型号", "序列号", "MAC地址", "IP", "IMEI", "系统版本"});
    const int rows = 6 + below(8);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(22, 58);
        const bool phone = chance(40);
        doc.row({CorpusDocument::lookAlikeCell(Device, QStringLiteral("ZC-2024-") + digits(4), QStringLiteral("asset tag")), cell(Identity, p.name),
                 CorpusDocument::plain(phone ? pick({"Mate 60 Pro", "iPhone 15", "小米14"}) : pick({"ThinkPad X1 Carbon", "MacBook Air M2", "Dell Latitude 7440"})),
                 cell(Device, serial()), cell(Device, mac()), phone ? CorpusDocument::plain(QStringLiteral("-")) : cell(Device, ip()), phone ? cell(Device, imei()) : CorpusDocument::plain(QStringLiteral("-")),
                 CorpusDocument::lookAlikeCell(Device, phone ? QStringLiteral("%1.0.0.%2").arg(12 + below(5)).arg(100 + below(200)) : QStringLiteral("10.0.%1.%2").arg(19041 + below(5)).arg(1000 + below(4000)), QStringLiteral("version string"))});
    }
    doc.paragraph(QStringLiteral("说明：资产编号规则见 http://192.0.2.15/wiki/assets"));
    return doc;
}

CorpusDocument SecondCorpus::vehicleRegister()
{
    CorpusDocument doc;
    doc.paragraph(pick({"小区车辆登记表", "员工车辆停车证登记", "月租车位登记"}));
    doc.table({"车牌号码", "车主", "联系方式", "住址/房号", "车型"});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(22, 70);
        doc.row({cell(Identity, plate(p.region)), cell(Identity, p.name), cell(Identity, writeMobile(p.mobile)), cell(Location, address(p.region)),
                 CorpusDocument::plain(pick({"大众朗逸", "比亚迪秦PLUS", "特斯拉Model 3", "丰田凯美瑞", "五菱宏光"}))});
    }
    doc.paragraph(QStringLiteral("收费标准：月租 ") + QStringLiteral("300元/月，物业电话 ") + QStringLiteral("96") + digits(3));
    return doc;
}

CorpusDocument SecondCorpus::faithRegister()
{
    CorpusDocument doc;
    const int kind = below(3);
    doc.paragraph(kind == 0 ? QStringLiteral("天主教堂区教友名册") : kind == 1 ? QStringLiteral("寺院皈依弟子登记簿") : QStringLiteral("清真寺教民登记"));
    const QString faithColumn = kind == 0 ? QStringLiteral("圣名") : kind == 1 ? QStringLiteral("法名") : QStringLiteral("经名");
    doc.table({"姓名", faithColumn, kind == 0 ? QStringLiteral("领洗日期") : kind == 1 ? QStringLiteral("皈依日期") : QStringLiteral("入教时间"), "联系电话", "住址"});
    const int rows = 5 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(18, 85);
        const QString holy = kind == 0 ? pick({"若瑟", "玛利亚", "伯多禄", "保禄", "德肋撒", "若望", "安多尼"})
                           : kind == 1 ? QStringLiteral("妙") + pick({"音", "慧", "善", "觉", "净", "缘"})
                                       : pick({"阿卜杜拉", "法图麦", "优素福", "阿依莎", "穆萨"});
        doc.row({cell(Identity, p.name), cell(Religion, holy), CorpusDocument::plain(QStringLiteral("%1年%2月").arg(1990 + below(35)).arg(1 + below(12))), cell(Identity, p.mobile), cell(Location, address(p.region))});
    }
    const Person w = person(40, 70);
    doc.text(kind == 0 ? QStringLiteral("本堂神父") : kind == 1 ? QStringLiteral("住持") : QStringLiteral("阿訇")).text(QStringLiteral("：")).item(Identity, w.name).endParagraph();
    const Person x = person(18, 80);
    doc.text(QStringLiteral("新登记：")).item(Identity, x.name).text(QStringLiteral("于今年") + pick({"复活节", "浴佛节", "开斋节"}) + QStringLiteral("")).item(Religion, kind == 0 ? QStringLiteral("领受洗礼") : kind == 1 ? QStringLiteral("皈依三宝") : QStringLiteral("成为穆斯林")).text(QStringLiteral("。")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::healthCheck()
{
    CorpusDocument doc;
    const Person p = person(20, 65);
    doc.paragraph(pick({"入职体检报告", "年度健康体检报告", "体检结果汇总"}));
    doc.text(QStringLiteral("受检者：")).item(Identity, p.name).text(QStringLiteral("  体检编号 ")).lookAlike(Medical, QStringLiteral("TJ") + digits(10), QStringLiteral("examination number")).endParagraph();
    doc.table({"检查项目", "结果", "参考范围"});
    doc.row({CorpusDocument::plain(QStringLiteral("身高")), cell(Physical, QString::number(150 + below(40)) + QStringLiteral(" cm")), CorpusDocument::plain(QStringLiteral("-"))});
    doc.row({CorpusDocument::plain(QStringLiteral("体重")), cell(Physical, QString::number(45 + below(50)) + QStringLiteral(" kg")), CorpusDocument::plain(QStringLiteral("-"))});
    doc.row({CorpusDocument::plain(QStringLiteral("血压")), cell(Physical, QString::number(100 + below(60)) + QLatin1Char('/') + QString::number(60 + below(35))), CorpusDocument::plain(QStringLiteral("90-139/60-89 mmHg"))});
    doc.row({cell(Medical, QStringLiteral("空腹血糖")), cell(Physical, QString::number(4 + below(5)) + QLatin1Char('.') + QString::number(below(10))), CorpusDocument::plain(QStringLiteral("3.9-6.1 mmol/L"))});
    doc.row({CorpusDocument::plain(QStringLiteral("血型")), cell(Physical, pick({"A", "B", "O", "AB"}) + QStringLiteral("型")), CorpusDocument::plain(QStringLiteral("-"))});
    doc.row({CorpusDocument::plain(QStringLiteral("视力（左/右）")), cell(Physical, QStringLiteral("4.%1/4.%2").arg(5 + below(5)).arg(5 + below(5))), CorpusDocument::plain(QStringLiteral("≥4.9"))});
    doc.text(QStringLiteral("结论：")).item(Medical, pick({"脂肪肝（轻度）", "甲状腺结节", "乙肝表面抗原阳性", "窦性心动过缓", "高尿酸血症"})).text(QStringLiteral("，建议专科随诊。")).endParagraph();
    return doc;
}

// ---------------------------------------------------------------- look-alike documents

CorpusDocument SecondCorpus::drugAdvert()
{
    CorpusDocument doc;
    const QString drug = pick(Medicines);
    doc.paragraph(drug + QStringLiteral(" 产品说明"));
    doc.text(QStringLiteral("【适应症】本品用于")).lookAlike(Medical, pick(Diagnoses), QStringLiteral("indication in a leaflet")).text(QStringLiteral("的治疗。")).endParagraph();
    doc.text(QStringLiteral("【规格】0.5g×30片  【批准文号】国药准字H")).lookAlike(Identity, digits(8), QStringLiteral("approval number")).endParagraph();
    doc.text(QStringLiteral("【生产批号】")).lookAlike(Identity, QStringLiteral("2025") + digits(6), QStringLiteral("batch number")).text(QStringLiteral("  【零售价】")).lookAlike(Finance, QStringLiteral("¥") + QString::number(20 + below(200)) + QStringLiteral(".00"), QStringLiteral("price of a product")).endParagraph();
    doc.text(QStringLiteral("咨询热线：")).lookAlike(Identity, QStringLiteral("400-") + digits(3) + QStringLiteral("-") + digits(4), QStringLiteral("company hotline")).endParagraph();
    doc.paragraph(QStringLiteral("【禁忌】对本品过敏者禁用；孕妇及哺乳期妇女慎用。"));
    return doc;
}

CorpusDocument SecondCorpus::priceList()
{
    CorpusDocument doc;
    doc.paragraph(pick({"2025年秋季产品报价单", "办公用品采购目录", "门店价目表"}));
    doc.table({"商品编码", "商品名称", "规格", "单价（元）", "条码"});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        doc.row({CorpusDocument::lookAlikeCell(Device, QStringLiteral("SKU") + digits(8), QStringLiteral("product code")),
                 CorpusDocument::plain(pick({"A4复印纸", "无线鼠标", "笔记本电脑支架", "签字笔", "显示器27英寸", "路由器"})), CorpusDocument::plain(pick({"箱", "个", "台"})),
                 CorpusDocument::lookAlikeCell(Finance, QString::number(5 + below(3000)) + QStringLiteral(".") + digits(2), QStringLiteral("price of a product"), chance(50)),
                 CorpusDocument::lookAlikeCell(Identity, QStringLiteral("69") + digits(11), QStringLiteral("EAN barcode"))});
    }
    doc.text(QStringLiteral("销售联系邮箱：")).lookAlike(Identity, QStringLiteral("sales@example.com"), QStringLiteral("placeholder address")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::timetable()
{
    CorpusDocument doc;
    doc.paragraph(pick({"冬季航班时刻调整通知", "春运期间加开列车公告", "班车及航班时刻表"}));
    doc.paragraph(QStringLiteral("各位旅客：自12月1日起，以下航班和车次时刻调整，请合理安排出行。"));
    doc.table({"航班/车次", "始发", "终到", "开点", "班期"});
    const int rows = 5 + below(5);
    for (int i = 0; i < rows; ++i) {
        const bool air = chance(50);
        doc.row({CorpusDocument::lookAlikeCell(Travel, air ? flight() : train(), QStringLiteral("timetable, no traveller")), CorpusDocument::plain(ascii(Regions[below(RegionCount)].city)),
                 CorpusDocument::plain(ascii(Regions[below(RegionCount)].city)), CorpusDocument::plain(QStringLiteral("%1:%2").arg(6 + below(16)).arg(below(12) * 5, 2, 10, QLatin1Char('0'))), CorpusDocument::plain(pick({"每日", "1234567", "周五"}))});
    }
    doc.text(QStringLiteral("航班")).lookAlike(Travel, flight(), QStringLiteral("schedule notice")).text(QStringLiteral("因机型调整取消，已购票旅客可免费退改。")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::systemLog()
{
    CorpusDocument doc;
    doc.paragraph(pick({"系统部署说明", "运维变更记录", "构建与发布日志"}));
    const int lines = 6 + below(6);
    for (int i = 0; i < lines; ++i) {
        switch (below(7)) {
        case 0:
            doc.text(QStringLiteral("升级组件至版本 ")).lookAlike(Device, QStringLiteral("%1.%2.%3.%4").arg(1 + below(9)).arg(below(20)).arg(below(10)).arg(below(900)), QStringLiteral("version string")).endParagraph();
            break;
        case 1:
            doc.text(QStringLiteral("测试环境地址 ")).lookAlike(Device, pick({"198.51.100.", "203.0.113.", "192.0.2."}) + QString::number(1 + below(250)), QStringLiteral("documentation address")).endParagraph();
            break;
        case 2: {
            QString hex;
            for (int k = 0; k < 4; ++k)
                hex += QString::number(next(), 16).rightJustified(16, QLatin1Char('0'));
            doc.text(QStringLiteral("sha256: ")).lookAlike(Device, hex, QStringLiteral("hash")).endParagraph();
            break;
        }
        case 3:
            doc.text(QStringLiteral("Message-ID: <")).lookAlike(Identity, QString::number(next(), 16) + QStringLiteral("@mail.example.org"), QStringLiteral("Message-ID")).text(QStringLiteral(">")).endParagraph();
            break;
        case 4:
            doc.text(QStringLiteral("构建号 ")).lookAlike(Identity, QStringLiteral("20251") + digits(13), QStringLiteral("build number")).endParagraph();
            break;
        case 5:
            doc.text(QStringLiteral("request_id=")).lookAlike(Device, QStringLiteral("%1-%2-4%3-a%4-%5").arg(QString::number(next() % 0xffffffffu, 16).rightJustified(8, QLatin1Char('0')), QString::number(next() % 0xffff, 16).rightJustified(4, QLatin1Char('0')), QString::number(next() % 0xfff, 16).rightJustified(3, QLatin1Char('0')), QString::number(next() % 0xfff, 16).rightJustified(3, QLatin1Char('0')), QString::number(next(), 16).left(12).rightJustified(12, QLatin1Char('0'))), QStringLiteral("UUID")).endParagraph();
            break;
        default:
            doc.text(QStringLiteral("ts=")).lookAlike(Identity, QStringLiteral("17") + digits(11), QStringLiteral("millisecond timestamp")).text(QStringLiteral(" level=info msg=\"job done\"")).endParagraph();
            break;
        }
    }
    doc.text(QStringLiteral("通知邮件发送至 ")).lookAlike(Identity, QStringLiteral("noreply@example.net"), QStringLiteral("placeholder address")).endParagraph();
    return doc;
}

CorpusDocument SecondCorpus::orderExport()
{
    CorpusDocument doc;
    doc.paragraph(pick({"电商订单导出（已脱敏）", "会员数据样例（脱敏）"}));
    doc.table({"订单编号", "下单时间", "收货人", "手机", "证件号", "金额"});
    const int rows = 6 + below(6);
    for (int i = 0; i < rows; ++i) {
        const Person p = person(18, 70);
        doc.row({CorpusDocument::lookAlikeCell(Identity, QStringLiteral("E2025") + digits(14), QStringLiteral("order number")),
                 CorpusDocument::lookAlikeCell(Identity, QStringLiteral("17") + digits(8), QStringLiteral("unix timestamp")),
                 CorpusDocument::lookAlikeCell(Identity, p.name.left(1) + QStringLiteral("**"), QStringLiteral("masked name")),
                 CorpusDocument::lookAlikeCell(Identity, p.mobile.left(3) + QStringLiteral("****") + p.mobile.right(4), QStringLiteral("masked mobile")),
                 CorpusDocument::lookAlikeCell(Identity, p.id.left(3) + QStringLiteral("***********") + p.id.right(4), QStringLiteral("masked identity number")),
                 CorpusDocument::lookAlikeCell(Finance, QString::number(10 + below(900)) + QStringLiteral(".00"), QStringLiteral("order total, masked buyer"))});
    }
    return doc;
}

// ---------------------------------------------------------------- files

QByteArray SecondCorpus::bytes(const CorpusDocument &doc, Format format, const QString &scratch)
{
    // Text files keep their tables as people export them: tabs, aligned
    // columns or bars, a few of them with Windows line ends.
    static const QStringList separators = {"\t", "  ", " | ", "\t"};
    switch (format) {
    case Format::TxtUtf8:
        return doc.lines(pick(separators)).join(QLatin1Char('\n')).toUtf8() + '\n';
    case Format::TxtGbk:
        return QTextCodec::codecForName("GB18030")->fromUnicode(doc.lines(pick(separators)).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    case Format::TxtUtf16: {
        const QString text = doc.lines(pick(separators)).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        QByteArray out("\xFF\xFE", 2);
        out.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        return out;
    }
    case Format::Csv:
        return doc.lines(QStringLiteral(",")).join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    default:
        break;
    }
    bool ok = false;
    switch (format) {
    case Format::Docx:
        ok = SampleDocuments::writeDocxBlocks(scratch, doc.blocks());
        break;
    case Format::Xlsx:
        ok = SampleDocuments::writeXlsxSheets(scratch, doc.sheets());
        break;
    case Format::Pptx: {
        // A slide per table with the lines before it; the rest on a last slide.
        QList<QList<SampleDocuments::Block>> slides{{}};
        for (const SampleDocuments::Block &block : doc.blocks()) {
            slides.last().append(block);
            if (!block.rows.isEmpty() || slides.last().size() >= 6)
                slides.append(QList<SampleDocuments::Block>());
        }
        if (slides.last().isEmpty())
            slides.removeLast();
        ok = SampleDocuments::writePptxBlocks(scratch, slides);
        break;
    }
    case Format::PdfEmbedded:
        ok = SampleDocuments::writePdfBlocks(scratch, doc.blocks());
        break;
    case Format::PdfUnembedded:
        ok = SampleDocuments::writePdfUnembeddedCjk(scratch, wrapped(doc.lines(QStringLiteral("  ")), 50));
        break;
    case Format::Doc:
        ok = SampleDocuments::writeWordDoc(scratch, doc.lines(QStringLiteral("\t")));
        break;
    default:
        break;
    }
    if (!ok)
        return QByteArray();
    QByteArray data = SampleDocuments::readFile(scratch);
    QFile::remove(scratch);
    return data;
}

void SecondCorpus::addLabels(const CorpusDocument &doc, const QString &file, const QString &member, Format format)
{
    for (const CorpusDocument::Label &label : doc.labels()) {
        m_labelLines.append(QStringList{file, member, formatName(format), label.category, label.item ? QStringLiteral("item") : QStringLiteral("look-alike"),
                                        label.where, escaped(label.value), escaped(label.note)}
                                .join(QLatin1Char('\t')));
        if (label.item) {
            ++m_items;
            ++m_perCategory[label.category];
        } else {
            ++m_lookAlikes;
        }
    }
}

bool SecondCorpus::save(const CorpusDocument &doc, const QString &relative, Format format)
{
    const QString path = m_dir + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray data = bytes(doc, format, path + QStringLiteral(".part"));
    if (data.isEmpty() || !SampleDocuments::writeFile(path, data)) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    addLabels(doc, relative, QString(), format);
    ++m_files;
    return true;
}

bool SecondCorpus::saveArchive(const QString &relative, const QString &kind,
                               const QList<QPair<CorpusDocument, QPair<QString, Format>>> &members)
{
    const QString path = m_dir + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QList<QPair<QString, QByteArray>> entries;
    for (const auto &member : members) {
        const QByteArray data = bytes(member.first, member.second.second, path + QStringLiteral(".part"));
        if (data.isEmpty()) {
            m_error = QStringLiteral("cannot write %1 in %2").arg(member.second.first, path);
            return false;
        }
        entries.append({member.second.first, data});
    }
    if (!SampleDocuments::writeArchive(path, kind, entries)) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    // A gz file holds its first member only, named after the file itself.
    for (int i = 0; i < (kind == QLatin1String("gz") ? 1 : members.size()); ++i)
        addLabels(members.at(i).first, relative, members.at(i).second.first, members.at(i).second.second);
    ++m_files;
    return true;
}

bool SecondCorpus::write(const QString &dir, QString *error)
{
    m_dir = QDir(dir).absolutePath();
    QDir root(m_dir);
    if (root.exists(QStringLiteral("labels.tsv")) && !root.removeRecursively()) {
        *error = QStringLiteral("cannot empty %1").arg(m_dir);
        return false;
    }
    if (!QDir().mkpath(m_dir)) {
        *error = QStringLiteral("cannot make %1").arg(m_dir);
        return false;
    }
    using F = Format;
    using Maker = CorpusDocument (SecondCorpus::*)();
    struct Kind
    {
        Maker make;
        const char *path;
        int count;
        QList<Format> formats;
    };
    const QList<Kind> kinds = {
        {&SecondCorpus::employmentContract, "人事/合同/劳动合同", 8, {F::Docx, F::PdfEmbedded, F::Doc, F::TxtUtf8, F::PdfUnembedded, F::Docx, F::TxtGbk, F::Pptx}},
        {&SecondCorpus::dischargeSummary, "医疗/出院小结", 8, {F::Docx, F::PdfUnembedded, F::TxtUtf16, F::PdfEmbedded, F::Doc, F::TxtUtf8, F::Docx, F::TxtGbk}},
        {&SecondCorpus::prescription, "医疗/处方", 6, {F::PdfEmbedded, F::Xlsx, F::TxtUtf8, F::Docx, F::PdfUnembedded, F::Csv}},
        {&SecondCorpus::insuranceClaim, "保险/理赔申请", 6, {F::Docx, F::Xlsx, F::PdfEmbedded, F::Pptx, F::Doc, F::TxtGbk}},
        {&SecondCorpus::schoolEnrolment, "学校/新生登记", 4, {F::Xlsx, F::Csv, F::Docx, F::PdfEmbedded}},
        {&SecondCorpus::scholarshipForm, "学校/助学金申请", 5, {F::Docx, F::PdfEmbedded, F::Doc, F::TxtUtf8, F::Xlsx}},
        {&SecondCorpus::rentalAgreement, "个人/租房合同", 6, {F::Docx, F::TxtUtf8, F::PdfUnembedded, F::Doc, F::PdfEmbedded, F::TxtUtf16}},
        {&SecondCorpus::bankStatement, "财务/银行流水", 5, {F::Xlsx, F::Csv, F::PdfEmbedded, F::TxtGbk, F::PdfUnembedded}},
        {&SecondCorpus::loanApplication, "财务/贷款申请", 6, {F::Docx, F::PdfEmbedded, F::Xlsx, F::Doc, F::TxtUtf8, F::Pptx}},
        {&SecondCorpus::travelItinerary, "行政/差旅行程", 6, {F::Docx, F::TxtUtf8, F::PdfEmbedded, F::Pptx, F::Xlsx, F::TxtGbk}},
        {&SecondCorpus::hotelBooking, "行政/酒店入住", 5, {F::Xlsx, F::Csv, F::PdfEmbedded, F::Docx, F::TxtUtf16}},
        {&SecondCorpus::chatExport, "个人/聊天记录", 8, {F::TxtUtf8, F::TxtUtf16, F::TxtGbk, F::Docx, F::TxtUtf8, F::PdfEmbedded, F::Doc, F::TxtUtf8}},
        {&SecondCorpus::serviceTickets, "客服/工单", 4, {F::Xlsx, F::Csv, F::TxtUtf8, F::Docx}},
        {&SecondCorpus::courierLog, "物流/派件记录", 4, {F::Xlsx, F::Csv, F::TxtGbk, F::PdfUnembedded}},
        {&SecondCorpus::resumeChinese, "招聘/简历", 6, {F::Docx, F::PdfEmbedded, F::Doc, F::TxtUtf8, F::PdfUnembedded, F::Pptx}},
        {&SecondCorpus::resumeEnglish, "招聘/resume", 5, {F::Docx, F::PdfEmbedded, F::TxtUtf8, F::Doc, F::TxtUtf16}},
        {&SecondCorpus::visaApplication, "行政/签证申请", 5, {F::Docx, F::Xlsx, F::PdfEmbedded, F::Pptx, F::Csv}},
        {&SecondCorpus::courtNotice, "法务/判决书", 12, {F::Docx, F::PdfUnembedded, F::TxtUtf8, F::Doc, F::PdfEmbedded, F::TxtGbk, F::Docx, F::TxtUtf16, F::Pptx, F::Doc, F::PdfUnembedded, F::TxtUtf8}},
        {&SecondCorpus::meetingMinutes, "行政/会议纪要", 6, {F::Docx, F::Pptx, F::TxtUtf8, F::PdfEmbedded, F::Doc, F::TxtGbk}},
        {&SecondCorpus::communityRegister, "社区/救助登记", 5, {F::Xlsx, F::Csv, F::TxtGbk, F::PdfUnembedded, F::Docx}},
        {&SecondCorpus::deviceInventory, "IT/设备台账", 4, {F::Xlsx, F::Csv, F::Docx, F::TxtUtf8}},
        {&SecondCorpus::vehicleRegister, "物业/车辆登记", 4, {F::Xlsx, F::Docx, F::PdfUnembedded, F::Csv}},
        {&SecondCorpus::faithRegister, "宗教场所/名册", 6, {F::Xlsx, F::Docx, F::TxtUtf8, F::Csv, F::PdfEmbedded, F::TxtGbk}},
        {&SecondCorpus::healthCheck, "医疗/体检报告", 6, {F::PdfEmbedded, F::Docx, F::Xlsx, F::PdfUnembedded, F::TxtUtf8, F::Pptx}},
        {&SecondCorpus::drugAdvert, "市场/药品说明", 5, {F::PdfEmbedded, F::Pptx, F::Docx, F::TxtUtf8, F::PdfUnembedded}},
        {&SecondCorpus::priceList, "采购/报价单", 4, {F::Xlsx, F::Csv, F::PdfEmbedded, F::Docx}},
        {&SecondCorpus::timetable, "行政/时刻通知", 4, {F::Docx, F::PdfEmbedded, F::TxtUtf8, F::Pptx}},
        {&SecondCorpus::systemLog, "IT/运维记录", 6, {F::TxtUtf8, F::Docx, F::TxtGbk, F::PdfEmbedded, F::Doc, F::TxtUtf16}},
        {&SecondCorpus::orderExport, "电商/订单样例", 4, {F::Xlsx, F::Csv, F::TxtUtf8, F::PdfEmbedded}},
    };
    static const char *const extensions[] = {".txt", ".txt", ".txt", ".csv", ".docx", ".xlsx", ".pptx", ".pdf", ".pdf", ".doc"};
    for (const Kind &kind : kinds) {
        for (int i = 0; i < kind.count; ++i) {
            const Format format = kind.formats.at(i % kind.formats.size());
            const QString relative = QString::fromUtf8(kind.path) + QStringLiteral("_%1").arg(i + 1, 2, 10, QLatin1Char('0')) + QString::fromLatin1(extensions[int(format)]);
            if (!save((this->*kind.make)(), relative, format)) {
                *error = m_error;
                return false;
            }
        }
    }
    // Payroll sheets: numbers stored as numbers in half of the workbooks.
    const QList<Format> payroll = {F::Xlsx, F::Xlsx, F::Csv, F::TxtUtf8, F::PdfEmbedded, F::Xlsx};
    for (int i = 0; i < payroll.size(); ++i) {
        const Format format = payroll.at(i);
        const QString relative = QStringLiteral("财务/工资表_%1").arg(i + 1, 2, 10, QLatin1Char('0')) + QString::fromLatin1(extensions[int(format)]);
        if (!save(payrollSheet(format == F::Xlsx && i % 2 == 0), relative, format)) {
            *error = m_error;
            return false;
        }
    }
    // Archives as offices keep old files: mixed members, and one gz of one file.
    using Member = QPair<CorpusDocument, QPair<QString, Format>>;
    const QList<QPair<QString, QString>> archives = {{"归档/2024年人事档案.zip", "zip"}, {"归档/医保材料.7z", "7z"}, {"归档/客户资料.tar", "tar"},
                                                     {"归档/财务备份.tar.gz", "tar.gz"}};
    for (const auto &archive : archives) {
        const QList<Member> members = {
            {employmentContract(), {QStringLiteral("合同/劳动合同.docx"), F::Docx}},
            {dischargeSummary(), {QStringLiteral("病历/出院小结.txt"), F::TxtUtf8}},
            {bankStatement(), {QStringLiteral("流水/对账单.xlsx"), F::Xlsx}},
            {chatExport(), {QStringLiteral("记录/聊天.txt"), F::TxtGbk}},
            {systemLog(), {QStringLiteral("日志/部署.txt"), F::TxtUtf8}},
        };
        if (!saveArchive(archive.first, archive.second, members)) {
            *error = m_error;
            return false;
        }
    }
    if (!saveArchive(QStringLiteral("归档/简历.txt.gz"), QStringLiteral("gz"), {{resumeChinese(), {QStringLiteral("简历.txt"), F::TxtUtf8}}})) {
        *error = m_error;
        return false;
    }
    QFile labels(m_dir + QStringLiteral("/labels.tsv"));
    if (!labels.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1").arg(labels.fileName());
        return false;
    }
    labels.write("file\tmember\tformat\tcategory\tkind\twhere\tvalue\tnote\n");
    labels.write(m_labelLines.join(QLatin1Char('\n')).toUtf8() + '\n');
    return true;
}
