#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class SecretProtector;

// The window's own entries of the per-user settings store: its size and the remembered sign-in.
// The password is kept only in protected form under "loginPassword"; a stored value that cannot be
// unprotected counts as no stored password. Every write goes to the store at once.
class LoginSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int width READ width WRITE setWidth NOTIFY widthChanged)
    Q_PROPERTY(int height READ height WRITE setHeight NOTIFY heightChanged)
    Q_PROPERTY(QString loginUserId READ loginUserId WRITE setLoginUserId NOTIFY loginUserIdChanged)
    // The stored (protected) form; writing "" forgets the password.
    Q_PROPERTY(QString loginPassword READ loginPassword WRITE setLoginPassword NOTIFY loginPasswordChanged)
    Q_PROPERTY(bool autologin READ autologin WRITE setAutologin NOTIFY autologinChanged)
    // The remembered password in clear, for the sign-in field and the automatic sign-in.
    Q_PROPERTY(QString rememberedPassword READ rememberedPassword NOTIFY loginPasswordChanged)

public:
    static constexpr int kDefaultWidth = 1200;
    static constexpr int kDefaultHeight = 720;

    // protector: not owned; null takes the process-wide one (UiServices).
    explicit LoginSettings(QObject *parent = nullptr);
    LoginSettings(const SecretProtector *protector, QObject *parent);

    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }
    [[nodiscard]] QString loginUserId() const { return m_loginUserId; }
    [[nodiscard]] QString loginPassword() const { return m_loginPassword; }
    [[nodiscard]] bool autologin() const { return m_autologin; }
    [[nodiscard]] QString rememberedPassword() const;

    void setWidth(int width);
    void setHeight(int height);
    void setLoginUserId(const QString &id);
    void setLoginPassword(const QString &protectedText);
    void setAutologin(bool autologin);

    // Remembers a successful sign-in: the id as typed and the password protected. When the password
    // cannot be protected it is not stored at all (never in clear).
    Q_INVOKABLE void rememberCredentials(const QString &userId, const QString &password);
    // Reads the store again (another part of the program may have written it) and reports changes.
    Q_INVOKABLE void reload();

Q_SIGNALS:
    void widthChanged();
    void heightChanged();
    void loginUserIdChanged();
    void loginPasswordChanged();
    void autologinChanged();

private:
    void write(const char *key, const QVariant &value);

    const SecretProtector *m_protector = nullptr;
    int m_width = kDefaultWidth;
    int m_height = kDefaultHeight;
    QString m_loginUserId;
    QString m_loginPassword;
    bool m_autologin = false;
};
