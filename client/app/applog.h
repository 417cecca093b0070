// The logging category of the application shell ("client.app"): its output can
// be switched off or on alone with QT_LOGGING_RULES.
#ifndef APPLOG_H
#define APPLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)

#endif // APPLOG_H
