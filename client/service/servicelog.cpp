// The logging category of the scan service client.

#include "servicelog.h"

Q_LOGGING_CATEGORY(lcService, "client.service")
