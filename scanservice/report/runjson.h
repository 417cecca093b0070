// The JSON documents of the reports interface: a run's summary, the list of
// runs, and a run's files not read.
#ifndef RUNJSON_H
#define RUNJSON_H

#include "runreport.h"

#include <QJsonArray>
#include <QJsonObject>

class RunJson
{
public:
    // {"run", "path_list", "task_type", "scan_mode", "keywords", "rule_table",
    //  "started", "ended", "outcome", "failure",
    //  "files": {"selected", "walked", "read", "with_hits", "not_read"}}
    static QJsonObject run(const RunReport::Run &run);
    // run(), and "hits": {category or keyword: hits} of its findings.
    static QJsonObject summary(const RunReport &report);
    // [{"file", "kind", "reason"}]
    static QJsonArray notRead(const QVector<RunReport::NotRead> &files);
};

#endif // RUNJSON_H
