// The signed-out window: the remembered password is only ever stored protected, stored values are read
// leniently, the sign-up form is checked in order, one signed-in user exists at a time, and the VAT check
// and country helpers.

#include "api/apiclient.h"
#include "sessiontestkit.h"
#include "testprotector.h"
#include "ui/authcontroller.h"
#include "ui/countryservice.h"
#include "ui/loginsettings.h"

#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestAuthRequests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SessionTestKit> m_service;
    TestProtector m_protector;
    std::unique_ptr<LoginSettings> m_settings;
    std::unique_ptr<AuthController> m_auth;
    QStringList m_messages;

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("vantorix-test"));
        QCoreApplication::setApplicationName(QStringLiteral("authrequests"));
        m_service = std::make_unique<SessionTestKit>();
    }

    void init()
    {
        QSettings().clear();
        m_protector.failing = false;
        m_messages.clear();
        m_settings = std::make_unique<LoginSettings>(&m_protector, nullptr);
        m_auth = std::make_unique<AuthController>(&m_service->api(), &m_service->shell, nullptr);
        m_auth->setSettings(m_settings.get());
        connect(m_auth.get(), &AuthController::message, this, [this](const QString &text, int, int place) {
            m_messages.append(text + u'@' + QString::number(place));
        });
    }

    void aPasswordThatCannotBeProtectedIsNotStored()
    {
        m_protector.failing = true;
        m_settings->rememberCredentials(QStringLiteral("ada"), QStringLiteral("Engine-1843!"));
        QCOMPARE(QSettings().value(QStringLiteral("loginPassword")).toString(), QString());
        QCOMPARE(m_settings->loginUserId(), QStringLiteral("ada"));
        LoginSettings withoutProtector(nullptr, nullptr);
        withoutProtector.rememberCredentials(QStringLiteral("ada"), QStringLiteral("Engine-1843!"));
        QCOMPARE(QSettings().value(QStringLiteral("loginPassword")).toString(), QString());
    }

    void storedValuesAreReadLeniently_data()
    {
        QTest::addColumn<QVariant>("width");
        QTest::addColumn<QVariant>("autologin");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("expectedWidth");
        QTest::addColumn<bool>("expectedAutologin");
        QTest::newRow("nothing stored: defaults") << QVariant() << QVariant() << "" << 1200 << false;
        QTest::newRow("normal") << QVariant(900) << QVariant(true) << "" << 900 << true;
        QTest::newRow("texts") << QVariant(QStringLiteral("900")) << QVariant(QStringLiteral("true")) << ""
                               << 900 << true;
        QTest::newRow("garbage") << QVariant(QStringLiteral("wide")) << QVariant(QStringLiteral("x")) << ""
                                 << 1200 << false;
        QTest::newRow("negative") << QVariant(-5) << QVariant(false) << "" << 1200 << false;
        // A stored password that cannot be unprotected counts as none.
        QTest::newRow("clear text password of an old version")
            << QVariant() << QVariant() << "Engine-1843!" << 1200 << false;
        QTest::newRow("damaged password") << QVariant() << QVariant() << "p:zz" << 1200 << false;
    }

    void storedValuesAreReadLeniently()
    {
        QFETCH(QVariant, width);
        QFETCH(QVariant, autologin);
        QFETCH(QString, password);
        QFETCH(int, expectedWidth);
        QFETCH(bool, expectedAutologin);
        if (width.isValid()) {
            QSettings().setValue(QStringLiteral("width"), width);
            QSettings().setValue(QStringLiteral("autologin"), autologin);
        }
        QSettings().setValue(QStringLiteral("loginPassword"), password);
        LoginSettings settings(&m_protector, nullptr);
        QCOMPARE(settings.width(), expectedWidth);
        QCOMPARE(settings.autologin(), expectedAutologin);
        QCOMPARE(settings.height(), 720);
        QCOMPARE(settings.loginUserId(), QString());
        QCOMPARE(settings.rememberedPassword(), QString());
    }

    void theNextSignInReleasesTheEarlierUser()
    {
        QSignalSpy loggedIn(m_auth.get(), &AuthController::loggedIn);
        m_auth->login(QStringLiteral("demo"), QStringLiteral("Demo-Pass1!"));
        QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 1, 10000);
        QPointer<User> first = loggedIn.at(0).at(0).value<User *>();
        QVERIFY(first);
        m_auth->login(QStringLiteral("demo"), QStringLiteral("Demo-Pass1!"));
        QTRY_COMPARE_WITH_TIMEOUT(loggedIn.count(), 2, 10000);
        QPointer<User> second = loggedIn.at(1).at(0).value<User *>();
        QTRY_VERIFY(first.isNull());
        QVERIFY(!second.isNull());
    }

    // The user name is checked before the password, then an EU company's VAT number must have been
    // validated; by the form's check and again when registering; nothing is sent.
    void signUpChecksInOrder_data()
    {
        QTest::addColumn<QString>("username");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("username first") << QString(26, u'a') << "short"
                                        << "Username cannot be more than 25 characters in length.";
        QTest::newRow("then the password") << "ada"
                                           << "engine1843"
                                           << "Password must contain at least one special character.";
        QTest::newRow("then the VAT number") << "ada" << "Engine-1843!"
                                             << "Vat number must be validated if \"EU company\" is checked";
    }

    void signUpChecksInOrder()
    {
        QFETCH(QString, username);
        QFETCH(QString, password);
        QFETCH(QString, message);
        const QVariantMap form{{"username", username}, {"password", password}, {"email", "ada@example.org"},
                               {"euResident", true}, {"vatNumber", "DE123456789"}, {"validVat", false}};
        QVERIFY(!m_auth->checkRegistration(form));
        m_auth->registerAccount(form);
        QVERIFY(!m_auth->registerBusy());
        QCOMPARE(m_service->api().pendingCount(), 0);
        QCOMPARE(m_messages, QStringList(2, message + u'@' + QString::number(AuthController::Top)));
    }

    void overlappingVatChecksKeepTheFlagUp()
    {
        m_service->fault(QStringLiteral("get_vat_info"), QStringLiteral("delay"), 1, 500, 300);
        CountryService countries(&m_service->api(), &m_service->shell, nullptr);
        int calls = 0;
        countries.getVATInfo(QStringLiteral("DE123456789"), [&](const QVariant &) { ++calls; });
        countries.getVATInfo(QStringLiteral("RO12345678"), [&](const QVariant &) { ++calls; });
        QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 10000);
        QVERIFY(countries.gettingVATInfo());
        QTRY_COMPARE_WITH_TIMEOUT(calls, 2, 10000);
        QVERIFY(!countries.gettingVATInfo());
    }

    void vatAnswers_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<bool>("validated");
        QTest::addColumn<QString>("message");
        QTest::newRow("array") << QVariant(QVariantList{1}) << false << "Invalid EU VAT number";
        QTest::newRow("error_message")
            << QVariant(QVariantMap{{QStringLiteral("error_message"), QStringLiteral("Bad")}}) << false
            << "Bad";
        QTest::newRow("company") << QVariant(
                                        QVariantMap{{QStringLiteral("company_name"), QStringLiteral("X")}})
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
        // With no country to choose from, nothing is selected.
        QCOMPARE(CountryService::keptSelection({}, QStringLiteral("UK")), -1);
    }
};

QTEST_MAIN(TestAuthRequests)
#include "tst_authrequests.moc"
