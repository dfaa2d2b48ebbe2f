#pragma once

#include "ui/secretprotector.h"

// A reversible stand-in for the platform's secret store: "p:" and the secret's UTF-8 in hex, reversed so
// that no part of the secret is readable. When failing, it protects nothing.
class TestProtector : public SecretProtector {
public:
    bool failing = false;
    [[nodiscard]] QString protect(const QString &secret) const override
    {
        if (failing)
            return {};
        QString reversed = secret;
        std::reverse(reversed.begin(), reversed.end());
        return QStringLiteral("p:") + QString::fromLatin1(reversed.toUtf8().toHex());
    }
    [[nodiscard]] QString unprotect(const QString &text) const override
    {
        if (!text.startsWith(QLatin1String("p:")))
            return {};
        QString secret = QString::fromUtf8(QByteArray::fromHex(text.mid(2).toLatin1()));
        std::reverse(secret.begin(), secret.end());
        return secret;
    }
};
