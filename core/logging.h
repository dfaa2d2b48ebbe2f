#pragma once

#include <QLoggingCategory>

// One category per area, so that a developer can turn an area's debug output on with QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcApi)     // vantorix.api: requests and replies
Q_DECLARE_LOGGING_CATEGORY(lcCore)    // vantorix.core: records, models, rules
Q_DECLARE_LOGGING_CATEGORY(lcHost)    // vantorix.host: start-up, bridge, platform backends
Q_DECLARE_LOGGING_CATEGORY(lcNotify)  // vantorix.notify: system notifications
Q_DECLARE_LOGGING_CATEGORY(lcCommand) // vantorix.command: the local command server
