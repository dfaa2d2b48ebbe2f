#include "foreground.h"

#include <windows.h>

namespace vantorix::win {

namespace {

constexpr BYTE kAltKey = VK_MENU; // 0x12

// Reads the keyboard state; true when that worked and Alt is not held down.
bool altIsUp()
{
    BYTE state[256] = {};
    if (!GetKeyboardState(state))
        return false;
    return (state[kAltKey] & 0x80) == 0;
}

} // namespace

void bringToForeground(void *windowHandle)
{
    const HWND window = static_cast<HWND>(windowHandle);
    if (!window || !IsWindow(window))
        return;
    if (altIsUp())
        keybd_event(kAltKey, 0, KEYEVENTF_EXTENDEDKEY, 0);
    SetForegroundWindow(window);
    if (altIsUp())
        keybd_event(kAltKey, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

} // namespace vantorix::win
