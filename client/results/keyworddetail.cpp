// The keyword detail document as the keyword detail dialog keeps it.

#include "keyworddetail.h"

#include "passagecut.h"
#include "sensitivefiledetail.h"

KeywordDetail KeywordDetail::fromDocument(const QJsonObject &root)
{
    const SensitiveFileDetail file = parseSensitiveFileDetail(root);
    KeywordDetail detail;
    detail.read = true;
    detail.filepath = file.filepath;
    detail.hits.reserve(size_t(file.sensitives.size()));
    for (const SensitiveItem &item : file.sensitives)
        detail.hits.push_back({item.sensitive, PassageCut::kept(item.sensitive_ctx, item.sensitive)});
    detail.total = qMax(file.total, qint64(detail.hits.size()));
    return detail;
}
