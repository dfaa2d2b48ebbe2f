#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

class QSettings;

// One preference under its own top-level key of the settings store. A stored value of the wrong kind (a
// number that does not parse or is not finite, a map that is not one) is ignored with a warning, so the
// default stays; a key that is not stored leaves the member as it is.
namespace StoredPreference {

void read(const QSettings &settings, const char *key, bool &member);
void read(const QSettings &settings, const char *key, int &member);
void read(const QSettings &settings, const char *key, double &member);
void read(const QSettings &settings, const char *key, QString &member);
void read(const QSettings &settings, const char *key, QVariantMap &member);

// Writes the value and syncs the store at once; a null store writes nothing.
void write(QSettings *settings, const char *key, const QVariant &value);

// Sets a preference, stores it and emits its change signal, but only when the value really changes.
template <typename Owner, typename T>
void store(Owner *owner, QSettings *settings, T &member, const T &value, const char *key,
           void (Owner::*changed)())
{
    if (member == value)
        return;
    member = value;
    write(settings, key, QVariant::fromValue(value));
    Q_EMIT(owner->*changed)();
}

} // namespace StoredPreference
