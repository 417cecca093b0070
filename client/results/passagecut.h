// A passage of a detail document cut to a bounded piece around its hit.
#ifndef PASSAGECUT_H
#define PASSAGECUT_H

#include <QString>

// The scan service sends each hit with the passage around it; a file without
// line breaks can make that passage a megabyte long. Rows and tooltips show
// a bounded piece of it instead:
//
// cut(context, word, before, after) keeps the first occurrence of `word`
// whole (up to ResultLimits::MaxHitChars code units), at most `before` code
// units of the passage in front of it and `after` behind it, and marks each
// end that was cut with "…". Where the word does not occur, the piece starts
// at the passage's beginning and holds at most before + after code units.
// A cut never falls between the two halves of a surrogate pair (it moves
// outwards to keep the character whole, or inwards at the piece's outer
// ends), so no character is ever split. A passage that fits comes back
// unchanged.
namespace PassageCut {

QString cut(const QString &context, const QString &word, int before, int after);

// The piece a detail row shows, marked with highlightSensitive.
QString rowHtml(const QString &context, const QString &word);
// The piece a row's tooltip shows, as plain text made safe for a tooltip.
QString toolTip(const QString &context, const QString &word);
// The piece the dialogs keep of a passage when they read a reply: enough for
// both of the above.
QString kept(const QString &context, const QString &word);

} // namespace PassageCut

#endif // PASSAGECUT_H
