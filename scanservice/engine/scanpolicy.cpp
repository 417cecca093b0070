#include "scanpolicy.h"

#include "scanlimits.h"
#include "transcontrolprotocol.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Walks the document and reports the first member that is missing or of the
// wrong type, with its path.
class Checker
{
public:
    QString error;

    bool require(const QJsonObject &object, const QString &path, const char *key, QJsonValue::Type type,
                 QJsonValue *out)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined()) {
            fail(path + QLatin1Char('.') + QLatin1String(key) + QStringLiteral(" is missing"));
            return false;
        }
        if (value.type() != type) {
            fail(path + QLatin1Char('.') + QLatin1String(key) + QStringLiteral(" has the wrong type"));
            return false;
        }
        *out = value;
        return true;
    }

    // Members the service does not need, but which must have their type when present.
    bool optional(const QJsonObject &object, const QString &path, const char *key, QJsonValue::Type type)
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || value.type() == type)
            return true;
        fail(path + QLatin1Char('.') + QLatin1String(key) + QStringLiteral(" has the wrong type"));
        return false;
    }

    bool objects(const QJsonArray &array, const QString &path)
    {
        for (int i = 0; i < array.size(); ++i) {
            if (!array.at(i).isObject()) {
                fail(QStringLiteral("%1[%2] is not an object").arg(path).arg(i));
                return false;
            }
        }
        return true;
    }

private:
    void fail(const QString &text)
    {
        if (error.isEmpty())
            error = text;
    }
};

} // namespace

