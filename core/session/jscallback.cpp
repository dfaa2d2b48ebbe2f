#include "session/jscallback.h"

#include "logging.h"

namespace JsCallback {

std::function<void()> from(const QJSValue &function)
{
    if (!function.isCallable())
        return {};
    return [function]() mutable {
        const QJSValue result = function.call();
        if (result.isError())
            qCWarning(lcCore) << "Callback failed:" << result.toString();
    };
}

} // namespace JsCallback
