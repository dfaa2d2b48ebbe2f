#include "instanceguard.h"

namespace InstanceGuard {

bool acquire(QSharedMemory &segment)
{
    segment.setKey(QString::fromLatin1(kKey));
#ifndef Q_OS_WIN
    {
        // Attaching and detaching removes the segment when we were its last user (a leftover of a
        // crashed instance); a live instance stays attached, so its segment survives this probe.
        QSharedMemory probe(QString::fromLatin1(kKey));
        if (probe.attach())
            probe.detach();
    }
#endif
    return segment.create(kSize, QSharedMemory::ReadWrite);
}

} // namespace InstanceGuard
