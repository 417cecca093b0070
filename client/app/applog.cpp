// The logging category of the application shell.

#include "applog.h"

Q_LOGGING_CATEGORY(lcApp, "client.app")
