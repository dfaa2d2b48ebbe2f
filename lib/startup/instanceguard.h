#pragma once

#include <QSharedMemory>
#include <QString>

// The single-instance guard: a named shared memory segment whose creation succeeds for the first
// instance only.
namespace InstanceGuard {

inline constexpr const char *kKey = "2ca9c32e-1747-41fe-9467-2874bd41cf67";
inline constexpr int kSize = 512;

// The segment's name for the current user. On Unix the segment is found through a key file in the
// temporary folder, which users may share: each user gets a segment of their own.
[[nodiscard]] QString key();

// Tries to create the segment. On Unix a segment can outlive a crashed process, and its key file can go
// (a temporary-folder clean-up) while the segment stays and answers to a new key file; a segment that
// nobody is attached to any more is removed and the creation tried again, so a crash never locks the
// user out of the program.
[[nodiscard]] bool acquire(QSharedMemory &segment);

} // namespace InstanceGuard
