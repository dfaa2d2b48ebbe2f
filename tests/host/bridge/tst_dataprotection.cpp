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
    QFile::remove(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly, permissions));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    QVERIFY(file.setPermissions(permissions));
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

    void roundTrip_data();
    void roundTrip();
    void freshNonceEachTime();
    void keyFileCreatedOwnerOnly();
    void keyFileKeptAcrossRuns();
    void noSecretStoreFallsBackToKeyFile();
    void otherKeyGivesEmpty();
    void damagedTextGivesEmpty_data();
    void damagedTextGivesEmpty();
    void unusableKeyFileReplaced();
    void looseKeyFileRestricted();
    void environmentSelectsKeyFile();
};

void TestDataProtection::roundTrip_data()
{
    QTest::addColumn<QString>("secret");
    QTest::newRow("ascii") << QStringLiteral("Passw0rd!");
    QTest::newRow("non-ascii") << QStringLiteral("Pässwörd €ñ 密码 😀");
    QTest::newRow("blanks and quotes") << QStringLiteral(" a \"b\" 'c'\t");
    QTest::newRow("long") << QString(300, QLatin1Char('x'));
    QTest::newRow("single char") << QStringLiteral("z");
}

void TestDataProtection::roundTrip()
{
    QFETCH(QString, secret);
    LinuxPlatform platform;
    const QString sealed = platform.protect(secret);

    static const QRegularExpression lowerHex(QStringLiteral("^[0-9a-f]+$"));
    QVERIFY2(lowerHex.match(sealed).hasMatch(), qPrintable(sealed));
    QCOMPARE(sealed.size() % 2, 0);
    QCOMPARE(sealed.size(), 2 * (kOverhead + secret.toUtf8().size()));
    if (secret.toUtf8().size() >= 8) // a shorter text may turn up in random bytes by chance
        QVERIFY(!sealed.contains(QString::fromLatin1(secret.toUtf8().toHex())));

    QCOMPARE(platform.unprotect(sealed), secret);
    // A later run (a new object reading the stored key) opens it too.
    LinuxPlatform later;
    QCOMPARE(later.unprotect(sealed), secret);
}

void TestDataProtection::freshNonceEachTime()
{
    LinuxPlatform platform;
    const QString first = platform.protect(QStringLiteral("same"));
    const QString second = platform.protect(QStringLiteral("same"));
    QVERIFY(first != second);
    QCOMPARE(platform.unprotect(first), QStringLiteral("same"));
    QCOMPARE(platform.unprotect(second), QStringLiteral("same"));
}

void TestDataProtection::keyFileCreatedOwnerOnly()
{
    // A permissive umask must not leak into the key file's mode.
    const mode_t previous = ::umask(0);
    SecretKeyStore store(SecretKeyStore::Backend::FileOnly);
    const QByteArray key = store.key();
    ::umask(previous);

    QCOMPARE(key.size(), SecretKeyStore::kKeySize);
    const QString path = SecretKeyStore::keyFilePath();
    QVERIFY(path.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    QCOMPARE(fileMode(path), 0600);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), key);
}

void TestDataProtection::keyFileKeptAcrossRuns()
{
    SecretKeyStore first(SecretKeyStore::Backend::FileOnly);
    const QString sealed = protectionWith(first).protect(QStringLiteral("kept"));
    SecretKeyStore second(SecretKeyStore::Backend::FileOnly);
    QCOMPARE(second.key(), first.key());
    QCOMPARE(protectionWith(second).unprotect(sealed), QStringLiteral("kept"));
}

void TestDataProtection::noSecretStoreFallsBackToKeyFile()
{
    // No session bus here: the secret store cannot answer, so the key goes to the key file.
    SecretKeyStore store(SecretKeyStore::Backend::Automatic);
    const QByteArray key = store.key();
    QCOMPARE(key.size(), SecretKeyStore::kKeySize);
    QCOMPARE(fileMode(SecretKeyStore::keyFilePath()), 0600);

    SecretKeyStore fileOnly(SecretKeyStore::Backend::FileOnly);
    QCOMPARE(fileOnly.key(), key);
    const QString sealed = protectionWith(store).protect(QStringLiteral("fallback"));
    QCOMPARE(protectionWith(fileOnly).unprotect(sealed), QStringLiteral("fallback"));
}

void TestDataProtection::otherKeyGivesEmpty()
{
    QString sealed;
    {
        LinuxPlatform platform;
        sealed = platform.protect(QStringLiteral("secret"));
        QVERIFY(!sealed.isEmpty());
    }
    writeKeyFile(QByteArray(SecretKeyStore::kKeySize, '\x5a'),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    LinuxPlatform other;
    QCOMPARE(other.unprotect(sealed), QString());
    // The other key still works for what it protects itself.
    QCOMPARE(other.unprotect(other.protect(QStringLiteral("mine"))), QStringLiteral("mine"));
}

void TestDataProtection::damagedTextGivesEmpty_data()
{
    QTest::addColumn<int>("damage");
    QTest::newRow("empty") << 0;
    QTest::newRow("odd length") << 1;
    QTest::newRow("truncated") << 2;
    QTest::newRow("shorter than nonce and tag") << 3;
    QTest::newRow("one digit changed") << 4;
    QTest::newRow("not hex") << 5;
    QTest::newRow("blank inside") << 6;
    QTest::newRow("only nonce") << 7;
}

void TestDataProtection::damagedTextGivesEmpty()
{
    QFETCH(int, damage);
    LinuxPlatform platform;
    const QString sealed = platform.protect(QStringLiteral("a longer secret text"));
    QString damaged;
    switch (damage) {
    case 0:
        break;
    case 1:
        damaged = sealed.chopped(1);
        break;
    case 2:
        damaged = sealed.chopped(2);
        break;
    case 3:
        damaged = sealed.left(2 * kOverhead - 2);
        break;
    case 4: {
        damaged = sealed;
        const qsizetype at = damaged.size() - 5;
        damaged[at] = damaged.at(at) == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
        break;
    }
    case 5:
        damaged = QStringLiteral("zz") + sealed.mid(2);
        break;
    case 6:
        damaged = sealed.left(10) + QLatin1Char(' ') + sealed.mid(11);
        break;
    case 7:
        damaged = sealed.left(2 * 24);
        break;
    }
    QCOMPARE(platform.unprotect(damaged), QString());
}

void TestDataProtection::unusableKeyFileReplaced()
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

void TestDataProtection::looseKeyFileRestricted()
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

void TestDataProtection::environmentSelectsKeyFile()
{
    const QByteArray saved = qgetenv("VANTORIX_KEY_STORE");
    qputenv("VANTORIX_KEY_STORE", "file");
    QCOMPARE(SecretKeyStore::backendFromEnvironment(), SecretKeyStore::Backend::FileOnly);
    qunsetenv("VANTORIX_KEY_STORE");
    QCOMPARE(SecretKeyStore::backendFromEnvironment(), SecretKeyStore::Backend::Automatic);
    qputenv("VANTORIX_KEY_STORE", saved);
}

VANTORIX_ISOLATED_TEST_MAIN(TestDataProtection)
#include "tst_dataprotection.moc"
