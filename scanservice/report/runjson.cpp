// The JSON documents of the reports interface (see runjson.h).
#include "runjson.h"

QJsonObject RunJson::run(const RunReport::Run &run)
{
    return QJsonObject{{"run", run.id},
                       {"path_list", run.pathlist},
                       {"task_type", RunReport::taskTypeName(run.tasktype)},
                       {"scan_mode", run.scanmode},
                       {"keywords", run.keywords},
                       {"rule_table", run.ruleTable},
                       {"started", run.started},
                       {"ended", run.ended},
                       {"outcome", run.outcome},
                       {"failure", run.failure},
                       {"files", QJsonObject{{"selected", run.filesTotal},
                                             {"walked", run.filesWalked},
                                             {"read", run.filesRead},
                                             {"with_hits", run.filesWithHits},
                                             {"not_read", run.filesNotRead}}}};
}

QJsonObject RunJson::summary(const RunReport &report)
{
    QJsonObject summary = run(report.run);
    QJsonObject hits;
    for (const RunReport::Finding &finding : report.findings) {
        const QString name = report.run.tasktype == 3 ? finding.category : finding.name;
        hits.insert(name, hits.value(name).toDouble() + double(finding.count));
    }
    summary.insert(QStringLiteral("hits"), hits);
    return summary;
}

QJsonArray RunJson::notRead(const QVector<RunReport::NotRead> &files)
{
    QJsonArray list;
    for (const RunReport::NotRead &file : files)
        list.append(QJsonObject{{"file", file.path}, {"kind", file.kind}, {"reason", file.reason}});
    return list;
}
