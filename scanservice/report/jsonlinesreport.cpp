// JSON Lines export of a run (see jsonlinesreport.h).
#include "jsonlinesreport.h"

#include "passagemask.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QByteArray JsonLinesReport::render(const RunReport &report, bool masked)
{
    const bool privacy = report.run.tasktype == 3;
    QByteArray out;
    for (const RunReport::Finding &finding : report.findings) {
        QJsonArray passages;
        for (const RunReport::Passage &kept : finding.passages) {
            const RunReport::Passage passage = masked ? PassageMask::passage(kept, privacy) : kept;
            passages.append(QJsonObject{{"value", passage.value}, {"context", passage.context}});
        }
        QJsonObject line{{"run", report.run.id},
                         {"task_type", RunReport::taskTypeName(report.run.tasktype)},
                         {"file", finding.path},
                         {"count", finding.count},
                         {"passages", passages}};
        if (privacy) {
            line.insert(QStringLiteral("category"), finding.category);
            line.insert(QStringLiteral("rule"), finding.name);
        } else {
            line.insert(QStringLiteral("keyword"), finding.name);
        }
        out.append(QJsonDocument(line).toJson(QJsonDocument::Compact));
        out.append('\n');
    }
    return out;
}
