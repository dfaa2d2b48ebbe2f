#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Points HOME and the XDG folders to a fresh temporary folder and cuts the session bus, so that a test
// never touches the real configuration, autostart folder or secret store. Created in main() before the
// application (QSettings remembers its folder on first use). Also what the bridge tests share.
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

private:
    QTemporaryDir m_dir;
};

// The whole file, or nothing when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The bridge tests run in one program (bridgetests.cpp), one test class after the other; each class
// registers itself with VANTORIX_BRIDGE_TEST.
inline QList<int (*)(int, char **)> &bridgeTests()
{
    static QList<int (*)(int, char **)> tests;
    return tests;
}

template <class TestClass> int runBridgeTest(int argc, char **argv)
{
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

#define VANTORIX_BRIDGE_TEST(TestClass)                                                                      \
    static const bool registered##TestClass = (bridgeTests().append(&runBridgeTest<TestClass>), true);
