#include "apienvelope.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace ApiEnvelope {

namespace {

constexpr int kLogBodyLimit = 4096;
const QString kErrorKey = QStringLiteral("error_message");

QString text(const char *t)
{
    return QString::fromUtf8(t);
}

void addLog(ApiOutcome &outcome, QtMsgType type, const QString &line)
{
    outcome.log.append({type, line});
}

QString errorMessageText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble() || value.isBool())
        return value.toVariant().toString();
    return indentedJson(value);
}

// Whether a parsed reply is the success the action waits for; sets outcome.value when it is.
bool matchSuccess(const ApiPolicy &policy, const QJsonValue &reply, ApiOutcome &outcome)
{
    switch (policy.success) {
    case ApiPolicy::Success::Key:
        if (reply.isObject() && reply.toObject().contains(policy.successKey)) {
            outcome.value = reply.toObject().value(policy.successKey);
            return true;
        }
        return false;
    case ApiPolicy::Success::KeyEquals:
        if (reply.isObject() && reply.toObject().value(policy.successKey).toString() == policy.successValue) {
            outcome.value = reply.toObject().value(policy.successKey);
            return true;
        }
        return false;
    case ApiPolicy::Success::Collection:
        if (!reply.isArray() && !reply.isObject())
            return false;
        outcome.value = reply;
        return true;
    case ApiPolicy::Success::Array:
        if (!reply.isArray())
            return false;
        outcome.value = reply;
        return true;
    case ApiPolicy::Success::AnyJson:
    case ApiPolicy::Success::StatusOnly:
        outcome.value = reply;
        return true;
    }
    return false;
}

ApiOutcome statusOnly(const ApiPolicy &policy, const ApiResponse &response, ApiOutcome outcome)
{
    if (isSuccessStatus(response.status)) {
        outcome.kind = ApiOutcome::Kind::Succeeded;
        if (!policy.statusOnlySuccessText.isEmpty())
            outcome.notice = ApiNotice{policy.statusOnlySuccessText, Shell::Level::Info};
    } else if (!policy.statusOnlyFailureText.isEmpty() && !outcome.notice) {
        outcome.notice = ApiNotice{policy.statusOnlyFailureText, Shell::Level::Error};
    }
    return outcome;
}

} // namespace

bool isSuccessStatus(int status)
{
    return status == 200 || status == 0;
}

QString indentedJson(const QJsonValue &value)
{
    QJsonDocument document;
    if (value.isArray())
        document = QJsonDocument(value.toArray());
    else if (value.isObject())
        document = QJsonDocument(value.toObject());
    else // a scalar: wrap it and take it out again
        return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
            .mid(1)
            .chopped(1);

    // The writer indents by four spaces; strings never hold a raw line break, so lines are safe to split.
    QStringList lines = QString::fromUtf8(document.toJson(QJsonDocument::Indented)).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        int spaces = 0;
        while (spaces < line.size() && line.at(spaces) == QLatin1Char(' '))
            ++spaces;
        line = QString(spaces / 4 * 3, QLatin1Char(' ')) + line.mid(spaces);
    }
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines.join(QLatin1Char('\n'));
}

QString bodyForLog(const QByteArray &body)
{
    if (body.isEmpty())
        return QStringLiteral("(empty body)");
    if (body.size() <= kLogBodyLimit)
        return QString::fromUtf8(body);
    return QString::fromUtf8(body.left(kLogBodyLimit)) +
           QStringLiteral("... (%1 bytes in all)").arg(body.size());
}

