// A run's findings as JSON Lines: one object per file and rule (or keyword)
// with its count and passages, for log and search tools.
#ifndef JSONLINESREPORT_H
#define JSONLINESREPORT_H

#include "runreport.h"

#include <QByteArray>

class JsonLinesReport
{
public:
    // Each line: {"run", "task_type", "file", "category" (privacy runs),
    // "rule" or "keyword", "count", "passages": [{"value", "context"}]};
    // values and numbers in passages masked unless `masked` is false.
    static QByteArray render(const RunReport &report, bool masked);
};

#endif // JSONLINESREPORT_H
