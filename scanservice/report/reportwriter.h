// Picks the format of an export and writes it into a descriptor the caller
// opened: the service never opens a path for a caller.
#ifndef REPORTWRITER_H
#define REPORTWRITER_H

#include "runreport.h"

#include <QByteArray>
#include <QString>

class ReportWriter
{
public:
    enum class Format { Csv, JsonLines, Html };
    // A writer that takes nothing for this long is given up on (a pipe no one reads).
    static constexpr int StallMs = 30000;

    // "csv", "jsonl" or "html"; false for anything else.
    static bool parseFormat(const QString &name, Format *format);
    static QByteArray render(const RunReport &report, Format format, bool masked);
    // Writes everything at the descriptor's position; false with a reason
    // when it is not open for writing, a write fails, or it stalls.
    static bool writeAll(int fd, const QByteArray &data, QString *error);
};

#endif // REPORTWRITER_H
