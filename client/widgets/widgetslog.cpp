// The logging category of the client's own widgets.

#include "widgetslog.h"

Q_LOGGING_CATEGORY(lcWidgets, "client.widgets")
