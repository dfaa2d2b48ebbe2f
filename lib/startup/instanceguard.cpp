#include "instanceguard.h"

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace InstanceGuard {

namespace {

#ifndef Q_OS_WIN
// Attaching and detaching removes the segment (and its key file) when we were its last user; a live
// instance stays attached, so its segment survives this probe.
void removeIfAbandoned()
{
    QSharedMemory probe(key());
    if (probe.attach())
        probe.detach();
}
#endif

} // namespace

QString key()
{
#ifdef Q_OS_WIN
    return QString::fromLatin1(kKey); // kernel object names are local to the user's session
#else
    return QString::fromLatin1(kKey) + QLatin1Char('-') + QString::number(::getuid());
#endif
}

bool acquire(QSharedMemory &segment)
{
    segment.setKey(key());
#ifndef Q_OS_WIN
    removeIfAbandoned();
#endif
    if (segment.create(kSize, QSharedMemory::ReadWrite))
        return true;
#ifndef Q_OS_WIN
    // The creation left the key file in place, so a leftover segment that a new key file happens to
    // name (the file system reuses the inode of a removed key file) can be probed now.
    if (segment.error() == QSharedMemory::AlreadyExists) {
        removeIfAbandoned();
        return segment.create(kSize, QSharedMemory::ReadWrite);
    }
#endif
    return false;
}

} // namespace InstanceGuard
