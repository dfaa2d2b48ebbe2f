// Password protection on Linux: the sealed form, the round trip, the key file and what fails to open.

#include "dataprotection.h"
#include "isolateduserdirs.h"
#include "linuxplatform.h"
#include "secretkeystore.h"

#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>

namespace {

constexpr int kOverhead = 24 + 16; // nonce and authentication tag

int fileMode(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 07777);
}

void writeKeyFile(const QByteArray &bytes, QFileDevice::Permissions permissions)
{
    const QString path = SecretKeyStore::keyFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writeFile(path, bytes));
    QVERIFY(QFile::setPermissions(path, permissions));
}

DataProtection protectionWith(SecretKeyStore &store)
{
    return DataProtection([&store] { return store.key(); });
}

} // namespace

class TestDataProtection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(SecretKeyStore::keyFilePath()); }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("secret");
        QTest::newRow("ascii") << QStringLiteral("Passw0rd!");
        QTest::newRow("non-ascii") << QStringLiteral("Pässwörd €ñ 密码 😀");
        QTest::newRow("blanks and quotes") << QStringLiteral(" a \"b\" 'c'\t");
        QTest::newRow("long") << QString(300, QLatin1Char('x'));
        QTest::newRow("single char") << QStringLiteral("z");
    }

    void roundTrip()
    {
        QFETCH(QString, secret);
        LinuxPlatform platform;
        const QString sealed = platform.protect(secret);

        static const QRegularExpression lowerHex(QStringLiteral("^[0-9a-f]+$"));
        QVERIFY2(lowerHex.match(sealed).hasMatch(), qPrintable(sealed));
        QCOMPARE(sealed.size(), 2 * (kOverhead + secret.toUtf8().size()));
        if (secret.toUtf8().size() >= 8) // a shorter text may turn up in random bytes by chance
            QVERIFY(!sealed.contains(QString::fromLatin1(secret.toUtf8().toHex())));
        // A fresh nonce each time: the same secret never seals the same way twice.
        QVERIFY(platform.protect(secret) != sealed);

        // A later run reading the stored key opens it too: keyFileCreatedOwnerOnlyAndKept.
        QCOMPARE(platform.unprotect(sealed), secret);
    }

    // With no session bus the secret store cannot answer either, so the automatic choice ends at the key file
    // as well; the key is kept across runs.
    void keyFileCreatedOwnerOnlyAndKept()
    {
        // A permissive umask must not leak into the key file's mode.
        const mode_t previous = ::umask(0);
        SecretKeyStore store(SecretKeyStore::Backend::Automatic);
        const QByteArray key = store.key();
        ::umask(previous);

        QCOMPARE(key.size(), SecretKeyStore::kKeySize);
        const QString path = SecretKeyStore::keyFilePath();
        QVERIFY(path.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
        QCOMPARE(fileMode(path), 0600);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), key);

        SecretKeyStore later(SecretKeyStore::Backend::FileOnly);
        QCOMPARE(later.key(), key);
        const QString sealed = protectionWith(store).protect(QStringLiteral("kept"));
        QCOMPARE(protectionWith(later).unprotect(sealed), QStringLiteral("kept"));
    }

    void otherKeyGivesEmpty()
    {
        const QString sealed = LinuxPlatform().protect(QStringLiteral("secret"));
        QVERIFY(!sealed.isEmpty());
        writeKeyFile(QByteArray(SecretKeyStore::kKeySize, '\x5a'),
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(LinuxPlatform().unprotect(sealed), QString());
    }

    void damagedTextGivesEmpty()
    {
        LinuxPlatform platform;
        const QString sealed = platform.protect(QStringLiteral("a longer secret text"));
        QString changed = sealed;
        const qsizetype at = changed.size() - 5;
        changed[at] = changed.at(at) == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
        const QList<QPair<const char *, QString>> damaged{
            {"empty", QString()},
            {"odd length", sealed.chopped(1)},
            {"truncated", sealed.chopped(2)},
            {"shorter than nonce and tag", sealed.left(2 * kOverhead - 2)},
            {"one digit changed", changed},
            {"not hex", QStringLiteral("zz") + sealed.mid(2)},
            {"blank inside", sealed.left(10) + QLatin1Char(' ') + sealed.mid(11)},
            {"only nonce", sealed.left(2 * 24)},
        };
        for (const auto &[what, text] : damaged)
            QVERIFY2(platform.unprotect(text).isEmpty(), what);
    }

    void unusableKeyFileReplaced()
    {
        writeKeyFile(QByteArrayLiteral("short"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("Unusable data protection key file")));
        SecretKeyStore store(SecretKeyStore::Backend::FileOnly);
        QCOMPARE(store.key().size(), SecretKeyStore::kKeySize);
        QCOMPARE(fileMode(SecretKeyStore::keyFilePath()), 0600);
        QCOMPARE(protectionWith(store).unprotect(protectionWith(store).protect(QStringLiteral("ok"))),
                 QStringLiteral("ok"));
    }

    void looseKeyFileRestricted()
    {
        const QByteArray key(SecretKeyStore::kKeySize, '\x11');
        writeKeyFile(key, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                              QFileDevice::ReadOther);
        QCOMPARE(fileMode(SecretKeyStore::keyFilePath()), 0644);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("readable by others")));
        SecretKeyStore store(SecretKeyStore::Backend::FileOnly);
        QCOMPARE(store.key(), key);
        QCOMPARE(fileMode(SecretKeyStore::keyFilePath()), 0600);
    }

    void environmentSelectsKeyFile()
    {
        // The test runs with VANTORIX_KEY_STORE=file.
        QCOMPARE(SecretKeyStore::backendFromEnvironment(), SecretKeyStore::Backend::FileOnly);
        qunsetenv("VANTORIX_KEY_STORE");
        QCOMPARE(SecretKeyStore::backendFromEnvironment(), SecretKeyStore::Backend::Automatic);
        qputenv("VANTORIX_KEY_STORE", "file");
    }
};

VANTORIX_BRIDGE_TEST(TestDataProtection)
#include "tst_dataprotection.moc"
