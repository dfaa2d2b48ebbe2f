#include "faultcases.h"

#include "account/emailpreferences.h"
#include "account/profileeditor.h"
#include "computer/computer.h"
#include "logs/logscontroller.h"
#include "payments/paymentscontroller.h"
#include "ui/authcontroller.h"
#include "ui/countryservice.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QVariantMap>

namespace {

const QString kInvalidJson = QString::fromUtf8(ApiTexts::kInvalidJson);
const QString kInvalidResponse = QString::fromUtf8(ApiTexts::kInvalidApiResponse);
const QString kUnexpectedWarning = QString::fromUtf8(ApiTexts::kUnexpectedWarning);
const QString kUnexpectedError = QString::fromUtf8(ApiTexts::kUnexpectedError);
const QString kContactSupport = QString::fromUtf8(ApiTexts::kInvalidJsonContactSupport);
const QString kServiceText = QString::fromUtf8(FaultServer::kErrorText);
constexpr int kComputerId = 7;

// Interactive actions of the signed-in session: failures without an answer are silent, the rest shown.
FaultExpectations interactive(const QString &empty, const QString &notJson, const QString &error,
                              const QString &missing)
{
    return {kSilent, kSilent, kSilent, empty, notJson, error, missing};
}

FaultExpectations withTimeOut(FaultExpectations e, const QString &timedOut)
{
    e.timedOut = timedOut;
    return e;
}

FaultExpectations silent()
{
    return {kSilent, kSilent, kSilent, kSilent, kSilent, kSilent, kSilent};
}

Computer *computer(FaultFixture &f)
{
    QJsonObject entry{{"vm_id", QString::number(kComputerId)},
                      {"vm_user_instance_name", "Fault Box"},
                      {"platform", "windows"},
                      {"status", "running"},
                      {"username", "admin"},
                      {"rdp_public_address", "10.0.0.7"},
                      {"favourite", "false"}};
    f.session->updateNewVmInstances(QJsonArray{entry});
    f.session->flushDerivedLists();
    return f.session->computerById(kComputerId);
}

AuthController *auth(FaultFixture &f)
{
    auto *controller = new AuthController(f.api.get(), &f.shell, &f.owner);
    QObject::connect(controller, &AuthController::message, &f.owner,
                     [&f](const QString &text, int level, int, int) { f.addNote(text, level); });
    return controller;
}

CountryService *countries(FaultFixture &f)
{
    auto *service = new CountryService(f.api.get(), &f.shell, &f.owner);
    QObject::connect(service, &CountryService::countriesErrorMessage, &f.owner,
                     [&f](const QString &text) { f.addNote(text, int(Shell::Level::Error)); });
    return service;
}

using Busy = std::function<bool()>;
using PowerCall = void (Computer::*)(MainContext *);

FaultCase power(const char *action, PowerCall call)
{
    return {QString::fromLatin1(action),
            QString::fromLatin1(action),
            true,
            FaultCase::SignOut::Session,
            [call](FaultFixture &f) -> Busy {
                QPointer<Computer> c = computer(f);
                (c->*call)(f.session.get());
                return [c] { return c && c->statusChanging(); };
            },
            interactive(kInvalidResponse, kInvalidJson, kServiceText, kUnexpectedWarning),
            {},
            {}};
}

} // namespace

