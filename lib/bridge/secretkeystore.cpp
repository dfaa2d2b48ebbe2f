#include "secretkeystore.h"

#include "logging.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <qt6keychain/keychain.h>
#include <sodium.h>

namespace {

const QString kKeychainService = QStringLiteral("vantorix");
const QString kKeychainEntry = QStringLiteral("data-protection-key");
const QString kKeyFileName = QStringLiteral("data-protection.key");

// A secret store that shows an unlock prompt may take a while; one that is missing answers at once.
constexpr int kKeychainTimeoutMs = 20000;

constexpr QFileDevice::Permissions kGroupOrOther = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                   QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                   QFileDevice::WriteOther | QFileDevice::ExeOther;

// Runs a keychain job to its end in a local event loop. False on timeout: the job then cleans up after
// itself whenever it finishes.
bool runJob(QKeychain::Job *job)
{
    job->setAutoDelete(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&finished, &loop] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(kKeychainTimeoutMs, &loop, &QEventLoop::quit);
    job->start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!finished) {
        job->setAutoDelete(true);
        return false;
    }
    job->deleteLater();
    return true;
}

} // namespace

SecretKeyStore::SecretKeyStore(Backend backend) : m_backend(backend)
{
}

SecretKeyStore::~SecretKeyStore()
{
    if (!m_key.isEmpty())
        sodium_memzero(m_key.data(), static_cast<size_t>(m_key.size()));
}

SecretKeyStore::Backend SecretKeyStore::backendFromEnvironment()
{
    return qEnvironmentVariable("VANTORIX_KEY_STORE").compare(QLatin1String("file"), Qt::CaseInsensitive) == 0
               ? Backend::FileOnly
               : Backend::Automatic;
}

QString SecretKeyStore::keyFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QLatin1Char('/') +
           kKeyFileName;
}

QByteArray SecretKeyStore::key()
{
    if (m_key.isEmpty())
        m_key = loadKey();
    return m_key;
}

QByteArray SecretKeyStore::loadKey()
{
    if (m_backend == Backend::FileOnly)
        return loadOrCreateKeyFile();

    QByteArray key;
    switch (readKeychain(&key)) {
    case KeychainResult::Found:
        if (key.size() == kKeySize)
            return key;
        qCWarning(lcHost) << "The data protection key in the secret store is damaged; making a new one";
        break;
    case KeychainResult::NotFound:
        break;
    case KeychainResult::Unavailable:
        qCInfo(lcHost) << "No secret store answered; the data protection key is kept in" << keyFilePath();
        return loadOrCreateKeyFile();
    }

    // The store answered but holds no usable key. A key file from a run without a store stays in use,
    // so that what was protected then can still be read.
    const QByteArray fileKey = readKeyFile();
    if (!fileKey.isEmpty())
        return fileKey;

    key = newRandomKey();
    if (key.isEmpty())
        return {};
    if (writeKeychain(key))
        return key;
    qCWarning(lcHost) << "Could not store the data protection key in the secret store; using a key file";
    return loadOrCreateKeyFile();
}

SecretKeyStore::KeychainResult SecretKeyStore::readKeychain(QByteArray *key) const
{
    auto *job = new QKeychain::ReadPasswordJob(kKeychainService);
    job->setKey(kKeychainEntry);
    if (!runJob(job)) {
        qCWarning(lcHost) << "The secret store did not answer in time";
        return KeychainResult::Unavailable;
    }
    switch (job->error()) {
    case QKeychain::NoError:
        *key = job->binaryData();
        return KeychainResult::Found;
    case QKeychain::EntryNotFound:
        return KeychainResult::NotFound;
    default:
        qCDebug(lcHost) << "Secret store unavailable:" << job->errorString();
        return KeychainResult::Unavailable;
    }
}

bool SecretKeyStore::writeKeychain(const QByteArray &key) const
{
    auto *job = new QKeychain::WritePasswordJob(kKeychainService);
    job->setKey(kKeychainEntry);
    job->setBinaryData(key);
    if (!runJob(job))
        return false;
    if (job->error() != QKeychain::NoError) {
        qCDebug(lcHost) << "Secret store write failed:" << job->errorString();
        return false;
    }
    return true;
}

QByteArray SecretKeyStore::readKeyFile()
{
    QFile file(keyFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray key = file.read(kKeySize + 1);
    if (key.size() != kKeySize)
        return {};
    if (file.permissions() & kGroupOrOther) {
        qCWarning(lcHost) << "The data protection key file was readable by others; restricting it:"
                          << file.fileName();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return key;
}

QByteArray SecretKeyStore::loadOrCreateKeyFile()
{
    const QString path = keyFilePath();
    if (QFileInfo::exists(path)) {
        const QByteArray existing = readKeyFile();
        if (!existing.isEmpty())
            return existing;
        qCWarning(lcHost) << "Unusable data protection key file, replacing it:" << path;
        if (!QFile::remove(path)) {
            qCWarning(lcHost) << "Could not remove" << path;
            return {};
        }
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qCWarning(lcHost) << "Could not create the folder of" << path;
        return {};
    }

    const QByteArray key = newRandomKey();
    if (key.isEmpty())
        return {};
    QFile file(path);
    // Owner-only from the moment the file exists; NewOnly (O_EXCL) neither reuses nor follows a file that
    // appeared in the meantime.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        const QByteArray other = readKeyFile();
        if (!other.isEmpty())
            return other;
        qCWarning(lcHost) << "Could not create the data protection key file" << path << file.errorString();
        return {};
    }
    if (file.write(key) != key.size() || !file.flush()) {
        qCWarning(lcHost) << "Could not write the data protection key file" << path << file.errorString();
        file.close();
        file.remove();
        return {};
    }
    file.close();
    return key;
}

QByteArray SecretKeyStore::newRandomKey()
{
    if (sodium_init() < 0) {
        qCWarning(lcHost) << "libsodium could not be initialised";
        return {};
    }
    QByteArray key(kKeySize, Qt::Uninitialized);
    randombytes_buf(key.data(), static_cast<size_t>(key.size()));
    return key;
}
