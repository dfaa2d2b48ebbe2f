#include "faultcases.h"

#include "testcontrols.h"

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
    return {kSilent, kSilent, kSilent, empty, notJson, error, missing, std::nullopt, std::nullopt};
}

FaultExpectations withTimeOut(FaultExpectations e, const QString &timedOut)
{
    e.timedOut = timedOut;
    return e;
}

FaultExpectations silent()
{
    return {kSilent, kSilent, kSilent, kSilent, kSilent, kSilent, kSilent, std::nullopt, std::nullopt};
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
using S = FaultCase::SignOut;

// Adds a case; its action is the first word of its name (the rest names the caller form).
FaultCase &add(QList<FaultCase> &cases, const QString &name, bool needsSession, S signOut,
               const FaultExpectations &expect, std::function<Busy(FaultFixture &)> start)
{
    cases.append({name,
                  name.section(QLatin1Char(' '), 0, 0),
                  needsSession,
                  signOut,
                  std::move(start),
                  expect,
                  {},
                  {}});
    return cases.last();
}

// A computer operation: the computer is busy until the reply has been handled.
void addPower(QList<FaultCase> &cases, const char *action, void (Computer::*call)(MainContext *))
{
    add(cases, QString::fromLatin1(action), true, S::Session,
        interactive(kInvalidResponse, kInvalidJson, kServiceText, kUnexpectedWarning),
        [call](FaultFixture &f) -> Busy {
            QPointer<Computer> c = computer(f);
            (c->*call)(f.session.get());
            return [c] { return c && c->statusChanging(); };
        });
}

// Waits for nothing but the request itself.
Busy pending(FaultFixture &f)
{
    return [&f] { return f.api->pendingCount() > 0; };
}

} // namespace

