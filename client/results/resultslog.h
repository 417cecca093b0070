// The logging category of the result views ("client.results"): its output can
// be switched off or on alone with QT_LOGGING_RULES.
#ifndef RESULTSLOG_H
#define RESULTSLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcResults)

#endif // RESULTSLOG_H
