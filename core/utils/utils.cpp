#include "utils/utils.h"

#include "logging.h"
#include "records/user.h"
#include "utils/styles.h"

#include <QStringList>

#include <cmath>

namespace {

bool isNumber(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

Utils::Utils(QObject *parent) : QObject(parent), m_styles(new Styles(this))
{
}

Utils::Utils(const QString &materialTheme, QObject *parent)
    : QObject(parent), m_styles(new Styles(materialTheme, this))
{
}

bool Utils::parseBool(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<bool>())
        return value.toBool();
    if (value.metaType() == QMetaType::fromType<QString>()) {
        const QString lower = value.toString().toLower();
        return lower == QLatin1String("true") || lower == QLatin1String("1") || lower == QLatin1String("yes");
    }
    if (isNumber(value))
        return value.toDouble() == 1.0;
    if (value.metaType() == QMetaType::fromType<QJsonValue>())
        return parseBool(value.value<QJsonValue>());
    // null, undefined, objects, lists: nothing the service sends as a yes.
    return false;
}

bool Utils::parseBool(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::String:
        return parseBool(QVariant(value.toString()));
    case QJsonValue::Double:
        return value.toDouble() == 1.0;
    default:
        return false;
    }
}

std::optional<Computer::Status> Utils::statusEnum(const QVariant &status)
{
    if (status.metaType() == QMetaType::fromType<QJsonValue>())
        return statusEnum(status.value<QJsonValue>().toVariant());
    if (status.metaType() != QMetaType::fromType<QString>())
        return Computer::Terminated;
    const QString text = status.toString();
    const auto result = Computer::statusFromServiceString(text.toLower());
    if (!result)
        qCWarning(lcCore).noquote() << QStringLiteral("Unrecognised vm status: ") + text;
    return result;
}

QVariant Utils::getStatusEnum(const QVariant &status)
{
    const auto result = statusEnum(status);
    return result ? QVariant(int(*result)) : QVariant();
}

std::optional<Computer::Platform> Utils::platformEnum(const QVariant &platform)
{
    if (platform.metaType() == QMetaType::fromType<QJsonValue>())
        return platformEnum(platform.value<QJsonValue>().toVariant());
    if (platform.metaType() != QMetaType::fromType<QString>())
        return Computer::Linux;
    const QString text = platform.toString();
    const auto result = Computer::platformFromServiceString(text.toLower());
    if (!result)
        qCWarning(lcCore) << "Unrecognised platform." << text;
    return result;
}

QVariant Utils::getPlatformEnum(const QVariant &platform)
{
    const auto result = platformEnum(platform);
    return result ? QVariant(int(*result)) : QVariant();
}

std::optional<QString> Utils::emailKeyFromNumber(const QVariant &number)
{
    const double value = isNumber(number) ? number.toDouble() : std::nan("");
    if (std::isfinite(value) && value == std::floor(value) && std::abs(value) < 1000) {
        const QString key = User::emailNotificationKey(int(value));
        if (!key.isEmpty())
            return key;
    }
    qCCritical(lcCore) << "unrecognised email settings number" << number;
    return std::nullopt;
}

QVariant Utils::getEmailKeyFromNumber(const QVariant &number)
{
    const auto key = emailKeyFromNumber(number);
    return key ? QVariant(*key) : QVariant();
}

QString Utils::formatMinutes(double totalMinutes)
{
    if (!std::isfinite(totalMinutes) || totalMinutes < 0)
        totalMinutes = 0;
    const double days = std::floor(totalMinutes / 1440);
    const double hours = std::floor((totalMinutes - days * 1440) / 60);
    const double minutes = std::floor(totalMinutes - days * 1440 - hours * 60);

    auto twoDigits = [](double part) {
        const QString digits = QString::number(part, 'f', 0);
        return part < 10 ? QLatin1Char('0') + digits : digits;
    };
    QString text = QString::number(days, 'f', 0) + QLatin1Char(':') + twoDigits(hours) + QLatin1Char(':') +
                   twoDigits(minutes);

    // Drop the leading zero parts: "0:01:05" -> "1:05", "0:00:05" -> "5".
    while (text.startsWith(QLatin1String("0:")))
        text.remove(0, 2);
    while (text.startsWith(QLatin1String("00:")))
        text.remove(0, 3);
    if (text.startsWith(QLatin1Char('0')))
        text.remove(0, 1);

    const int parts = int(text.count(QLatin1Char(':'))) + 1;
    static const QStringList kUnits = {QStringLiteral("D"), QStringLiteral("h"), QStringLiteral("m")};
    QString units = parts == 1 ? QStringLiteral("min") : kUnits.mid(3 - parts).join(QLatin1Char(':'));
    return text + QStringLiteral(" (") + units + QLatin1Char(')');
}
