#pragma once

#include <QString>

// Protects and unprotects secrets kept in the settings store (the remembered sign-in password). The host
// adapts the bridge to it; tests use a fake.
class SecretProtector {
public:
    virtual ~SecretProtector() = default;

    // The protected form of a secret; "" when it cannot be protected.
    [[nodiscard]] virtual QString protect(const QString &secret) const = 0;
    // The secret back; "" when the text cannot be unprotected (damaged, wrong key, not ours).
    [[nodiscard]] virtual QString unprotect(const QString &protectedText) const = 0;
};
