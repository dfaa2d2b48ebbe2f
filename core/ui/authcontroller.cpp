#include "authcontroller.h"

#include "api/apiclient.h"
#include "api/apirequests.h"
#include "logging.h"
#include "loginsettings.h"
#include "records/user.h"
#include "shell.h"
#include "uiservices.h"
#include "utils/utils.h"

#include <QJsonObject>
#include <QPointer>

namespace {

constexpr int kInfo = int(Shell::Level::Info);
constexpr int kWarning = int(Shell::Level::Warning);
constexpr int kError = int(Shell::Level::Error);

// The reply is judged by the form itself (its messages go to different places), so the envelope only
// handles status, 401, network failures and bodies that are not JSON.
ApiPolicy formPolicy(const QString &action)
{
    ApiPolicy policy = ApiPolicy::forAction(action);
    policy.errorMessage = ApiPolicy::ErrorMessage::Ignore;
    policy.success = ApiPolicy::Success::AnyJson;
    return policy;
}

QString errorMessageOf(const QJsonValue &reply)
{
    return reply.toObject().value(QLatin1String("error_message")).toVariant().toString();
}

bool hasKey(const QJsonValue &reply, const char *key)
{
    return reply.isObject() && reply.toObject().contains(QLatin1String(key));
}

QString text(const QVariantMap &form, const char *key)
{
    return form.value(QLatin1String(key)).toString();
}

} // namespace

AuthController::AuthController(QObject *parent) : AuthController(nullptr, nullptr, parent) {}

AuthController::AuthController(ApiClient *client, Shell *shell, QObject *parent)
    : QObject(parent), m_client(client ? client : UiServices::apiClient()),
      m_shell(shell ? shell : UiServices::shell())
{
    if (m_client)
        connect(m_client, &ApiClient::signedOutUnauthorized, this, &AuthController::unauthorized);
    else
        qCWarning(lcApi) << "No service client: the sign-in forms cannot send anything";
}

void AuthController::setSettings(LoginSettings *settings)
{
    if (settings == m_settings)
        return;
    m_settings = settings;
    Q_EMIT settingsChanged();
}

void AuthController::setBusy(bool &flag, bool busy, void (AuthController::*changed)())
{
    if (flag == busy)
        return;
    flag = busy;
    Q_EMIT(this->*changed)();
}

void AuthController::show(const QString &text, int level, Place place, int lifespan)
{
    if (text.isEmpty())
        return;
    if (place == Bottom && m_shell) {
        m_shell->notify(text, Shell::Level(level), lifespan);
        return;
    }
    Q_EMIT message(text, level, place, lifespan);
}

void AuthController::login(const QString &userId, const QString &password)
{
    if (!m_client)
        return;
    // The command channel and the automatic sign-in may start a sign-in while another is in flight.
    ++m_loginsInFlight;
    setBusy(m_loginBusy, true, &AuthController::loginBusyChanged);

    ApiHandlers handlers;
    handlers.context = this;
    handlers.finished = [self = QPointer<AuthController>(this)] {
        if (!self)
            return;
        self->m_loginsInFlight = qMax(0, self->m_loginsInFlight - 1);
        if (self->m_loginsInFlight == 0)
            self->setBusy(self->m_loginBusy, false, &AuthController::loginBusyChanged);
    };
    handlers.networkFailure = [this](const QString &) { show(QString::fromUtf8(kUnreachable), kError, Top); };
    handlers.success = [this, userId, password](const ApiReply &reply) {
        const QJsonValue value = reply.reply;
        if (hasKey(value, "error_message")) {
            show(errorMessageOf(value), kError, Top);
            return;
        }
        const QJsonObject object = value.toObject();
        if (object.value(QLatin1String("login")).toString() == QLatin1String("success")) {
            User *user = User::fromLoginData(object.value(QLatin1String("data")).toObject(), password, this);
            if (user) {
                if (m_settings)
                    m_settings->rememberCredentials(userId, password);
                // Only one signed-in user exists at a time: the record of an earlier sign-in (whose
                // session ended with its sign-out) goes when the next one arrives.
                if (m_lastUser)
                    m_lastUser->deleteLater();
                m_lastUser = user;
                Q_EMIT loggedIn(user);
                return;
            }
        }
        show(QString::fromUtf8(ApiTexts::kUnexpectedError), kError, Top);
        qCCritical(lcApi).noquote() << "Unexpected sign-in reply:" << ApiEnvelope::indentedJson(value);
    };
    m_client->send(ApiRequests::loginUser(userId, password), formPolicy(QStringLiteral("login_user")), handlers);
}

