// The logging category of the scan configuration ("client.config"): the
// keyword panel, its checklist tab and the checklist store. Its output can be
// switched off or on alone with QT_LOGGING_RULES.
#ifndef CONFIGLOG_H
#define CONFIGLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcConfig)

#endif // CONFIGLOG_H
