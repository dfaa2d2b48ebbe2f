#pragma once

// The primary display adapter as DXGI reports it (the adapter Qt Quick's Direct3D back-end renders with).
// Plain C++ and Win32, no Qt.

#include <string>

namespace vantorix::win {

struct DisplayAdapter {
    bool found = false;
    std::wstring description; // e.g. "Microsoft Basic Render Driver"
    unsigned int vendorId = 0;
    unsigned int deviceId = 0;
    bool software = false; // DXGI_ADAPTER_FLAG_SOFTWARE
};

// The first adapter DXGI enumerates; found is false when DXGI cannot be asked.
[[nodiscard]] DisplayAdapter primaryDisplayAdapter();

} // namespace vantorix::win
