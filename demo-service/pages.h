#pragma once

#include "httpmessage.h"

#include <optional>

namespace demo {
class DemoState;

// The web pages of the service's host: the information pages, the logos and banner images, and the
// three pages that close a loop with the desktop app over its local command port (payment, account
// activation, password reset).
namespace pages {

// Answers a page request, or nothing when the path is not a page.
[[nodiscard]] std::optional<HttpReply> serve(DemoState &state, const QString &method, const QString &path,
                                             const QString &baseUrl);
// The HTML frame shared by all pages.
[[nodiscard]] QString layout(const QString &title, const QString &body, const QString &script = QString());
// The script that hands `message` (a JSON object text) to the app listening on the command port.
[[nodiscard]] QString sendToAppScript(quint16 commandPort, const QString &messageJson);

[[nodiscard]] std::optional<HttpReply> infoPage(const QString &path);
[[nodiscard]] std::optional<HttpReply> loopPage(DemoState &state, const QString &method, const QString &path);

} // namespace pages
} // namespace demo
