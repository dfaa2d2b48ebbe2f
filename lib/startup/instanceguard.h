#pragma once

#include <QSharedMemory>

// The single-instance guard: a named shared memory segment whose creation succeeds for the first
// instance only.
namespace InstanceGuard {

inline constexpr const char *kKey = "2ca9c32e-1747-41fe-9467-2874bd41cf67";
inline constexpr int kSize = 512;

// Tries to create the segment. On Unix a segment can outlive a crashed process; one that nobody is
// attached to any more is removed first, so a crash never locks the user out of the program.
[[nodiscard]] bool acquire(QSharedMemory &segment);

} // namespace InstanceGuard
