#include "session/sessionevent.h"

namespace EventRules {

CreditNotice creditNotice(double newBalance, double threshold, bool hasOwnedCredits, bool lowShown,
                          bool depletedShown)
{
    if (!(newBalance <= threshold) || !hasOwnedCredits)
        return CreditNotice::None;
    if (newBalance > 0)
        return lowShown ? CreditNotice::None : CreditNotice::Low;
    return depletedShown ? CreditNotice::None : CreditNotice::Depleted;
}

bool creditsFellBelowMonitorLimit(double oldCredits, double newCredits)
{
    return oldCredits > 3 && newCredits <= 3;
}

bool runningTimeCrossed(double previousMinutes, double newMinutes, int hours)
{
    if (hours < 0)
        return false;
    return previousMinutes / 60 < hours && newMinutes / 60 >= hours;
}

bool snoozedReminderDue(double previousMinutes, double newMinutes, double dueMinutes)
{
    return previousMinutes < dueMinutes && newMinutes >= dueMinutes;
}

QString createdMachineText(const QString &name)
{
    return QStringLiteral("Created Machine \"") + name + QLatin1Char('"');
}

QString runningForHoursText(const QString &name, int hours)
{
    return QStringLiteral("Machine \"") + name + QStringLiteral("\" has been running for ") +
           QString::number(hours) + QStringLiteral(" hours.");
}

} // namespace EventRules
