#pragma once

#include <QJSValue>

#include <functional>

// QML functions handed to C++ as callbacks.
namespace JsCallback {

// Wraps a QML function as a C++ callback that calls it without arguments and logs an error it throws; an
// empty or non-callable value gives an empty callback.
[[nodiscard]] std::function<void()> from(const QJSValue &function);

} // namespace JsCallback
