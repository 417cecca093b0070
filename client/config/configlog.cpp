// The logging category of the scan configuration.

#include "configlog.h"

Q_LOGGING_CATEGORY(lcConfig, "client.config")
