#include "commandmessage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLocale>
#include <QVariant>

namespace CommandMessage {

QString valueText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double: {
        // Integer literals keep all their digits (a double would round past 2^53).
        const QVariant number = value.toVariant();
        if (number.typeId() == QMetaType::LongLong)
            return QString::number(number.toLongLong());
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    }
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("null");
}

Parsed parse(const QString &text)
{
    Parsed parsed;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        parsed.error =
            QStringLiteral("not JSON (%1 at offset %2)").arg(parseError.errorString()).arg(parseError.offset);
        return parsed;
    }
    if (document.isArray())
        return parsed;
    if (!document.isObject()) {
        parsed.error = QStringLiteral("not a JSON object");
        return parsed;
    }
    const QJsonObject object = document.object();
    const QJsonValue trigger = object.value(QLatin1String("triggerLogin"));
    parsed.triggerLogin = trigger.isBool() && trigger.toBool();
    if (object.contains(QLatin1String("setPasswordResetToken")))
        parsed.passwordResetToken = valueText(object.value(QLatin1String("setPasswordResetToken")));
    if (object.contains(QLatin1String("payment_status")))
        parsed.paymentStatus = valueText(object.value(QLatin1String("payment_status")));
    return parsed;
}

} // namespace CommandMessage
