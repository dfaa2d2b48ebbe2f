#pragma once

#include <QJsonObject>
#include <QJsonValue>

#include <initializer_list>

namespace demo {

// The replies of a loose account: the same records as the demo account's, with every loosely typed field
// in its other legal form. Numbers sent as texts become JSON numbers and the other way round; flags take
// each of the forms the service uses in turn; unset keys are null where the demo account leaves them out
// (or the other way round); collections keyed by identifier become lists and lists become keyed objects.
// `index` picks the form for one record, so that one reply holds several forms of one field.
namespace loose {

// A number given as a text becomes the number; a number becomes its text; anything else stays.
[[nodiscard]] QJsonValue otherNumberForm(const QJsonValue &value);
void flipNumbers(QJsonObject &record, std::initializer_list<const char *> keys);
// A flag in one of the forms of the service: "1", "true", "yes", true, 1 for yes and "0", "false", "",
// false, 0 for no.
[[nodiscard]] QJsonValue flag(bool value, int index);
// An unset optional value: null for even indexes, left out for odd ones.
void unset(QJsonObject &record, const QString &key, int index);

void machineRecord(QJsonObject &record, int index);
void templateRecord(QJsonObject &record, int index);
void paymentRecord(QJsonObject &record, int index);
// The account fields of the sign-in record and of the user-data poll.
void accountFields(QJsonObject &record);

} // namespace loose
} // namespace demo
