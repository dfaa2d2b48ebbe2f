#include "appearance.h"
#include "rendererchoice.h"
#include "rendererprobe.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using Assignments = Appearance::Assignments;

class TestAppearance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void compute_data()
    {
        QTest::addColumn<QString>("storedTheme");
        QTest::addColumn<QString>("storedVariant");
        QTest::addColumn<QString>("storedScale");
        QTest::addColumn<QStringList>("inherited"); // NAME=value entries
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<bool>("darkPalette");

        QTest::newRow("defaults: Dark puts the palette") << "Dark"
                                                         << "Dense"
                                                         << "1" << QStringList() << "Dark"
                                                         << "Dense"
                                                         << "1" << true;
        QTest::newRow("stored Light: no palette") << "Light"
                                                  << "Dense"
                                                  << "1" << QStringList() << "Light"
                                                  << "Dense"
                                                  << "1" << false;
        QTest::newRow("any other text counts as dark") << "Solarized"
                                                       << "Dense"
                                                       << "1" << QStringList() << "Solarized"
                                                       << "Dense"
                                                       << "1" << true;
        QTest::newRow("Light is case-sensitive") << "light"
                                                 << "Dense"
                                                 << "1" << QStringList() << "light"
                                                 << "Dense"
                                                 << "1" << true;
        QTest::newRow("inherited Light wins over stored Dark")
            << "Dark"
            << "Dense"
            << "1" << QStringList{"QT_QUICK_CONTROLS_MATERIAL_THEME=Light"} << "Light"
            << "Dense"
            << "1" << false;
        QTest::newRow("inherited Dark wins over stored Light")
            << "Light"
            << "Dense"
            << "1" << QStringList{"QT_QUICK_CONTROLS_MATERIAL_THEME=Dark"} << "Dark"
            << "Dense"
            << "1" << true;
        QTest::newRow("empty inherited theme does not win")
            << "Light"
            << "Dense"
            << "1" << QStringList{"QT_QUICK_CONTROLS_MATERIAL_THEME="} << "Light"
            << "Dense"
            << "1" << false;
        QTest::newRow("inherited variant wins")
            << "Light"
            << "Dense"
            << "1" << QStringList{"QT_QUICK_CONTROLS_MATERIAL_VARIANT=Normal"} << "Light"
            << "Normal"
            << "1" << false;
        QTest::newRow("inherited scale factor is always replaced")
            << "Light"
            << "Dense"
            << "1.3" << QStringList{"QT_SCALE_FACTOR=2"} << "Light"
            << "Dense"
            << "1.3" << false;
    }

    void compute()
    {
        QFETCH(QString, storedTheme);
        QFETCH(QString, storedVariant);
        QFETCH(QString, storedScale);
        QFETCH(QStringList, inherited);
        QFETCH(QString, theme);
        QFETCH(QString, variant);
        QFETCH(QString, scale);
        QFETCH(bool, darkPalette);

        QProcessEnvironment env;
        for (const QString &entry : inherited)
            env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        // Inherited palette values are replaced by the dark palette, and left alone otherwise.
        env.insert(QStringLiteral("QT_QUICK_CONTROLS_MATERIAL_ACCENT"), QStringLiteral("#123456"));

        const Appearance::Stored stored{storedScale, storedVariant, storedTheme};
        const Assignments out = Appearance::compute(stored, env);

        QHash<QByteArray, QByteArray> put;
        QList<QByteArray> order;
        for (const auto &[name, value] : out) {
            put.insert(name, value);
            order.append(name);
        }
        QCOMPARE(put.value("QT_SCALE_FACTOR"), scale.toUtf8());
        QCOMPARE(put.value("QT_QUICK_CONTROLS_MATERIAL_VARIANT"), variant.toUtf8());
        QCOMPARE(put.value("QT_QUICK_CONTROLS_MATERIAL_THEME"), theme.toUtf8());
        QCOMPARE(order.mid(0, 3), (QList<QByteArray>{"QT_SCALE_FACTOR", "QT_QUICK_CONTROLS_MATERIAL_VARIANT",
                                                     "QT_QUICK_CONTROLS_MATERIAL_THEME"}));
        if (darkPalette) {
            QCOMPARE(out.size(), 7);
            QCOMPARE(put.value("QT_QUICK_CONTROLS_MATERIAL_ACCENT"), QByteArray("#0060b2"));
            QCOMPARE(put.value("QT_QUICK_CONTROLS_MATERIAL_PRIMARY"), QByteArray("light gray"));
            QCOMPARE(put.value("QT_QUICK_CONTROLS_MATERIAL_FOREGROUND"), QByteArray("light gray"));
            QCOMPARE(put.value("QT_QUICK_CONTROLS_MATERIAL_BACKGROUND"), QByteArray("#1a1a1a"));
        } else {
            QCOMPARE(out.size(), 3);
        }
    }

    void rendererChoice_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("backendVariable"); // QT_QUICK_BACKEND, not put when empty
        QTest::addColumn<QString>(
            "rememberedFor"); // the fingerprint of the remembered probe, none when empty
        QTest::addColumn<bool>("rememberedSoftware");
        QTest::addColumn<int>("action");

        const int keep = int(RendererChoice::Action::KeepQtDefault);
        const int software = int(RendererChoice::Action::UseSoftware);
        const int probe = int(RendererChoice::Action::Probe);
        QTest::newRow("first start probes") << ""
                                            << ""
                                            << "" << false << probe;
        QTest::newRow("remembered software for this driver") << "Automatic"
                                                             << ""
                                                             << "this" << true << software;
        QTest::newRow("remembered hardware for this driver") << "Automatic"
                                                             << ""
                                                             << "this" << false << keep;
        QTest::newRow("another driver probes again") << "Automatic"
                                                     << ""
                                                     << "other" << true << probe;
        QTest::newRow("unknown setting counts as automatic") << "Vulkan"
                                                             << ""
                                                             << "this" << true << software;
        QTest::newRow("setting Hardware wins") << "Hardware"
                                               << ""
                                               << "this" << true << keep;
        QTest::newRow("setting Software wins") << "Software"
                                               << ""
                                               << "this" << false << software;
        QTest::newRow("QT_QUICK_BACKEND wins over the setting") << "Software"
                                                                << "rhi"
                                                                << "" << false << keep;
        QTest::newRow("QT_QUICK_BACKEND wins over the probe") << ""
                                                              << "software"
                                                              << "" << false << keep;
    }

    void rendererChoice()
    {
        QFETCH(QString, setting);
        QFETCH(QString, backendVariable);
        QFETCH(QString, rememberedFor);
        QFETCH(bool, rememberedSoftware);
        QFETCH(int, action);

        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        if (!setting.isEmpty())
            settings.setValue(QStringLiteral("rendering"), setting);
        if (!rememberedFor.isEmpty())
            RendererChoice::writeRemembered(settings, {rememberedFor, rememberedSoftware});
        QProcessEnvironment env;
        if (!backendVariable.isEmpty())
            env.insert(QStringLiteral("QT_QUICK_BACKEND"), backendVariable);
        const auto decided =
            RendererChoice::decide(RendererChoice::readMode(settings), env,
                                   RendererChoice::readRemembered(settings), QStringLiteral("this"));
        QCOMPARE(int(decided), action);
    }

    void softwareRenderers_data()
    {
        QTest::addColumn<QString>("renderer");
        QTest::addColumn<bool>("software");
        QTest::newRow("llvmpipe") << "llvmpipe (LLVM 15.0.6, 256 bits)" << true;
        QTest::newRow("softpipe") << "softpipe" << true;
        QTest::newRow("swrast") << "Mesa DRI swrast" << true;
        QTest::newRow("classic software rasterizer") << "Software Rasterizer" << true;
        QTest::newRow("Windows basic render driver") << "Microsoft Basic Render Driver" << true;
        QTest::newRow("Windows GDI") << "GDI Generic" << true;
        QTest::newRow("virtual machine GPU") << "virgl (AMD Radeon RX 6600)" << false;
        QTest::newRow("Intel") << "Mesa Intel(R) UHD Graphics 620 (KBL GT2)" << false;
        QTest::newRow("NVIDIA") << "NVIDIA GeForce GTX 1060/PCIe/SSE2" << false;
        QTest::newRow("VMware SVGA") << "SVGA3D; build: RELEASE; LLVM;" << false;
        QTest::newRow("empty") << "" << false;
    }

    void softwareRenderers()
    {
        QFETCH(QString, renderer);
        QFETCH(bool, software);
        QCOMPARE(RendererChoice::isSoftwareRenderer(renderer), software);
    }

    // The remembered probe is asked again only when the driver may differ: not for a new display number
    // (a remote session gets one at each login), but for a remote session or a driver override.
    void driverFingerprint_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("same");
        QTest::newRow("another display number") << "DISPLAY"
                                                << ":12" << true;
        QTest::newRow("a remote session") << "SSH_CONNECTION"
                                          << "10.0.0.2 5122 10.0.0.1 22" << false;
        QTest::newRow("a driver override") << "GALLIUM_DRIVER"
                                           << "llvmpipe" << false;
    }
    void driverFingerprint()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QProcessEnvironment local;
        local.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
        QProcessEnvironment other = local;
        other.insert(name, value);
        QFETCH(bool, same);
        QCOMPARE(RendererProbe::driverFingerprint(other) == RendererProbe::driverFingerprint(local), same);
    }

    void readStoredDefaults()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        Appearance::Stored s = Appearance::readStored(settings);
        QCOMPARE(s.scalingFactor, QStringLiteral("1"));
        QCOMPARE(s.materialVariant, QStringLiteral("Dense"));
        QCOMPARE(s.materialTheme, QStringLiteral("Dark"));
        // A stored number is read in its decimal text form.
        settings.setValue(QStringLiteral("scalingFactor"), 1.25f);
        settings.setValue(QStringLiteral("materialTheme"), QStringLiteral("Light"));
        s = Appearance::readStored(settings);
        QCOMPARE(s.scalingFactor, QStringLiteral("1.25"));
        QCOMPARE(s.materialTheme, QStringLiteral("Light"));
    }
};

QTEST_GUILESS_MAIN(TestAppearance)
#include "tst_appearance.moc"
