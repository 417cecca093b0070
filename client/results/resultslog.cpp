// The logging category of the result views.

#include "resultslog.h"

Q_LOGGING_CATEGORY(lcResults, "client.results")
