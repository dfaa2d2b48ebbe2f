#pragma once

#include "loginsettings.h"
#include "records/user.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class ApiClient;
class Shell;

// The requests of the signed-out window: sign-in, sign-up, the password reset code and the password
// reset. Each form has its own busy flag, which every completion path clears. Messages that belong to
// the window's top area leave through message(); the others go to the shell's bottom stack.
class AuthController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool loginBusy READ loginBusy NOTIFY loginBusyChanged)
    Q_PROPERTY(bool registerBusy READ registerBusy NOTIFY registerBusyChanged)
    Q_PROPERTY(bool resetBusy READ resetBusy NOTIFY resetBusyChanged)
    // Where a successful sign-in or sign-up is remembered (the root's settings object).
    Q_PROPERTY(LoginSettings *settings READ settings WRITE setSettings NOTIFY settingsChanged)

public:
    // Where a message is shown: the signed-out window's own area at the top (centred) or the window's
    // bottom stack.
    enum Place { Top = 0, Bottom = 1 };
    Q_ENUM(Place)

    static constexpr const char *kUnreachable = "Unable to reach Vantorix. Are you connected to the internet?";
    static constexpr const char *kVatNotValidated = "Vat number must be validated if \"EU company\" is checked";
    static constexpr const char *kResetCodeSent =
        "If a matching account exists, an email containing the password reset link will arrive shortly. "
        "Please check the junk/spam folder as well.";
    static constexpr const char *kPasswordResetDone = "Password reset successful. Login using your new password. ";

    // client, shell: not owned; null takes the process-wide ones (UiServices).
    explicit AuthController(QObject *parent = nullptr);
    AuthController(ApiClient *client, Shell *shell, QObject *parent);

    [[nodiscard]] bool loginBusy() const { return m_loginBusy; }
    [[nodiscard]] bool registerBusy() const { return m_registerBusy; }
    [[nodiscard]] bool resetBusy() const { return m_resetBusy; }
    [[nodiscard]] LoginSettings *settings() const { return m_settings; }
    void setSettings(LoginSettings *settings);

    Q_INVOKABLE void login(const QString &userId, const QString &password);

    // The checks the "Sign Up" button makes before sending, in order: user name, password, and an EU
    // company needs a validated VAT number. Shows the first refusal (top) and returns false.
    // form keys: username, password, email, firstName, lastName, euResident, vatNumber, validVat, country,
    // companyName, companyAddress.
    Q_INVOKABLE bool checkRegistration(const QVariantMap &form);
    // Sends the sign-up after checking user name and password again.
    Q_INVOKABLE void registerAccount(const QVariantMap &form);

    Q_INVOKABLE void getResetPasswordToken(const QString &userId);
    // Checks the new password, then sends it with the reset code.
    Q_INVOKABLE void resetPassword(const QString &newPassword, const QString &token);

Q_SIGNALS:
    void loginBusyChanged();
    void registerBusyChanged();
    void resetBusyChanged();
    void settingsChanged();

    void message(const QString &text, int level, int place, int lifespan);
    // A successful sign-in: the record for the root's signIn(). The controller owns it.
    void loggedIn(User *user);
    // A sign-up was accepted; the form moves its values to the sign-in form.
    void registered(const QString &userEmail, const QString &username, const QString &password);
    void resetTokenSent();
    void passwordResetDone();
    // A request of this window was answered with 401: the window returns to the signed-out state.
    void unauthorized();

private:
    void setBusy(bool &flag, bool busy, void (AuthController::*changed)());
    void show(const QString &text, int level, Place place, int lifespan = 10000);

    ApiClient *m_client = nullptr;
    Shell *m_shell = nullptr;
    LoginSettings *m_settings = nullptr;
    bool m_loginBusy = false;
    bool m_registerBusy = false;
    bool m_resetBusy = false;
    int m_loginsInFlight = 0;
    QPointer<User> m_lastUser;
};
