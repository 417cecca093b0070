// The logging category of the scan's worker threads ("client.workers"): its output can
// be switched off or on alone with QT_LOGGING_RULES.
#ifndef WORKERSLOG_H
#define WORKERSLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcWorkers)

#endif // WORKERSLOG_H
