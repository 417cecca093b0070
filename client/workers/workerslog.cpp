// The logging category of the scan's worker threads.

#include "workerslog.h"

Q_LOGGING_CATEGORY(lcWorkers, "client.workers")
