#include "appearance.h"
#include "rendererchoice.h"
#include "rendererprobe.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestAppearance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Stored and expected values are {theme, variant, scale}; inherited entries are NAME=value.
    void compute_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("inherited");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("darkPalette");

        const QStringList dark{"Dark", "Dense", "1"};
        const QStringList light{"Light", "Dense", "1"};
        QTest::newRow("defaults: Dark puts the palette") << dark << QStringList() << dark << true;
        QTest::newRow("stored Light: no palette") << light << QStringList() << light << false;
        QTest::newRow("any other text counts as dark")
            << QStringList{"Solarized", "Dense", "1"} << QStringList()
            << QStringList{"Solarized", "Dense", "1"} << true;
        QTest::newRow("Light is case-sensitive") << QStringList{"light", "Dense", "1"} << QStringList()
                                                 << QStringList{"light", "Dense", "1"} << true;
        QTest::newRow("inherited Light wins over stored Dark")
            << dark << QStringList{"QT_QUICK_CONTROLS_MATERIAL_THEME=Light"} << light << false;
        QTest::newRow("inherited Dark wins over stored Light")
            << light << QStringList{"QT_QUICK_CONTROLS_MATERIAL_THEME=Dark"} << dark << true;
        QTest::newRow("empty inherited theme does not win")
            << light << QStringList{"QT_QUICK_CONTROLS_MATERIAL_THEME="} << light << false;
        QTest::newRow("inherited variant wins")
            << light << QStringList{"QT_QUICK_CONTROLS_MATERIAL_VARIANT=Normal"}
            << QStringList{"Light", "Normal", "1"} << false;
        QTest::newRow("inherited scale factor is always replaced")
            << QStringList{"Light", "Dense", "1.3"} << QStringList{"QT_SCALE_FACTOR=2"}
            << QStringList{"Light", "Dense", "1.3"} << false;
    }

    void compute()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, inherited);
        QFETCH(QStringList, expected);
        QFETCH(bool, darkPalette);

        QProcessEnvironment env;
        for (const QString &entry : inherited)
            env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        // Inherited palette values are replaced by the dark palette, and left alone otherwise.
        env.insert(QStringLiteral("QT_QUICK_CONTROLS_MATERIAL_ACCENT"), QStringLiteral("#123456"));

        // All of them, in the order in which they are put.
        Appearance::Assignments expectedOut{{"QT_SCALE_FACTOR", expected[2].toUtf8()},
                                            {"QT_QUICK_CONTROLS_MATERIAL_VARIANT", expected[1].toUtf8()},
                                            {"QT_QUICK_CONTROLS_MATERIAL_THEME", expected[0].toUtf8()}};
        if (darkPalette)
            expectedOut += Appearance::Assignments{{"QT_QUICK_CONTROLS_MATERIAL_ACCENT", "#0060b2"},
                                                   {"QT_QUICK_CONTROLS_MATERIAL_PRIMARY", "light gray"},
                                                   {"QT_QUICK_CONTROLS_MATERIAL_FOREGROUND", "light gray"},
                                                   {"QT_QUICK_CONTROLS_MATERIAL_BACKGROUND", "#1a1a1a"}};
        QCOMPARE(Appearance::compute({stored[2], stored[1], stored[0]}, env), expectedOut);
    }

    // setting: the stored "rendering"; backend: QT_QUICK_BACKEND; rememberedFor: the fingerprint of the
    // remembered probe (none when empty), whose verdict is rememberedSoftware.
    void rendererChoice_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("rememberedFor");
        QTest::addColumn<bool>("rememberedSoftware");
        QTest::addColumn<RendererChoice::Action>("action");

        using A = RendererChoice::Action;
        const QString none;
        QTest::newRow("first start probes") << none << none << none << false << A::Probe;
        QTest::newRow("remembered software for this driver")
            << "Automatic" << none << "this" << true << A::UseSoftware;
        QTest::newRow("remembered hardware for this driver")
            << "Automatic" << none << "this" << false << A::KeepQtDefault;
        QTest::newRow("another driver probes again") << "Automatic" << none << "other" << true << A::Probe;
        QTest::newRow("unknown setting counts as automatic")
            << "Vulkan" << none << "this" << true << A::UseSoftware;
        QTest::newRow("setting Hardware wins") << "Hardware" << none << "this" << true << A::KeepQtDefault;
        QTest::newRow("setting Software wins") << "Software" << none << "this" << false << A::UseSoftware;
        QTest::newRow("QT_QUICK_BACKEND wins over the setting") << "Software"
                                                                << "rhi" << none << false << A::KeepQtDefault;
        QTest::newRow("QT_QUICK_BACKEND wins over the probe")
            << none << "software" << none << false << A::KeepQtDefault;
    }

    void rendererChoice()
    {
        QFETCH(QString, setting);
        QFETCH(QString, backend);
        QFETCH(QString, rememberedFor);
        QFETCH(bool, rememberedSoftware);
        QFETCH(RendererChoice::Action, action);

        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        if (!setting.isEmpty())
            settings.setValue(QStringLiteral("rendering"), setting);
        if (!rememberedFor.isEmpty())
            RendererChoice::writeRemembered(settings, {rememberedFor, rememberedSoftware});
        QProcessEnvironment env;
        if (!backend.isEmpty())
            env.insert(QStringLiteral("QT_QUICK_BACKEND"), backend);
        QCOMPARE(RendererChoice::decide(RendererChoice::readMode(settings), env,
                                        RendererChoice::readRemembered(settings), QStringLiteral("this")),
                 action);
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
        QTest::newRow("another display number") << QStringLiteral("DISPLAY") << ":12" << true;
        QTest::newRow("a remote session")
            << QStringLiteral("SSH_CONNECTION") << "10.0.0.2 5122 10.0.0.1 22" << false;
        QTest::newRow("a driver override") << QStringLiteral("GALLIUM_DRIVER") << "llvmpipe" << false;
    }
    void driverFingerprint()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, same);
        QProcessEnvironment local;
        local.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
        QProcessEnvironment other = local;
        other.insert(name, value);
        QCOMPARE(RendererProbe::driverFingerprint(other) == RendererProbe::driverFingerprint(local), same);
    }

    // A stored number is read in its decimal text form; what is not stored keeps its default.
    void readStored()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("scalingFactor"), 1.25f);
        settings.setValue(QStringLiteral("materialTheme"), QStringLiteral("Light"));
        const Appearance::Stored s = Appearance::readStored(settings);
        QCOMPARE((QStringList{s.materialTheme, s.materialVariant, s.scalingFactor}),
                 (QStringList{"Light", "Dense", "1.25"}));
    }
};

QTEST_GUILESS_MAIN(TestAppearance)
#include "tst_appearance.moc"
