// The window's settings: the remembered password is only ever stored protected, and what cannot be
// unprotected counts as no password.

#include "testprotector.h"
#include "ui/loginsettings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLoginSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    TestProtector m_protector;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("vantorix-test"));
        QCoreApplication::setApplicationName(QStringLiteral("loginsettings"));
    }

    void init()
    {
        QSettings().clear();
        m_protector.failing = false;
    }

    void thePasswordIsStoredProtected()
    {
        LoginSettings settings(&m_protector, nullptr);
        QSignalSpy spy(&settings, &LoginSettings::loginPasswordChanged);
        settings.rememberCredentials(QStringLiteral("ada@example.org"), QStringLiteral("Engine-1843!"));
        const QString stored = QSettings().value(QStringLiteral("loginPassword")).toString();
        QVERIFY(!stored.isEmpty());
        QVERIFY(!stored.contains(QLatin1String("Engine")));
        QCOMPARE(settings.rememberedPassword(), QStringLiteral("Engine-1843!"));
        QCOMPARE(QSettings().value(QStringLiteral("loginUserId")).toString(), QStringLiteral("ada@example.org"));
        QCOMPARE(spy.count(), 1);
        // A second object (the next start) reads it back.
        LoginSettings next(&m_protector, nullptr);
        QCOMPARE(next.rememberedPassword(), QStringLiteral("Engine-1843!"));
    }

    void aPasswordThatCannotBeProtectedIsNotStored()
    {
        m_protector.failing = true;
        LoginSettings settings(&m_protector, nullptr);
        settings.rememberCredentials(QStringLiteral("ada"), QStringLiteral("Engine-1843!"));
        QCOMPARE(QSettings().value(QStringLiteral("loginPassword")).toString(), QString());
        QCOMPARE(settings.loginUserId(), QStringLiteral("ada"));
        LoginSettings withoutProtector(nullptr, nullptr);
        withoutProtector.rememberCredentials(QStringLiteral("ada"), QStringLiteral("Engine-1843!"));
        QCOMPARE(QSettings().value(QStringLiteral("loginPassword")).toString(), QString());
    }

    void aStoredValueThatCannotBeUnprotectedIsNoPassword_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("clear text of an old version") << "Engine-1843!";
        QTest::newRow("damaged") << "p:zz";
        QTest::newRow("empty") << "";
    }

    void aStoredValueThatCannotBeUnprotectedIsNoPassword()
    {
        QFETCH(QString, stored);
        QSettings().setValue(QStringLiteral("loginPassword"), stored);
        LoginSettings settings(&m_protector, nullptr);
        QCOMPARE(settings.rememberedPassword(), QString());
    }

    void reloadSeesOtherWriters()
    {
        LoginSettings settings(&m_protector, nullptr);
        settings.rememberCredentials(QStringLiteral("ada"), QStringLiteral("Engine-1843!"));
        QSignalSpy spy(&settings, &LoginSettings::loginPasswordChanged);
        QSettings().setValue(QStringLiteral("loginPassword"), QString()); // the session signs out
        settings.reload();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(settings.rememberedPassword(), QString());
        QCOMPARE(settings.loginUserId(), QStringLiteral("ada"));
    }

    void storedValuesAreReadLeniently_data()
    {
        QTest::addColumn<QVariant>("width");
        QTest::addColumn<QVariant>("autologin");
        QTest::addColumn<int>("expectedWidth");
        QTest::addColumn<bool>("expectedAutologin");
        QTest::newRow("nothing stored: defaults") << QVariant() << QVariant() << 1200 << false;
        QTest::newRow("normal") << QVariant(900) << QVariant(true) << 900 << true;
        QTest::newRow("texts") << QVariant(QStringLiteral("900")) << QVariant(QStringLiteral("true")) << 900 << true;
        QTest::newRow("garbage") << QVariant(QStringLiteral("wide")) << QVariant(QStringLiteral("x")) << 1200 << false;
        QTest::newRow("negative") << QVariant(-5) << QVariant(false) << 1200 << false;
    }

    void storedValuesAreReadLeniently()
    {
        QFETCH(QVariant, width);
        QFETCH(QVariant, autologin);
        QFETCH(int, expectedWidth);
        QFETCH(bool, expectedAutologin);
        if (width.isValid()) {
            QSettings().setValue(QStringLiteral("width"), width);
            QSettings().setValue(QStringLiteral("autologin"), autologin);
        }
        LoginSettings settings(&m_protector, nullptr);
        QCOMPARE(settings.width(), expectedWidth);
        QCOMPARE(settings.autologin(), expectedAutologin);
        QCOMPARE(settings.height(), 720);
        QCOMPARE(settings.loginUserId(), QString());
        QCOMPARE(settings.rememberedPassword(), QString());
    }

    void writesGoToTheStoreAtOnce()
    {
        LoginSettings settings(&m_protector, nullptr);
        settings.setWidth(1000);
        settings.setHeight(750);
        settings.setAutologin(true);
        QCOMPARE(QSettings().value(QStringLiteral("width")).toInt(), 1000);
        QCOMPARE(QSettings().value(QStringLiteral("height")).toInt(), 750);
        QCOMPARE(QSettings().value(QStringLiteral("autologin")).toBool(), true);
    }
};

QTEST_GUILESS_MAIN(TestLoginSettings)
#include "tst_loginsettings.moc"
