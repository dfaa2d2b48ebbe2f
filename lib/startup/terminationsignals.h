#pragma once

// Turns the termination signals of a Unix desktop session (SIGTERM at log-out, SIGINT, SIGHUP) into an
// orderly quit of the application's event loop, so that settings are written and the single-instance
// guard is released as on a quit from the tray. Does nothing on Windows.
namespace TerminationSignals {

// Installs the handlers; call once the application object exists.
void quitApplicationOnSignal();

} // namespace TerminationSignals
