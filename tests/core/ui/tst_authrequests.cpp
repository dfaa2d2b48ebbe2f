// The signed-out window's requests against the demo service: where each answer's message goes, that
// busy flags always fall, what is remembered, and the country list and VAT check.

#include "../../service/servicetestkit.h"
#include "api/apiclient.h"
#include "servicefixture.h"
#include "testprotector.h"
#include "ui/authcontroller.h"
#include "ui/countryservice.h"
#include "ui/loginsettings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Message {
    QString text;
    int level;
    int place;
    int lifespan;
};

QVariantMap signUpForm(const QString &username, const QString &email)
{
    QVariantMap form = QJsonDocument::fromJson(R"({"password": "Engine-1843!", "firstName": "Ada",
        "lastName": "Lovelace", "euResident": false, "vatNumber": "", "validVat": false, "country": "UK",
        "companyName": "", "companyAddress": ""})")
                           .object()
                           .toVariantMap();
    form.insert(QStringLiteral("username"), username);
    form.insert(QStringLiteral("email"), email);
    return form;
}

} // namespace

class TestAuthRequests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ServiceFixture> m_service;
    TestProtector m_protector;
    std::unique_ptr<LoginSettings> m_settings;
    std::unique_ptr<AuthController> m_auth;
    QList<Message> m_messages;

    void fault(const QByteArray &query) { m_service->fault(query); }
    void waitIdle() { QVERIFY(m_service->waitIdle()); }

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("vantorix-test"));
        QCoreApplication::setApplicationName(QStringLiteral("authrequests"));
        m_service = std::make_unique<ServiceFixture>();
    }

    void init()
    {
        QSettings().clear();
        m_service->kit().control("reset");
        m_service->shell.notes.clear();
        m_messages.clear();
        m_settings = std::make_unique<LoginSettings>(&m_protector, nullptr);
        m_auth = std::make_unique<AuthController>(m_service->api(), &m_service->shell, nullptr);
        m_auth->setSettings(m_settings.get());
        connect(m_auth.get(), &AuthController::message, this,
                [this](const QString &text, int level, int place, int lifespan) {
                    m_messages.append({text, level, place, lifespan});
                });
    }

    void signInRemembersProtectedAndReleasesTheEarlierUser()
    {
        QSignalSpy loggedIn(m_auth.get(), &AuthController::loggedIn);
        QSignalSpy busy(m_auth.get(), &AuthController::loginBusyChanged);
        m_auth->login(QStringLiteral("demo"), QStringLiteral("Demo-Pass1!"));
        QVERIFY(m_auth->loginBusy());
        QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, 10000);
        QVERIFY(!m_auth->loginBusy());
        QCOMPARE(busy.count(), 2);
        QPointer<User> first = loggedIn.at(0).at(0).value<User *>();
        QVERIFY(first);
        QCOMPARE(first->email(), QStringLiteral("demo@vantorix.example"));
        QCOMPARE(QSettings().value(QStringLiteral("loginUserId")).toString(), QStringLiteral("demo"));
        const QString stored = QSettings().value(QStringLiteral("loginPassword")).toString();
        QVERIFY(!stored.contains(QLatin1String("Demo-Pass1!")));
        QCOMPARE(m_settings->rememberedPassword(), QStringLiteral("Demo-Pass1!"));
        QVERIFY(m_messages.isEmpty());
        QVERIFY(m_service->shell.notes.isEmpty());

        // The next sign-in's user replaces the earlier one, which goes.
        m_auth->login(QStringLiteral("demo"), QStringLiteral("Demo-Pass1!"));
        QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 2, 10000);
        QPointer<User> second = loggedIn.at(1).at(0).value<User *>();
        QTRY_VERIFY(first.isNull());
        QVERIFY(!second.isNull());
    }

    void signInFailures_data()
    {
        QTest::addColumn<QByteArray>("faultQuery");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("topText");    // empty: any text
        QTest::addColumn<QString>("bottomText"); // empty: nothing at the bottom
        QTest::newRow("wrong password") << QByteArray() << "Wrong-Pass1!" << QString() << QString();
        QTest::newRow("error_message") << QByteArray("kind=error_message&message=Locked") << "Demo-Pass1!"
                                       << "Locked" << QString();
        QTest::newRow("not json") << QByteArray("kind=not_json") << "Demo-Pass1!" << QString()
                                  << "Invalid JSON API response";
    }

    void signInFailures()
    {
        QFETCH(QByteArray, faultQuery);
        QFETCH(QString, password);
        QFETCH(QString, topText);
        QFETCH(QString, bottomText);
        if (!faultQuery.isEmpty())
            fault("action=login_user&count=1&" + faultQuery);
        QSignalSpy loggedIn(m_auth.get(), &AuthController::loggedIn);
        m_auth->login(QStringLiteral("demo"), password);
        waitIdle();
        QVERIFY(!m_auth->loginBusy());
        QCOMPARE(loggedIn.count(), 0);
        if (bottomText.isEmpty()) {
            QCOMPARE(m_messages.size(), 1);
            QCOMPARE(m_messages.at(0).place, int(AuthController::Top));
            QCOMPARE(m_messages.at(0).level, int(Shell::Level::Error));
            QCOMPARE(m_messages.at(0).lifespan, 10000);
            if (!topText.isEmpty())
                QCOMPARE(m_messages.at(0).text, topText);
            QVERIFY(m_service->shell.notes.isEmpty());
        } else {
            QVERIFY(m_messages.isEmpty());
            QCOMPARE(m_service->shell.notes.size(), 1);
            QCOMPARE(m_service->shell.notes.at(0).message, bottomText);
        }
        QCOMPARE(QSettings().value(QStringLiteral("loginUserId")).toString(), QString());
    }

    void signUpChecksInOrder_data()
    {
        QTest::addColumn<QString>("username");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("eu");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("registerRefuses"); // the VAT rule is the form's, checked before it registers
        QTest::newRow("username first") << QString(26, u'a') << "short" << true
                                        << "Username cannot be more than 25 characters in length." << true;
        QTest::newRow("then the password") << "ada" << "engine1843" << true
                                           << "Password must contain at least one special character." << true;
        QTest::newRow("then the VAT number") << "ada" << "Engine-1843!" << true
                                             << "Vat number must be validated if \"EU company\" is checked"
                                             << false;
    }

    void signUpChecksInOrder()
    {
        QFETCH(QString, username);
        QFETCH(QString, password);
        QFETCH(bool, eu);
        QFETCH(QString, message);
        QFETCH(bool, registerRefuses);
        QVariantMap form = signUpForm(username, QStringLiteral("ada@example.org"));
        form[QStringLiteral("password")] = password;
        form[QStringLiteral("euResident")] = eu;
        QVERIFY(!m_auth->checkRegistration(form));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.at(0).text, message);
        QCOMPARE(m_messages.at(0).place, int(AuthController::Top));
        if (!registerRefuses)
            return;
        // Registering the same form sends nothing.
        m_auth->registerAccount(form);
        QVERIFY(!m_auth->registerBusy());
        QCOMPARE(m_service->api()->pendingCount(), 0);
        QCOMPARE(m_messages.size(), 2);
    }

    void signUpAccepted()
    {
        QSignalSpy registered(m_auth.get(), &AuthController::registered);
        m_auth->registerAccount(signUpForm(QStringLiteral("ada"), QStringLiteral("ada+test@example.org")));
        QVERIFY(m_auth->registerBusy());
        QTRY_COMPARE_WITH_TIMEOUT(registered.count(), 1, 10000);
        QVERIFY(!m_auth->registerBusy());
        QCOMPARE(registered.at(0).at(0).toString(), QStringLiteral("ada+test@example.org"));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.at(0).text, QStringLiteral("Activation email sent to 'ada+test@example.org'"));
        QCOMPARE(m_messages.at(0).level, int(Shell::Level::Info));
        QCOMPARE(m_messages.at(0).lifespan, 0);
        QCOMPARE(QSettings().value(QStringLiteral("loginUserId")).toString(), QStringLiteral("ada"));
        QCOMPARE(m_settings->rememberedPassword(), QStringLiteral("Engine-1843!"));
    }

    void resetFlow()
    {
        QSignalSpy sent(m_auth.get(), &AuthController::resetTokenSent);
        m_auth->getResetPasswordToken(QStringLiteral("demo"));
        QTRY_COMPARE_WITH_TIMEOUT(sent.count(), 1, 10000);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.at(0).lifespan, 0);
        QVERIFY(m_messages.at(0).text.startsWith(QLatin1String("If a matching account exists")));

        // A refused new password is not sent.
        m_messages.clear();
        m_auth->resetPassword(QStringLiteral("short"), QStringLiteral("whatever"));
        QCOMPARE(m_service->api()->pendingCount(), 0);
        QCOMPARE(m_messages.at(0).text, QStringLiteral("Password must be at least eight characters long."));

        // A wrong code: the service's text at the bottom.
        m_messages.clear();
        QSignalSpy done(m_auth.get(), &AuthController::passwordResetDone);
        m_auth->resetPassword(QStringLiteral("Brand-New-1!"), QStringLiteral("nope"));
        waitIdle();
        QCOMPARE(done.count(), 0);
        QCOMPARE(m_service->shell.notes.size(), 1);
        QCOMPARE(m_service->shell.notes.at(0).level, Shell::Level::Error);
        QVERIFY(!m_auth->resetBusy());
    }

    void countryList()
    {
        CountryService countries(m_service->api(), &m_service->shell, nullptr);
        QCOMPARE(countries.countryNames(false), (QStringList{QStringLiteral("UK"), QStringLiteral("Romania")}));
        QVERIFY(countries.countryNames(true).isEmpty());
        countries.loadCountriesList();
        QTRY_VERIFY_WITH_TIMEOUT(countries.countries().size() > 2, 10000);
        QVERIFY(countries.countryNames(true).contains(QStringLiteral("Germany")));
        QVERIFY(!countries.countryNames(true).contains(QStringLiteral("UK")));
    }

    void countryListFailures_data()
    {
        QTest::addColumn<QByteArray>("faultQuery");
        QTest::addColumn<QString>("bottomText");
        QTest::addColumn<bool>("ownArea");
        QTest::newRow("error_message") << QByteArray("kind=error_message&message=No%20rates") << QString() << true;
        QTest::newRow("not json") << QByteArray("kind=not_json") << "Invalid JSON API response" << false;
        QTest::newRow("server error") << QByteArray("kind=status&status=500") << QString() << false;
    }

    void countryListFailures()
    {
        QFETCH(QByteArray, faultQuery);
        QFETCH(QString, bottomText);
        QFETCH(bool, ownArea);
        fault("action=get_vatsense_rates&count=1&" + faultQuery);
        CountryService countries(m_service->api(), &m_service->shell, nullptr);
        QSignalSpy own(&countries, &CountryService::countriesErrorMessage);
        countries.loadCountriesList();
        waitIdle();
        QCOMPARE(countries.countries(), CountryService::builtInCountries());
        QCOMPARE(own.count(), ownArea ? 1 : 0);
        QCOMPARE(m_service->shell.notes.size(), bottomText.isEmpty() ? 0 : 1);
        if (!bottomText.isEmpty())
            QCOMPARE(m_service->shell.notes.at(0).message, bottomText);
    }

    void vatCheck_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QByteArray>("faultQuery");
        QTest::addColumn<bool>("called");
        QTest::addColumn<bool>("validated");
        QTest::newRow("known number") << "DE123456789" << QByteArray() << true << true;
        QTest::newRow("not json") << "DE123456789" << QByteArray("kind=not_json") << true << false;
        QTest::newRow("server error") << "DE123456789" << QByteArray("kind=status&status=500") << false << false;
        QTest::newRow("dropped") << "DE123456789" << QByteArray("kind=drop") << false << false;
        QTest::newRow("injection stays a value") << "DE1&action=x" << QByteArray() << true << false;
    }

    void vatCheck()
    {
        QFETCH(QString, number);
        QFETCH(QByteArray, faultQuery);
        QFETCH(bool, called);
        QFETCH(bool, validated);
        if (!faultQuery.isEmpty())
            fault("action=get_vat_info&count=" + QByteArray(faultQuery.contains("drop") ? "5&" : "1&") + faultQuery);
        CountryService countries(m_service->api(), &m_service->shell, nullptr);
        QSignalSpy busy(&countries, &CountryService::gettingVATInfoChanged);
        int calls = 0;
        QVariant answer;
        countries.getVATInfo(number, [&](const QVariant &a) {
            ++calls;
            answer = a;
        });
        QVERIFY(countries.gettingVATInfo());
        waitIdle();
        QVERIFY(!countries.gettingVATInfo());
        QCOMPARE(busy.count(), 2);
        QCOMPARE(calls, called ? 1 : 0);
        if (called) {
            const QVariantMap result = CountryService::interpretVatInfo(answer);
            QCOMPARE(result.value(QStringLiteral("validated")).toBool(), validated);
            if (validated) {
                QCOMPARE(result.value(QStringLiteral("countryName")).toString(), QStringLiteral("Germany"));
                QCOMPARE(result.value(QStringLiteral("companyName")).toString(), QStringLiteral("Muster Software GmbH"));
            } else {
                QVERIFY(!result.value(QStringLiteral("message")).toString().isEmpty());
            }
        }
    }

    void overlappingVatChecksKeepTheFlagUp()
    {
        fault("action=get_vat_info&count=1&kind=delay&delay_ms=300");
        CountryService countries(m_service->api(), &m_service->shell, nullptr);
        int calls = 0;
        countries.getVATInfo(QStringLiteral("DE123456789"), [&](const QVariant &) { ++calls; });
        countries.getVATInfo(QStringLiteral("RO12345678"), [&](const QVariant &) { ++calls; });
        QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 10000);
        QVERIFY(countries.gettingVATInfo());
        QTRY_COMPARE_WITH_TIMEOUT(calls, 2, 10000);
        QVERIFY(!countries.gettingVATInfo());
    }

    void keptSelection_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<int>("index");
        const QStringList eu{QStringLiteral("Austria"), QStringLiteral("Germany")};
        QTest::newRow("kept") << eu << "Germany" << 1;
        QTest::newRow("gone: first") << eu << "UK" << 0;
        QTest::newRow("nothing chosen yet") << eu << "" << 0;
        QTest::newRow("no entries") << QStringList() << "UK" << -1;
    }

    void keptSelection()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, previous);
        QFETCH(int, index);
        QCOMPARE(CountryService::keptSelection(names, previous), index);
    }

    void vatAnswers_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<bool>("validated");
        QTest::addColumn<QString>("message");
        QTest::newRow("false") << QVariant(false) << false << "Invalid EU VAT number";
        QTest::newRow("array") << QVariant(QVariantList{1}) << false << "Invalid EU VAT number";
        QTest::newRow("error_message") << QVariant(QVariantMap{{QStringLiteral("error_message"), QStringLiteral("Bad")}})
                                       << false << "Bad";
        QTest::newRow("company") << QVariant(QVariantMap{{QStringLiteral("company_name"), QStringLiteral("X")}})
                                 << true << "";
    }

    void vatAnswers()
    {
        QFETCH(QVariant, answer);
        QFETCH(bool, validated);
        QFETCH(QString, message);
        const QVariantMap result = CountryService::interpretVatInfo(answer);
        QCOMPARE(result.value(QStringLiteral("validated")).toBool(), validated);
        QCOMPARE(result.value(QStringLiteral("message")).toString(), message);
    }
};

QTEST_MAIN(TestAuthRequests)
#include "tst_authrequests.moc"
