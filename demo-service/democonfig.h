#pragma once

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
};

} // namespace demo
