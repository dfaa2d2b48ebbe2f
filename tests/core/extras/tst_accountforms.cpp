// The account forms: the profile save queue and the VAT rules, the e-mail notification choices and the
// running-time threshold, against the demo service.
#include "../../service/servicetestkit.h"
#include "account/emailpreferences.h"
#include "account/profileeditor.h"
#include "api/apiclient.h"
#include "records/user.h"
#include "servicefixture.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kProfilePrefix =
    QStringLiteral("POST /API/?action=update_user_data&email=demo%40vantorix.example&first_name=");

// The session as the profile form sees it: an object with the "updatingUserData" flag.
std::unique_ptr<QObject> makeSession(bool updating = false)
{
    auto session = std::make_unique<QObject>();
    session->setProperty("updatingUserData", updating);
    return session;
}

bool busy(const QObject &session)
{
    return session.property("updatingUserData").toBool();
}

} // namespace

class TestAccountForms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A visible save queued behind the session's user-data refresh.
    void visibleSave()
    {
        ServiceFixture f;
        auto session = makeSession(true); // a user-data refresh is in flight
        ProfileEditor editor(f.api(), &f.shell, f.user(), session.get());
        editor.setFirstName(QStringLiteral("Ana Maria"));
        editor.setPhone(QStringLiteral("+40 123&x=1"));
        QSignalSpy updating(&editor, &ProfileEditor::updatingUserDataChanged);
        editor.save();
        editor.save(); // a second request before the tick still sends once
        QTest::qWait(5 * ProfileEditor::kSaveQueueIntervalMs);
        QVERIFY(editor.savePending());
        QCOMPARE(f.api()->pendingCount(), 0);

        f.fault("action=update_user_data&kind=delay&delay_ms=300&count=1");
        session->setProperty("updatingUserData", false); // the refresh ended
        QTRY_COMPARE_WITH_TIMEOUT(f.api()->pendingCount(), 1, 5000);
        QVERIFY(!editor.savePending());
        QVERIFY(busy(*session)); // the save holds the flag while it runs
        QVERIFY(editor.updatingUserData());
        QVERIFY(!editor.canUpdate());
        QVERIFY(f.waitIdle());
        QVERIFY(!busy(*session));
        QVERIFY(!editor.updatingUserData());
        QCOMPARE(updating.count(), 2);
        QCOMPARE(f.shell.messages(), QStringList{QStringLiteral("Your account details have been updated.")});
        const QStringList sent = f.requests(QStringLiteral("update_user_data"));
        QCOMPARE(sent.size(), 1);
        QVERIFY2(sent.first().startsWith(kProfilePrefix + QStringLiteral("Ana%20Maria&last_name=")),
                 qPrintable(sent.first()));
        QVERIFY2(sent.first().contains(QStringLiteral("&phone=%2B40%20123%26x%3D1&")),
                 qPrintable(sent.first()));
        QCOMPARE(f.user()->firstName(), QStringLiteral("Ana Maria"));
        QCOMPARE(f.user()->phoneNumber(), QStringLiteral("+40 123&x=1"));
    }

    void silentSaveAfterVatEdit()
    {
        ServiceFixture f;
        User *user = f.user();
        user->setVatNumber(QStringLiteral("DE123456789"));
        user->setValidVat(true);
        user->setIsEuResident(true);
        user->setCountry(QStringLiteral("Germany"));
        auto session = makeSession();
        ProfileEditor editor(f.api(), &f.shell, user, session.get());
        QVERIFY(editor.vatValidated());
        QVERIFY(editor.euResident());
        QVERIFY(editor.vatFieldValid());
        QCOMPARE(editor.validateButtonText(), QStringLiteral("Valid ✓"));

        editor.editVatNumber(QStringLiteral("de1234567890 ")); // one more character
        QVERIFY(!editor.vatValidated());
        QVERIFY(!editor.euResident()); // the EU box is unchecked
        QVERIFY(editor.savePending());
        QVERIFY(editor.vatFieldValid());
        QSignalSpy cover(&editor, &ProfileEditor::updatingUserDataChanged);
        QTRY_COMPARE_WITH_TIMEOUT(f.requests(QStringLiteral("update_user_data")).size(), 1, 5000);
        QVERIFY(f.waitIdle());
        QCOMPARE(cover.count(), 0); // a silent save shows no cover
        const QStringList sent = f.requests(QStringLiteral("update_user_data"));
        QCOMPARE(sent.size(), 1);
        // The whole form with its current values, every key present.
        QCOMPARE(sent.first(), kProfilePrefix + QStringLiteral("Dana&last_name=Demo&eu_resident=false"
                                                               "&vat_number=DE1234567890&valid_vat=false"
                                                               "&user_country=Germany&phone=%2B49.3012345678"
                                                               "&company_name=&company_address="));
        QVERIFY(f.shell.notes.isEmpty()); // a successful silent save says nothing
        QCOMPARE(user->vatNumber(), QStringLiteral("DE1234567890"));
        QVERIFY(!user->validVat());
        QVERIFY(!user->isEuResident());

        // Editing again while already unvalidated saves nothing more.
        editor.editVatNumber(QStringLiteral("DE12"));
        QVERIFY(!editor.savePending());
        // Checking the EU box with an unvalidated number: the field is invalid and cannot be saved.
        editor.setEuResident(true);
        QVERIFY(!editor.vatFieldValid());
        QVERIFY(!editor.canUpdate());
        QCOMPARE(editor.vatMessage(),
                 QStringLiteral("Vat number must be validated for EU company VAT exemption."));
        QCOMPARE(editor.validateButtonText(), QStringLiteral("Validate"));
        QVERIFY(editor.validateButtonEnabled());
    }

    // A refused save is told and frees the session's flag, also when the form or the session is gone.
    void refusedSaves()
    {
        ServiceFixture f;
        f.user()->setValidVat(true);
        auto session = makeSession();
        f.fault("action=update_user_data&kind=error_message&message=Not%20now&count=1");
        {
            ProfileEditor editor(f.api(), &f.shell, f.user(), session.get());
            editor.editVatNumber(QStringLiteral("X")); // a silent save shows its errors only
            QTRY_COMPARE_WITH_TIMEOUT(f.shell.messages(), QStringList{QStringLiteral("Not now")}, 5000);
            QVERIFY(f.waitIdle());
            QVERIFY(!busy(*session));
            f.shell.notes.clear();

            f.fault("action=update_user_data&kind=error_message&message=Not%20saved&delay_ms=500&count=1");
            editor.save();
            QTRY_COMPARE_WITH_TIMEOUT(f.api()->pendingCount(), 1, 5000);
            QVERIFY(busy(*session));
        }
        QVERIFY(f.waitIdle());
        QVERIFY(!busy(*session)); // the session's poll is not blocked for ever
        // The user left the page, but the save they started failed: they are told.
        QCOMPARE(f.shell.messages(), QStringList{QStringLiteral("Not saved")});
        f.fault("action=update_user_data&kind=delay&delay_ms=500");

        // The session may go first, too.
        ProfileEditor editor(f.api(), &f.shell, f.user(), session.get());
        editor.save();
        QTRY_COMPARE_WITH_TIMEOUT(f.api()->pendingCount(), 1, 5000);
        session.reset();
        QVERIFY(f.waitIdle());
        QVERIFY(!editor.updatingUserData());
    }

    void countryChange()
    {
        FakeShell shell;
        User user;
        user.setVatNumber(QStringLiteral("RO12345678"));
        user.setValidVat(true);
        user.setIsEuResident(true);
        auto session = makeSession();
        ProfileEditor editor(nullptr, &shell, &user, session.get());

        editor.selectCountry(QStringLiteral("Germany")); // a validated number of another country goes
        QCOMPARE(editor.selectedCountry(), QStringLiteral("Germany"));
        QCOMPARE(editor.vatNumber(), QString());
        QVERIFY(!editor.vatValidated());
        QVERIFY(!editor.euResident());
        QVERIFY(editor.savePending());
        QCOMPARE(shell.messages(), QStringList{QStringLiteral("VAT number reset due to country change.")});

        // Not validated: the VAT text stays.
        editor.editVatNumber(QStringLiteral("FR12345678901"));
        editor.selectCountry(QStringLiteral("France"));
        QCOMPARE(editor.vatNumber(), QStringLiteral("FR12345678901"));
        QCOMPARE(shell.notes.size(), 1);
    }

    void vatInfo_data()
    {
        QTest::addColumn<QJsonValue>("answer");
        QTest::addColumn<bool>("validated");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("checked");
        const QJsonObject company{{"company_name", "ACME SRL"},
                                  {"company_address", "Str. 1, Bucuresti"},
                                  {"country_name", "Romania"}};
        QTest::newRow("not JSON") << QJsonValue(false) << false << "Invalid EU VAT number"
                                  << QStringLiteral("NA") << "RO12345678";
        QTest::newRow("an error object") << QJsonValue(QJsonObject{{"error_message", "VIES is down"}})
                                         << false << "VIES is down" << QStringLiteral("NA") << "RO12345678";
        QTest::newRow("an object without the company")
            << QJsonValue(QJsonObject{{"valid", false}}) << false << "Invalid EU VAT number"
            << QStringLiteral("NA") << "RO12345678";
        QTest::newRow("the company") << QJsonValue(company) << true << "" << QStringLiteral("Romania")
                                     << "RO12345678";
        QJsonObject elsewhere = company;
        elsewhere.insert("country_name", "Atlantis");
        QTest::newRow("a country the box does not offer")
            << QJsonValue(elsewhere) << true << "" << QStringLiteral("NA") << "RO12345678";
        // The field was edited while the check ran: the answer validates nothing.
        QTest::newRow("an answer for another number")
            << QJsonValue(company) << false << "" << QStringLiteral("NA") << "RO87654321";
    }

    void vatInfo()
    {
        QFETCH(QJsonValue, answer);
        QFETCH(bool, validated);
        QFETCH(QString, notice);
        QFETCH(QString, country);
        FakeShell shell;
        User user;
        auto session = makeSession();
        QFETCH(QString, checked);
        user.setCountry(QStringLiteral("NA"));
        ProfileEditor editor(nullptr, &shell, &user, session.get());
        editor.setAvailableCountries({QStringLiteral("Germany"), QStringLiteral("Romania")});
        editor.editVatNumber(QStringLiteral("ro12345678 "));
        editor.applyVatInfo(answer, checked);
        QCOMPARE(editor.vatValidated(), validated);
        QCOMPARE(shell.messages(), notice.isEmpty() ? QStringList() : QStringList{notice});
        QCOMPARE(editor.selectedCountry(), country);
        QCOMPARE(editor.savePending(), validated); // a validated number is saved visibly
        if (validated) {
            QCOMPARE(editor.companyName(), QStringLiteral("ACME SRL"));
            QCOMPARE(editor.companyAddress(), QStringLiteral("Str. 1, Bucuresti"));
        }
    }

    void validateAgainstTheService()
    {
        ServiceFixture f;
        auto session = makeSession();
        ProfileEditor editor(f.api(), &f.shell, f.user(), session.get());
        editor.setEuResident(true);
        editor.editVatNumber(QStringLiteral(" de123456789"));
        QVERIFY(f.waitIdle(20000)); // (the silent save of the edit may run)
        QTRY_VERIFY_WITH_TIMEOUT(!editor.savePending() && f.api()->pendingCount() == 0, 5000);
        editor.setEuResident(true);
        f.clearRequests();
        editor.validateVat();
        QCOMPARE(f.shell.confirmations.last().title, QStringLiteral("Validate"));
        QVERIFY(editor.validatingVat());
        QVERIFY(!editor.validateButtonEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(editor.vatValidated(), 10000);
        QVERIFY(!editor.companyName().isEmpty());
        QVERIFY(f.waitIdle());
        QTRY_VERIFY_WITH_TIMEOUT(!editor.savePending() && f.api()->pendingCount() == 0, 5000);
        const QStringList sent = f.requests();
        QCOMPARE(sent.first(), QStringLiteral("POST /API/?action=get_vat_info&vat_no=DE123456789"));
        QCOMPARE(sent.size(), 2);
        QVERIFY2(
            sent.at(1).contains(QStringLiteral("&eu_resident=true&vat_number=DE123456789&valid_vat=true&")),
            qPrintable(sent.at(1)));
        QVERIFY(f.user()->validVat());

        // The number is changed while its check runs: the late answer must not validate the new number, and
        // nothing claiming the exemption is saved.
        f.fault("action=get_vat_info&kind=delay&delay_ms=400&count=1");
        editor.editVatNumber(QStringLiteral("DE111111111"));
        QTRY_VERIFY_WITH_TIMEOUT(!editor.savePending() && f.api()->pendingCount() == 0, 5000);
        editor.setEuResident(true);
        f.clearRequests();
        editor.validateVat();
        QVERIFY(editor.validatingVat());
        editor.editVatNumber(QStringLiteral("DE222222222"));
        QTRY_VERIFY_WITH_TIMEOUT(!editor.validatingVat(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!editor.savePending() && f.api()->pendingCount() == 0, 5000);
        QVERIFY(!editor.vatValidated());
        QVERIFY(!f.user()->validVat());
        for (const QString &request : f.requests(QStringLiteral("update_user_data")))
            QVERIFY2(!request.contains(QStringLiteral("valid_vat=true")), qPrintable(request));
    }

    void fieldsFollowTheUserUntilEdited()
    {
        User user;
        user.setFirstName(QStringLiteral("Ann"));
        auto session = makeSession();
        ProfileEditor editor(nullptr, nullptr, &user, session.get());
        QCOMPARE(editor.firstName(), QStringLiteral("Ann"));
        user.setCompanyName(QStringLiteral("Polled Ltd"));
        QCOMPARE(editor.companyName(), QStringLiteral("Polled Ltd"));
        editor.setCompanyName(QStringLiteral("Typed Ltd"));
        user.setCompanyName(QStringLiteral("Polled again"));
        QCOMPARE(editor.companyName(), QStringLiteral("Typed Ltd"));
        editor.resetFromUser();
        QCOMPARE(editor.companyName(), QStringLiteral("Polled again"));
    }

    void hoursText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("0") << "0" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("24") << "24" << true;
        QTest::newRow("99") << "99" << true;
        QTest::newRow("third digit") << "100" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("negative") << "-1" << false;
        QTest::newRow("letters") << "2a" << false;
        QTest::newRow("blank") << " 5" << false;
        QTest::newRow("fraction") << "2.5" << false;
    }

    void hoursText()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(EmailPreferences::isValidHoursText(text), valid);
    }

    void emailChoices_data()
    {
        QTest::addColumn<QList<int>>("on");
        QTest::addColumn<int>("toggled"); // 0: the master switch, to on when any choice ends on
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("notice");
        const QList<int> all{1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("low credits next to credits purchased")
            << QList<int>{1} << 3 << QList<int>{1, 3} << "1%2C3" << QString();
        QTest::newRow("the only one off: a lone comma")
            << QList<int>{1} << 1 << QList<int>{} << "%2C" << QString();
        QTest::newRow("from nothing") << QList<int>{} << 9 << QList<int>{9} << "9" << QString();
        QTest::newRow("one off among many")
            << QList<int>{1, 2, 5, 8, 9} << 5 << QList<int>{1, 2, 8, 9} << "1%2C2%2C8%2C9" << QString();
        // "Machine Deleted" alone is enough for the master switch to show on.
        QTest::newRow("all on") << QList<int>{8} << 0 << all << "%2C1%2C2%2C3%2C4%2C5%2C6%2C7%2C8%2C9"
                                << QStringLiteral("Enabled all email notifications");
        QTest::newRow("all off") << all << 0 << QList<int>{} << "%2C%2C"
                                 << QStringLiteral("Disabled all email notifications");
    }

    void emailChoices()
    {
        QFETCH(QList<int>, on);
        QFETCH(int, toggled);
        QFETCH(QList<int>, after);
        QFETCH(QString, value);
        QFETCH(QString, notice);
        ServiceFixture f;
        User *user = f.user();
        for (int n = 1; n <= 9; ++n)
            user->setEmailNotification(n, on.contains(n));
        EmailPreferences prefs(f.api(), &f.shell, user);
        QCOMPARE(prefs.anyEmailOn(), !on.isEmpty());
        if (toggled > 0) {
            QVERIFY(prefs.toggleEmail(toggled));
            // A user-data poll lands before the answer and already carries the new choice: the switch must
            // end as requested, not flipped once more.
            user->setEmailNotification(toggled, after.contains(toggled));
        } else {
            QVERIFY(prefs.setAllEmail(!after.isEmpty()));
        }
        QVERIFY(prefs.updatingEmailSettings());
        QVERIFY(f.waitIdle());
        QVERIFY(!prefs.updatingEmailSettings());
        QCOMPARE(f.requests(QStringLiteral("update_user_data")),
                 QStringList{QStringLiteral("POST /API/?action=update_user_data&email=demo%40vantorix.example"
                                            "&email_notifications=") +
                             value});
        QCOMPARE(f.shell.messages(), notice.isEmpty() ? QStringList() : QStringList{notice});
        QCOMPARE(prefs.anyEmailOn(), !after.isEmpty());
        // The user and the service agree.
        const QJsonObject data = f.kit().demo("GET", "get_user_data").object().value("user_data").toObject();
        const QJsonObject choices = data.value("email_notifications").toObject();
        for (int n = 1; n <= 9; ++n) {
            QCOMPARE(user->emailNotification(n), after.contains(n));
            const QString stored = choices.value(User::emailNotificationKey(n)).toVariant().toString();
            QCOMPARE(stored == QLatin1String("true") || stored == QLatin1String("1"), after.contains(n));
        }
    }

    // One e-mail settings request at a time; a refused change is not applied; the running-time threshold.
    void emailRequests()
    {
        ServiceFixture f;
        EmailPreferences prefs(f.api(), &f.shell, f.user());
        const bool before = f.user()->emailNotification(2);
        f.fault("action=update_user_data&kind=error_message&message=Try%20later&count=1");
        QVERIFY(prefs.toggleEmail(2));
        QVERIFY(!prefs.toggleEmail(3));
        QVERIFY(!prefs.setAllEmail(true));
        QVERIFY(!prefs.toggleEmail(0));
        QVERIFY(f.waitIdle());
        QCOMPARE(f.requests(QStringLiteral("update_user_data")).size(), 1);
        QCOMPARE(f.shell.messages(), QStringList{QStringLiteral("Try later")});
        QCOMPARE(f.user()->emailNotification(2), before);
        QVERIFY(!prefs.updatingEmailSettings());
        QVERIFY(prefs.toggleEmail(3)); // free again
        QVERIFY(f.waitIdle());
        f.clearRequests();
        f.shell.notes.clear();

        QVERIFY(!prefs.submitRunningHours(QStringLiteral("0")));
        QVERIFY(!prefs.submitRunningHours(QStringLiteral("100")));
        QCOMPARE(f.api()->pendingCount(), 0);
        QVERIFY(prefs.submitRunningHours(QStringLiteral("24")));
        QVERIFY(prefs.updatingUserData());
        QVERIFY(!prefs.submitRunningHours(QStringLiteral("25"))); // one at a time
        QVERIFY(f.waitIdle());
        QVERIFY(!prefs.updatingUserData());
        QCOMPARE(f.requests(QStringLiteral("update_user_data")),
                 QStringList{QStringLiteral("POST /API/?action=update_user_data&email=demo%40vantorix.example"
                                            "&machine_running_for_x_hours_value=24")});
        QCOMPARE(f.user()->machineRunningForXHours(), 24);
        QCOMPARE(f.shell.notes.size(), 1);
        QCOMPARE(f.shell.notes.first().level, Shell::Level::Info);
    }
};

QTEST_GUILESS_MAIN(TestAccountForms)
#include "tst_accountforms.moc"
