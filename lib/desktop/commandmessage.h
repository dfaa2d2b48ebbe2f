#pragma once

#include <QString>
#include <optional>

class QJsonValue;

// Reading one local command: the JSON text a web page or a second start of the program sends.
namespace CommandMessage {

struct Parsed {
    QString error; // why the text carries no command (not JSON, not an object or array); empty if fine
    bool triggerLogin = false;
    std::optional<QString> passwordResetToken;
    std::optional<QString> paymentStatus;
};

[[nodiscard]] Parsed parse(const QString &text);

// A JSON value as text: a string as it is, a number in its shortest decimal form (integers exactly),
// true/false/null as written, objects and arrays as compact JSON.
[[nodiscard]] QString valueText(const QJsonValue &value);

} // namespace CommandMessage
