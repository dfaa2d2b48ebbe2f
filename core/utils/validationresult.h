#pragma once

#include <QMetaType>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The outcome of one validator: whether the text passed and, when it did not, the message of the first
// rule it broke. In QML it reads as an object with `valid` and `message`.
class ValidationResult {
    Q_GADGET
    QML_VALUE_TYPE(validationResult)
    Q_PROPERTY(bool valid MEMBER valid)
    Q_PROPERTY(QString message MEMBER message)

public:
    bool valid = true;
    QString message; // empty when valid

    [[nodiscard]] static ValidationResult pass() { return {}; }
    [[nodiscard]] static ValidationResult fail(const QString &message) { return {false, message}; }

    [[nodiscard]] bool operator==(const ValidationResult &other) const
    {
        return valid == other.valid && message == other.message;
    }
    [[nodiscard]] bool operator!=(const ValidationResult &other) const { return !(*this == other); }
};
