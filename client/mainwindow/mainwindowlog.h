// The logging category of the main window and its scan control ("client.mainwindow"): its output can
// be switched off or on alone with QT_LOGGING_RULES.
#ifndef MAINWINDOWLOG_H
#define MAINWINDOWLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)

#endif // MAINWINDOWLOG_H
