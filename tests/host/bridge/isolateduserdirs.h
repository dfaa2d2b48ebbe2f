#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Points HOME and the XDG folders to a fresh temporary folder and cuts the session bus, so that a test
// never touches the real configuration, autostart folder or secret store. Created in main() before the
// application (QSettings remembers its folder on first use).
class IsolatedUserDirs {
public:
    IsolatedUserDirs()
    {
        const QString root = m_dir.path();
        const QString runtime = root + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("HOME", root.toUtf8());
        qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toUtf8());
        qputenv("XDG_STATE_HOME", (root + QStringLiteral("/state")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
    }

    [[nodiscard]] QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// QTEST_MAIN with the user folders isolated before the application exists.
#define VANTORIX_ISOLATED_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char *argv[])                                                                         \
    {                                                                                                        \
        IsolatedUserDirs isolatedUserDirs;                                                                   \
        QApplication app(argc, argv);                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
