// The scan history's fixed values, in one place.
#ifndef HISTORYLIMITS_H
#define HISTORYLIMITS_H

namespace HistoryLimits {
// How a run's start is shown in the summary and the table's tooltip.
constexpr const char *TimeFormat = "yyyy-MM-dd HH:mm";
// The table is narrow: a start of this year without its year, one of
// another year without its time.
constexpr const char *ThisYearFormat = "MM-dd HH:mm";
constexpr const char *OtherYearFormat = "yyyy-MM-dd";
// The run's start in the export's suggested file name.
constexpr const char *FileNameTimeFormat = "yyyyMMdd-HHmmss";
// Categories or keywords a summary names, most hits first; the rest are
// counted together. The export carries all of them.
constexpr int SummaryHitLines = 8;
// Lines the summary below the table shows without scrolling.
constexpr int SummaryLines = 4;
} // namespace HistoryLimits

#endif // HISTORYLIMITS_H
