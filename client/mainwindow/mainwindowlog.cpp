// The logging category of the main window and its scan control.

#include "mainwindowlog.h"

Q_LOGGING_CATEGORY(lcMainWindow, "client.mainwindow")
