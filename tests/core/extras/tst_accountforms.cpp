// The account forms: the profile save queue and the VAT rules, the e-mail notification choices and the
// running-time threshold, against the demo service.
#include "account/emailpreferences.h"
#include "account/profileeditor.h"
#include "api/apiclient.h"
#include "records/user.h"
#include "sessiontestkit.h"

#include <QJsonObject>
#include <QTest>

namespace {

// The session as the profile form sees it: an object with the "updatingUserData" flag.
std::unique_ptr<QObject> makeSession()
{
    auto session = std::make_unique<QObject>();
    session->setProperty("updatingUserData", false);
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
    // Two saves before the queue's tick send one request; the answer is told.
    void visibleSave()
    {
        SessionTestKit f;
        f.user().setCountry(QStringLiteral("Germany"));
        auto session = makeSession();
        ProfileEditor editor(&f.api(), &f.shell, &f.user(), session.get());
        editor.setPhone(QStringLiteral("+40 123&x=1"));
        editor.save();
        editor.save();
        QTRY_COMPARE_WITH_TIMEOUT(f.requests(QStringLiteral("update_user_data")).size(), 1, 5000);
        QVERIFY(f.settle());
        QTest::qWait(5 * ProfileEditor::kSaveQueueIntervalMs);
        const QStringList sent = f.requests(QStringLiteral("update_user_data"));
        QCOMPARE(sent.size(), 1);
        QVERIFY2(sent.first().contains(QStringLiteral("&phone=%2B40%20123%26x%3D1&")),
                 qPrintable(sent.first()));
        QCOMPARE(f.shell.messages(), QStringList{QStringLiteral("Your account details have been updated.")});
    }

    // A refused save is told and frees the session's flag, also when the form or the session is gone.
    void refusedSaves()
    {
        SessionTestKit f;
        f.user().setValidVat(true);
        auto session = makeSession();
        f.fault(QStringLiteral("update_user_data"), QStringLiteral("error_message"), 1, 500, 0,
                QStringLiteral("Not now"));
        {
            ProfileEditor editor(&f.api(), &f.shell, &f.user(), session.get());
            editor.editVatNumber(QStringLiteral("X")); // a silent save shows its errors only
            QTRY_COMPARE_WITH_TIMEOUT(f.shell.messages(), QStringList{QStringLiteral("Not now")}, 5000);
            QVERIFY(f.settle());
            QVERIFY(!busy(*session));
            f.shell.notes.clear();

            f.fault(QStringLiteral("update_user_data"), QStringLiteral("error_message"), 1, 500, 500,
                    QStringLiteral("Not saved"));
            editor.save();
            QTRY_COMPARE_WITH_TIMEOUT(f.api().pendingCount(), 1, 5000);
            QVERIFY(busy(*session));
        }
        QVERIFY(f.settle());
        QVERIFY(!busy(*session)); // the session's poll is not blocked for ever
        // The user left the page, but the save they started failed: they are told.
        QCOMPARE(f.shell.messages(), QStringList{QStringLiteral("Not saved")});
        f.fault(QStringLiteral("update_user_data"), QStringLiteral("delay"), -1, 500, 500);

        // The session may go first, too.
        ProfileEditor editor(&f.api(), &f.shell, &f.user(), session.get());
        editor.save();
        QTRY_COMPARE_WITH_TIMEOUT(f.api().pendingCount(), 1, 5000);
        session.reset();
        QVERIFY(f.settle());
        QVERIFY(!editor.updatingUserData());
    }

    void countryChange()
    {
        RecordingShell shell;
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
        RecordingShell shell;
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

    // The number is changed while its check runs: the late answer must not validate the new number, and
    // nothing claiming the exemption is saved.
    void lateVatAnswer()
    {
        SessionTestKit f;
        auto session = makeSession();
        ProfileEditor editor(&f.api(), &f.shell, &f.user(), session.get());
        f.fault(QStringLiteral("get_vat_info"), QStringLiteral("delay"), 1, 500, 400);
        editor.editVatNumber(QStringLiteral("DE111111111"));
        QTRY_VERIFY_WITH_TIMEOUT(!editor.savePending() && f.api().pendingCount() == 0, 5000);
        editor.setEuResident(true);
        f.clearRequests();
        editor.validateVat();
        f.shell.confirmations.last().accepted();
        QVERIFY(editor.validatingVat());
        editor.editVatNumber(QStringLiteral("DE222222222"));
        QTRY_VERIFY_WITH_TIMEOUT(!editor.validatingVat(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!editor.savePending() && f.api().pendingCount() == 0, 5000);
        QVERIFY(!editor.vatValidated());
        QVERIFY(!f.user().validVat());
        for (const QString &request : f.requests(QStringLiteral("update_user_data")))
            QVERIFY2(!request.contains(QStringLiteral("valid_vat=true")), qPrintable(request));
        // Editing a number that is not validated saves nothing more.
        editor.editVatNumber(QStringLiteral("DE12"));
        QVERIFY(!editor.savePending());
    }

    void hoursText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("0") << "0" << false;
        QTest::newRow("1") << "1" << true;
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

    // A switch toggled while a user-data poll already carries the new choice ends as requested.
    void emailChoiceRacedByAPoll()
    {
        SessionTestKit f;
        User *user = &f.user();
        for (int n = 1; n <= 9; ++n)
            user->setEmailNotification(n, QList<int>({1, 2, 5, 8, 9}).contains(n));
        EmailPreferences prefs(&f.api(), &f.shell, user);
        QVERIFY(prefs.toggleEmail(5));
        user->setEmailNotification(5, false);
        QVERIFY(prefs.updatingEmailSettings());
        QVERIFY(f.settle());
        QVERIFY(!prefs.updatingEmailSettings());
        QCOMPARE(f.requests(QStringLiteral("update_user_data")),
                 QStringList{QStringLiteral("/API/?action=update_user_data&email=demo%40vantorix.example"
                                            "&email_notifications=1%2C2%2C8%2C9")});
        QVERIFY(f.shell.messages().isEmpty());
        for (int n = 1; n <= 9; ++n)
            QCOMPARE(user->emailNotification(n), QList<int>({1, 2, 8, 9}).contains(n));
    }

    // One e-mail settings request at a time; a refused change is not applied; the running-time threshold.
    void emailRequests()
    {
        SessionTestKit f;
        EmailPreferences prefs(&f.api(), &f.shell, &f.user());
        const bool before = f.user().emailNotification(2);
        f.fault(QStringLiteral("update_user_data"), QStringLiteral("error_message"), 1, 500, 0,
                QStringLiteral("Try later"));
        QVERIFY(prefs.toggleEmail(2));
        QVERIFY(!prefs.toggleEmail(3));
        QVERIFY(!prefs.setAllEmail(true));
        QVERIFY(!prefs.toggleEmail(0));
        QVERIFY(f.settle());
        QCOMPARE(f.requests(QStringLiteral("update_user_data")).size(), 1);
        QCOMPARE(f.shell.messages(), QStringList{QStringLiteral("Try later")});
        QCOMPARE(f.user().emailNotification(2), before);
        QVERIFY(!prefs.updatingEmailSettings());
        QVERIFY(prefs.toggleEmail(3)); // free again
        QVERIFY(f.settle());
        f.clearRequests();
        f.shell.notes.clear();

        QVERIFY(!prefs.submitRunningHours(QStringLiteral("0")));
        QVERIFY(!prefs.submitRunningHours(QStringLiteral("100")));
        QCOMPARE(f.api().pendingCount(), 0);
        QVERIFY(prefs.submitRunningHours(QStringLiteral("24")));
        QVERIFY(prefs.updatingUserData());
        QVERIFY(!prefs.submitRunningHours(QStringLiteral("25"))); // one at a time
        QVERIFY(f.settle());
        QVERIFY(!prefs.updatingUserData());
        QCOMPARE(f.requests(QStringLiteral("update_user_data")),
                 QStringList{QStringLiteral("/API/?action=update_user_data&email=demo%40vantorix.example"
                                            "&machine_running_for_x_hours_value=24")});
        QCOMPARE(f.user().machineRunningForXHours(), 24);
        QCOMPARE(f.shell.notes.size(), 1);
        QCOMPARE(f.shell.notes.first().level, Shell::Level::Info);
    }
};

QTEST_GUILESS_MAIN(TestAccountForms)
#include "tst_accountforms.moc"
