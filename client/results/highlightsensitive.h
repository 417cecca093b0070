#ifndef HIGHLIGHTSENSITIVE_H
#define HIGHLIGHTSENSITIVE_H

#include <QString>

// The passage of a hit as rich text for a detail row: the context
// HTML-escaped, every exact (case-sensitive, left to right, non-overlapping)
// occurrence of `word` in it wrapped in "<font color='#3676F5'>...</font>",
// the lines joined without a blank (CR LF, CR and LF removed) and white space
// trimmed at both ends.
//
// An empty word, or one that does not occur in the context, gives the
// escaped context unchanged: no markup, line breaks and outer blanks kept.
//
// Occurrences are looked for in the file's own text, not in the escaped
// text, so a word such as "lt" never matches inside the "&lt;" that stands
// for a "<" of the file. A context holding none of < > & " comes back
// exactly as marked, joined and trimmed, without any further change.
QString highlightSensitive(const QString &context, const QString &word);

#endif // HIGHLIGHTSENSITIVE_H
