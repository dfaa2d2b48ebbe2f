#pragma once

#include <QString>

// The account and computer events the user is told about, each with an in-app and a system switch.
enum class SessionEvent {
    CreditsPurchased,
    CreditsDepleted,
    LowCredits,
    MachineCreated,
    MachineStarted,
    MachineStopped,
    MachineReset,
    MachineDeleted,
    RunningForXHours,
    // The hours left at the current burn rate fell below the guard's threshold; told under the low-credit
    // switches.
    CreditGuard,
};

// The rules that decide when an event fires and what it says. Pure functions, so the table of cases can
// be tested without a session.
namespace EventRules {

// The verdict of one user-data refresh that carries a balance.
enum class CreditNotice { None, Low, Depleted };

// Low and depleted notices: only for a user who has bought credits, once per sign-in each, when the new
// balance is at most the threshold; low while the balance is above 0, depleted otherwise.
[[nodiscard]] CreditNotice creditNotice(double newBalance, double threshold, bool hasOwnedCredits,
                                        bool lowShown, bool depletedShown);

// The credits monitor's fixed limit: fires when the balance falls from above 3 to 3 or less.
[[nodiscard]] bool creditsFellBelowMonitorLimit(double oldCredits, double newCredits);

// The running-time notice fires once per crossing of the hour threshold; a negative threshold (none set)
// never fires.
[[nodiscard]] bool runningTimeCrossed(double previousMinutes, double newMinutes, int hours);

// The same crossing for a computer whose reminder was snoozed: fires when the run time reaches `dueMinutes`.
[[nodiscard]] bool snoozedReminderDue(double previousMinutes, double newMinutes, double dueMinutes);

[[nodiscard]] QString createdMachineText(const QString &name);
[[nodiscard]] QString runningForHoursText(const QString &name, int hours);

inline const char *const kLowCredits = "Your credits are running low.";
inline const char *const kCreditsDepleted = "Your credits are depleted.";
inline const char *const kPaymentCompleted = "Payment completed.";
inline const char *const kCreditsMonitor =
    "Looks like you are running low on credits.\nConsider purchasing more otherwise running machines will "
    "be stopped soon.";

} // namespace EventRules
