#include "privacyrules.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {
const QHash<QString, PrivacyRule::Validator> &validatorNames()
{
    using V = PrivacyRule::Validator;
    static const QHash<QString, V> names{
        {"none", V::None}, {"id_card", V::IdCard}, {"id_card_minor", V::IdCardMinor}, {"mobile", V::Mobile},
        {"fixed_line", V::FixedLine}, {"email", V::Email}, {"bank_card", V::BankCard}, {"imei", V::Imei},
        {"uscc", V::Uscc}, {"uscc_digits", V::UsccDigits}, {"ipv4", V::Ipv4}, {"mac", V::Mac},
        {"coordinates", V::Coordinates}, {"address", V::Address}, {"age_minor", V::AgeMinor},
        {"disability_card", V::DisabilityCard}, {"serial", V::Serial}, {"value", V::Value}, {"passport", V::Passport},
        {"hk_macau_permit", V::HkMacauPermit}, {"taiwan_permit", V::TaiwanPermit},
        {"person_name", V::PersonName},
        {"labelled_name", V::LabelledName}, {"label_value", V::LabelValue},
        {"vehicle_plate", V::VehiclePlate}, {"coordinates_dms", V::CoordinatesDms},
        {"measurement", V::Measurement}};
    return names;
}

QStringList splitWords(const QString &value)
{
    return value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

const QStringList &PrivacyRuleTable::categories()
{
    static const QStringList names{
        QStringLiteral("身份标识"), QStringLiteral("宗教信仰"), QStringLiteral("医疗健康"), QStringLiteral("账户信息"),
        QStringLiteral("行踪轨迹"), QStringLiteral("未成年人信息"), QStringLiteral("法规隐私"), QStringLiteral("地理位置"),
        QStringLiteral("社会关系"), QStringLiteral("设备信息"), QStringLiteral("健康生理"), QStringLiteral("职业教育"),
        QStringLiteral("特殊群体"), QStringLiteral("金融消费")};
    return names;
}

bool PrivacyRuleTable::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QString why;
    if (!parse(file.readAll(), &why)) {
        *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}

bool PrivacyRuleTable::parse(const QByteArray &text, QString *error)
{
    QVector<PrivacyRule> rules;
    QSet<QString> ids;
    // A multi-byte character directly followed by a quantifier: the quantifier
    // would apply to its last byte only, as expressions are matched byte-wise.
    static const QRegularExpression badQuantifier(QStringLiteral("[^\\x{0}-\\x{7f}][?*+{]"));
    const QList<QByteArray> lines = text.split('\n');
    auto fail = [&](int line, const QString &what) {
        *error = QStringLiteral("line %1: %2").arg(line).arg(what);
        return false;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        const QString line = QString::fromUtf8(lines.at(i)).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            PrivacyRule rule;
            rule.id = line.mid(1, line.size() - 2).trimmed();
            rule.line = lineNumber;
            if (rule.id.isEmpty() || ids.contains(rule.id))
                return fail(lineNumber, QStringLiteral("rule name empty or repeated"));
            ids.insert(rule.id);
            rules.append(rule);
            continue;
        }
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            return fail(lineNumber, QStringLiteral("expected \"key: value\""));
        if (rules.isEmpty())
            return fail(lineNumber, QStringLiteral("a key before the first [rule]"));
        PrivacyRule &rule = rules.last();
        const QString key = line.left(colon).trimmed();
        const QString value = line.mid(colon + 1).trimmed();
        if (value.isEmpty())
            return fail(lineNumber, QStringLiteral("%1 without a value").arg(key));
        if (key == QLatin1String("name")) {
            rule.name = value;
        } else if (key == QLatin1String("category")) {
            rule.category = value;
            rule.categoryIndex = categories().indexOf(value);
            if (rule.categoryIndex < 0)
                return fail(lineNumber, QStringLiteral("\"%1\" is not a category").arg(value));
        } else if (key == QLatin1String("pattern")) {
            if (badQuantifier.match(value).hasMatch())
                return fail(lineNumber, QStringLiteral("a quantifier after a multi-byte character: group it, as in (?:字)?"));
            QString expanded = value;
            expanded.replace(QLatin1String("{HAN}"), QLatin1String(hanExpression()));
            rule.patterns.append(expanded);
        } else if (key == QLatin1String("run")) {
            const QStringList bounds = value.split(QLatin1Char('-'));
            bool ok = bounds.size() <= 2;
            rule.runMin = bounds.value(0).toInt(&ok) * (ok ? 1 : 0);
            bool ok2 = true;
            rule.runMax = bounds.size() == 2 ? bounds.at(1).toInt(&ok2) : rule.runMin;
            if (!ok || !ok2 || rule.runMin < RunDigits || rule.runMax < rule.runMin || rule.runMax > MaxRun)
                return fail(lineNumber, QStringLiteral("run is N or N-M, from %1 to %2").arg(RunDigits).arg(MaxRun));
        } else if (key == QLatin1String("find")) {
            if (value == QLatin1String("near context"))
                rule.nearContext = true;
            else if (value != QLatin1String("everywhere"))
                return fail(lineNumber, QStringLiteral("find is \"everywhere\" or \"near context\""));
        } else if (key == QLatin1String("fact")) {
            if (value == QLatin1String("sentence"))
                rule.factPerSentence = true;
            else if (value != QLatin1String("word"))
                return fail(lineNumber, QStringLiteral("fact is \"word\" or \"sentence\""));
        } else if (key == QLatin1String("words")) {
            rule.words += splitWords(value);
        } else if (key == QLatin1String("context")) {
            rule.context += splitWords(value);
        } else if (key == QLatin1String("with")) {
            rule.with += splitWords(value);
        } else if (key == QLatin1String("not_in")) {
            // The text after a hit is there for MaxNotInBytes at least when it is settled.
            for (const QString &word : splitWords(value)) {
                if (word.toUtf8().size() > MaxNotInBytes)
                    return fail(lineNumber, QStringLiteral("not_in word longer than %1 bytes").arg(MaxNotInBytes));
                rule.notIn.append(word);
            }
        } else if (key == QLatin1String("window")) {
            bool ok = false;
            rule.window = value.toInt(&ok);
            if (!ok || rule.window < 1 || rule.window > 40)
                return fail(lineNumber, QStringLiteral("window must be 1 to 40 characters"));
        } else if (key == QLatin1String("validator")) {
            if (!validatorNames().contains(value))
                return fail(lineNumber, QStringLiteral("unknown validator \"%1\"").arg(value));
            rule.validator = validatorNames().value(value);
        } else if (key == QLatin1String("boundary")) {
            if (value == QLatin1String("digit"))
                rule.boundary = PrivacyRule::Boundary::Digit;
            else if (value == QLatin1String("alnum"))
                rule.boundary = PrivacyRule::Boundary::Alnum;
            else if (value == QLatin1String("none"))
                rule.boundary = PrivacyRule::Boundary::None;
            else
                return fail(lineNumber, QStringLiteral("boundary is digit, alnum or none"));
            rule.boundarySet = true;
        } else {
            return fail(lineNumber, QStringLiteral("unknown key \"%1\"").arg(key));
        }
    }
    for (PrivacyRule &rule : rules) {
        if (rule.nearContext && (rule.context.isEmpty() || rule.patterns.isEmpty()))
            return fail(rule.line, QStringLiteral("rule %1 finds near its context: it needs patterns and context words").arg(rule.id));
        if (rule.name.isEmpty() || rule.category.isEmpty())
            return fail(rule.line, QStringLiteral("rule %1 needs a name and a category").arg(rule.id));
        if ((rule.patterns.isEmpty() && rule.runMin == 0) == rule.words.isEmpty())
            return fail(rule.line, QStringLiteral("rule %1 needs patterns (or a run) or words, not both").arg(rule.id));
        if (!rule.boundarySet)
            rule.boundary = rule.words.isEmpty() ? PrivacyRule::Boundary::Alnum : PrivacyRule::Boundary::None;
    }
    if (rules.isEmpty())
        return fail(lines.size(), QStringLiteral("no rule"));
    m_rules = rules;
    return true;
}

int PrivacyRuleTable::indexOf(const QString &id) const
{
    for (int i = 0; i < m_rules.size(); ++i) {
        if (m_rules.at(i).id == id)
            return i;
    }
    return -1;
}

QVector<int> PrivacyRuleTable::rulesOf(const QString &category) const
{
    QVector<int> found;
    for (int i = 0; i < m_rules.size(); ++i) {
        if (m_rules.at(i).category == category)
            found.append(i);
    }
    return found;
}
