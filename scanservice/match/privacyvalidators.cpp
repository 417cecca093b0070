#include "privacyvalidators.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

namespace {
// Characters before a dotted number searched for a version word.
constexpr std::size_t VersionReach = 48;
// A local part this long and (almost) all hexadecimal is a Message-ID.
constexpr std::size_t MessageIdHexDigits = 16;

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isAlnum(char c) { return isDigit(c) || isAlpha(c); }
inline bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool allDigits(const char *p, std::size_t length)
{
    return std::all_of(p, p + length, [](char c) { return isDigit(c); });
}

// Letters (from a set) then digits: "E12345678" against ("EeGg", 1, 8).
bool lettersThenDigits(const char *p, std::size_t length, const char *letters, std::size_t count, std::size_t digits)
{
    if (length != count + digits)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!(letters ? std::strchr(letters, p[i]) != nullptr : (p[i] >= 'A' && p[i] <= 'Z' && p[i] != 'I' && p[i] != 'O')))
            return false;
    }
    return allDigits(p + count, digits);
}

std::string digitsOf(const char *p, std::size_t length)
{
    std::string digits;
    for (std::size_t i = 0; i < length; ++i) {
        if (isDigit(p[i]))
            digits.push_back(p[i]);
    }
    return digits;
}

bool allSame(const std::string &s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [&](char c) { return c == s[0]; });
}

bool startsWithUtf8(const char *p, std::size_t length, const char *word)
{
    const std::size_t n = std::strlen(word);
    return length >= n && std::memcmp(p, word, n) == 0;
}

bool fixedLine(const std::string &digits, bool hyphen, std::size_t areaLength)
{
    auto areaOk = [&](std::size_t n) {
        if (n == 3)
            return digits.compare(0, 3, "010") == 0 || digits.compare(0, 2, "02") == 0;
        return n == 4 && digits[1] >= '3' && digits[1] <= '9';
    };
    auto numberOk = [&](std::size_t n) {
        const std::size_t rest = digits.size() - n;
        return (rest == 7 || rest == 8) && digits[n] >= '2' && digits[n] <= '9';
    };
    if (hyphen)
        return areaOk(areaLength) && numberOk(areaLength);
    const std::size_t n = (digits.compare(0, 3, "010") == 0 || digits.compare(0, 2, "02") == 0) ? 3 : 4;
    return areaOk(n) && numberOk(n);
}

bool parseNumber(const char *&p, const char *end, double *value)
{
    while (p < end && !isDigit(*p) && *p != '-')
        ++p;
    if (p >= end)
        return false;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    double whole = 0;
    bool any = false;
    while (p < end && isDigit(*p)) {
        whole = whole * 10 + (*p++ - '0');
        any = true;
    }
    if (p < end && *p == '.') {
        ++p;
        double scale = 0.1;
        while (p < end && isDigit(*p)) {
            whole += (*p++ - '0') * scale;
            scale /= 10;
        }
    }
    *value = negative ? -whole : whole;
    return any;
}

// Narrows [start, end) to the value after its label: the trailing run of
// letters, digits, "-" and "_". The run must not begin the candidate (a label
// glued to its value is a word, not a label).
bool valueAfterLabel(const char *text, std::size_t &start, std::size_t end)
{
    std::size_t from = end;
    while (from > start && (isAlnum(text[from - 1]) || text[from - 1] == '-' || text[from - 1] == '_'))
        --from;
    if (from == start || from == end)
        return false;
    start = from;
    return true;
}

} // namespace

namespace PrivacyValidators {

bool idCard(const char *p, std::size_t length, const QDate &today, QDate *birth)
{
    if (length != 18)
        return false;
    for (int i = 0; i < 17; ++i) {
        if (!isDigit(p[i]))
            return false;
    }
    static const int provinces[] = {11, 12, 13, 14, 15, 21, 22, 23, 31, 32, 33, 34, 35, 36, 37, 41, 42, 43, 44,
                                    45, 46, 50, 51, 52, 53, 54, 61, 62, 63, 64, 65, 71, 81, 82, 83, 91};
    const int province = (p[0] - '0') * 10 + (p[1] - '0');
    if (std::find(std::begin(provinces), std::end(provinces), province) == std::end(provinces))
        return false;
    auto number = [&](int at, int n) {
        int value = 0;
        for (int i = 0; i < n; ++i)
            value = value * 10 + (p[at + i] - '0');
        return value;
    };
    const QDate date(number(6, 4), number(10, 2), number(12, 2));
    if (!date.isValid() || date.year() < 1900 || date > today)
        return false;
    static const int weights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static const char checks[] = "10X98765432";
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += (p[i] - '0') * weights[i];
    const char expected = checks[sum % 11];
    const char got = p[17] == 'x' ? 'X' : p[17];
    if (got != expected)
        return false;
    if (birth)
        *birth = date;
    return true;
}

bool luhn(const char *digits, std::size_t length)
{
    int sum = 0;
    bool twice = false;
    for (std::size_t i = length; i-- > 0;) {
        int d = digits[i] - '0';
        if (twice) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
        twice = !twice;
    }
    return length > 0 && sum % 10 == 0;
}

char usccCheckCharacter(const char *p)
{
    static const char alphabet[] = "0123456789ABCDEFGHJKLMNPQRTUWXY";
    static const int weights[] = {1, 3, 9, 27, 19, 26, 16, 17, 20, 29, 25, 13, 8, 24, 10, 30, 28};
    int sum = 0;
    for (int i = 0; i < 17; ++i) {
        const char *at = std::strchr(alphabet, p[i]);
        if (!at || p[i] == 0)
            return 0;
        sum += static_cast<int>(at - alphabet) * weights[i];
    }
    const int check = (31 - sum % 31) % 31;
    return alphabet[check];
}

bool mobilePrefix(const char *d)
{
    if (d[0] != '1')
        return false;
    const int two = d[1] - '0';
    const int three = d[2] - '0';
    switch (two) {
    case 3:
    case 8:
        return true;
    case 4:
        return three >= 5;
    case 5:
        return three != 4;
    case 6:
        return three == 2 || three == 5 || three == 6 || three == 7;
    case 7:
        return three <= 8;
    case 9:
        return three != 4;
    default:
        return false;
    }
}

bool boundaryClear(PrivacyRule::Boundary boundary, const char *text, std::size_t size, std::size_t start,
                   std::size_t end)
{
    const char before = start > 0 ? text[start - 1] : ' ';
    const char after = end < size ? text[end] : ' ';
    switch (boundary) {
    case PrivacyRule::Boundary::None:
        return true;
    case PrivacyRule::Boundary::Digit:
        return !isDigit(before) && !isDigit(after);
    case PrivacyRule::Boundary::Alnum:
        return !isAlnum(before) && !isAlnum(after);
    }
    return true;
}

} // namespace PrivacyValidators

