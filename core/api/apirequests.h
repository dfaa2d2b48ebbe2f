#pragma once

#include "apirequest.h"

#include <QList>
#include <QString>
#include <optional>

// What the sign-up form sends. Empty optional texts are left out of the request.
struct RegistrationData {
    QString username;
    QString password;
    QString email;
    QString firstName;
    QString lastName;
    bool euResident = false;
    QString vatNumber; // only sent when not empty
    bool validVat = false;
    QString country;        // only sent when not empty
    QString companyName;    // only sent when not empty
    QString companyAddress; // only sent when not empty
};

// What the profile form saves. Every field is always sent, empty or not.
struct ProfileData {
    QString firstName;
    QString lastName;
    bool euResident = false;
    QString vatNumber;
    bool validVat = false;
    QString userCountry;
    QString phone;
    QString companyName;
    QString companyAddress;
};

// Whose activity log is asked for: the whole account or one computer.
struct LogScope {
    [[nodiscard]] static LogScope account() { return {}; }
    [[nodiscard]] static LogScope machine(qint64 vmId) { return {true, vmId}; }

    bool isMachine = false;
    qint64 vmId = 0;
};

// The one place that knows how each service request looks: action, method, parameter order and the
// "only when set" rules. Pure functions; ApiClient sends what they return.
namespace ApiRequests {

enum class PowerOperation { Start, Stop, Reset, Delete };

// Before sign-in.
[[nodiscard]] ApiRequest registerUser(const RegistrationData &data);
[[nodiscard]] ApiRequest loginUser(const QString &usr, const QString &pwd);
[[nodiscard]] ApiRequest getResetPassToken(const QString &userEmail);
[[nodiscard]] ApiRequest resetPass(const QString &newPass, const QString &token);
[[nodiscard]] ApiRequest getVatsenseRates();
[[nodiscard]] ApiRequest getVatInfo(const QString &vatNumber);

// Account.
[[nodiscard]] ApiRequest getUserData(const QString &email);
[[nodiscard]] ApiRequest updateUserProfile(const QString &email, const ProfileData &profile);
// One e-mail notification toggled: `on` holds the numbers (1 to 9) that are on afterwards. Out-of-range
// numbers and repeats are dropped; the list is sent ascending, or as "," when nothing is left on.
[[nodiscard]] ApiRequest updateEmailNotifications(const QString &email, QList<int> on);
// All nine e-mail notifications at once: ",1,2,3,4,5,6,7,8,9" or ",,".
[[nodiscard]] ApiRequest setAllEmailNotifications(const QString &email, bool on);
// The running-time threshold, as typed (the caller has checked that it is a number).
[[nodiscard]] ApiRequest updateRunningThreshold(const QString &email, const QString &hoursText);
// Account or computer activity. The account log sends page and per_page only when >= 0; the computer
// log sends page when given and >= 0 and per_page whenever given.
[[nodiscard]] ApiRequest getUserLogs(const QString &email, const LogScope &scope, std::optional<int> page,
                                     std::optional<int> perPage, bool sendLogsEmail);
[[nodiscard]] ApiRequest getBanners(const QString &email);

// Computers.
[[nodiscard]] ApiRequest listUserVmInstances(const QString &email);
[[nodiscard]] ApiRequest listAvailableVmTemplates(const QString &email);
[[nodiscard]] ApiRequest insertVmInstance(const QString &email, const QString &name, qint64 templateId,
                                          const QString &winUsername, const QString &winPassword);
[[nodiscard]] ApiRequest powerOperation(PowerOperation operation, const QString &email, qint64 vmId);
[[nodiscard]] ApiRequest startUserVmInstance(const QString &email, qint64 vmId);
[[nodiscard]] ApiRequest stopUserVmInstance(const QString &email, qint64 vmId);
[[nodiscard]] ApiRequest resetUserVmInstance(const QString &email, qint64 vmId);
[[nodiscard]] ApiRequest deleteUserVmInstance(const QString &email, qint64 vmId);
[[nodiscard]] ApiRequest setFavouriteVmInstance(const QString &email, qint64 vmId, bool favourite);
[[nodiscard]] ApiRequest editUserVmInstance(const QString &email, qint64 vmId, const QString &newName);
[[nodiscard]] ApiRequest resetWinPassword(const QString &email, qint64 vmId, const QString &winPassword);
[[nodiscard]] ApiRequest getVmScreenshot(const QString &email, qint64 vmId);

// Payments.
[[nodiscard]] ApiRequest listUserPayments(const QString &email);
[[nodiscard]] ApiRequest initiatePayment(const QString &email, qint64 credits);
[[nodiscard]] ApiRequest getVatsenseTaxRateRo(const QString &email);
[[nodiscard]] ApiRequest requestInvoice(const QString &email, qint64 paymentId);

} // namespace ApiRequests
