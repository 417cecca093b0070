// The logging category of the scan history ("client.history"): its output can
// be switched off or on alone with QT_LOGGING_RULES.
#ifndef HISTORYLOG_H
#define HISTORYLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHistory)

#endif // HISTORYLOG_H