bool AuthController::checkRegistration(const QVariantMap &form)
{
    const ValidationResult username = Utils::validateUsername(form.value(QStringLiteral("username")));
    if (!username.valid) {
        show(username.message, kError, Top);
        return false;
    }
    const ValidationResult password = Utils::validateUserPassword(form.value(QStringLiteral("password")));
    if (!password.valid) {
        show(password.message, kError, Top);
        return false;
    }
    if (form.value(QStringLiteral("euResident")).toBool() && !form.value(QStringLiteral("validVat")).toBool()) {
        show(QString::fromUtf8(kVatNotValidated), kError, Top);
        return false;
    }
    return true;
}

void AuthController::registerAccount(const QVariantMap &form)
{
    // The same rules as the form's own check, the VAT rule included: a form that skipped it is not sent.
    if (!checkRegistration(form) || !m_client)
        return;

    RegistrationData data;
    data.username = text(form, "username");
    data.password = text(form, "password");
    data.email = text(form, "email");
    data.firstName = text(form, "firstName");
    data.lastName = text(form, "lastName");
    data.euResident = form.value(QStringLiteral("euResident")).toBool();
    data.vatNumber = text(form, "vatNumber");
    data.validVat = form.value(QStringLiteral("validVat")).toBool();
    data.country = text(form, "country");
    data.companyName = text(form, "companyName");
    data.companyAddress = text(form, "companyAddress");

    setBusy(m_registerBusy, true, &AuthController::registerBusyChanged);
    ApiHandlers handlers;
    handlers.context = this;
    handlers.finished = [self = QPointer<AuthController>(this)] {
        if (self)
            self->setBusy(self->m_registerBusy, false, &AuthController::registerBusyChanged);
    };
    handlers.success = [this, username = data.username, password = data.password](const ApiReply &reply) {
        const QJsonValue value = reply.reply;
        if (hasKey(value, "error_message")) {
            show(errorMessageOf(value), kError, Top);
            return;
        }
        qCInfo(lcApi).noquote() << "Sign-up reply:" << ApiEnvelope::indentedJson(value);
        const QString email = value.toObject().value(QLatin1String("user_email")).toVariant().toString();
        show(QStringLiteral("Activation email sent to '") + email + QLatin1Char('\''), kInfo, Top, 0);
        if (m_settings)
            m_settings->rememberCredentials(username, password);
        Q_EMIT registered(email, username, password);
    };
    m_client->send(ApiRequests::registerUser(data), formPolicy(QStringLiteral("register_user")), handlers);
}

void AuthController::getResetPasswordToken(const QString &userId)
{
    if (!m_client)
        return;
    setBusy(m_resetBusy, true, &AuthController::resetBusyChanged);
    ApiHandlers handlers;
    handlers.context = this;
    handlers.finished = [self = QPointer<AuthController>(this)] {
        if (self)
            self->setBusy(self->m_resetBusy, false, &AuthController::resetBusyChanged);
    };
    handlers.success = [this](const ApiReply &reply) {
        const QJsonValue value = reply.reply;
        if (hasKey(value, "error_message")) {
            show(errorMessageOf(value), kError, Bottom);
        } else if (hasKey(value, "success")) {
            show(QString::fromUtf8(kResetCodeSent), kInfo, Top, 0);
            Q_EMIT resetTokenSent();
        } else {
            show(QString::fromUtf8(ApiTexts::kUnexpectedWarning), kWarning, Bottom);
            qCWarning(lcApi).noquote() << ApiEnvelope::indentedJson(value);
        }
    };
    m_client->send(ApiRequests::getResetPassToken(userId), formPolicy(QStringLiteral("get_reset_pass_token")),
                   handlers);
}

void AuthController::resetPassword(const QString &newPassword, const QString &token)
{
    const ValidationResult check = Utils::validateUserPassword(newPassword);
    if (!check.valid) {
        show(check.message, kError, Top);
        return;
    }
    if (!m_client)
        return;
    setBusy(m_resetBusy, true, &AuthController::resetBusyChanged);
    ApiHandlers handlers;
    handlers.context = this;
    handlers.finished = [self = QPointer<AuthController>(this)] {
        if (self)
            self->setBusy(self->m_resetBusy, false, &AuthController::resetBusyChanged);
    };
    handlers.success = [this](const ApiReply &reply) {
        const QJsonValue value = reply.reply;
        if (hasKey(value, "error_message")) {
            show(errorMessageOf(value), kError, Bottom);
        } else if (hasKey(value, "success")) {
            Q_EMIT passwordResetDone();
            show(QString::fromUtf8(kPasswordResetDone), kInfo, Top, 0);
        } else {
            show(QString::fromUtf8(ApiTexts::kUnexpectedWarning), kWarning, Bottom);
            qCWarning(lcApi).noquote() << ApiEnvelope::indentedJson(value);
        }
    };
    m_client->send(ApiRequests::resetPass(newPassword, token), formPolicy(QStringLiteral("reset_pass")), handlers);
}