QList<FaultCase> allFaultCases()
{
    QList<FaultCase> cases;

    // --- Before sign-in: the forms' own message area; a 401 returns the window to the signed-out state.
    FaultExpectations form = interactive(kInvalidJson, kInvalidJson, kServiceText, kUnchecked);
    add(cases, "register_user", false, S::PreSignIn, form, [](FaultFixture &f) -> Busy {
        AuthController *c = auth(f);
        c->registerAccount(QVariantMap{{"username", "faultuser"},
                                       {"password", "Fault-Pass1!"},
                                       {"email", "fault@example.org"},
                                       {"firstName", "Fay"},
                                       {"lastName", "Ult"}});
        return [c] { return c->registerBusy(); };
    });
    form.missingKey = kUnexpectedError;
    form.network = kAnyNotice; // the sign-in form says that the service cannot be reached
    add(cases, "login_user", false, S::PreSignIn, form, [](FaultFixture &f) -> Busy {
        AuthController *c = auth(f);
        c->login(QStringLiteral("faultuser"), QStringLiteral("Fault-Pass1!"));
        return [c] { return c->loginBusy(); };
    });
    form.network = kSilent;
    form.missingKey = kUnexpectedWarning;
    add(cases, "get_reset_pass_token", false, S::PreSignIn, form, [](FaultFixture &f) -> Busy {
        AuthController *c = auth(f);
        c->getResetPasswordToken(QStringLiteral("fault@example.org"));
        return [c] { return c->resetBusy(); };
    });
    add(cases, "reset_pass", false, S::PreSignIn, form, [](FaultFixture &f) -> Busy {
        AuthController *c = auth(f);
        c->resetPassword(QStringLiteral("Fault-Pass2!"), QStringLiteral("token-1"));
        return [c] { return c->resetBusy(); };
    });

    // --- The window's country list and VAT check.
    FaultExpectations rates = interactive(kInvalidJson, kInvalidJson, kServiceText, kUnexpectedWarning);
    rates.unauthorized = QString::fromUtf8(ApiTexts::kVatRatesUnauthorized);
    add(cases, "get_vatsense_rates", false, S::None, rates, [](FaultFixture &f) -> Busy {
        countries(f)->loadCountriesList();
        return pending(f);
    });
    add(cases, "get_vat_info", false, S::None, silent(), [](FaultFixture &f) -> Busy {
        CountryService *c = countries(f);
        c->getVATInfo(QStringLiteral("DE123456789"), [](const QVariant &) {});
        return [c] { return c->gettingVATInfo(); };
    });

    // --- The session's polls: silent, and the next poll goes out and is applied.
    FaultCase &userData =
        add(cases, "get_user_data", true, S::Session, silent(), [](FaultFixture &f) -> Busy {
            f.session->updateUserData();
            return [&f] { return f.session->updatingUserData(); };
        });
    userData.poll = [](FaultFixture &f) { f.session->updateUserData(); };
    userData.applied = [](FaultFixture &f) { return f.user->credits() == 25.5; };
    FaultCase &list =
        add(cases, "list_user_vm_instances", true, S::Session, silent(), [](FaultFixture &f) -> Busy {
            computer(f);
            f.session->listUserVMInstances();
            return [&f] { return f.session->loadingComputersInternal() || f.session->loadingComputers(); };
        });
    list.poll = [](FaultFixture &f) { f.session->listUserVMInstances(); };
    // The healthy reply is an empty list: the computer goes away.
    list.applied = [](FaultFixture &f) { return f.session->computers().isEmpty(); };
    FaultCase &payments =
        add(cases, "list_user_payments", true, S::Session, silent(), [](FaultFixture &f) -> Busy {
            PaymentsController *p = f.session->payments();
            p->listUserPayments();
            return [p] { return p->loadingPayments(); };
        });
    payments.poll = [](FaultFixture &f) { f.session->listUserPayments(); };
    payments.applied = [](FaultFixture &) { return true; };

    // --- The account forms: three forms of one action.
    const FaultExpectations save = interactive(kInvalidJson, kInvalidJson, kServiceText, kSilent);
    add(cases, "update_user_data (profile)", true, S::Session, save, [](FaultFixture &f) -> Busy {
        ProfileEditor *editor = f.session->createProfileEditor(&f.owner);
        editor->setFirstName(QStringLiteral("Faulty"));
        editor->save();
        return [&f, editor] { return editor->updatingUserData() || f.session->updatingUserData(); };
    });
    add(cases, "update_user_data (e-mail choice)", true, S::Session, save, [](FaultFixture &f) -> Busy {
        EmailPreferences *prefs = f.session->emailPreferences();
        prefs->toggleEmail(3);
        return [prefs] { return prefs->updatingEmailSettings(); };
    });
    add(cases, "update_user_data (threshold)", true, S::Session, save, [](FaultFixture &f) -> Busy {
        EmailPreferences *prefs = f.session->emailPreferences();
        prefs->submitRunningHours(QStringLiteral("6"));
        return [prefs] { return prefs->updatingUserData(); };
    });

    // --- Computers: creation, templates and the operations of one computer.
    add(cases, "list_available_vm_templates", true, S::Session,
        interactive(kInvalidResponse, QString::fromUtf8(ApiTexts::kInvalidJsonTemplates), kServiceText,
                    kSilent),
        [](FaultFixture &f) -> Busy {
            f.session->getAvailableVmTemplateList();
            return pending(f);
        });
    // The service may still create it: the outcome is unknown, never retried blindly.
    add(cases, "insert_vm_instance", true, S::Session,
        withTimeOut(interactive(kInvalidResponse, kSilent, kServiceText, kSilent),
                    QStringLiteral("No answer from the service about \"Fault Box 2\": it may still be "
                                   "created. Check the list before you try again.")),
        [](FaultFixture &f) -> Busy {
            f.session->insertVMInstance(QStringLiteral("Fault Box 2"), 3, QStringLiteral("admin"),
                                        QStringLiteral("Win-Pass-123"));
            return pending(f);
        });
    addPower(cases, "start_user_vm_instance", &Computer::startUserVMInstance);
    addPower(cases, "stop_user_vm_instance", &Computer::stopUserVMInstance);
    addPower(cases, "reset_user_vm_instance", &Computer::resetUserVMInstance);
    addPower(cases, "delete_user_vm_instance", &Computer::deleteUserVMInstance);
    add(cases, "set_favourite_vm_instance", true, S::Session,
        interactive(kInvalidJson, kInvalidJson, kServiceText, kUnexpectedWarning),
        [](FaultFixture &f) -> Busy {
            QPointer<Computer> c = computer(f);
            c->setFavouriteStatus(true, f.session.get());
            return [c] { return c && c->favouriteStatusChanging(); };
        });
    add(cases, "edit_user_vm_instance", true, S::Session,
        interactive(kInvalidResponse, kInvalidJson, kUnexpectedError, kUnexpectedError),
        [](FaultFixture &f) -> Busy {
            QPointer<Computer> c = computer(f);
            c->rename(QStringLiteral("Renamed Box"), f.session.get(), {});
            return [c] { return c && c->vmDataChanging(); };
        });
    add(cases, "reset_win_password_user_vm_instance", true, S::Session,
        interactive(kInvalidResponse, kInvalidJson, kServiceText, kUnexpectedError),
        [](FaultFixture &f) -> Busy {
            QPointer<Computer> c = computer(f);
            c->resetWindowsPassword(QStringLiteral("New-Pass-456"), f.session.get(), {});
            return [c] { return c && c->vmDataChanging(); };
        });
    // The preview is fetched on every poll: the service's refusal is only logged, or it would repeat. A
    // large desktop's screenshot fits its limit: a reply of that size without the image is unexpected like
    // a small one.
    FaultExpectations preview = interactive(kInvalidResponse, kInvalidJson, kSilent, kUnexpectedError);
    preview.huge = kUnexpectedError;
    add(cases, "get_vm_screenshot", true, S::Session, preview, [](FaultFixture &f) -> Busy {
        computer(f)->updateScreenshot(f.session.get());
        return pending(f);
    });

    // --- Logs, banners, payments.
    add(cases, "get_user_logs", true, S::Session,
        interactive(kInvalidJson, kInvalidJson, kServiceText, kUnexpectedError), [](FaultFixture &f) -> Busy {
            LogsController *logs = f.session->createAccountLogs(&f.owner);
            return [logs] { return logs->loadingLogs(); };
        });
    add(cases, "get_vantorix_banners", true, S::Session,
        interactive(kContactSupport, kContactSupport, kSilent, kSilent), [](FaultFixture &f) -> Busy {
            f.session->getBannerInfo();
            return pending(f);
        });
    add(cases, "initiate_payment", true, S::Session,
        withTimeOut(interactive(kContactSupport, kContactSupport, kServiceText, kSilent),
                    QStringLiteral("No answer from the service about the payment: it may still have "
                                   "been started. Check the payment history before you try again.")),
        [](FaultFixture &f) -> Busy {
            f.session->purchaseCredits(20);
            return pending(f);
        });
    add(cases, "get_vatsense_tax_rate_ro", true, S::None,
        interactive(kContactSupport, kContactSupport, kServiceText, kSilent), [](FaultFixture &f) -> Busy {
            f.session->updateRomainianVatRate();
            return pending(f);
        });
    // Only the status counts: any body of a 200 is the acceptance.
    const QString requested = QString::fromUtf8(ApiTexts::kInvoiceRequested);
    const QString failed = QString::fromUtf8(ApiTexts::kInvoiceFailed);
    add(cases, "request-invoice", true, S::Session,
        {kSilent, failed, failed, requested, requested, requested, requested}, [](FaultFixture &f) -> Busy {
            f.session->requestInvoice(4);
            return pending(f);
        });
    return cases;
}

