#pragma once

#include "records.h"

#include <QJsonObject>
#include <QRandomGenerator>

namespace demo {

// Lifecycle and billing rules of one computer. All functions work on simulated seconds.
namespace machines {

// Lifecycle step durations, drawn from the service's seeded generator.
struct Durations {
    qint64 provisioning = 40;
    qint64 staging = 30;
    qint64 stopping = 25;
    qint64 repairing = 45;
    [[nodiscard]] static Durations draw(QRandomGenerator &rng);
};

[[nodiscard]] bool isKnownStatus(const QString &status);
[[nodiscard]] bool isRunningFamily(const QString &status); // provisioning .. running: can be stopped
[[nodiscard]] bool canStart(const QString &status);

// Moves the machine to `now`: accrues costs and applies the lifecycle steps that are due.
// Returns the credits that the time cost.
double advance(Machine &machine, qint64 now);

void start(Machine &machine, qint64 now, const Durations &d);
void stop(Machine &machine, qint64 now, const Durations &d);
void reboot(Machine &machine, qint64 now, const Durations &d);
void remove(Machine &machine, qint64 now);
void provisionNew(Machine &machine, qint64 now, const Durations &d);

// The record of the computer list, with the loose typing of the real service.
[[nodiscard]] QJsonObject record(const Machine &machine, qint64 now);
// Past price periods, oldest first, in the one-string form of the billing popup.
[[nodiscard]] QString priceHistoryString(const Machine &machine);
[[nodiscard]] QString formatUtc(qint64 secs);
[[nodiscard]] QString money(double value, int decimals = 5);

} // namespace machines
} // namespace demo
