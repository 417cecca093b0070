// The logging category of the scan service client ("client.service"): its output can
// be switched off or on alone with QT_LOGGING_RULES.
#ifndef SERVICELOG_H
#define SERVICELOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcService)

#endif // SERVICELOG_H
