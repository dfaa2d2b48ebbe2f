#pragma once

// Bringing a window to the foreground from a background process on Windows. No Qt here.

namespace vantorix::win {

// Windows only lets the process that received the last input take the foreground. A synthetic Alt
// press (when Alt is not already held) gives this process that right; the release follows after
// SetForegroundWindow. The handle is an HWND; nothing happens when it is not a window.
void bringToForeground(void *windowHandle);

} // namespace vantorix::win
