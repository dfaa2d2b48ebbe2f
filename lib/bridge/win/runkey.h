#pragma once

// Start at login on Windows: the value "vantorix" under the per-user Run key,
// HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Run. No Qt here.

#include <string>

namespace vantorix::win {

// True when the Run key holds a value named "vantorix", whatever its data.
[[nodiscard]] bool isRunValuePresent();

// Writes the value ("<native exe path>" --start-minimized), replacing earlier data, or removes it.
// False when the registry refused.
bool setRunValue(bool enabled);

// The value data for an executable path: a double quote, the path, a double quote, a blank,
// --start-minimized.
[[nodiscard]] std::wstring runValueData(const std::wstring &executablePath);

} // namespace vantorix::win
