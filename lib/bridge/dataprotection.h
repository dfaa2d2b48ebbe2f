#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Protects short secrets (Remote Desktop and sign-in passwords) for the current user on Linux.
//
// The secret's UTF-8 bytes are sealed with libsodium's crypto_secretbox (XSalsa20-Poly1305) under a
// 32-byte per-user key; the result is the lowercase hexadecimal form of nonce followed by the sealed box,
// the same text form the Windows backend produces. Anything that does not open under the key (another
// key, a damaged or truncated text, not hexadecimal) unprotects to "".
class DataProtection {
public:
    // Gives the key on demand; an empty result makes protect() and unprotect() fail.
    using KeyProvider = std::function<QByteArray()>;

    explicit DataProtection(KeyProvider keyProvider);

    [[nodiscard]] QString protect(const QString &secret) const;
    [[nodiscard]] QString unprotect(const QString &protectedHex) const;

private:
    [[nodiscard]] QByteArray usableKey() const;

    KeyProvider m_keyProvider;
    bool m_sodiumReady;
};
