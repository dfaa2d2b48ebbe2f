#pragma once

#include "computer/computer.h"
#include "utils/validationresult.h"

#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

class Styles;

// The application-wide rules: validation of what the user types, the reading of the service's loosely
// typed values, the duration format and the theme constants. Every operation is a static function, so
// C++ calls Utils::validateComputerName(...) and QML calls Utils.validateComputerName(...) on the one
// singleton; only `styles` belongs to the instance.
class Utils : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(Styles *styles READ styles CONSTANT)
    Q_PROPERTY(double defaultLowCreditsThreshold READ defaultLowCreditsThresholdValue CONSTANT)
    Q_PROPERTY(QString specialCharacters READ specialCharacters CONSTANT)

public:
    // Credits below which the low-credit notice fires when the service sends no usable threshold.
    static constexpr double defaultLowCreditsThreshold = 5;

    // Styles for the theme named in the environment.
    explicit Utils(QObject *parent = nullptr);
    // Styles for the given Material theme name.
    explicit Utils(const QString &materialTheme, QObject *parent = nullptr);

    [[nodiscard]] Styles *styles() const { return m_styles; }
    [[nodiscard]] static double defaultLowCreditsThresholdValue() { return defaultLowCreditsThreshold; }

    // --- Validation (validation.cpp) ---

    // The 30 characters that count as special: the printable ASCII punctuation without space, backtick
    // and tilde.
    [[nodiscard]] static QString specialCharacters();
    Q_INVOKABLE [[nodiscard]] static bool containsSpecialCharacters(const QString &text);

    // Each validator checks its rules in order and reports the first broken one. A value that is not a
    // text breaks the first rule.
    Q_INVOKABLE [[nodiscard]] static ValidationResult validateUsername(const QVariant &value);
    Q_INVOKABLE [[nodiscard]] static ValidationResult validateUserPassword(const QVariant &value);
    Q_INVOKABLE [[nodiscard]] static ValidationResult validateComputerName(const QVariant &value);
    Q_INVOKABLE [[nodiscard]] static ValidationResult validateComputerUserName(const QVariant &value);
    Q_INVOKABLE [[nodiscard]] static ValidationResult validateComputerPassword(const QVariant &value);

    // --- Service values ---

    // True for the texts "true", "1", "yes" (any case) and for the number 1; a genuine boolean passes
    // through; null, undefined and everything else is false.
    Q_INVOKABLE [[nodiscard]] static bool parseBool(const QVariant &value);
    [[nodiscard]] static bool parseBool(const QJsonValue &value);

    // A service status string (any case) to Computer::Status. Not a text: Terminated. An unknown text is
    // logged and gives no value (undefined in QML).
    [[nodiscard]] static std::optional<Computer::Status> statusEnum(const QVariant &status);
    Q_INVOKABLE [[nodiscard]] static QVariant getStatusEnum(const QVariant &status);

    // A service platform string (any case) to Computer::Platform. Not a text (for instance absent):
    // Linux. An unknown text is logged and gives no value (undefined in QML).
    [[nodiscard]] static std::optional<Computer::Platform> platformEnum(const QVariant &platform);
    Q_INVOKABLE [[nodiscard]] static QVariant getPlatformEnum(const QVariant &platform);

    // The service key of an e-mail notification number (User::EmailNotification). An unlisted number is
    // logged as an error and gives no key (undefined in QML).
    [[nodiscard]] static std::optional<QString> emailKeyFromNumber(const QVariant &number);
    Q_INVOKABLE [[nodiscard]] static QVariant getEmailKeyFromNumber(const QVariant &number);

    // A duration in minutes as "m (min)", "h:mm (h:m)" or "D:hh:mm (D:h:m)". Fractions of a minute are
    // dropped; a negative or non-finite duration shows as 0.
    Q_INVOKABLE [[nodiscard]] static QString formatMinutes(double totalMinutes);

    // The enumeration tables for views that have no Computer at hand (menus, filters, legends).
    Q_INVOKABLE [[nodiscard]] static QString statusLabel(int status) { return Computer::statusLabel(status); }
    Q_INVOKABLE [[nodiscard]] static int statusOrder(int status) { return Computer::statusOrder(status); }
    Q_INVOKABLE [[nodiscard]] static QString statusHidingFilter(int status)
    {
        return Computer::statusHidingFilter(status);
    }
    Q_INVOKABLE [[nodiscard]] static QString platformLabel(int platform)
    {
        return Computer::platformLabel(platform);
    }
    Q_INVOKABLE [[nodiscard]] static QString platformIcon(int platform)
    {
        return Computer::platformIcon(platform);
    }
    Q_INVOKABLE [[nodiscard]] static QString sortablePropertyText(int property)
    {
        return Computer::sortablePropertyText(property);
    }

private:
    Styles *m_styles = nullptr;
};
