#include "logging.h"

Q_LOGGING_CATEGORY(lcApi, "vantorix.api")
Q_LOGGING_CATEGORY(lcCore, "vantorix.core")
Q_LOGGING_CATEGORY(lcHost, "vantorix.host")
Q_LOGGING_CATEGORY(lcNotify, "vantorix.notify")
Q_LOGGING_CATEGORY(lcCommand, "vantorix.command")
