#include "session/storedpreference.h"

#include "logging.h"

#include <QSettings>

#include <cmath>
#include <optional>

namespace StoredPreference {

namespace {

// The stored value of `key`, or no value when the key is not stored.
std::optional<QVariant> stored(const QSettings &settings, const char *key)
{
    const QString name = QLatin1String(key);
    if (!settings.contains(name))
        return std::nullopt;
    return settings.value(name);
}

void ignore(const char *key)
{
    qCWarning(lcCore) << "Ignoring the stored value of" << QLatin1String(key);
}

} // namespace

void read(const QSettings &settings, const char *key, bool &member)
{
    if (const auto value = stored(settings, key))
        member = value->value<bool>();
}

void read(const QSettings &settings, const char *key, int &member)
{
    const auto value = stored(settings, key);
    if (!value)
        return;
    bool ok = false;
    const int number = value->toInt(&ok);
    if (ok)
        member = number;
    else
        ignore(key);
}

void read(const QSettings &settings, const char *key, double &member)
{
    const auto value = stored(settings, key);
    if (!value)
        return;
    bool ok = false;
    const double number = value->toDouble(&ok);
    if (ok && std::isfinite(number))
        member = number;
    else
        ignore(key);
}

void read(const QSettings &settings, const char *key, QString &member)
{
    if (const auto value = stored(settings, key))
        member = value->value<QString>();
}

void read(const QSettings &settings, const char *key, QVariantMap &member)
{
    const auto value = stored(settings, key);
    if (!value)
        return;
    if (value->canConvert<QVariantMap>())
        member = value->toMap();
    else
        ignore(key);
}

void write(QSettings *settings, const char *key, const QVariant &value)
{
    if (!settings)
        return;
    settings->setValue(QLatin1String(key), value);
    settings->sync();
}

} // namespace StoredPreference
