// The privacy detail document as the privacy detail dialog keeps it.

#include "privacydetail.h"

#include "passagecut.h"
#include "sensitivegroupdetail.h"

#include <QMap>

PrivacyDetail PrivacyDetail::fromGroup(const SensitiveGroupDetail &group)
{
    PrivacyDetail detail;
    detail.read = true;
    // path -> rule name -> hits; QMap keeps both in code-unit order.
    QMap<QString, QMap<QString, std::vector<Hit>>> byFile;
    QMap<QString, int> rules;
    for (const SensitiveRuleDetail &rule : group.groupsensitives) {
        for (const SensitiveFileDetail &file : rule.rulesensitives) {
            detail.total += file.sensitives.size();
            if (file.sensitives.isEmpty())
                continue;
            rules.insert(rule.rulename, 0);
            std::vector<Hit> &hits = byFile[file.filepath][rule.rulename];
            for (const SensitiveItem &item : file.sensitives)
                hits.push_back({0, item.sensitive, PassageCut::kept(item.sensitive_ctx, item.sensitive)});
        }
    }
    int index = 0;
    for (auto it = rules.begin(); it != rules.end(); ++it) {
        it.value() = index++;
        detail.ruleNames << it.key();
    }
    detail.files.reserve(size_t(byFile.size()));
    for (auto file = byFile.begin(); file != byFile.end(); ++file) {
        File entry;
        entry.path = file.key();
        for (auto rule = file.value().begin(); rule != file.value().end(); ++rule) {
            const int ruleIndex = rules.value(rule.key());
            for (Hit &hit : rule.value()) {
                hit.rule = ruleIndex;
                entry.hits.push_back(std::move(hit));
            }
        }
        detail.files.push_back(std::move(entry));
    }
    return detail;
}

PrivacyDetail PrivacyDetail::fromDocument(const QJsonObject &root)
{
    return fromGroup(parseSensitiveGroupDetail(root));
}
