// Start at login on Linux: the XDG autostart entry.

#include "autostart.h"
#include "isolateduserdirs.h"
#include "linuxplatform.h"

#include <QtTest>

class TestAutoStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(XdgAutoStart::entryPath()); }

    void entryInConfigFolder();
    void enableDetectDisable();
    void foreignEntryCountsAndIsRewritten();
    void disableWhenAbsent();
    void execValue_data();
    void execValue();
};

void TestAutoStart::entryInConfigFolder()
{
    QCOMPARE(XdgAutoStart::entryPath(),
             qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/vantorix.desktop"));
}

void TestAutoStart::enableDetectDisable()
{
    LinuxPlatform platform;
    QVERIFY(!platform.isAutoStartEnabled());

    platform.setAutoStartEnabled(true);
    QVERIFY(platform.isAutoStartEnabled());
    QFile file(XdgAutoStart::entryPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), QStringLiteral("[Desktop Entry]"));
    QVERIFY(lines.contains(QStringLiteral("Type=Application")));
    QVERIFY(lines.contains(QStringLiteral("Name=vantorix")));
    const QString exe = QCoreApplication::applicationFilePath();
    QVERIFY(QFileInfo(exe).isAbsolute());
    QVERIFY2(lines.contains(QStringLiteral("Exec=\"%1\" --start-minimized").arg(exe)),
             qPrintable(lines.join('|')));

    platform.setAutoStartEnabled(false);
    QVERIFY(!platform.isAutoStartEnabled());
    QVERIFY(!QFileInfo::exists(XdgAutoStart::entryPath()));
}

void TestAutoStart::foreignEntryCountsAndIsRewritten()
{
    const QString path = XdgAutoStart::entryPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile foreign(path);
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write("[Desktop Entry]\nExec=/somewhere/else\n");
    foreign.close();

    LinuxPlatform platform;
    QVERIFY(platform.isAutoStartEnabled());
    platform.setAutoStartEnabled(true);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), XdgAutoStart::entryText(QCoreApplication::applicationFilePath()));
}

void TestAutoStart::disableWhenAbsent()
{
    QVERIFY(XdgAutoStart::setEnabled(false));
    QVERIFY(!XdgAutoStart::isEnabled());
}

void TestAutoStart::execValue_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");
    // Quoted-argument escapes first (\" \` \$ \\), then the string escapes (\\ again), and %%.
    QTest::newRow("plain") << QStringLiteral("/usr/bin/vantorix")
                           << QStringLiteral("\"/usr/bin/vantorix\" --start-minimized");
    QTest::newRow("blank") << QStringLiteral("/opt/my app/vantorix")
                           << QStringLiteral("\"/opt/my app/vantorix\" --start-minimized");
    QTest::newRow("dollar") << QStringLiteral("/opt/a$b/v")
                            << QStringLiteral("\"/opt/a\\\\$b/v\" --start-minimized");
    QTest::newRow("backslash") << QStringLiteral("/opt/a\\b/v")
                               << QStringLiteral("\"/opt/a\\\\\\\\b/v\" --start-minimized");
    QTest::newRow("double quote") << QStringLiteral("/opt/\"q\"/v")
                                  << QStringLiteral("\"/opt/\\\\\"q\\\\\"/v\" --start-minimized");
    QTest::newRow("percent") << QStringLiteral("/opt/100%/v")
                             << QStringLiteral("\"/opt/100%%/v\" --start-minimized");
    QTest::newRow("line feed") << QStringLiteral("/opt/a\nb/v")
                               << QStringLiteral("\"/opt/a\\nb/v\" --start-minimized");
    QTest::newRow("non-ascii") << QStringLiteral("/home/jörg/vantorix")
                               << QStringLiteral("\"/home/jörg/vantorix\" --start-minimized");
}

void TestAutoStart::execValue()
{
    QFETCH(QString, path);
    QFETCH(QString, exec);
    QCOMPARE(XdgAutoStart::execValue(path), exec);
    // Whatever the path holds, the entry stays one Exec line.
    QCOMPARE(XdgAutoStart::entryText(path).count('\n'), 4);
}

VANTORIX_ISOLATED_TEST_MAIN(TestAutoStart)
#include "tst_autostart.moc"