QList<ReshapeCase> reshapeCases()
{
    const QByteArray computer =
        R"({"vm_id":"7","vm_user_instance_name":"Fault Box","platform":"windows","status":"running",)"
        R"("favourite":"1","username":"admin","rdp_public_address":"10.0.0.7","template_id":"9",)"
        R"("gce_start_time":"1700000000","vm_rate":"0.35","vm_current_session_run_time":"12.5"})";
    return {
        {"login_user",
         R"({"login":"success","data":{"ID":"5","user_email":"fault@example.org",)"
         R"("user_credit":"3.5","low_credits_threshold":"4","has_owned_credits":"1"}})",
         {"login", "data", "user_email", "user_credit", "low_credits_threshold"}},
        {"get_vatsense_rates",
         R"([{"country_name":"Germany","tax_rate":19,"is_eu_country":true}])",
         {"country_name", "tax_rate", "is_eu_country"}},
        {"get_vat_info",
         R"({"company_name":"Acme","company_address":"Main St 1","country_name":"Germany"})",
         {"company_name", "country_name"}},
        {"get_user_data",
         R"({"user_data":{"user_credit":"25.5","low_credits_threshold":"4","has_owned_credits":"1",)"
         R"("machine_running_for_x_hours_value":"4","email_notifications":{"low_credit":"1"}}})",
         {"user_data", "user_credit", "low_credits_threshold", "machine_running_for_x_hours_value",
          "email_notifications"}},
        {"list_user_vm_instances",
         "[" + computer + "]",
         {"vm_id", "status", "vm_user_instance_name", "platform", "favourite", "rdp_public_address",
          "gce_start_time", "vm_current_session_run_time"}},
        {"list_user_payments",
         R"({"9":{"payment_id":"9","payment_status":"Completed","payment_amount":"11.90",)"
         R"("invoice_status":"NOT REQUESTED","payment_date":"2024-01-02 03:04:05"}})",
         {"payment_id", "payment_status", "payment_amount", "invoice_status"}},
        {"list_available_vm_templates",
         R"({"9":{"template_id":"9","name":"win-basic","vm_template_title":"Windows","price":"0.3",)"
         R"("spec_description":"Two cores."}})",
         {"template_id", "price", "spec_description"}},
        {"insert_vm_instance", R"({"vm_id":"12"})", {"vm_id"}},
        {"start_user_vm_instance", R"({"success":"Machine is starting."})", {"success"}},
        {"set_favourite_vm_instance", R"({"success":"Added to favourites."})", {"success"}},
        {"get_vm_screenshot",
         R"({"success":"Screenshot taken.","b64_screenshot":"iVBORw0KGgo="})",
         {"success", "b64_screenshot"}},
        {"get_user_logs",
         R"({"success":[{"timezone":"UTC","operation_datetime":"2024-01-02 03:04:05","details":"Started."}],)"
         R"("total_log_entries":"1"})",
         {"success", "total_log_entries", "details"}},
        {"get_vantorix_banners",
         R"({"banners":[{"position":"top_light","link":"","image":"http://127.0.0.1:1/b.png"}]})",
         {"banners", "position", "image"}},
        {"initiate_payment",
         R"({"paypal_payment_link":"http://127.0.0.1:1/pay/x"})",
         {"paypal_payment_link"}},
        {"get_vatsense_tax_rate_ro", R"({"vat_tax_rate_ro":"19"})", {"vat_tax_rate_ro"}},
        {"update_user_data (threshold)", R"({"success":"Saved."})", {"success"}},
    };
}

// The demo service's own reshaping, so that the matrix and the service's fault controls reshape alike.
QByteArray reshapeReply(const QByteArray &reply, const QString &kind, const QString &key)
{
    demo::Fault fault;
    fault.kind = kind;
    fault.key = key;
    demo::HttpReply normal;
    normal.body = reply;
    return demo::reshape(normal, fault).body;
}
