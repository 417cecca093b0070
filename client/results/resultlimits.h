// The bounds the result views keep to, whatever size of document or count
// map the scan service sends: one place to read and change them.
#ifndef RESULTLIMITS_H
#define RESULTLIMITS_H

namespace ResultLimits {

// A passage as a detail row shows it: at most this many characters before
// its hit, so the hit starts inside the row's text column, and after it.
constexpr int RowCharsBefore = 16;
constexpr int RowCharsAfter = 120;
// A passage as its tooltip shows it (and as the dialogs keep it): the rest of
// a longer passage is dropped when the reply is read.
constexpr int ToolTipCharsBefore = 300;
constexpr int ToolTipCharsAfter = 700;
// A hit longer than this is itself cut.
constexpr int MaxHitChars = 200;

// Words listed in a result row's count tooltip; the rest are summed up in
// one line.
constexpr int ToolTipWords = 20;

// The allocator's fixed thresholds while detail dialogs are used (see
// DetailDialog): blocks from this size are mapped on their own, and a heap's
// free top beyond the trim threshold goes back to the system.
constexpr int AllocatorMapThreshold = 128 * 1024;
constexpr int AllocatorTrimThreshold = 256 * 1024;

} // namespace ResultLimits

#endif // RESULTLIMITS_H
