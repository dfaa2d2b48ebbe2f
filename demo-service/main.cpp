// The demo service: a local stand-in for the cloud-desktop service (see README.md).
#include "demoserver.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Images are drawn off screen; the service never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantorix-demo-service"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Local stand-in for the Vantorix cloud service."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port on 127.0.0.1 (0: a free one)."), QStringLiteral("N"),
                                  QStringLiteral("0"));
    const QCommandLineOption timeScale(QStringLiteral("time-scale"),
                                       QStringLiteral("Simulated seconds per real second."),
                                       QStringLiteral("X"), QStringLiteral("1"));
    const QCommandLineOption machines(QStringLiteral("machines"),
                                      QStringLiteral("Extra computers for the demo account."),
                                      QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed for data and timings."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption controls(QStringLiteral("test-controls"),
                                      QStringLiteral("Enable the /__test__/ control endpoints."));
    const QCommandLineOption commandPort(QStringLiteral("command-port"),
                                         QStringLiteral("The desktop app's local command port."),
                                         QStringLiteral("N"), QStringLiteral("57979"));
    const QCommandLineOption rdpAddress(QStringLiteral("rdp-address"),
                                        QStringLiteral("A real Remote Desktop server (host:port) that every "
                                                       "computer with an address points to."),
                                        QStringLiteral("HOST:PORT"));
    const QCommandLineOption rdpSamFile(
        QStringLiteral("rdp-sam-file"),
        QStringLiteral("That server's NTLM SAM file: set passwords go there."), QStringLiteral("FILE"));
    parser.addOptions({port, timeScale, machines, seed, controls, commandPort, rdpAddress, rdpSamFile});
    parser.process(app);

    demo::DemoConfig config;
    bool ok = true;
    bool allOk = true;
    config.port = quint16(parser.value(port).toUInt(&ok));
    allOk &= ok;
    config.timeScale = parser.value(timeScale).toDouble(&ok);
    allOk &= ok && config.timeScale > 0;
    config.extraMachines = parser.value(machines).toInt(&ok);
    allOk &= ok && config.extraMachines >= 0 && config.extraMachines <= 100000;
    config.seed = parser.value(seed).toUInt(&ok);
    allOk &= ok;
    config.commandPort = quint16(parser.value(commandPort).toUInt(&ok));
    allOk &= ok && config.commandPort != 0;
    config.testControls = parser.isSet(controls);
    config.rdpAddress = parser.value(rdpAddress);
    config.rdpSamFile = parser.value(rdpSamFile);
    if (!allOk) {
        std::fprintf(stderr, "Invalid option value. See --help.\n");
        return 2;
    }

    demo::DemoServer server(config);
    if (!server.start()) {
        std::fprintf(stderr, "Cannot listen on 127.0.0.1:%u\n", unsigned(config.port));
        return 1;
    }
    // The first line of standard output is the base URL, for scripts that start the service.
    std::printf("%s\n", qPrintable(server.baseUrl()));
    std::fflush(stdout);
    return app.exec();
}
