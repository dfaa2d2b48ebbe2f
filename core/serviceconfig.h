#pragma once

#include <QString>
#include <QUrl>

// The service's address is one value: the API host, the web pages, the organisation domain and the
// origin the local command server trusts all derive from it. A build-time default can be overridden at
// run time through VANTORIX_SERVICE_URL (the demo service and the tests use that).
namespace ServiceConfig {

inline constexpr const char *kEnvironmentVariable = "VANTORIX_SERVICE_URL";

// Checks a candidate service URL. Accepted: https:// to any host, http:// only to a loopback host.
// Anything else (other schemes, plain http to a remote host, no host) is refused with a reason.
[[nodiscard]] bool isAcceptable(const QUrl &url, QString *reason = nullptr);

// Resolves the service URL from an override text (usually the environment variable): an empty text
// gives the compiled-in default; an unacceptable one is logged and also gives the default.
[[nodiscard]] QUrl resolve(const QString &overrideText);

// The URL in effect for this process (resolved once from the environment, then cached).
[[nodiscard]] QUrl serviceUrl();

// The service URL without a trailing slash, ready for appending "/API/?action=..." or a page path.
[[nodiscard]] QString baseText();

// The web origin of the service (scheme://host[:port]), as a browser sends it in an Origin header.
[[nodiscard]] QString origin(const QUrl &url);

// An address on the service's web host: baseText() + path (path starts with '/').
[[nodiscard]] QUrl pageUrl(const QString &path);

} // namespace ServiceConfig
