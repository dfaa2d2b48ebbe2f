#include "dataprotection.h"

#include "logging.h"

#include <sodium.h>

namespace {

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// QByteArray::fromHex skips what is not a digit; a damaged text must fail instead.
bool isStrictHex(const QString &text)
{
    if (text.size() % 2 != 0)
        return false;
    for (const QChar c : text) {
        if (!isHexDigit(c))
            return false;
    }
    return true;
}

} // namespace

DataProtection::DataProtection(KeyProvider keyProvider)
    : m_keyProvider(std::move(keyProvider)), m_sodiumReady(sodium_init() >= 0)
{
    if (!m_sodiumReady)
        qCWarning(lcHost) << "libsodium could not be initialised; passwords cannot be protected";
}

QByteArray DataProtection::usableKey() const
{
    if (!m_sodiumReady || !m_keyProvider)
        return {};
    QByteArray key = m_keyProvider();
    if (key.size() != crypto_secretbox_KEYBYTES)
        return {};
    return key;
}

QString DataProtection::protect(const QString &secret) const
{
    const QByteArray key = usableKey();
    if (key.isEmpty())
        return {};

    const QByteArray plain = secret.toUtf8();
    QByteArray sealed(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES + plain.size(),
                      Qt::Uninitialized);
    auto *nonce = reinterpret_cast<unsigned char *>(sealed.data());
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    if (crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES,
                              reinterpret_cast<const unsigned char *>(plain.constData()),
                              static_cast<unsigned long long>(plain.size()), nonce,
                              reinterpret_cast<const unsigned char *>(key.constData())) != 0) {
        return {};
    }
    return QString::fromLatin1(sealed.toHex());
}

QString DataProtection::unprotect(const QString &protectedHex) const
{
    if (!isStrictHex(protectedHex))
        return {};
    const QByteArray sealed = QByteArray::fromHex(protectedHex.toLatin1());
    if (sealed.size() < crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES)
        return {};
    const QByteArray key = usableKey();
    if (key.isEmpty())
        return {};

    const auto *nonce = reinterpret_cast<const unsigned char *>(sealed.constData());
    const qsizetype boxSize = sealed.size() - crypto_secretbox_NONCEBYTES;
    QByteArray plain(boxSize - crypto_secretbox_MACBYTES, Qt::Uninitialized);
    if (crypto_secretbox_open_easy(reinterpret_cast<unsigned char *>(plain.data()),
                                   nonce + crypto_secretbox_NONCEBYTES,
                                   static_cast<unsigned long long>(boxSize), nonce,
                                   reinterpret_cast<const unsigned char *>(key.constData())) != 0) {
        return {};
    }
    QString secret = QString::fromUtf8(plain);
    sodium_memzero(plain.data(), static_cast<size_t>(plain.size()));
    return secret;
}
