// Median time of "list_user_vm_instances" against the demo service with 1000 computers.
#include "demoserver.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    demo::DemoConfig config;
    config.extraMachines = 1000 - 10; // the seed already has ten
    config.printEmails = false;
    demo::DemoServer server(config);
    if (!server.start())
        return 1;
    QNetworkAccessManager network;
    const QUrl url = QUrl::fromEncoded(server.baseUrl().toLatin1() +
                                       "/API/?action=list_user_vm_instances&email=demo@vantorix.example");
    QList<double> times;
    qint64 bytes = 0;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        QNetworkReply *reply = network.sendCustomRequest(QNetworkRequest(url), "POST");
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        bytes = reply->readAll().size();
        reply->deleteLater();
        if (i > 0) // the first request opens the connection
            times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const double median = (times.at(9) + times.at(10)) / 2;
    std::printf("%-28s %10s %10s %10s %10s %12s\n", "action", "computers", "min ms", "median ms", "max ms",
                "reply bytes");
    std::printf("%-28s %10d %10.2f %10.2f %10.2f %12lld\n", "list_user_vm_instances", 1000, times.first(),
                median, times.last(), static_cast<long long>(bytes));
    return 0;
}
