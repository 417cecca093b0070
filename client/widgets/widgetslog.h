// The logging category of the client's own widgets ("client.widgets"): its output can
// be switched off or on alone with QT_LOGGING_RULES.
#ifndef WIDGETSLOG_H
#define WIDGETSLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcWidgets)

#endif // WIDGETSLOG_H