int ScanPolicy::parse(const QString &base64, int taskType, ScanPolicy *policy, QString *reason)
{
    if (base64.size() > Limits::MaxPolicyBytes) {
        *reason = QStringLiteral("the policy is larger than %1 bytes").arg(Limits::MaxPolicyBytes);
        return ReturnCode::PolicyTooLarge;
    }
    const QByteArray encoded = base64.toLatin1();
    if (encoded.isEmpty() || base64.size() % 4 != 0) {
        *reason = QStringLiteral("the policy is not Base64");
        return ReturnCode::PolicyNotBase64;
    }
    for (QChar c : base64) {
        const ushort u = c.unicode();
        const bool ok = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '+'
                        || u == '/' || u == '=';
        if (!ok) {
            *reason = QStringLiteral("the policy is not Base64");
            return ReturnCode::PolicyNotBase64;
        }
    }
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(encoded, QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok) {
        *reason = QStringLiteral("the policy is not Base64");
        return ReturnCode::PolicyNotBase64;
    }

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(decoded.decoded, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        *reason = parseError.error != QJsonParseError::NoError
                      ? QStringLiteral("the policy is not JSON: %1 at offset %2")
                            .arg(parseError.errorString())
                            .arg(parseError.offset)
                      : QStringLiteral("the policy is not a JSON object");
        return ReturnCode::PolicyNotJson;
    }

    Checker check;
    ScanPolicy result;
    QSet<QString> seenKeywords;
    qint64 keywordBytes = 0;
    const QJsonObject root = document.object();
    QJsonValue version, policies;
    if (check.require(root, QStringLiteral("policy"), "version", QJsonValue::String, &version)
        && check.require(root, QStringLiteral("policy"), "policies", QJsonValue::Array, &policies)) {
        const QJsonArray list = policies.toArray();
        if (list.isEmpty())
            check.error = QStringLiteral("policy.policies is empty");
        else
            check.objects(list, QStringLiteral("policy.policies"));
        for (int p = 0; p < list.size() && check.error.isEmpty(); ++p) {
            const QString at = QStringLiteral("policies[%1]").arg(p);
            const QJsonObject one = list.at(p).toObject();
            QJsonValue ruleset, detect, response, filetypeRules, keywordRules, dataIdentifiers;
            if (!check.optional(one, at, "name", QJsonValue::String)
                || !check.optional(one, at, "description", QJsonValue::String)
                || !check.require(one, at, "ruleset", QJsonValue::Object, &ruleset))
                break;
            const QString rs = at + QStringLiteral(".ruleset");
            if (!check.require(ruleset.toObject(), rs, "detect_ruleset", QJsonValue::Object, &detect)
                || !check.require(ruleset.toObject(), rs, "response_ruleset", QJsonValue::Array, &response))
                break;
            const QString ds = rs + QStringLiteral(".detect_ruleset");
            const QJsonObject detectObject = detect.toObject();
            if (!check.require(detectObject, ds, "filetype_detect_ruleset", QJsonValue::Array, &filetypeRules)
                || !check.require(detectObject, ds, "keyword_detect_ruleset", QJsonValue::Array, &keywordRules)
                || !check.require(detectObject, ds, "dataidentifier_detect_ruleset", QJsonValue::Bool,
                                  &dataIdentifiers))
                break;
            result.m_dataIdentifiers = result.m_dataIdentifiers || dataIdentifiers.toBool();

            const QJsonArray ftRules = filetypeRules.toArray();
            const QString fs = ds + QStringLiteral(".filetype_detect_ruleset");
            if (!check.objects(ftRules, fs))
                break;
            for (int i = 0; i < ftRules.size() && check.error.isEmpty(); ++i) {
                const QString r = QStringLiteral("%1[%2]").arg(fs).arg(i);
                const QJsonObject rule = ftRules.at(i).toObject();
                QJsonValue types;
                if (!check.optional(rule, r, "name", QJsonValue::String)
                    || !check.optional(rule, r, "description", QJsonValue::String)
                    || !check.optional(rule, r, "matchcondition", QJsonValue::String)
                    || !check.optional(rule, r, "exception", QJsonValue::Bool)
                    || !check.require(rule, r, "filetypes", QJsonValue::Array, &types))
                    break;
                const QJsonArray typeList = types.toArray();
                for (int t = 0; t < typeList.size(); ++t) {
                    if (!typeList.at(t).isString()) {
                        check.error = QStringLiteral("%1.filetypes[%2] is not a string").arg(r).arg(t);
                        break;
                    }
                    QString type = typeList.at(t).toString().trimmed().toLower();
                    while (type.startsWith(QLatin1Char('.')))
                        type.remove(0, 1);
                    if (!type.isEmpty())
                        result.m_fileTypes.insert(type);
                }
            }
            if (!check.error.isEmpty())
                break;

            const QJsonArray kwRules = keywordRules.toArray();
            const QString ks = ds + QStringLiteral(".keyword_detect_ruleset");
            if (!check.objects(kwRules, ks))
                break;
            for (int i = 0; i < kwRules.size() && check.error.isEmpty(); ++i) {
                const QString r = QStringLiteral("%1[%2]").arg(ks).arg(i);
                const QJsonObject rule = kwRules.at(i).toObject();
                QJsonValue patterns;
                if (!check.optional(rule, r, "name", QJsonValue::String)
                    || !check.optional(rule, r, "description", QJsonValue::String)
                    || !check.optional(rule, r, "exception", QJsonValue::Bool)
                    || !check.require(rule, r, "keywords", QJsonValue::Array, &patterns))
                    break;
                const QJsonArray patternList = patterns.toArray();
                if (!check.objects(patternList, r + QStringLiteral(".keywords")))
                    break;
                // A rule marked as an exception names what is allowed, not what is sought.
                const bool exception = rule.value(QLatin1String("exception")).toBool(false);
                for (int k = 0; k < patternList.size(); ++k) {
                    const QString pk = QStringLiteral("%1.keywords[%2]").arg(r).arg(k);
                    const QJsonObject pattern = patternList.at(k).toObject();
                    QJsonValue text;
                    if (!check.require(pattern, pk, "pattern", QJsonValue::String, &text)
                        || !check.optional(pattern, pk, "maxmatches", QJsonValue::Double)
                        || !check.optional(pattern, pk, "distinct", QJsonValue::Bool)
                        || !check.optional(pattern, pk, "matchcondition", QJsonValue::Double))
                        break;
                    const QString word = text.toString();
                    if (exception || word.isEmpty() || seenKeywords.contains(word))
                        continue;
                    if (word.toUtf8().size() > Limits::MaxKeywordBytes) {
                        *reason = QStringLiteral("%1 is longer than %2 bytes").arg(pk).arg(Limits::MaxKeywordBytes);
                        return ReturnCode::PolicyTooLarge;
                    }
                    if (result.m_keywords.size() >= Limits::MaxKeywords) {
                        *reason = QStringLiteral("the policy holds more than %1 keywords").arg(Limits::MaxKeywords);
                        return ReturnCode::PolicyTooLarge;
                    }
                    keywordBytes += word.toUtf8().size();
                    if (keywordBytes > Limits::MaxKeywordTotalBytes) {
                        *reason = QStringLiteral("the policy's keywords hold more than %1 bytes").arg(Limits::MaxKeywordTotalBytes);
                        return ReturnCode::PolicyTooLarge;
                    }
                    seenKeywords.insert(word);
                    result.m_keywords.append(word);
                }
            }
            if (!check.error.isEmpty())
                break;

            const QJsonArray actions = response.toArray();
            const QString as = rs + QStringLiteral(".response_ruleset");
            if (!check.objects(actions, as))
                break;
            for (int i = 0; i < actions.size(); ++i) {
                const QString r = QStringLiteral("%1[%2]").arg(as).arg(i);
                const QJsonObject rule = actions.at(i).toObject();
                QJsonValue action;
                if (!check.optional(rule, r, "name", QJsonValue::String)
                    || !check.optional(rule, r, "description", QJsonValue::String)
                    || !check.require(rule, r, "action", QJsonValue::String, &action))
                    break;
                if (action.toString() == QLatin1String("WriteDatabase"))
                    result.m_writeDatabase = true;
            }
        }
    }
    if (!check.error.isEmpty()) {
        *reason = check.error;
        return ReturnCode::PolicyInvalid;
    }
    if (result.m_fileTypes.isEmpty()) {
        *reason = QStringLiteral("the policy names no file type");
        return ReturnCode::PolicyInvalid;
    }
    if (taskType == KeywordScanTask && result.m_keywords.isEmpty()) {
        *reason = QStringLiteral("the keyword task's policy holds no keyword");
        return ReturnCode::PolicyNoKeywords;
    }
    *policy = result;
    return ReturnCode::Ok;
}