QList<FaultCase> allFaultCases()
{
    using S = FaultCase::SignOut;
    QList<FaultCase> cases;

    // --- Before sign-in: the forms' own message area; a 401 returns the window to the signed-out state.
    FaultExpectations form = interactive(kInvalidJson, kInvalidJson, kServiceText, kUnchecked);
    cases.append({"register_user",
                  "register_user",
                  false,
                  S::PreSignIn,
                  [](FaultFixture &f) -> Busy {
                      AuthController *c = auth(f);
                      c->registerAccount(QVariantMap{{"username", "faultuser"},
                                                     {"password", "Fault-Pass1!"},
                                                     {"email", "fault@example.org"},
                                                     {"firstName", "Fay"},
                                                     {"lastName", "Ult"}});
                      return [c] { return c->registerBusy(); };
                  },
                  form,
                  {},
                  {}});
    form.missingKey = kUnexpectedError;
    form.network = kAnyNotice; // the sign-in form says that the service cannot be reached
    cases.append({"login_user",
                  "login_user",
                  false,
                  S::PreSignIn,
                  [](FaultFixture &f) -> Busy {
                      AuthController *c = auth(f);
                      c->login(QStringLiteral("faultuser"), QStringLiteral("Fault-Pass1!"));
                      return [c] { return c->loginBusy(); };
                  },
                  form,
                  {},
                  {}});
    form.network = kSilent;
    form.missingKey = kUnexpectedWarning;
    cases.append({"get_reset_pass_token",
                  "get_reset_pass_token",
                  false,
                  S::PreSignIn,
                  [](FaultFixture &f) -> Busy {
                      AuthController *c = auth(f);
                      c->getResetPasswordToken(QStringLiteral("fault@example.org"));
                      return [c] { return c->resetBusy(); };
                  },
                  form,
                  {},
                  {}});
    cases.append({"reset_pass",
                  "reset_pass",
                  false,
                  S::PreSignIn,
                  [](FaultFixture &f) -> Busy {
                      AuthController *c = auth(f);
                      c->resetPassword(QStringLiteral("Fault-Pass2!"), QStringLiteral("token-1"));
                      return [c] { return c->resetBusy(); };
                  },
                  form,
                  {},
                  {}});

    // --- The window's country list and VAT check.
    FaultExpectations rates = interactive(kInvalidJson, kInvalidJson, kServiceText, kUnexpectedWarning);
    rates.unauthorized = QString::fromUtf8(ApiTexts::kVatRatesUnauthorized);
    cases.append({"get_vatsense_rates",
                  "get_vatsense_rates",
                  false,
                  S::None,
                  [](FaultFixture &f) -> Busy {
                      countries(f)->loadCountriesList();
                      return [&f] { return f.api->pendingCount() > 0; };
                  },
                  rates,
                  {},
                  {}});
    cases.append({"get_vat_info",
                  "get_vat_info",
                  false,
                  S::None,
                  [](FaultFixture &f) -> Busy {
                      CountryService *c = countries(f);
                      c->getVATInfo(QStringLiteral("DE123456789"), [](const QVariant &) {});
                      return [c] { return c->gettingVATInfo(); };
                  },
                  silent(),
                  {},
                  {}});

    // --- The session's polls: silent, and the next poll goes out and is applied.
    cases.append({"get_user_data", "get_user_data", true, S::Session,
                  [](FaultFixture &f) -> Busy {
                      f.session->updateUserData();
                      return [&f] { return f.session->updatingUserData(); };
                  },
                  silent(), [](FaultFixture &f) { f.session->updateUserData(); },
                  [](FaultFixture &f) { return f.user->credits() == 25.5; }});
    cases.append({"list_user_vm_instances", "list_user_vm_instances", true, S::Session,
                  [](FaultFixture &f) -> Busy {
                      computer(f);
                      f.session->listUserVMInstances();
                      return [&f] {
                          return f.session->loadingComputersInternal() || f.session->loadingComputers();
                      };
                  },
                  silent(), [](FaultFixture &f) { f.session->listUserVMInstances(); },
                  // The healthy reply is an empty list: the computer goes away.
                  [](FaultFixture &f) { return f.session->computers().isEmpty(); }});
    cases.append({"list_user_payments", "list_user_payments", true, S::Session,
                  [](FaultFixture &f) -> Busy {
                      PaymentsController *p = f.session->payments();
                      p->listUserPayments();
                      return [p] { return p->loadingPayments(); };
                  },
                  silent(), [](FaultFixture &f) { f.session->listUserPayments(); },
                  [](FaultFixture &) { return true; }});

    // --- The account forms: three forms of one action.
    const FaultExpectations save = interactive(kInvalidJson, kInvalidJson, kServiceText, kSilent);
    cases.append({"update_user_data (profile)",
                  "update_user_data",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      ProfileEditor *editor = f.session->createProfileEditor(&f.owner);
                      editor->setFirstName(QStringLiteral("Faulty"));
                      editor->save();
                      return [&f, editor] {
                          return editor->updatingUserData() || f.session->updatingUserData();
                      };
                  },
                  save,
                  {},
                  {}});
    cases.append({"update_user_data (e-mail choice)",
                  "update_user_data",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      EmailPreferences *prefs = f.session->emailPreferences();
                      prefs->toggleEmail(3);
                      return [prefs] { return prefs->updatingEmailSettings(); };
                  },
                  save,
                  {},
                  {}});
    cases.append({"update_user_data (threshold)",
                  "update_user_data",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      EmailPreferences *prefs = f.session->emailPreferences();
                      prefs->submitRunningHours(QStringLiteral("6"));
                      return [prefs] { return prefs->updatingUserData(); };
                  },
                  save,
                  {},
                  {}});

    // --- Computers: creation, templates and the operations of one computer.
    cases.append({"list_available_vm_templates",
                  "list_available_vm_templates",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      f.session->getAvailableVmTemplateList();
                      return [&f] { return f.api->pendingCount() > 0; };
                  },
                  interactive(kInvalidResponse, QString::fromUtf8(ApiTexts::kInvalidJsonTemplates),
                              kServiceText, kSilent),
                  {},
                  {}});
    cases.append({"insert_vm_instance",
                  "insert_vm_instance",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      f.session->insertVMInstance(QStringLiteral("Fault Box 2"), 3, QStringLiteral("admin"),
                                                  QStringLiteral("Win-Pass-123"));
                      return [&f] { return f.api->pendingCount() > 0; };
                  },
                  // The service may still create it: the outcome is unknown, never retried blindly.
                  withTimeOut(interactive(kInvalidResponse, kSilent, kServiceText, kSilent),
                              QStringLiteral("No answer from the service about \"Fault Box 2\": it may still be "
                                             "created. Check the list before you try again.")),
                  {}});
    cases.append(power("start_user_vm_instance", &Computer::startUserVMInstance));
    cases.append(power("stop_user_vm_instance", &Computer::stopUserVMInstance));
    cases.append(power("reset_user_vm_instance", &Computer::resetUserVMInstance));
    cases.append(power("delete_user_vm_instance", &Computer::deleteUserVMInstance));
    cases.append({"set_favourite_vm_instance",
                  "set_favourite_vm_instance",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      QPointer<Computer> c = computer(f);
                      c->setFavouriteStatus(true, f.session.get());
                      return [c] { return c && c->favouriteStatusChanging(); };
                  },
                  interactive(kInvalidJson, kInvalidJson, kServiceText, kUnexpectedWarning),
                  {}});
    cases.append({"edit_user_vm_instance",
                  "edit_user_vm_instance",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      QPointer<Computer> c = computer(f);
                      c->rename(QStringLiteral("Renamed Box"), f.session.get(), {});
                      return [c] { return c && c->vmDataChanging(); };
                  },
                  interactive(kInvalidResponse, kInvalidJson, kUnexpectedError, kUnexpectedError),
                  {}});
    cases.append({"reset_win_password_user_vm_instance",
                  "reset_win_password_user_vm_instance",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      QPointer<Computer> c = computer(f);
                      c->resetWindowsPassword(QStringLiteral("New-Pass-456"), f.session.get(), {});
                      return [c] { return c && c->vmDataChanging(); };
                  },
                  interactive(kInvalidResponse, kInvalidJson, kServiceText, kUnexpectedError),
                  {}});
    // The preview is fetched on every poll: the service's refusal is only logged, or it would repeat.
    cases.append({"get_vm_screenshot",
                  "get_vm_screenshot",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      computer(f)->updateScreenshot(f.session.get());
                      return [&f] { return f.api->pendingCount() > 0; };
                  },
                  // A large desktop's screenshot fits its limit: a reply of that size without the image is
                  // unexpected like a small one.
                  [] {
                      FaultExpectations e = interactive(kInvalidResponse, kInvalidJson, kSilent, kUnexpectedError);
                      e.huge = kUnexpectedError;
                      return e;
                  }(),
                  {}});

    // --- Logs, banners, payments.
    cases.append({"get_user_logs",
                  "get_user_logs",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      LogsController *logs = f.session->createAccountLogs(&f.owner);
                      return [logs] { return logs->loadingLogs(); };
                  },
                  interactive(kInvalidJson, kInvalidJson, kServiceText, kUnexpectedError),
                  {}});
    cases.append({"get_vantorix_banners",
                  "get_vantorix_banners",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      f.session->getBannerInfo();
                      return [&f] { return f.api->pendingCount() > 0; };
                  },
                  interactive(kContactSupport, kContactSupport, kSilent, kSilent),
                  {}});
    cases.append({"initiate_payment",
                  "initiate_payment",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      f.session->purchaseCredits(20);
                      return [&f] { return f.api->pendingCount() > 0; };
                  },
                  withTimeOut(interactive(kContactSupport, kContactSupport, kServiceText, kSilent),
                              QStringLiteral("No answer from the service about the payment: it may still have "
                                             "been started. Check the payment history before you try again.")),
                  {}});
    cases.append({"get_vatsense_tax_rate_ro",
                  "get_vatsense_tax_rate_ro",
                  true,
                  S::None,
                  [](FaultFixture &f) -> Busy {
                      f.session->updateRomainianVatRate();
                      return [&f] { return f.api->pendingCount() > 0; };
                  },
                  interactive(kContactSupport, kContactSupport, kServiceText, kSilent),
                  {}});
    // Only the status counts: any body of a 200 is the acceptance.
    const QString requested = QString::fromUtf8(ApiTexts::kInvoiceRequested);
    const QString failed = QString::fromUtf8(ApiTexts::kInvoiceFailed);
    cases.append({"request-invoice",
                  "request-invoice",
                  true,
                  S::Session,
                  [](FaultFixture &f) -> Busy {
                      f.session->requestInvoice(4);
                      return [&f] { return f.api->pendingCount() > 0; };
                  },
                  {kSilent, failed, failed, requested, requested, requested, requested},
                  {},
                  {}});
    return cases;
}
