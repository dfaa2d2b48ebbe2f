// Leaves a remembered sign-in in the client's settings store, the way the client leaves it after a sign-in:
// the user id, the password protected with the per-user key of the key file, automatic sign-in on. The
// signed-in benchmarks start the real program on such a store, so that it signs in by itself.
//
//   bench_seed_login <user-id> [refresh-seconds] [previews 0|1]   (the password on standard input)
//
// Run it with the same HOME/XDG_CONFIG_HOME as the program and VANTORIX_KEY_STORE=file. The password is
// read from standard input only, never from the arguments or the environment.

#include "dataprotection.h"
#include "secretkeystore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTextStream>

#include <cmath>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("vantorix"));
    QCoreApplication::setApplicationName(QStringLiteral("vantorix"));
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_seed_login <user-id> [refresh-seconds] [previews 0|1] < password\n");
        return 2;
    }

    QTextStream in(stdin);
    const QString password = in.readLine();
    if (password.isEmpty()) {
        std::fprintf(stderr, "no password on standard input\n");
        return 2;
    }

    SecretKeyStore keyStore(SecretKeyStore::Backend::FileOnly);
    const DataProtection protection([&keyStore] { return keyStore.key(); });
    const QString sealed = protection.protect(password);
    if (sealed.isEmpty() || protection.unprotect(sealed) != password) {
        std::fprintf(stderr, "the password could not be protected\n");
        return 1;
    }

    QSettings store;
    store.setValue(QStringLiteral("loginUserId"), args.at(1));
    store.setValue(QStringLiteral("loginPassword"), sealed);
    store.setValue(QStringLiteral("autologin"), true);
    if (args.size() > 2) {
        // The refresh interval is kept as the decimal logarithm of milliseconds.
        const double seconds = args.at(2).toDouble();
        if (seconds > 0)
            store.setValue(QStringLiteral("refreshRate"), std::log10(seconds * 1000.0));
    }
    if (args.size() > 3)
        store.setValue(QStringLiteral("enableDesktopPreviews"), args.at(3) != QLatin1String("0"));
    store.sync();
    return store.status() == QSettings::NoError ? 0 : 1;
}
