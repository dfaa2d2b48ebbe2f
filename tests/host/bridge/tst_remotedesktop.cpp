// Remote Desktop launch on Linux with a fake client that records its arguments, environment and input.

#include "isolateduserdirs.h"
#include "linuxplatform.h"
#include "remotedesktoplauncher.h"

#include <QtTest>

namespace {

// Log lines, kept for a test to wait on (the launcher logs how each client ended), then passed on.
QStringList loggedLines;
QtMessageHandler previousHandler = nullptr;

void keepLogLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    loggedLines << message;
    if (previousHandler)
        previousHandler(type, context, message);
}

// What one run of the fake client saw.
struct Recording {
    unsigned int result = 0; // what the launch returned
    QStringList arguments;
    QByteArray environment;
    QByteArray input;
    QByteArray file; // the connection file as the client found it (it is removed once the client ends)
    QByteArray mode; // its permissions, in octal
};

} // namespace

class TestRemoteDesktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_client = m_dir.filePath(QStringLiteral("fake-client.sh"));
        QFile script(m_client);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "out=\"$FAKE_RDP_RECORD\"\n"
                     "mkdir -p \"$out\"\n"
                     "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out/args\"\n"
                     "env > \"$out/env\"\n"
                     "cat > \"$out/stdin\"\n"
                     "cp \"$1\" \"$out/file\"\n"
                     "stat -c %a \"$1\" > \"$out/mode\"\n"
                     "touch \"$out/done\"\n"
                     "case \"$FAKE_RDP_EXIT\" in\n"
                     "  '') ;;\n"
                     "  crash) kill -SEGV $$ ;;\n"
                     "  *) exit \"$FAKE_RDP_EXIT\" ;;\n"
                     "esac\n");
        script.close();
        QVERIFY(
            script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        qputenv("VANTORIX_RDP_CLIENT", QFile::encodeName(m_client));
    }

    void cleanup()
    {
        for (const QString &path : std::as_const(m_connectionFiles))
            QFile::remove(path);
        m_connectionFiles.clear();
    }

    void splitPassword_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileText");
        QTest::addColumn<QString>("password");

        // A password line in the middle of CRLF lines, and a text without one, are launch rows below.
        QTest::newRow("password last") << QStringLiteral("full address:s:h\r\npassword 51:b:ff")
                                       << QStringLiteral("full address:s:h\r\n") << QStringLiteral("ff");
        QTest::newRow("line feeds only") << QStringLiteral("a:s:1\npassword 51:b:cd\nb:s:2\n")
                                         << QStringLiteral("a:s:1\nb:s:2\n") << QStringLiteral("cd");
        QTest::newRow("other case and blanks") << QStringLiteral("  Password 51:B:ab12 \r\nx:s:y")
                                               << QStringLiteral("x:s:y") << QStringLiteral("ab12");
        QTest::newRow("two password lines") << QStringLiteral("password 51:b:11\r\npassword 51:b:22\r\nx:s:y")
                                            << QStringLiteral("x:s:y") << QStringLiteral("11");
        QTest::newRow("similar key kept") << QStringLiteral("password:s:abc\r\nx:s:y")
                                          << QStringLiteral("password:s:abc\r\nx:s:y") << QString();
        QTest::newRow("empty") << QString() << QString() << QString();
    }

    void splitPassword()
    {
        QFETCH(QString, text);
        QFETCH(QString, fileText);
        QFETCH(QString, password);
        const RemoteDesktopLauncher::Split split = RemoteDesktopLauncher::splitPassword(text);
        QCOMPARE(split.fileText, fileText);
        QCOMPARE(split.protectedPassword, password);
    }

    // Each row is launched for real. A password (sealed into the text at %1) reaches the client on standard
    // input only: never in its arguments, its environment or the connection file. Values that look like
    // FreeRDP options stay inside the file; the display lines become FreeRDP's own options, after the others.
    void launch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("fileText");
        QTest::addColumn<QStringList>("notInArguments");
        QTest::addColumn<QStringList>("lastArguments");

        const QString withPassword =
            QStringLiteral("full address:s:10.0.0.5\r\nusername:s:Administrator\r\npassword "
                           "51:b:%1\r\nremoteapplicationmode:i:0");
        const QString kept = QStringLiteral(
            "full address:s:10.0.0.5\r\nusername:s:Administrator\r\nremoteapplicationmode:i:0");
        for (const QString &password : {QStringLiteral("S3cret!pass"), QStringLiteral("pässwörd ü€ 密码"),
                                        QStringLiteral("a b $HOME `x` \"q\" ;|&")})
            QTest::addRow("password %s", qPrintable(password))
                << withPassword << password << kept << QStringList{password} << QStringList();
        const QString optionLike = QStringLiteral("full address:s:/drive:home,/\r\nusername:s:+clipboard");
        QTest::newRow("option-like values")
            << optionLike << QString() << optionLike << QStringList{"drive", "clipboard"} << QStringList();
        QTest::newRow("display settings")
            << QStringLiteral("full address:s:10.0.0.5\r\nusername:s:alice\r\nscreen mode id:i:1\r\n"
                              "desktopwidth:i:1600\r\ndesktopheight:i:900\r\ndynamic resolution:i:1\r\n"
                              "desktopscalefactor:i:150")
            << QString() << QString() << QStringList()
            << QStringList{"/size:1600x900", "/dynamic-resolution", "/scale-desktop:150"};
        // A password that cannot be unprotected is left out; the client asks for it.
        QTest::newRow("undecryptable password")
            << QStringLiteral("full address:s:h\r\npassword 51:b:00112233\r\nusername:s:u") << QString()
            << QStringLiteral("full address:s:h\r\nusername:s:u") << QStringList() << QStringList();
    }

    void launch()
    {
        QFETCH(QString, text);
        QFETCH(QString, password);
        QFETCH(QString, fileText);
        QFETCH(QStringList, notInArguments);
        QFETCH(QStringList, lastArguments);
        const QString sealed = password.isEmpty() ? QString() : LinuxPlatform().protect(password);
        if (!password.isEmpty())
            text = text.arg(sealed);
        else if (text.contains(QLatin1String("password 51")))
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("could not be unprotected")));

        const Recording run = runClient(text);
        QCOMPARE(run.result, 33u);
        QVERIFY(run.arguments.size() >= 2);
        // Each launch has a file of its own, which goes once its client has ended.
        const QString file = run.arguments.constFirst();
        QVERIFY(!m_usedFiles.contains(file));
        m_usedFiles << file;
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(file), 10000);
        QCOMPARE(QFileInfo(file).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        QVERIFY2(QFileInfo(file).fileName().startsWith(QLatin1String("vantorix.")), qPrintable(file));
        QVERIFY(file.endsWith(QLatin1String(".rdp")));
        QCOMPARE(run.mode, QByteArray("600"));
        if (!fileText.isNull())
            QCOMPARE(QString::fromUtf8(run.file), fileText);
        if (!lastArguments.isEmpty())
            QCOMPARE(run.arguments.mid(run.arguments.size() - lastArguments.size()), lastArguments);
        for (const QString &argument : std::as_const(run.arguments)) {
            for (const QString &absent : std::as_const(notInArguments))
                QVERIFY2(!argument.contains(absent), qPrintable(argument));
        }

        QCOMPARE(run.arguments.filter(QStringLiteral("from-stdin")),
                 password.isEmpty() ? QStringList() : QStringList{QStringLiteral("/from-stdin:force")});
        const QByteArray utf8 = password.toUtf8();
        QCOMPARE(run.input, password.isEmpty() ? QByteArray() : utf8 + '\n');
        // The connection file is compared whole above, so neither form of the password is in it.
        if (!password.isEmpty())
            QVERIFY(!run.environment.contains(utf8));
    }

    void missingClientNotStarted()
    {
        const QByteArray saved = qgetenv("VANTORIX_RDP_CLIENT");
        qputenv("VANTORIX_RDP_CLIENT", QFile::encodeName(m_dir.filePath(QStringLiteral("no-such-client"))));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Could not start")));
        LinuxPlatform platform;
        QCOMPARE(platform.startRemoteDesktop(QStringLiteral("full address:s:h")), 2u);
        qputenv("VANTORIX_RDP_CLIENT", saved);
    }

    void earlyFailureReported_data()
    {
        QTest::addColumn<QByteArray>("exit");
        QTest::addColumn<QString>("reason");
        QTest::newRow("connected, then ended") << QByteArray("0") << QString();
        QTest::newRow("disconnected by the user") << QByteArray("12") << QString();
        QTest::newRow("credentials refused")
            << QByteArray("132") << QStringLiteral("the user name or password was refused");
        QTest::newRow("dropped during sign-in")
            << QByteArray("147")
            << QStringLiteral(
                   "the computer closed the connection during sign-in (the password may be wrong)");
        QTest::newRow("unreachable") << QByteArray("131")
                                     << QStringLiteral("the computer could not be reached");
        QTest::newRow("unknown code")
            << QByteArray("77") << QStringLiteral("the Remote Desktop client ended with code 77");
        QTest::newRow("crashed") << QByteArray("crash")
                                 << QStringLiteral("the Remote Desktop client stopped unexpectedly");
    }

    void earlyFailureReported()
    {
        QFETCH(QByteArray, exit);
        QFETCH(QString, reason);
        qputenv("FAKE_RDP_EXIT", exit);
        qputenv("FAKE_RDP_RECORD", QFile::encodeName(m_dir.filePath(QStringLiteral("early"))));
        loggedLines.clear();
        previousHandler = qInstallMessageHandler(keepLogLine);
        LinuxPlatform platform;
        QStringList reasons;
        const unsigned int result =
            platform.startRemoteDesktop(QStringLiteral("full address:s:h\r\nusername:s:u"),
                                        [&reasons](const QString &why) { reasons << why; });
        const auto ended = [] {
            return std::any_of(loggedLines.cbegin(), loggedLines.cend(), [](const QString &line) {
                return line.contains(QLatin1String("Remote Desktop client ended"));
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 60000);
        qInstallMessageHandler(previousHandler);
        qunsetenv("FAKE_RDP_EXIT");
        QCOMPARE(result, 33u);
        QCOMPARE(reasons, reason.isEmpty() ? QStringList() : QStringList{reason});
    }

private:
    // Runs one launch with its own recording folder and waits until the fake client has finished.
    Recording runClient(const QString &text)
    {
        Recording run;
        const QString out = m_dir.filePath(QStringLiteral("run%1").arg(++m_runs));
        qputenv("FAKE_RDP_RECORD", QFile::encodeName(out));
        run.result = LinuxPlatform().startRemoteDesktop(text);
        if (!QTest::qWaitFor([&] { return QFileInfo::exists(out + QStringLiteral("/done")); }, 60000))
            return run;
        run.arguments = QString::fromUtf8(readAll(out + QStringLiteral("/args"))).split(QLatin1Char('\n'));
        run.arguments.removeLast(); // after the last line feed
        run.environment = readAll(out + QStringLiteral("/env"));
        run.input = readAll(out + QStringLiteral("/stdin"));
        run.file = readAll(out + QStringLiteral("/file"));
        run.mode = readAll(out + QStringLiteral("/mode")).trimmed();
        m_connectionFiles << run.arguments.value(0);
        return run;
    }

    QTemporaryDir m_dir;
    QString m_client;
    QStringList m_connectionFiles;
    QStringList m_usedFiles;
    int m_runs = 0;
};

VANTORIX_BRIDGE_TEST(TestRemoteDesktop)
#include "tst_remotedesktop.moc"
