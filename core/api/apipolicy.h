#pragma once

#include <QString>

// How the reply of one action is judged and reported: which 401 rule applies, what an empty or
// malformed body shows, how "error_message" is treated, what counts as success and what happens when a
// reply is none of these. ApiPolicy::forAction() is the table of every action's defaults; callers change
// only what differs for them (usually nothing, or the mode).
struct ApiPolicy {
    // What a 401 answer means.
    enum class Unauthorized {
        SignOutSession,   // a signed-in session's request: the session signs out
        SignOutPreSignIn, // a request sent before sign-in: the window returns to the signed-out state
        Ignore,           // only logged like any other status
    };
    // What an empty body (length 0) is.
    enum class EmptyBody {
        AsNotJson,       // simply a body that does not parse
        InvalidResponse, // Error "Invalid API response"
        Ignore,          // nothing at all (the computer list poll)
    };
    // What a body that does not parse as JSON gives.
    enum class NotJson {
        Report,       // body logged as an error; notJsonText shown when not empty
        DeliverFalse, // the success handler receives `false` (the VAT check)
    };
    enum class ErrorMessage {
        Notify, // Error notification with the service's text
        Log,    // log only
        Ignore, // not looked at: the reply goes on to the success test
    };
    enum class Success {
        Key,        // the reply object has successKey
        KeyEquals,  // the reply object's successKey has the text successValue
        Collection, // the reply itself (array or object) is the data
        Array,      // the reply is a JSON array
        AnyJson,    // any parsed reply is handed over as it is
        StatusOnly, // the body is not read: status 200/0 is success
    };
    // What a reply that is neither an error nor a success gives.
    enum class Neither {
        Log,     // the reply logged, indented
        Silent,  // nothing
        Warning, // Warning "Unexpected API response." and the reply logged
        Error,   // Error "Unexpected API response" and the reply logged
    };
    enum class Mode {
        Default,     // the action's own rules
        Interactive, // failures that the action would only log are shown too
        Polling,     // nothing is shown; failures go to the log (they would repeat at every poll)
    };

    Unauthorized unauthorized = Unauthorized::SignOutSession;
    QString unauthorizedText; // shown as an Error on 401 when not empty
    EmptyBody emptyBody = EmptyBody::AsNotJson;
    NotJson notJson = NotJson::Report;
    QString notJsonText;
    ErrorMessage errorMessage = ErrorMessage::Notify;
    Success success = Success::Key;
    QString successKey = QStringLiteral("success");
    QString successValue;
    Neither neither = Neither::Log;
    QString statusOnlySuccessText; // Info shown on 200/0 for StatusOnly
    QString statusOnlyFailureText; // Error shown on any other status for StatusOnly
    bool logReply = false;         // the body is written to the log as received
    // The action's limits as multiples of the client's (30 s of silence, 8 MiB by default): an action
    // that must not be repeated blindly waits longer, and screenshots of large desktops are larger.
    int timeoutFactor = 1;
    int replySizeFactor = 1;

    // The defaults of one action; an unknown action gets the interactive defaults.
    [[nodiscard]] static ApiPolicy forAction(const QString &action);
    // This policy adjusted to a mode.
    [[nodiscard]] ApiPolicy withMode(Mode mode) const;

    [[nodiscard]] static QString invalidJsonText();

    // Creating a computer and starting a payment must not be sent twice: they get 120 s, not 30 s.
    static constexpr int kOnceOnlyTimeoutFactor = 4;
    // A screenshot of a 4K desktop is larger than 8 MiB: 32 MiB.
    static constexpr int kScreenshotReplySizeFactor = 4;
};

namespace ApiTexts {
inline const char *const kInvalidJson = "Invalid JSON API response";
inline const char *const kInvalidApiResponse = "Invalid API response";
inline const char *const kUnexpectedWarning = "Unexpected API response.";
inline const char *const kUnexpectedError = "Unexpected API response";
inline const char *const kInvalidJsonTemplates =
    "Invalid JSON API response.\nNothing to worry about but if you see this kind of error often please "
    "contact us.";
inline const char *const kInvalidJsonContactSupport =
    "Invalid JSON API response\nIf you are unable to see or interact with any of your machines please "
    "contact support.";
inline const char *const kVatRatesUnauthorized = "Unable to fetch country vat rates list, unauthorized.";
inline const char *const kInvoiceRequested = "Requested invoice.";
inline const char *const kInvoiceFailed = "Failed to request invoice.";
} // namespace ApiTexts
