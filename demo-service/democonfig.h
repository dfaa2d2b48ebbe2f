#pragma once

#include <QString>
#include <QtGlobal>

namespace demo {

// Start options of the demo service (see README.md).
struct DemoConfig {
    quint16 port = 0;
    double timeScale = 1.0;
    int extraMachines = 0;
    quint32 seed = 1;
    bool testControls = false;
    quint16 commandPort = 57979;
    bool printEmails = true; // "EMAIL to ..." lines on standard output
    // Where a real Remote Desktop server listens ("host:port"): every computer with an address gets this
    // one. Empty: made-up addresses.
    QString rdpAddress;
    // The NTLM SAM file of that server: setting a computer's password writes its user's line there, so
    // that the server accepts exactly the password the service last set.
    QString rdpSamFile;
};

} // namespace demo
