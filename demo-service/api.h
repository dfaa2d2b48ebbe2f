#pragma once

#include "httpmessage.h"

namespace demo {

class DemoState;
struct Account;

// One API request being served: the decoded parameters with strict readers. A reader that finds a
// missing or malformed value records the first failure; the handler then answers with failure().
class ApiCall {
public:
    ApiCall(DemoState &state, const QueryParams &params, const QString &baseUrl);

    DemoState &state;
    QueryParams params;
    QString baseUrl;
    Account *account = nullptr;

    [[nodiscard]] QString text(const QString &key);     // required, may be empty
    [[nodiscard]] QString nonEmpty(const QString &key); // required, not empty
    [[nodiscard]] QString optional(const QString &key) const;
    [[nodiscard]] qint64 integer(const QString &key); // required whole number
    [[nodiscard]] bool flag(const QString &key);      // required "true" or "false"
    void fail(const QString &message);
    [[nodiscard]] bool failed() const { return !m_failure.isEmpty(); }
    [[nodiscard]] HttpReply failure() const { return HttpReply::error(m_failure); }

private:
    QString m_failure;
};

// The service API ("/API/?action=..."): checks method, action and account, then runs the handler.
[[nodiscard]] HttpReply handleApi(DemoState &state, const QString &method, const QByteArray &rawQuery,
                                  const QString &baseUrl);
// The action named in a raw query, for the fault plan; empty when there is none.
[[nodiscard]] QString actionOf(const QByteArray &rawQuery);

namespace api {
// Before sign-in
HttpReply registerUser(ApiCall &call);
HttpReply loginUser(ApiCall &call);
HttpReply getResetPassToken(ApiCall &call);
HttpReply resetPass(ApiCall &call);
HttpReply getVatsenseRates(ApiCall &call);
HttpReply getVatInfo(ApiCall &call);
// Account
HttpReply getUserData(ApiCall &call);
HttpReply updateUserData(ApiCall &call);
HttpReply getUserLogs(ApiCall &call);
HttpReply getBanners(ApiCall &call);
// Computers
HttpReply listInstances(ApiCall &call);
HttpReply listTemplates(ApiCall &call);
HttpReply insertInstance(ApiCall &call);
HttpReply startInstance(ApiCall &call);
HttpReply stopInstance(ApiCall &call);
HttpReply resetInstance(ApiCall &call);
HttpReply deleteInstance(ApiCall &call);
HttpReply setFavourite(ApiCall &call);
HttpReply editInstance(ApiCall &call);
HttpReply resetWinPassword(ApiCall &call);
HttpReply screenshot(ApiCall &call);
// Payments
HttpReply listPayments(ApiCall &call);
HttpReply initiatePayment(ApiCall &call);
HttpReply vatRateRo(ApiCall &call);
HttpReply requestInvoice(ApiCall &call);

// Shared rules
[[nodiscard]] QString checkUserPassword(const QString &password);
[[nodiscard]] QString checkMachineName(const QString &name);
[[nodiscard]] QString checkWindowsPassword(const QString &password);
[[nodiscard]] bool containsSpecial(const QString &text);
} // namespace api

} // namespace demo
