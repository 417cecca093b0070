// A run's findings as CSV: one row per file and rule (or keyword) with its
// count and the run's columns, for spreadsheets and scripts.
#ifndef CSVREPORT_H
#define CSVREPORT_H

#include "runreport.h"

#include <QByteArray>
#include <QStringList>

class CsvReport
{
public:
    // The header row's names, in column order.
    static QStringList columns();
    // UTF-8 with a byte-order mark (spreadsheet programs in Chinese locales
    // take a file without one for GBK), RFC 4180: CRLF line ends, fields
    // holding a comma, quote or line break quoted, quotes doubled. There are
    // no passages in it, so nothing to mask.
    static QByteArray render(const RunReport &report);
    // One field as RFC 4180 writes it.
    static QByteArray field(const QString &text);
};

#endif // CSVREPORT_H
