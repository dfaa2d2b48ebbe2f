// Start at login on Linux: the XDG autostart entry.

#include "autostart.h"
#include "buildidentity.h"
#include "isolateduserdirs.h"
#include "linuxplatform.h"

#include <QtTest>

class TestAutoStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(XdgAutoStart::entryPath());
        QFile::remove(XdgAutoStart::legacyEntryPath());
    }

    void enableDetectDisable()
    {
        QCOMPARE(XdgAutoStart::entryPath(), qEnvironmentVariable("XDG_CONFIG_HOME") +
                                                QStringLiteral("/autostart/" VANTORIX_APP_ID ".desktop"));
        QVERIFY(XdgAutoStart::setEnabled(false)); // nothing to remove: still a success
        LinuxPlatform platform;
        QVERIFY(!platform.isAutoStartEnabled());

        platform.setAutoStartEnabled(true);
        QVERIFY(platform.isAutoStartEnabled());
        QFile file(XdgAutoStart::entryPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("[Desktop Entry]"));
        QVERIFY(lines.contains(QStringLiteral("Type=Application")));
        // Named and drawn like the installed menu entry; skipped by the desktop once the program is gone.
        QVERIFY(lines.contains(QStringLiteral("Name=Vantorix")));
        QVERIFY(lines.contains(QStringLiteral("Icon=" VANTORIX_APP_ID)));
        const QString exe = QCoreApplication::applicationFilePath();
        QVERIFY(QFileInfo(exe).isAbsolute());
        QVERIFY(lines.contains(QStringLiteral("TryExec=") + exe));
        QVERIFY2(lines.contains(QStringLiteral("Exec=\"%1\" --start-minimized").arg(exe)),
                 qPrintable(lines.join('|')));

        platform.setAutoStartEnabled(false);
        QVERIFY(!platform.isAutoStartEnabled());
        QVERIFY(!QFileInfo::exists(XdgAutoStart::entryPath()));
    }

    // An entry that points elsewhere, under our name or under the name an earlier version used, shows as
    // enabled; the switch replaces it with ours or removes it.
    void existingEntry_data()
    {
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<bool>("enable");
        QTest::newRow("foreign entry, switched on") << false << true;
        QTest::newRow("earlier entry, switched off") << true << false;
        QTest::newRow("earlier entry, switched on again") << true << true;
    }

    void existingEntry()
    {
        QFETCH(bool, legacy);
        QFETCH(bool, enable);
        QCOMPARE(QFileInfo(XdgAutoStart::legacyEntryPath()).fileName(), QStringLiteral("vantorix.desktop"));
        const QString path = legacy ? XdgAutoStart::legacyEntryPath() : XdgAutoStart::entryPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[Desktop Entry]\nExec=\"/old/vantorix\" --start-minimized\n");
        old.close();
        QVERIFY(XdgAutoStart::isEnabled());

        QVERIFY(XdgAutoStart::setEnabled(enable));
        QVERIFY(!QFileInfo::exists(XdgAutoStart::legacyEntryPath()));
        QCOMPARE(XdgAutoStart::isEnabled(), enable);
        QFile entry(XdgAutoStart::entryPath());
        QCOMPARE(entry.open(QIODevice::ReadOnly), enable);
        if (enable)
            QCOMPARE(entry.readAll(), XdgAutoStart::entryText(QCoreApplication::applicationFilePath()));
    }

    void execValue_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QString>("tryExec");
        // Exec: quoted-argument escapes first (\" \` \$ \\), then the string escapes (\\ again), and %%.
        // TryExec is a plain string: only the string escapes, % stays as it is.
        QTest::newRow("plain") << QStringLiteral("/usr/bin/vantorix")
                               << QStringLiteral("\"/usr/bin/vantorix\" --start-minimized")
                               << QStringLiteral("/usr/bin/vantorix");
        QTest::newRow("blank") << QStringLiteral("/opt/my app/vantorix")
                               << QStringLiteral("\"/opt/my app/vantorix\" --start-minimized")
                               << QStringLiteral("/opt/my app/vantorix");
        QTest::newRow("dollar") << QStringLiteral("/opt/a$b/v")
                                << QStringLiteral("\"/opt/a\\\\$b/v\" --start-minimized")
                                << QStringLiteral("/opt/a$b/v");
        QTest::newRow("backslash") << QStringLiteral("/opt/a\\b/v")
                                   << QStringLiteral("\"/opt/a\\\\\\\\b/v\" --start-minimized")
                                   << QStringLiteral("/opt/a\\\\b/v");
        QTest::newRow("double quote")
            << QStringLiteral("/opt/\"q\"/v") << QStringLiteral("\"/opt/\\\\\"q\\\\\"/v\" --start-minimized")
            << QStringLiteral("/opt/\"q\"/v");
        QTest::newRow("percent") << QStringLiteral("/opt/100%/v")
                                 << QStringLiteral("\"/opt/100%%/v\" --start-minimized")
                                 << QStringLiteral("/opt/100%/v");
        QTest::newRow("line feed") << QStringLiteral("/opt/a\nb/v")
                                   << QStringLiteral("\"/opt/a\\nb/v\" --start-minimized")
                                   << QStringLiteral("/opt/a\\nb/v");
        QTest::newRow("non-ascii") << QStringLiteral("/home/jörg/vantorix")
                                   << QStringLiteral("\"/home/jörg/vantorix\" --start-minimized")
                                   << QStringLiteral("/home/jörg/vantorix");
    }

    void execValue()
    {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QFETCH(QString, tryExec);
        QCOMPARE(XdgAutoStart::execValue(path), exec);
        // Whatever the path holds, the entry keeps its six lines.
        const QStringList lines = QString::fromUtf8(XdgAutoStart::entryText(path)).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 7);
        QVERIFY(lines.contains(QStringLiteral("TryExec=") + tryExec));
        QVERIFY(lines.contains(QStringLiteral("Exec=") + exec));
    }
};

VANTORIX_BRIDGE_TEST(TestAutoStart)
#include "tst_autostart.moc"
