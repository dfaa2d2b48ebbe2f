#pragma once

#include <QProcessEnvironment>

class QObject;

// For the benchmarks: with VANTORIX_STALL_WATCH=<ms> in the environment, a fine timer on the GUI thread
// logs every time it fires that many milliseconds or more late ("GUI thread stalled for N ms, M ms of its
// own CPU time": the rest was a wait for a processor), so that
// one long task on the GUI thread shows even when nothing is being drawn. Off (no timer) otherwise.
namespace StallWatch {

void startIfAsked(const QProcessEnvironment &environment, QObject *owner);

} // namespace StallWatch
