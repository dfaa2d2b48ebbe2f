#include "loginsettings.h"

#include "logging.h"
#include "secretprotector.h"
#include "uiservices.h"

#include <QSettings>

namespace {
constexpr const char *kWidth = "width";
constexpr const char *kHeight = "height";
constexpr const char *kLoginUserId = "loginUserId";
constexpr const char *kLoginPassword = "loginPassword";
constexpr const char *kAutologin = "autologin";

int positiveInt(const QVariant &value, int fallback)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok && number > 0 ? number : fallback;
}
} // namespace

LoginSettings::LoginSettings(QObject *parent) : LoginSettings(nullptr, parent) {}

LoginSettings::LoginSettings(const SecretProtector *protector, QObject *parent)
    : QObject(parent), m_protector(protector ? protector : UiServices::secretProtector())
{
    reload();
}

QString LoginSettings::rememberedPassword() const
{
    if (m_loginPassword.isEmpty() || !m_protector)
        return {};
    return m_protector->unprotect(m_loginPassword);
}

void LoginSettings::reload()
{
    const QSettings store;
    const int width = positiveInt(store.value(kWidth), kDefaultWidth);
    const int height = positiveInt(store.value(kHeight), kDefaultHeight);
    const QString userId = store.value(kLoginUserId).toString();
    const QString password = store.value(kLoginPassword).toString();
    const QVariant autologinValue = store.value(kAutologin, false);
    // QSettings on Linux gives back "true"/"false" texts for booleans written by other code.
    const bool autologin = autologinValue.typeId() == QMetaType::Bool
                               ? autologinValue.toBool()
                               : autologinValue.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;

    if (width != m_width) {
        m_width = width;
        Q_EMIT widthChanged();
    }
    if (height != m_height) {
        m_height = height;
        Q_EMIT heightChanged();
    }
    if (userId != m_loginUserId) {
        m_loginUserId = userId;
        Q_EMIT loginUserIdChanged();
    }
    if (password != m_loginPassword) {
        m_loginPassword = password;
        Q_EMIT loginPasswordChanged();
    }
    if (autologin != m_autologin) {
        m_autologin = autologin;
        Q_EMIT autologinChanged();
    }
}

void LoginSettings::write(const char *key, const QVariant &value)
{
    QSettings store;
    store.setValue(QLatin1String(key), value);
    store.sync();
}

void LoginSettings::setWidth(int width)
{
    if (width == m_width)
        return;
    m_width = width;
    write(kWidth, width);
    Q_EMIT widthChanged();
}

void LoginSettings::setHeight(int height)
{
    if (height == m_height)
        return;
    m_height = height;
    write(kHeight, height);
    Q_EMIT heightChanged();
}

void LoginSettings::setLoginUserId(const QString &id)
{
    if (id == m_loginUserId)
        return;
    m_loginUserId = id;
    write(kLoginUserId, id);
    Q_EMIT loginUserIdChanged();
}

void LoginSettings::setLoginPassword(const QString &protectedText)
{
    if (protectedText == m_loginPassword)
        return;
    m_loginPassword = protectedText;
    write(kLoginPassword, protectedText);
    Q_EMIT loginPasswordChanged();
}

void LoginSettings::setAutologin(bool autologin)
{
    if (autologin == m_autologin)
        return;
    m_autologin = autologin;
    write(kAutologin, autologin);
    Q_EMIT autologinChanged();
}

void LoginSettings::rememberCredentials(const QString &userId, const QString &password)
{
    setLoginUserId(userId);
    QString protectedText;
    if (!password.isEmpty()) {
        protectedText = m_protector ? m_protector->protect(password) : QString();
        if (protectedText.isEmpty())
            qCWarning(lcCore) << "The sign-in password could not be protected; it is not remembered";
    }
    setLoginPassword(protectedText);
}
