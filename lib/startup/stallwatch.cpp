#include "stallwatch.h"

#include "logging.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>

#ifdef Q_OS_UNIX
#include <time.h>
#endif

namespace StallWatch {

namespace {

// The GUI thread's own CPU time in milliseconds (-1 where not known): a late tick with little of it was a
// wait for a processor (other programs), not a task of this one.
double threadCpuMs()
{
#ifdef Q_OS_UNIX
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) == 0)
        return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
#endif
    return -1;
}

} // namespace

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
    auto cpu = std::make_shared<double>(threadCpuMs());
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [clock, cpu, threshold] {
        const qint64 late = clock->restart() - kTickMs;
        const double cpuNow = threadCpuMs();
        const double used = cpuNow - *cpu;
        *cpu = cpuNow;
        if (late >= threshold)
            qCInfo(lcHost).noquote() << "GUI thread stalled for" << late << "ms," << qRound(used)
                                     << "ms of its own CPU time";
    });
    timer->start();
}

} // namespace StallWatch
