// CSV export of a run (see csvreport.h).
#include "csvreport.h"

QStringList CsvReport::columns()
{
    return {QStringLiteral("run"),     QStringLiteral("task_type"), QStringLiteral("scan_mode"),
            QStringLiteral("path_list"), QStringLiteral("started"), QStringLiteral("ended"),
            QStringLiteral("outcome"), QStringLiteral("file"),      QStringLiteral("category"),
            QStringLiteral("rule_or_keyword"), QStringLiteral("count")};
}

QByteArray CsvReport::field(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n') && !utf8.contains('\r'))
        return utf8;
    QByteArray quoted = utf8;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

QByteArray CsvReport::render(const RunReport &report)
{
    QByteArray out("\xEF\xBB\xBF");
    auto row = [&out](const QStringList &fields) {
        for (int i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out.append(',');
            out.append(field(fields.at(i)));
        }
        out.append("\r\n");
    };
    row(columns());
    const RunReport::Run &run = report.run;
    const QStringList runColumns{QString::number(run.id), RunReport::taskTypeName(run.tasktype), QString::number(run.scanmode),
                                 run.pathlist, run.started, run.ended, run.outcome};
    for (const RunReport::Finding &finding : report.findings)
        row(runColumns + QStringList{finding.path, finding.category, finding.name, QString::number(finding.count)});
    return out;
}
