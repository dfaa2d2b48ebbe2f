#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <functional>

class ApiClient;
struct ApiRequest;
class Shell;
class User;

// The account's e-mail notification choices and the running-time threshold, which the service keeps
// ("update_user_data"), as the notification preferences tab changes them. The switches show the User's
// values; a change is sent first and applied to the User only when the service accepted it. One e-mail
// request at a time: the switches are disabled while one is in flight.
class EmailPreferences : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("EmailPreferences is provided by the session")
    Q_PROPERTY(bool updatingEmailSettings READ updatingEmailSettings NOTIFY updatingEmailSettingsChanged)
    // A running-time threshold request is in flight.
    Q_PROPERTY(bool updatingUserData READ updatingUserData NOTIFY updatingUserDataChanged)
    // The e-mail master switch: on while any of the nine e-mail choices is on.
    Q_PROPERTY(bool anyEmailOn READ anyEmailOn NOTIFY emailChoicesChanged)

public:
    static constexpr int kMinHours = 1;
    static constexpr int kMaxHours = 99;

    // None of the collaborators is owned (`shell` may be null).
    EmailPreferences(ApiClient *api, Shell *shell, User *user, QObject *parent = nullptr);

    [[nodiscard]] bool updatingEmailSettings() const { return m_updatingEmail; }
    [[nodiscard]] bool updatingUserData() const { return m_updatingHours; }
    [[nodiscard]] bool anyEmailOn() const;

    // The numbers (1 to 9) of the e-mail choices that are on once `number` is flipped, ascending.
    [[nodiscard]] static QList<int> numbersAfterToggle(const User &user, int number);
    // A whole number from 1 to 99 written in digits only.
    Q_INVOKABLE [[nodiscard]] static bool isValidHoursText(const QString &text);

    // Flips one e-mail choice (User::EmailNotification number). False when nothing was sent (a request
    // in flight, an unknown number, no user).
    Q_INVOKABLE bool toggleEmail(int number);
    // The e-mail master switch: all nine on or off.
    Q_INVOKABLE bool setAllEmail(bool on);
    // Return in the hours field. False (nothing sent) when the text is not a whole number from 1 to 99
    // or a request is in flight.
    Q_INVOKABLE bool submitRunningHours(const QString &text);

Q_SIGNALS:
    void updatingEmailSettingsChanged();
    void updatingUserDataChanged();
    void emailChoicesChanged();

private:
    void setUpdatingEmail(bool updating);
    void setUpdatingHours(bool updating);
    void sendEmailChoices(const ApiRequest &request, std::function<void()> applied);
    void notify(const QString &message, int level);

    ApiClient *m_api;
    Shell *m_shell;
    QPointer<User> m_user;
    bool m_updatingEmail = false;
    bool m_updatingHours = false;
};
