// A run as one self-contained HTML page: its summary, hits per category or
// keyword (a table and an inline SVG chart), the folders with the most hits,
// the files not read and the files with their passages. No script, no
// stylesheet or image from elsewhere; it prints cleanly (to PDF too).
#ifndef HTMLREPORT_H
#define HTMLREPORT_H

#include "runreport.h"

#include <QByteArray>
#include <QString>

class HtmlReport
{
public:
    // Bars in the chart and rows of the folder table.
    static constexpr int ChartBars = 20;
    static constexpr int TopFolders = 10;

    // Passages masked unless `masked` is false; every text from the run is escaped.
    static QByteArray render(const RunReport &report, bool masked);
    // Text as HTML character data or attribute value.
    static QString escape(const QString &text);
};

#endif // HTMLREPORT_H
