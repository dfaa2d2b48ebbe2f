// The account's e-mail notification choices: the service's key of each, reading them from a reply and
// reaching them by number.
#include "records/user.h"

#include "utils/jsonread.h"

#include <array>

namespace {

struct EmailChoice {
    User::EmailNotification number;
    const char *key;
    bool (User::*get)() const;
    void (User::*set)(bool);
};

// Note the singular "low_credit" beside the plural "credits_..." keys: that is the service's spelling.
const std::array<EmailChoice, 9> kEmailChoices{{
    {User::CreditsPurchase, "credits_purchase", &User::notificationCreditsPurchase,
     &User::setNotificationCreditsPurchase},
    {User::CreditsDepleted, "credits_depleted", &User::notificationCreditsDepleted,
     &User::setNotificationCreditsDepleted},
    {User::LowCredits, "low_credit", &User::notificationLowCredits, &User::setNotificationLowCredits},
    {User::MachineCreated, "machine_created", &User::notificationMachineCreated,
     &User::setNotificationMachineCreated},
    {User::MachineStarted, "machine_started", &User::notificationMachineStarted,
     &User::setNotificationMachineStarted},
    {User::MachineStopped, "machine_stopped", &User::notificationMachineStopped,
     &User::setNotificationMachineStopped},
    {User::MachineReset, "machine_reset", &User::notificationMachineReset,
     &User::setNotificationMachineReset},
    {User::MachineDeleted, "machine_deleted", &User::notificationMachineDeleted,
     &User::setNotificationMachineDeleted},
    {User::MachineRunningForXHours, "machine_running_for_x_hours", &User::notificationMachineRunningForXHours,
     &User::setNotificationMachineRunningForXHours},
}};

const EmailChoice *emailChoice(int number)
{
    for (const EmailChoice &choice : kEmailChoices) {
        if (choice.number == number)
            return &choice;
    }
    return nullptr;
}

} // namespace

QString User::emailNotificationKey(int number)
{
    const EmailChoice *choice = emailChoice(number);
    return choice ? QString::fromLatin1(choice->key) : QString();
}

void User::applyEmailNotifications(const QJsonValue &emailNotifications)
{
    const QJsonObject choices = emailNotifications.toObject();
    for (const EmailChoice &choice : kEmailChoices)
        (this->*choice.set)(JsonRead::boolean(choices.value(QLatin1String(choice.key))));
}

bool User::emailNotification(int number) const
{
    const EmailChoice *choice = emailChoice(number);
    return choice && (this->*choice->get)();
}

void User::setEmailNotification(int number, bool enabled)
{
    if (const EmailChoice *choice = emailChoice(number))
        (this->*choice->set)(enabled);
}
