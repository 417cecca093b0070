#ifndef LOGGEDTEXT_H
#define LOGGEDTEXT_H

#include <QString>

// Caller-supplied text as it goes into the log: a path list or a time of
// 10 MB must not become a log line of 10 MB.
namespace LoggedText {
// The text cut to Limits::MaxLoggedArgumentChars characters, followed by
// its full length when it was cut.
QString cut(const QString &text);
} // namespace LoggedText

#endif // LOGGEDTEXT_H
