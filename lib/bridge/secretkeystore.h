#pragma once

#include <QByteArray>
#include <QString>

// Keeps the per-user random key that protects passwords at rest (see DataProtection).
//
// The key lives in the desktop secret store (Secret Service or KWallet, through QtKeychain) under the
// service "vantorix", entry "data-protection-key". Where no secret store answers, it lives in a key file of
// mode 0600 in the application's config folder instead. A key file left from a run without a secret store
// is kept using while the store has no key, so passwords protected then stay readable.
//
// The environment variable VANTORIX_KEY_STORE=file skips the secret store and uses the key file only
// (tests set it; it also helps on desktops whose secret store prompts at every start).
class SecretKeyStore {
public:
    static constexpr int kKeySize = 32;

    enum class Backend { Automatic, FileOnly };

    explicit SecretKeyStore(Backend backend = backendFromEnvironment());
    ~SecretKeyStore();
    SecretKeyStore(const SecretKeyStore &) = delete;
    SecretKeyStore &operator=(const SecretKeyStore &) = delete;

    // The key (kKeySize bytes), created on first use; empty when no store could hold one.
    // The first call may wait for the secret store (bounded by a timeout); later calls are cached.
    [[nodiscard]] QByteArray key();

    [[nodiscard]] static Backend backendFromEnvironment();
    [[nodiscard]] static QString keyFilePath();

private:
    enum class KeychainResult { Found, NotFound, Unavailable };

    [[nodiscard]] QByteArray loadKey();
    [[nodiscard]] KeychainResult readKeychain(QByteArray *key) const;
    [[nodiscard]] bool writeKeychain(const QByteArray &key) const;
    [[nodiscard]] static QByteArray readKeyFile();
    [[nodiscard]] static QByteArray loadOrCreateKeyFile();
    [[nodiscard]] static QByteArray newRandomKey();

    Backend m_backend;
    QByteArray m_key;
};