namespace {

using PrivacyValidators::idCard;
using PrivacyValidators::luhn;
using PrivacyValidators::mobilePrefix;
using PrivacyValidators::usccCheckCharacter;

// A candidate [start, end) in its text, which a check may narrow (or widen,
// to a prefix or label that belongs to the value).
struct Candidate
{
    const char *text;
    std::size_t size;
    std::size_t &start;
    std::size_t &end;
    const QDate &today;

    const char *p() const { return text + start; }
    std::size_t length() const { return end - start; }
    // The byte before the candidate and the bytes after it; a space beyond the text.
    char before() const { return start > 0 ? text[start - 1] : ' '; }
    char after(std::size_t k = 0) const { return end + k < size ? text[end + k] : ' '; }
};

// Surnames in common use (the single ones of the family-name registers and
// the compound ones still met); a name is a surname and one or two characters.
const QSet<QString> &singleSurnames()
{
    static const QSet<QString> names = [] {
        const QString all = QStringLiteral(
            "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢"
            "姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤常温康施"
            "文牛樊葛邢安齐易乔伍庞颜倪庄聂章鲁岳翟殷詹申欧耿关兰焦俞左柳甘祝包宁尚符舒阮柯纪梅童凌毕单季裴霍涂成苗谷"
            "盛曲翁冉骆蓝路游辛靳管柴蒙鲍华喻祁蒲房滕屈饶解牟艾尤阳时穆农司卓古吉缪简车项连芦麦褚娄窦戚岑景党宫费卜冷"
            "晏席卫米柏宗瞿桂全佟应臧闵苟邬边卞姬师和仇栾隋商刁沙荣巫寇桑郎甄丛仲虞敖巩明佘池查麻苑迟邝官封谈匡鞠惠荆"
            "乐冀郁胥南班储原栗燕楚鄢劳谌奚皮粟冼蔺楼盘满闻位厉伊仝区郜海阚花权强帅屠豆朴盖练廉禹井祖漆巴丰支卿国狄平"
            "计索宣晋相初门云容敬来扈晁芮都普阙浦戈伏鹿薄邸雍辜羊阿乌母裘亓修邰赫杭况那宿鲜印逯隆茹诸战慕危玉银亢嵇公"
            "哈湛宾戎勾茅利於呼居揭干但尉冶斯元束檀衣信展阴昝智幸奉植衡富尧闭由"
            // and those of the registers' second hundred and of the national
            // rankings, in their written forms too (萧 and 阎 beside 肖 and 闫)
            "萧洪阎钮贝凤鄂傅赖");
        QSet<QString> set;
        for (const QChar ch : all)
            set.insert(QString(ch));
        return set;
    }();
    return names;
}

const QStringList &compoundSurnames()
{
    static const QStringList names{
        QStringLiteral("欧阳"), QStringLiteral("司马"), QStringLiteral("上官"), QStringLiteral("诸葛"), QStringLiteral("东方"),
        QStringLiteral("皇甫"), QStringLiteral("尉迟"), QStringLiteral("公孙"), QStringLiteral("慕容"), QStringLiteral("令狐"),
        QStringLiteral("长孙"), QStringLiteral("宇文"), QStringLiteral("司徒"), QStringLiteral("夏侯"), QStringLiteral("轩辕"),
        QStringLiteral("端木"), QStringLiteral("独孤"), QStringLiteral("南宫"), QStringLiteral("西门"), QStringLiteral("呼延"),
        QStringLiteral("百里"), QStringLiteral("东郭"), QStringLiteral("钟离"), QStringLiteral("澹台"), QStringLiteral("公冶"),
        QStringLiteral("太史"), QStringLiteral("申屠"), QStringLiteral("闻人"), QStringLiteral("万俟"), QStringLiteral("赫连"),
        QStringLiteral("濮阳"), QStringLiteral("淳于"), QStringLiteral("单于"), QStringLiteral("司空"), QStringLiteral("第五")};
    return names;
}

// Words that stand where a name is asked for but are none.
bool noName(const QString &s)
{
    static const QStringList words{QStringLiteral("本人"), QStringLiteral("不详"), QStringLiteral("暂无"), QStringLiteral("未填"),
                                   QStringLiteral("同上"), QStringLiteral("见附件"), QStringLiteral("无"), QStringLiteral("签字"),
                                   QStringLiteral("签名"), QStringLiteral("电话"), QStringLiteral("性别"), QStringLiteral("关系"),
                                   // a document's title after a role word ("员工花名册", "客户名单")
                                   QStringLiteral("名册"), QStringLiteral("名单"), QStringLiteral("手册"), QStringLiteral("档案"),
                                   QStringLiteral("信息"), QStringLiteral("资料"), QStringLiteral("明细"), QStringLiteral("台账"),
                                   // a header's word before "身份证号", and the payment platforms
                                   // a statement names where a person's name stands
                                   QStringLiteral("公民"), QStringLiteral("支付宝"), QStringLiteral("财付通")};
    for (const QString &w : words) {
        if (s.startsWith(w) || s.endsWith(w))
            return true;
    }
    return false;
}

// Characters no given name holds, though a word of a record after a role
// word may ("患者高血压的…", "学生高中时", "学生管理等"): an illness's, a school
// stage's, a particle's.
bool commonWordAsName(const QString &s)
{
    // a surname and a title ("张经理说过"), no one's full name; a title is
    // still a value after an occupation's label, so not among noName's words
    static const QStringList titles{QStringLiteral("经理"), QStringLiteral("老师"), QStringLiteral("主任"), QStringLiteral("医生"),
                                    QStringLiteral("先生"), QStringLiteral("女士"), QStringLiteral("律师"), QStringLiteral("师傅"),
                                    QStringLiteral("教授"), QStringLiteral("书记"), QStringLiteral("同学"), QStringLiteral("总监")};
    for (const QString &t : titles) {
        if (s.endsWith(t))
            return true;
    }
    static const QString never = QStringLiteral("病症炎癌瘤痛血压疹热中级部门店府式的等们");
    for (int i = 1; i < s.size(); ++i) {
        if (never.contains(s.at(i)))
            return true;
    }
    return false;
}

// Whether s is a surname and a given name of one or two characters.
bool isPersonName(const QString &s)
{
    if (noName(s))
        return false;
    for (const QString &compound : compoundSurnames()) {
        if (s.startsWith(compound))
            return s.size() >= 3 && s.size() <= 4;
    }
    return s.size() >= 2 && s.size() <= 3 && singleSurnames().contains(s.left(1)) && !commonWordAsName(s);
}

bool isHan(uint u)
{
    return u >= 0x4E00 && u <= 0x9FFF;
}

bool none(Candidate &)
{
    return true;
}

bool identityNumber(Candidate &c)
{
    return idCard(c.p(), c.length(), c.today);
}

bool identityNumberOfMinor(Candidate &c)
{
    QDate birth;
    return idCard(c.p(), c.length(), c.today, &birth) && birth > c.today.addYears(-14);
}

// Eleven digits, or 86 and eleven digits; "+86", "+86-" or "+86 " before them belongs to the number.
bool mobile(Candidate &c)
{
    const char *p = c.p();
    const std::size_t length = c.length();
    const char *text = c.text;
    if (!allDigits(p, length) || (length != 11 && !(length == 13 && p[0] == '8' && p[1] == '6')))
        return false;
    if (!mobilePrefix(p + length - 11) || allSame(std::string(p + length - 8, 8)))
        return false;
    if (length == 13 && c.start > 0 && text[c.start - 1] == '+')
        c.start -= 1;
    else if (length == 11 && c.start >= 3 && std::memcmp(text + c.start - 3, "+86", 3) == 0)
        c.start -= 3;
    else if (length == 11 && c.start >= 4 && std::memcmp(text + c.start - 4, "+86", 3) == 0
             && (text[c.start - 1] == '-' || text[c.start - 1] == ' '))
        c.start -= 4;
    return true;
}

bool fixedLineNumber(Candidate &c)
{
    const char *p = c.p();
    const std::size_t length = c.length();
    const char *text = c.text;
    if (!allDigits(p, length))
        return false;
    if (length > 8)
        return p[0] == '0' && fixedLine(std::string(p, length), false, 0);
    // The subscriber number after "0xx-" or "0xxx-": the area code belongs to the hit.
    std::size_t area = c.start;
    if (area < 2 || text[area - 1] != '-')
        return false;
    --area;
    const std::size_t hyphen = area;
    while (area > 0 && isDigit(text[area - 1]) && hyphen - area < 5)
        --area;
    const std::size_t areaLength = hyphen - area;
    if (areaLength < 3 || areaLength > 4 || text[area] != '0' || (area > 0 && isAlnum(text[area - 1])))
        return false;
    const std::string digits = std::string(text + area, areaLength) + std::string(p, length);
    if (!fixedLine(digits, true, areaLength))
        return false;
    c.start = area;
    return true;
}

// The match is "@" and the first character of the domain: the local part is
// the run before it, the domain the run after it.
// An address that reaches no one: a mail's Message-ID (a long hexadecimal
// local part), a placeholder ("xxx@xxx.com") or a domain name reserved for
// tests (.example, .test, .invalid, .localhost). The example.com names are
// left alone: real mail systems are set up under them too.
bool placeholderAddress(const char *local, std::size_t localLength, const char *domain, std::size_t domainLength)
{
    const std::string l(local, localLength);
    const std::string d(domain, domainLength);
    std::size_t hex = 0;
    for (char ch : l)
        hex += isHex(ch) ? 1 : 0;
    if (localLength >= MessageIdHexDigits && hex * 10 >= localLength * 9)
        return true;
    auto lower = [](std::string v) {
        std::transform(v.begin(), v.end(), v.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        return v;
    };
    const std::string ld = lower(d);
    const std::string ll = lower(l);
    auto endsWith = [](const std::string &v, const char *suffix) {
        const std::size_t n = std::strlen(suffix);
        return v.size() >= n && v.compare(v.size() - n, n, suffix) == 0;
    };
    for (const char *documentation : {".example", ".test", ".invalid", ".localhost"}) {
        if (endsWith(ld, documentation) && (ld.size() == std::strlen(documentation) || documentation[0] == '.'
                                            || ld[ld.size() - std::strlen(documentation) - 1] == '.'))
            return true;
    }
    auto filler = [](const std::string &v) {
        return !v.empty() && (std::all_of(v.begin(), v.end(), [](char ch) { return ch == 'x'; }) || v == "abc" || v == "test"
                              || v == "demo" || v == "sample" || v == "someone" || v == "username" || v == "yourname");
    };
    const std::string firstLabel = ld.substr(0, ld.find('.'));
    if (filler(ll) || filler(firstLabel) || ll.find("xxx") != std::string::npos)
        return true;
    // The domains kept for documentation hold placeholders with a generic or
    // role name ("user@example.com", "hr@example.com"); a person's name there
    // ("li.si@example.org") is kept, as test mail systems use them too.
    static const char *const generic[] = {"example", "user", "name", "your", "yourname", "email", "mail", "admin", "hr",
                                          "info", "support", "service", "contact", "noreply", "no-reply", "webmaster",
                                          "postmaster", "sales", "office"};
    for (const char *reserved : {"example.com", "example.org", "example.net"}) {
        if (ld == reserved || endsWith(ld, (std::string(".") + reserved).c_str())) {
            for (const char *word : generic) {
                if (ll == word)
                    return true;
            }
        }
    }
    return false;
}

bool email(Candidate &c)
{
    const char *text = c.text;
    const std::size_t size = c.size;
    const std::size_t start = c.start;
    std::size_t from = start;
    while (from > 0 && start - from < 64 && (isAlnum(text[from - 1]) || std::strchr("._%+-", text[from - 1])))
        --from;
    while (from < start && !isAlnum(text[from]))
        ++from;
    if (from == start || text[start - 1] == '.')
        return false;
    const char first = from > 0 ? text[from - 1] : ' ';
    if (isAlnum(first) || std::strchr("._%+-@", first))
        return false;
    for (std::size_t q = from; q + 1 < start; ++q) {
        if (text[q] == '.' && text[q + 1] == '.')
            return false;
    }
    std::size_t to = start + 1;
    while (to < size && to - start < 254 && (isAlnum(text[to]) || text[to] == '.' || text[to] == '-'))
        ++to;
    while (to > start + 1 && (text[to - 1] == '.' || text[to - 1] == '-'))
        --to; // a sentence's full stop, not the domain's
    if (to < size && (text[to] == '_' || text[to] == '@'))
        return false;
    // Labels not empty, not starting or ending with "-"; the last one 2 to 10 letters.
    std::size_t lastDot = 0;
    for (std::size_t q = start + 1; q < to; ++q) {
        const char ch = text[q];
        const char previous = text[q - 1];
        const char following = q + 1 < to ? text[q + 1] : '.';
        if (ch == '.') {
            if (previous == '.' || previous == '@')
                return false;
            lastDot = q;
        }
        if (ch == '-' && (previous == '.' || previous == '@' || following == '.'))
            return false;
    }
    if (lastDot == 0 || to - lastDot - 1 < 2 || to - lastDot - 1 > 10)
        return false;
    for (std::size_t q = lastDot + 1; q < to; ++q) {
        if (!isAlpha(text[q]))
            return false;
    }
    if (placeholderAddress(text + from, start - from, text + start + 1, to - start - 1))
        return false;
    c.start = from;
    c.end = to;
    return true;
}

bool bankCard(Candidate &c)
{
    const char *p = c.p();
    const std::size_t length = c.length();
    if (!std::all_of(p, p + length, [](char ch) { return isDigit(ch) || ch == ' ' || ch == '-'; }))
        return false;
    const std::string digits = digitsOf(p, length);
    if (digits.size() < 16 || digits.size() > 19 || allSame(digits))
        return false;
    // Separators, when there are any, are all the same.
    char separator = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (!isDigit(p[i])) {
            if (separator && separator != p[i])
                return false;
            separator = p[i];
        }
    }
    return luhn(digits.data(), digits.size());
}

bool imei(Candidate &c)
{
    const char *p = c.p();
    const std::size_t length = c.length();
    return length == 15 && allDigits(p, 15) && luhn(p, 15) && !allSame(std::string(p, length));
}

// Registration authority, organisation type, six digits of the region, then
// the code; with letters in it or without.
bool creditCode(Candidate &c, bool letters)
{
    const char *p = c.p();
    if (c.length() != 18 || !std::strchr("123456789ANY", p[0]) || p[1] < '1' || p[1] > '9' || !allDigits(p + 2, 6)
        || usccCheckCharacter(p) != p[17])
        return false;
    // An identity number that happens to fit the code counts as an identity number.
    if (idCard(p, 18, c.today))
        return false;
    return std::any_of(p, p + 18, [](char ch) { return isAlpha(ch); }) == letters;
}

bool creditCodeWithLetters(Candidate &c)
{
    return creditCode(c, true);
}

bool creditCodeOfDigits(Candidate &c)
{
    return creditCode(c, false);
}

// Whether the dotted number is a version: "v" glued to it, or a version
// word before it in its clause ("Version 3.5.6.1", "版本号：5.4.0.5", "build 10.0.19041.1").
bool versionBefore(const Candidate &c)
{
    const char before = c.before();
    if (before == 'v' || before == 'V')
        return true;
    std::size_t from = c.start;
    // Back to the start of its clause: the line, or a comma, semicolon or full stop.
    auto clauseEnd = [&c](std::size_t at) {
        const char ch = c.text[at - 1];
        if (ch == '\n' || ch == ',' || ch == ';')
            return true;
        return at >= 3 && (std::memcmp(c.text + at - 3, "\xEF\xBC\x8C", 3) == 0 || std::memcmp(c.text + at - 3, "\xEF\xBC\x9B", 3) == 0
                           || std::memcmp(c.text + at - 3, "\xE3\x80\x82", 3) == 0);
    };
    while (from > 0 && c.start - from < VersionReach && !clauseEnd(from))
        --from;
    const QString line = QString::fromUtf8(c.text + from, static_cast<int>(c.start - from)).toLower();
    static const QStringList words{QStringLiteral("version"), QStringLiteral("ver."), QStringLiteral("build"),
                                   QStringLiteral("release"), QStringLiteral("firmware"), QStringLiteral("版本"),
                                   QStringLiteral("固件"), QStringLiteral("内核"), QStringLiteral("补丁"), QStringLiteral("升级")};
    for (const QString &word : words) {
        if (line.contains(word))
            return true;
    }
    return false;
}

bool ipv4(Candidate &c)
{
    const char before = c.before();
    if (isDigit(before) || before == '.' || isDigit(c.after()) || (c.after() == '.' && isDigit(c.after(1))))
        return false;
    int octets[4];
    const char *q = c.p();
    const char *stop = q + c.length();
    for (int i = 0; i < 4; ++i) {
        const char *from = q;
        int value = 0;
        while (q < stop && isDigit(*q))
            value = value * 10 + (*q++ - '0');
        const std::ptrdiff_t n = q - from;
        if (n == 0 || n > 3 || (n > 1 && *from == '0') || value > 255)
            return false;
        octets[i] = value;
        if (i < 3) {
            if (q >= stop || *q != '.')
                return false;
            ++q;
        }
    }
    if (octets[0] == 0 || octets[0] == 127 || octets[0] >= 224)
        return false;
    if (versionBefore(c))
        return false;
    // Two single-digit leading parts are a version ("5.4.0.5", "1.2.6.10"),
    // the few public addresses of that form notwithstanding.
    if (octets[0] < 10 && octets[1] < 10)
        return false;
    // So are two zero middle parts outside the private 10/8 ("16.0.0.230",
    // an operating system's build in an inventory's version column): a
    // host's public address of that form is rare in a person's documents.
    if (octets[1] == 0 && octets[2] == 0 && octets[0] != 10)
        return false;
    // Documentation ranges.
    if ((octets[0] == 192 && octets[1] == 0 && octets[2] == 2) || (octets[0] == 198 && octets[1] == 51 && octets[2] == 100)
        || (octets[0] == 203 && octets[1] == 0 && octets[2] == 113))
        return false;
    return true;
}

bool mac(Candidate &c)
{
    const char *p = c.p();
    const std::size_t length = c.length();
    const char before = c.before();
    if (isHex(before) || ((before == ':' || before == '-') && c.start > 1 && isHex(c.text[c.start - 2])) || isHex(c.after())
        || ((c.after() == ':' || c.after() == '-') && isHex(c.after(1))))
        return false;
    if (length != 17 || p[2] != p[5] || p[2] != p[8] || p[2] != p[11] || p[2] != p[14])
        return false;
    std::string hex;
    for (std::size_t i = 0; i < length; ++i) {
        if (isHex(p[i]))
            hex.push_back(static_cast<char>(p[i] | 0x20));
    }
    return !allSame(hex);
}

bool coordinates(Candidate &c)
{
    const char *q = c.p();
    const char *stop = q + c.length();
    double first = 0, second = 0;
    if (!parseNumber(q, stop, &first) || !parseNumber(q, stop, &second))
        return false;
    first = std::abs(first);
    second = std::abs(second);
    if (first == 0 && second == 0)
        return false;
    return (first <= 90 && second <= 180) || (first <= 180 && second <= 90);
}

// Degrees, minutes and seconds of a latitude, then of a longitude
// ("29°33′19″N 106°35′13″E"): degrees within 90 and 180, minutes and
// seconds below 60.
bool coordinatesDms(Candidate &c)
{
    const char *q = c.p();
    const char *stop = q + c.length();
    double parts[6] = {};
    for (double &part : parts) {
        if (!parseNumber(q, stop, &part) || part < 0)
            return false;
    }
    return parts[0] <= 90 && parts[3] <= 180 && parts[1] < 60 && parts[2] < 60 && parts[4] < 60 && parts[5] < 60
           && (parts[0] + parts[1] + parts[2] > 0 || parts[3] + parts[4] + parts[5] > 0);
}

// The match begins at the road ("…大街27号3单元"): the address is the run of
// Chinese characters before it, which must name a city or province and
// then a district or county, and begins after the last words before the
// place names ("我住在北京市…" -> "北京市…").
bool address(Candidate &c)
{
    static const char *const levels[] = {"省", "市", "自治区"};
    static const char *const counties[] = {"区", "县", "市", "旗"};
    static const char *const leads[] = {"在", "住", "于", "址", "为", "是", "到", "往", "居", "家"};
    const char *text = c.text;
    const std::size_t start = c.start;
    auto isHan = [&](std::size_t at) {
        const unsigned char ch = static_cast<unsigned char>(text[at]);
        return ch >= 0xE4 && ch <= 0xE9 && (text[at + 1] & 0xC0) == 0x80 && (text[at + 2] & 0xC0) == 0x80;
    };
    std::size_t from = start;
    for (int chars = 0; from >= 3 && chars < 40 && isHan(from - 3); ++chars)
        from -= 3;
    const char *q = text + from;
    const std::size_t prefix = start - from;
    std::size_t firstLevel = prefix;
    std::size_t levelLength = 0;
    for (std::size_t i = 0; i < prefix && firstLevel == prefix; i += 3) {
        for (const char *level : levels) {
            if (startsWithUtf8(q + i, prefix - i, level)) {
                firstLevel = i;
                levelLength = std::strlen(level);
                break;
            }
        }
    }
    if (firstLevel == 0 || firstLevel == prefix)
        return false; // no place name before a city or province
    bool county = false;
    for (std::size_t i = firstLevel + levelLength; i + 3 <= prefix && !county; i += 3) {
        for (const char *word : counties)
            county = county || startsWithUtf8(q + i, prefix - i, word);
    }
    if (!county)
        return false;
    std::size_t lead = 0;
    for (std::size_t i = 0; i < firstLevel; i += 3) {
        for (const char *word : leads) {
            if (startsWithUtf8(q + i, firstLevel - i, word))
                lead = i + std::strlen(word);
        }
    }
    if (lead >= firstLevel)
        return false;
    c.start = from + lead;
    return true;
}

bool ageOfMinor(Candidate &c)
{
    // After a label ("年龄：5"), the age itself is the hit.
    while (c.start < c.end && !isDigit(c.text[c.start]))
        ++c.start;
    const char *p = c.p();
    const std::size_t length = c.length();
    int age = 0;
    std::size_t i = 0;
    while (i < length && isDigit(p[i]))
        age = age * 10 + (p[i++] - '0');
    return i > 0 && age < 14;
}

bool disabilityCard(Candidate &c)
{
    const char *p = c.p();
    return c.length() == 20 && idCard(p, 18, c.today) && p[18] >= '1' && p[18] <= '7' && p[19] >= '1' && p[19] <= '4';
}

bool serial(Candidate &c)
{
    if (!valueAfterLabel(c.text, c.start, c.end))
        return false;
    const char *v = c.p();
    const std::size_t n = c.length();
    const bool letters = std::any_of(v, v + n, [](char ch) { return isAlpha(ch); });
    const bool digits = std::count_if(v, v + n, [](char ch) { return isDigit(ch); }) >= 1;
    return n >= 7 && letters && digits; // seven: a maker's service tag ("XBPS91K")
}

bool measurement(Candidate &c)
{
    // A result is one number (or a pair, "4.7/4.9"); the first number of a
    // range ("3.9-6.1", "3.9～6.1", "3.9至6.1") is a reference interval, and
    // a number cut short ("10" of "10.5") is no result either.
    std::size_t k = 0;
    while (c.end + k < c.size && (c.after(k) == ' ' || c.after(k) == '\t'))
        ++k;
    const char next = c.after(k);
    if (isDigit(c.after()) || (c.after() == '.' && isDigit(c.after(1))) || next == '-' || next == '~')
        return false;
    const char *rest = c.text + c.end + k;
    const std::size_t left = c.size - std::min(c.size, c.end + k);
    for (const char *dash : {"\xef\xbd\x9e", "\xe2\x80\x94", "\xe2\x80\x93", "\xe8\x87\xb3"}) {
        if (left >= 3 && std::memcmp(rest, dash, 3) == 0)
            return false;
    }
    return true;
}

bool value(Candidate &c)
{
    return valueAfterLabel(c.text, c.start, c.end);
}

bool nameAtEnd(Candidate &c, bool narrow);

// A name after its label or role word ("姓名：李宇", "配偶杨娜", "借款人郑浩"):
// the Chinese characters at the hit's end, standing alone (no Chinese
// character follows), narrowed to a surname and its given name. After a
// colon or space the whole run must be the name; glued to the label, the
// longest name that leaves at least two characters of label counts.
bool personName(Candidate &c)
{
    return nameAtEnd(c, true);
}

// As personName, the label kept in the hit ("配偶：杨娜"); the separator
// a pattern may take before a short label ("\t子：余颖霞") is left out.
bool labelledName(Candidate &c)
{
    if (!nameAtEnd(c, false))
        return false;
    while (c.start < c.end) {
        const auto b = static_cast<unsigned char>(c.text[c.start]);
        if (b < 0x80 && !isAlnum(c.text[c.start]))
            ++c.start;
        else if (c.end - c.start > 3 && ((b == 0xEF && static_cast<unsigned char>(c.text[c.start + 1]) == 0xBC)
                                         || (b == 0xE3 && static_cast<unsigned char>(c.text[c.start + 1]) == 0x80)))
            c.start += 3; // full-width and ideographic punctuation: "，" "：" "、"
        else
            break;
    }
    return true;
}

// Words that follow a person's name in running text ("其母亲黄勇长期患…",
// "员工高海燕家庭困难"): a name glued to one of them still stands alone. Words
// of two characters, so that the name's own end is not taken for one, but for
// the particles and verbs of one that no given name ends the sentence with.
bool followsName(const QString &after)
{
    static const QStringList words{
        QStringLiteral("家庭"), QStringLiteral("长期"), QStringLiteral("同志"), QStringLiteral("先生"), QStringLiteral("女士"),
        QStringLiteral("本人"), QStringLiteral("自述"), QStringLiteral("表示"), QStringLiteral("今年"), QStringLiteral("现年"),
        QStringLiteral("目前"), QStringLiteral("现住"), QStringLiteral("现任"), QStringLiteral("现已"), QStringLiteral("因病"),
        QStringLiteral("因故"), QStringLiteral("患有"), QStringLiteral("身份"), QStringLiteral("联系"), QStringLiteral("手机"),
        QStringLiteral("电话"), QStringLiteral("名下"), QStringLiteral("曾因"), QStringLiteral("已于"), QStringLiteral("系我"),
        QStringLiteral("于本"), QStringLiteral("同意"), QStringLiteral("申请"), QStringLiteral("签字"), QStringLiteral("负责"),
        QStringLiteral("因盗"), QStringLiteral("因犯"), QStringLiteral("因涉"), QStringLiteral("因交"), QStringLiteral("因车"),
        QStringLiteral("在外"), QStringLiteral("外出"), QStringLiteral("务工"), QStringLiteral("在家"), QStringLiteral("已故"),
        QStringLiteral("去世"), QStringLiteral("病故"), QStringLiteral("无业"), QStringLiteral("务农"), QStringLiteral("在本"),
        QStringLiteral("在某"), QStringLiteral("在当"), QStringLiteral("已知"),
        // the titles a name takes ("李平先生", "王磊经理")
        QStringLiteral("老师"), QStringLiteral("经理"), QStringLiteral("主任"), QStringLiteral("医生"), QStringLiteral("大夫"),
        QStringLiteral("律师"), QStringLiteral("师傅"), QStringLiteral("教授"), QStringLiteral("博士"), QStringLiteral("同学"),
        QStringLiteral("总监"), QStringLiteral("科长"), QStringLiteral("处长"), QStringLiteral("局长"), QStringLiteral("院长"),
        QStringLiteral("校长"), QStringLiteral("部长"), QStringLiteral("书记"), QStringLiteral("护士"), QStringLiteral("警官"),
        // verbs a person is the subject of ("…李平负责", "…张敏一起")
        QStringLiteral("一起"), QStringLiteral("一同"), QStringLiteral("陪同"), QStringLiteral("通知"), QStringLiteral("签收"),
        QStringLiteral("办理"), QStringLiteral("提交"), QStringLiteral("确认"), QStringLiteral("回复"), QStringLiteral("参加"),
        QStringLiteral("出席"), QStringLiteral("发言"), QStringLiteral("汇报"), QStringLiteral("介绍"), QStringLiteral("提出"),
        QStringLiteral("认为"), QStringLiteral("指出"), QStringLiteral("说明"), QStringLiteral("供述"), QStringLiteral("辩称")};
    for (const QString &w : words) {
        if (after.startsWith(w))
            return true;
    }
    return false;
}

// A particle or a verb of one character that a name is glued to in a
// sentence ("被告人李平的行为", "被告人李平犯盗窃罪"). Common words glued to
// them too ("员工安全的", "学生管理等"), so they count only after a word
// that names a person by what he is or does (…人, …者, 原告, 被告).
bool followsPersonWord(const QString &after, const QString &label)
{
    static const QString single = QStringLiteral("的和与及等犯因于已将被向对在曾称说系均");
    if (!single.contains(after.at(0)))
        return false;
    int end = label.size();
    while (end > 0 && !isHan(label.at(end - 1).unicode()))
        --end;
    // An item of a list, before the list's last joiner ("、王磊和刘洋").
    static const QString joiners = QStringLiteral("和与及等");
    if (end == 0 || (end == 1 && joiners.contains(label.at(0))))
        return joiners.contains(after.at(0));
    const QChar last = label.at(end - 1);
    return last == QChar(0x4EBA) || last == QChar(0x8005) || last == QChar(0x544A); // 人 者 告
}

bool nameAtEnd(Candidate &c, bool narrow)
{
    // A pattern may end at the colon after the name (a chat line's writer,
    // "17:01  姚倩:"), so that only names a colon follows are candidates.
    if (c.length() > 1 && c.text[c.end - 1] == ':')
        c.end -= 1;
    else if (c.length() > 3 && std::memcmp(c.text + c.end - 3, "\xEF\xBC\x9A", 3) == 0) // "："
        c.end -= 3;
    // Or at the words after it that tell the name's end: a chat export's
    // title names the other party ("与徐伟建的对话", "与叶彤的聊天记录").
    static const QByteArray chatTitleEnds[] = {QByteArrayLiteral("的对话"), QByteArrayLiteral("的聊天")};
    bool endTold = false;
    for (const QByteArray &tail : chatTitleEnds) {
        const auto n = static_cast<std::size_t>(tail.size());
        if (c.length() > n && std::memcmp(c.text + c.end - n, tail.constData(), n) == 0) {
            c.end -= n;
            endTold = true;
            break;
        }
    }
    const QString hit = QString::fromUtf8(c.p(), static_cast<int>(c.length()));
    const QString after = QString::fromUtf8(c.text + c.end, static_cast<int>(std::min<std::size_t>(6, c.size - c.end)));
    const bool glued = !endTold && !after.isEmpty() && isHan(after.at(0).unicode()) && !followsName(after);
    int run = 0;
    while (run < hit.size() && isHan(hit.at(hit.size() - 1 - run).unicode()))
        ++run;
    const bool separated = run < hit.size();
    QString name;
    if (separated) {
        name = hit.right(run);
        if (!isPersonName(name))
            return false;
    } else {
        // A list's last joiner is a label of one character ("和刘洋").
        static const QString joiners = QStringLiteral("和与及");
        const int label = hit.size() == run && joiners.contains(hit.at(0)) ? 1 : 2;
        for (int n = std::min(4, run - label); n >= 2 && name.isEmpty(); --n) {
            if (isPersonName(hit.right(n)))
                name = hit.right(n);
        }
        if (name.isEmpty())
            return false;
    }
    if (glued && !followsPersonWord(after, hit.left(hit.size() - name.size())))
        return false;
    if (narrow)
        c.start = c.end - static_cast<std::size_t>(name.toUtf8().size());
    return true;
}

// Words after a label and its colon or space ("职位：人力资源主管",
// "岗位 销售代表"): the run of Chinese characters at the hit's end, which no
// Chinese character follows, is the value.
// Whether words are a label themselves (the next column's header).
bool labelItself(const QString &s)
{
    static const QStringList endings{QStringLiteral("号码"), QStringLiteral("号"), QStringLiteral("电话"), QStringLiteral("日期"),
                                     QStringLiteral("时间"), QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("编号"),
                                     QStringLiteral("地址"), QStringLiteral("名称"), QStringLiteral("类型"), QStringLiteral("类别"),
                                     QStringLiteral("状态"), QStringLiteral("部门"), QStringLiteral("金额"), QStringLiteral("备注"),
                                     QStringLiteral("序号"), QStringLiteral("学历"), QStringLiteral("年龄"), QStringLiteral("民族")};
    for (const QString &e : endings) {
        if (s.endsWith(e))
            return true;
    }
    // A pay sheet's next column ("岗位  应发工资"), and a label given again in
    // the other language of a bilingual form ("Occupation 职业").
    static const QStringList otherColumns{QStringLiteral("工资"), QStringLiteral("薪资"), QStringLiteral("所得税"),
                                          QStringLiteral("收入")};
    static const QStringList labels{QStringLiteral("职业"), QStringLiteral("职务"), QStringLiteral("职位"),
                                    QStringLiteral("岗位"), QStringLiteral("职称"), QStringLiteral("工种")};
    for (const QString &e : otherColumns) {
        if (s.endsWith(e))
            return true;
    }
    return labels.contains(s);
}

bool labelValue(Candidate &c)
{
    const QString hit = QString::fromUtf8(c.p(), static_cast<int>(c.length()));
    const QString after = QString::fromUtf8(c.text + c.end, static_cast<int>(std::min<std::size_t>(4, c.size - c.end)));
    if (!after.isEmpty() && isHan(after.at(0).unicode()))
        return false;
    int run = 0;
    while (run < hit.size() && isHan(hit.at(hit.size() - 1 - run).unicode()))
        ++run;
    if (run < 2 || run == hit.size() || noName(hit.right(run)) || labelItself(hit.right(run)))
        return false;
    // The label starts its phrase ("职业：", not "自由职业").
    if (c.start >= 3 && isHan(QString::fromUtf8(c.text + c.start - 3, 3).at(0).unicode()))
        return false;
    c.start = c.end - static_cast<std::size_t>(hit.right(run).toUtf8().size());
    return true;
}

// A plate: province, issuing letter, a separator or none, then five letters
// and digits (at least one digit, at most two letters: "F·35G27") or six of a
// new-energy plate: D or F, a letter or digit and four digits ("DY5271"),
// or five digits and D or F ("12345D").
bool vehiclePlate(Candidate &c)
{
    std::size_t tail = c.start + 4; // the province (one ideograph) and the letter
    while (tail < c.end && !isAlnum(c.text[tail]))
        ++tail; // the separator
    const std::size_t n = c.end - tail;
    const char *p = c.text + tail;
    int letters = 0;
    for (std::size_t i = 0; i < n; ++i)
        letters += isAlpha(p[i]) ? 1 : 0;
    if (n == 5)
        return letters <= 2 && letters < 5;
    if (n != 6)
        return false;
    // New energy: a small car's D or F, a letter or digit, four digits
    // ("DY5271"); a large vehicle's five digits, then D or F ("12345D").
    const bool small = (p[0] == 'D' || p[0] == 'F') && allDigits(p + 2, 4);
    const bool large = allDigits(p, 5) && (p[5] == 'D' || p[5] == 'F');
    return small || large;
}

// E or G and eight digits, E and a letter and seven digits, P, S or D and
// seven digits; and as other countries' passports and older books are
// written, one or two capital letters and seven or eight digits
// ("E6864145", "EB33755169", "KJ1234567"), not starting with a letter of
// the permits (C, H, L, M, T, W).
bool passport(Candidate &c)
{
    const char *p = c.p();
    const std::size_t length = c.length();
    if (lettersThenDigits(p, length, "EeGg", 1, 8) || (p[0] == 'E' && lettersThenDigits(p + 1, length - 1, nullptr, 1, 7))
        || lettersThenDigits(p, length, "PpSsDd", 1, 7))
        return true;
    const auto upper = [](char ch) { return ch >= 'A' && ch <= 'Z'; };
    const std::size_t letters = upper(p[0]) ? (length > 1 && upper(p[1]) ? 2 : 1) : 0;
    if (letters == 0 || length - letters < 7 || length - letters > 8 || !allDigits(p + letters, length - letters))
        return false;
    return std::strchr("CHLMTW", p[0]) == nullptr;
}

// C or W and eight digits, C and a letter and seven digits, H or M and eight or ten digits.
bool hkMacauPermit(Candidate &c)
{
    const char *p = c.p();
    const std::size_t length = c.length();
    return lettersThenDigits(p, length, "CcWw", 1, 8) || (p[0] == 'C' && lettersThenDigits(p + 1, length - 1, nullptr, 1, 7))
           || lettersThenDigits(p, length, "HhMm", 1, 8) || lettersThenDigits(p, length, "HhMm", 1, 10);
}

// Eight digits, T or L and eight digits, ten digits with an optional letter.
bool taiwanPermit(Candidate &c)
{
    const char *p = c.p();
    const std::size_t length = c.length();
    return allDigits(p, length) ? (length == 8 || length == 10)
                                : (lettersThenDigits(p, length, "TL", 1, 8) // L: a mainland resident's card for Taiwan
                                   || (length == 11 && allDigits(p, 10) && p[10] >= 'A' && p[10] <= 'Z'));
}

using V = PrivacyRule::Validator;
using Check = bool (*)(Candidate &);
struct Entry
{
    V validator;
    Check check;
};
// Every validator's check, in the order of PrivacyRule::Validator (checked below).
constexpr Entry Checks[] = {
    {V::None, none},
    {V::IdCard, identityNumber},
    {V::IdCardMinor, identityNumberOfMinor},
    {V::Mobile, mobile},
    {V::FixedLine, fixedLineNumber},
    {V::Email, email},
    {V::BankCard, bankCard},
    {V::Imei, imei},
    {V::Uscc, creditCodeWithLetters},
    {V::UsccDigits, creditCodeOfDigits},
    {V::Ipv4, ipv4},
    {V::Mac, mac},
    {V::Coordinates, coordinates},
    {V::Address, address},
    {V::AgeMinor, ageOfMinor},
    {V::DisabilityCard, disabilityCard},
    {V::Serial, serial},
    {V::Value, value},
    {V::Passport, passport},
    {V::HkMacauPermit, hkMacauPermit},
    {V::TaiwanPermit, taiwanPermit},
    {V::PersonName, personName},
    {V::LabelledName, labelledName},
    {V::LabelValue, labelValue},
    {V::VehiclePlate, vehiclePlate},
    {V::CoordinatesDms, coordinatesDms},
    {V::Measurement, measurement},
};
constexpr std::size_t CheckCount = sizeof(Checks) / sizeof(Checks[0]);

constexpr bool everyValidatorInItsPlace()
{
    for (std::size_t i = 0; i < CheckCount; ++i) {
        if (static_cast<std::size_t>(Checks[i].validator) != i)
            return false;
    }
    return CheckCount == static_cast<std::size_t>(V::Measurement) + 1;
}
static_assert(everyValidatorInItsPlace(), "one check per validator, in the order of PrivacyRule::Validator");

} // namespace

namespace PrivacyValidators {

bool check(PrivacyRule::Validator validator, const char *text, std::size_t size, std::size_t &start,
           std::size_t &end, const QDate &today)
{
    const std::size_t index = static_cast<std::size_t>(validator);
    if (index >= CheckCount)
        return false;
    Candidate candidate{text, size, start, end, today};
    return Checks[index].check(candidate);
}

} // namespace PrivacyValidators
