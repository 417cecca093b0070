// The logging category of the scan history.

#include "historylog.h"

Q_LOGGING_CATEGORY(lcHistory, "client.history")
