#include "stallwatch.h"

#include "logging.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>

namespace StallWatch {

void startIfAsked(const QProcessEnvironment &environment, QObject *owner)
{
    bool ok = false;
    const int threshold = environment.value(QStringLiteral("VANTORIX_STALL_WATCH")).toInt(&ok);
    if (!ok || threshold <= 0)
        return;
    constexpr int kTickMs = 5;
    auto *timer = new QTimer(owner);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(kTickMs);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [clock, threshold] {
        const qint64 late = clock->restart() - kTickMs;
        if (late >= threshold)
            qCInfo(lcHost).noquote() << "GUI thread stalled for" << late << "ms";
    });
    timer->start();
}

} // namespace StallWatch