ApiOutcome evaluate(const ApiPolicy &policy, const ApiResponse &response)
{
    ApiOutcome outcome;

    // 1. No answer: logged, nothing shown.
    if (response.networkFailure) {
        outcome.kind = ApiOutcome::Kind::NetworkFailure;
        addLog(outcome, QtCriticalMsg, QStringLiteral("Request failed ") + response.errorText);
        return outcome;
    }

    // 2. A status other than 200/0: the 401 rule, then status, status text and body as three lines.
    if (!isSuccessStatus(response.status)) {
        outcome.kind = ApiOutcome::Kind::StatusFailure;
        if (response.status == 401) {
            if (policy.unauthorized == ApiPolicy::Unauthorized::SignOutSession)
                outcome.signOut = ApiOutcome::SignOut::Session;
            else if (policy.unauthorized == ApiPolicy::Unauthorized::SignOutPreSignIn)
                outcome.signOut = ApiOutcome::SignOut::PreSignIn;
            if (!policy.unauthorizedText.isEmpty())
                outcome.notice = ApiNotice{policy.unauthorizedText, Shell::Level::Error};
        }
        addLog(outcome, QtCriticalMsg, QString::number(response.status));
        addLog(outcome, QtCriticalMsg, response.statusText);
        addLog(outcome, QtCriticalMsg, bodyForLog(response.body));
        if (policy.success == ApiPolicy::Success::StatusOnly)
            return statusOnly(policy, response, outcome);
        return outcome;
    }

    if (policy.success == ApiPolicy::Success::StatusOnly)
        return statusOnly(policy, response, outcome);

    // 3. An empty body.
    if (response.body.isEmpty()) {
        if (policy.emptyBody == ApiPolicy::EmptyBody::Ignore) {
            outcome.kind = ApiOutcome::Kind::Ignored;
            return outcome;
        }
        if (policy.emptyBody == ApiPolicy::EmptyBody::InvalidResponse) {
            outcome.kind = ApiOutcome::Kind::Failed;
            outcome.notice = ApiNotice{text(ApiTexts::kInvalidApiResponse), Shell::Level::Error};
            addLog(outcome, QtCriticalMsg, text(ApiTexts::kInvalidApiResponse));
            return outcome;
        }
    }

    // 4. A body that is not JSON (a top-level object or array).
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(response.body, &parseError);
    if (parseError.error != QJsonParseError::NoError || document.isNull()) {
        if (policy.notJson == ApiPolicy::NotJson::DeliverFalse) {
            outcome.kind = ApiOutcome::Kind::Succeeded;
            outcome.value = QJsonValue(false);
            return outcome;
        }
        outcome.kind = ApiOutcome::Kind::Failed;
        addLog(outcome, QtCriticalMsg, bodyForLog(response.body));
        if (!policy.notJsonText.isEmpty())
            outcome.notice = ApiNotice{policy.notJsonText, Shell::Level::Error};
        return outcome;
    }
    outcome.reply = document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());

    // 5. "error_message".
    if (policy.errorMessage != ApiPolicy::ErrorMessage::Ignore && outcome.reply.isObject() &&
        outcome.reply.toObject().contains(kErrorKey)) {
        outcome.kind = ApiOutcome::Kind::Failed;
        const QString message = errorMessageText(outcome.reply.toObject().value(kErrorKey));
        addLog(outcome, QtWarningMsg, message);
        if (policy.errorMessage == ApiPolicy::ErrorMessage::Notify)
            outcome.notice = ApiNotice{message, Shell::Level::Error};
        return outcome;
    }

    // 6. The success key (or the reply being the data).
    if (matchSuccess(policy, outcome.reply, outcome)) {
        outcome.kind = ApiOutcome::Kind::Succeeded;
        return outcome;
    }

    // 7. Neither.
    outcome.kind = ApiOutcome::Kind::Failed;
    switch (policy.neither) {
    case ApiPolicy::Neither::Silent:
        addLog(outcome, QtDebugMsg, indentedJson(outcome.reply));
        break;
    case ApiPolicy::Neither::Warning:
        outcome.notice = ApiNotice{text(ApiTexts::kUnexpectedWarning), Shell::Level::Warning};
        addLog(outcome, QtWarningMsg, indentedJson(outcome.reply));
        break;
    case ApiPolicy::Neither::Error:
        outcome.notice = ApiNotice{text(ApiTexts::kUnexpectedError), Shell::Level::Error};
        addLog(outcome, QtWarningMsg, indentedJson(outcome.reply));
        break;
    case ApiPolicy::Neither::Log:
        addLog(outcome, QtWarningMsg, indentedJson(outcome.reply));
        break;
    }
    return outcome;
}

} // namespace ApiEnvelope
