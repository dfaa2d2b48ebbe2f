#pragma once

#include "apipolicy.h"
#include "shell.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <optional>

// What came back for one request, as far as the reply envelope cares.
struct ApiResponse {
    bool networkFailure = false; // no answer at all (refused, dropped, timed out, aborted, too large)
    QString errorText;           // the failure's description when networkFailure
    bool timedOut = false;       // the failure is the time limit: the service may still have acted
    int status = 0;              // HTTP status; 0 for a completed request without one
    QString statusText;
    QByteArray body;
};

struct ApiNotice {
    QString text;
    Shell::Level level = Shell::Level::Error;
};

struct ApiLogLine {
    QtMsgType type = QtWarningMsg;
    QString text;
};

// The verdict of the envelope on one response: what to tell the user, what to log, whether the session
// or the signed-out window must react to a 401, and the data for the success handler.
struct ApiOutcome {
    enum class Kind {
        NetworkFailure, // no answer
        StatusFailure,  // an answer with a status other than 200/0
        Ignored,        // an answer deliberately not looked at (an empty list poll)
        Failed,         // empty, malformed, "error_message" or unexpected reply
        Succeeded,      // the success handler runs with `value`
    };
    enum class SignOut { None, Session, PreSignIn };

    Kind kind = Kind::Failed;
    SignOut signOut = SignOut::None;
    std::optional<ApiNotice> notice;
    QList<ApiLogLine> log;
    QJsonValue value; // success: the success key's value, or the reply itself (`false` for DeliverFalse)
    QJsonValue reply; // the parsed reply, when there was one
};

namespace ApiEnvelope {

// Replies larger than this are not read (a service reply of that size is a fault, not data).
inline constexpr qint64 kDefaultMaxReplySize = 8 * 1024 * 1024;

// 200 and 0 (a completed request without an HTTP status) are the two success statuses.
[[nodiscard]] bool isSuccessStatus(int status);

// Applies the envelope, step by step in its fixed order, to one response.
[[nodiscard]] ApiOutcome evaluate(const ApiPolicy &policy, const ApiResponse &response);

// A JSON value as text indented by three spaces per level (the form replies are logged in).
[[nodiscard]] QString indentedJson(const QJsonValue &value);

// A body as log text, shortened past a few kilobytes so that one bad reply cannot flood the log.
[[nodiscard]] QString bodyForLog(const QByteArray &body);

} // namespace ApiEnvelope
